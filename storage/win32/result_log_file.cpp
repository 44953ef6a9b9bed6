#include "storage/win32/result_log_file.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <exception>
#include <string_view>
#include <utility>

#include "storage/line_codec.h"
#include "storage/result_log.h"
#include "storage/win32/file_handle.h"
#include "storage/win32/wide_path.h"

namespace tw::storage {

namespace {

// ReadFile and WriteFile count in 32 bits; larger files go through in pieces.
constexpr DWORD kChunkBytes = 1u << 30;
// Temporary files are "<log>.~<process id in hex>-<serial>.tmp": unique to this process,
// so neither a stale leftover nor a file or folder of someone else's can block a save,
// and recognisable, so our own leftovers from a killed run can be cleaned up.
constexpr std::string_view kTempMark = ".~";
constexpr std::string_view kTempExtension = ".tmp";
constexpr int kTempNameAttempts = 16;

std::atomic<testing::WriteFault> g_fault{testing::WriteFault::kNone};
std::atomic<unsigned> g_serial{0};

unsigned long long Join(DWORD high, DWORD low) { return (static_cast<unsigned long long>(high) << 32) | low; }

bool Faulted(testing::WriteFault step) {
  if (g_fault.load() != step) return false;
  SetLastError(ERROR_WRITE_FAULT);
  return true;
}

std::string HexId(DWORD value) {
  char text[16];
  const auto end = std::to_chars(text, text + sizeof text, value, 16).ptr;
  return std::string(text, end);
}

std::string TempPathFor(const std::string& path, unsigned serial) {
  return path + std::string(kTempMark) + HexId(GetCurrentProcessId()) + "-" + std::to_string(serial) +
         std::string(kTempExtension);
}

bool ReadInto(HANDLE file, char* data, std::size_t length, std::size_t& filled) {
  filled = 0;
  while (filled < length) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(length - filled, kChunkBytes));
    DWORD got = 0;
    if (!ReadFile(file, data + filled, want, &got, nullptr)) return false;
    if (got == 0) return true;  // the file shrank since its size was taken
    filled += got;
  }
  return true;
}

// The whole file, or false when any read failed: a log read only in part is not a log
// that may be saved over.
bool ReadWholeFile(HANDLE file, std::string& bytes) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return false;
  if (static_cast<unsigned long long>(size.QuadPart) > kMaxResultLogBytes) {
    SetLastError(ERROR_FILE_TOO_LARGE);
    return false;
  }
  const auto length = static_cast<std::size_t>(size.QuadPart);
  bytes.assign(length, '\0');
  std::size_t filled = 0;
  if (!ReadInto(file, bytes.data(), bytes.size(), filled)) return false;
  bytes.resize(filled);
  // A file that grew since its size was taken is read to its real end.
  char tail[4096];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, tail, sizeof tail, &got, nullptr)) return false;
    bytes.append(tail, got);
    if (got == 0) return true;
    if (bytes.size() > kMaxResultLogBytes) {
      SetLastError(ERROR_FILE_TOO_LARGE);
      return false;
    }
  }
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  if (Faulted(testing::WriteFault::kWrite)) return false;
  while (!bytes.empty()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunkBytes));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), want, &written, nullptr)) return false;
    if (written != want) {
      SetLastError(ERROR_DISK_FULL);
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

// Creates a temporary file of our own beside the log; its name goes to `temp`.
FileHandle CreateTempFile(const std::string& path, std::string& temp) {
  if (Faulted(testing::WriteFault::kOpen)) return FileHandle(INVALID_HANDLE_VALUE);
  for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
    temp = TempPathFor(path, g_serial.fetch_add(1));
    FileHandle file(
        CreateFileW(Widen(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return file;
    // Taken by a file of that name, or a folder (which answers "access denied"): try the next.
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) break;
  }
  return FileHandle(INVALID_HANDLE_VALUE);
}

// The file image: as it is, or the packed lines unpacked piece by piece.
struct Image {
  std::string_view bytes;
  bool packed = false;
};

bool WriteImage(HANDLE file, const Image& image) {
  if (!image.packed) return WriteAll(file, image.bytes);
  return UnpackFileImage(image.bytes, [file](std::string_view piece) { return WriteAll(file, piece); });
}

// Written whole and flushed to the disk, so that the rename never makes a log of
// bytes still waiting in a cache.
bool WriteTempFile(FileHandle& file, const Image& image) {
  if (!WriteImage(file.get(), image)) return false;
  if (Faulted(testing::WriteFault::kFlush) || !FlushFileBuffers(file.get())) return false;
  return file.Close();
}

// A log we may not replace is refused before anything is written. The error is left
// for the caller to report.
bool OldLogReplaceable(const std::string& path) {
  const std::wstring wide = Widen(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;  // none yet
  // A log the user marked read-only stays as it is, as it would with a plain rewrite.
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  // Someone holding the log open without sharing deletion blocks every way of replacing it.
  const FileHandle probe(CreateFileW(wide.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(probe);
}

// One rename: atomic on NTFS, and a single rename(2) under Wine. ReplaceFile is not
// used: Wine's moves the old log aside and deletes it before the new one is in place,
// and a kill in between lost whole logs.
bool RenameOver(const std::string& temp, const std::string& path) {
  if (Faulted(testing::WriteFault::kRename)) return false;
  return MoveFileExW(Widen(temp).c_str(), Widen(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
         FALSE;
}

bool ProcessRunning(DWORD id) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  if (!process) return false;
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

// The process id in a temporary name of ours, or 0 when the name is not one of ours.
DWORD TempOwner(std::string_view name, std::string_view logName) {
  if (name.size() <= logName.size() + kTempMark.size() + kTempExtension.size()) return 0;
  if (name.substr(0, logName.size()) != logName || !name.ends_with(kTempExtension)) return 0;
  name.remove_prefix(logName.size());
  if (!name.starts_with(kTempMark)) return 0;
  name.remove_prefix(kTempMark.size());
  name.remove_suffix(kTempExtension.size());
  const std::size_t dash = name.find('-');
  if (dash == std::string_view::npos || dash == 0 || dash + 1 == name.size()) return 0;
  DWORD id = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + dash, id, 16);
  if (error != std::errc() || end != name.data() + dash) return 0;
  for (const char c : name.substr(dash + 1)) {
    if (c < '0' || c > '9') return 0;
  }
  return id;
}

// Temporary files left by runs that were killed while saving; those of a program
// still running in the same folder are its own business.
void RemoveLeftovers(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string logName = path.substr(folder.size());
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW(Widen(path + std::string(kTempMark) + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string name = Narrow(entry.cFileName);
    const DWORD owner = TempOwner(name, logName);
    if (owner == 0 || owner == GetCurrentProcessId() || ProcessRunning(owner)) continue;
    const std::wstring leftover = Widen(folder + name);
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(leftover.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(leftover.c_str());
  } while (FindNextFileW(search, &entry));
  FindClose(search);
}

bool WriteResultLogOrFail(const std::string& path, const Image& image) {
  if (!OldLogReplaceable(path)) return false;
  std::string temp;
  FileHandle file = CreateTempFile(path, temp);
  if (!file) return false;
  if (WriteTempFile(file, image) && RenameOver(temp, path)) return true;
  // Only our own unfinished file goes; the old log was never touched.
  const DWORD error = GetLastError();
  file.Close();
  DeleteFileW(Widen(temp).c_str());
  SetLastError(error);
  return false;
}

bool WriteResultLogImage(const std::string& path, const Image& image, unsigned long* error) {
  bool saved = false;
  try {
    saved = WriteResultLogOrFail(path, image);
  } catch (const std::exception&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  }
  if (saved) {
    RemoveLeftovers(path);
    return true;
  }
  if (error) *error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
  return false;
}

}  // namespace

ResultLogRead ReadResultLog(const std::string& path) {
  ResultLogRead read;
  try {
    // Sharing everything lets the log load even while another program has it open.
    const FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return read;
      read.state = ResultLogRead::State::kUnreadable;
      read.error = error;
      return read;
    }
    std::string bytes;
    if (!ReadWholeFile(file.get(), bytes)) {
      read.state = ResultLogRead::State::kUnreadable;
      read.error = GetLastError();
      return read;
    }
    if (!bytes.empty() && bytes.find_first_not_of('\0') == std::string::npos) {
      // Nothing but NUL bytes: what a disk leaves of a file it lost. Kept as it is for
      // whoever can still recover it.
      read.state = ResultLogRead::State::kUnreadable;
      read.error = ERROR_FILE_CORRUPT;
      return read;
    }
    if (IsUtf16Text(bytes)) {
      // An editor saved the log as UTF-16. Kept as it is, never saved over: its lines
      // are not the ANSI text a save writes back. The file is sound, only its kind is
      // not ours, which "Data of this type is not supported" (Wine: "Unsupported
      // type.") says better than "The data is invalid".
      read.state = ResultLogRead::State::kUnreadable;
      read.error = ERROR_UNSUPPORTED_TYPE;
      return read;
    }
    read.lines = LineArena::FromFileBytes(std::move(bytes));
    read.state = ResultLogRead::State::kRead;
  } catch (const std::exception&) {
    read.lines.Clear();
    read.state = ResultLogRead::State::kUnreadable;
    read.error = ERROR_NOT_ENOUGH_MEMORY;
  }
  return read;
}

std::vector<std::string> LoadResultLog(const std::string& path) { return ReadResultLog(path).lines.ToStrings(); }

bool WriteResultLog(const std::string& path, const std::vector<std::string>& lines, unsigned long* error) {
  std::string bytes;
  try {
    bytes = SerializeResultLog(lines);
  } catch (const std::exception&) {
    if (error) *error = ERROR_NOT_ENOUGH_MEMORY;
    return false;
  }
  return WriteResultLogBytes(path, bytes, error);
}

bool WriteResultLogBytes(const std::string& path, std::string_view bytes, unsigned long* error) {
  return WriteResultLogImage(path, Image{bytes, false}, error);
}

bool WriteResultLogPacked(const std::string& path, std::string_view packed, unsigned long* error) {
  return WriteResultLogImage(path, Image{packed, true}, error);
}


bool DeleteResultLog(const std::string& path) { return DeleteFileW(Widen(path).c_str()) != FALSE; }

bool LogStamp::Matches(const LogStamp& other) const {
  return error == 0 && other.error == 0 && exists == other.exists && size == other.size &&
         lastWrite == other.lastWrite && volume == other.volume && fileId == other.fileId;
}

LogStamp ResultLogStamp(const std::string& path) {
  LogStamp stamp;
  const std::wstring wide = Widen(path);
  // Through a handle: the directory entry's size and time may lag behind a file that
  // someone still has open and is writing. No access but attributes, sharing
  // everything: it blocks nobody, and a folder answers too.
  const FileHandle file(CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (file && GetFileInformationByHandle(file.get(), &info)) {
    stamp.exists = true;
    stamp.size = Join(info.nFileSizeHigh, info.nFileSizeLow);
    stamp.lastWrite = Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    stamp.volume = info.dwVolumeSerialNumber;
    stamp.fileId = Join(info.nFileIndexHigh, info.nFileIndexLow);
    return stamp;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return stamp;
  // Held without sharing by someone: the directory entry still tells size and time.
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
    stamp.exists = true;
    stamp.size = Join(data.nFileSizeHigh, data.nFileSizeLow);
    stamp.lastWrite = Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    return stamp;
  }
  stamp.error = GetLastError() ? GetLastError() : error;
  return stamp;
}

std::string ResultLogLimitText(unsigned long error) {
  if (error == ERROR_FILE_TOO_LARGE) {
    return "The log is larger than " + std::to_string(kMaxResultLogBytes >> 20) +
           " MB, the most this program reads; it is kept as it is.";
  }
  if (error == ERROR_FILE_CORRUPT) return "The log holds nothing but NUL bytes; it is kept as it is.";
  return "";
}

namespace testing {
void InjectWriteFault(WriteFault fault) { g_fault.store(fault); }
}  // namespace testing

}  // namespace tw::storage
