#include "storage/win32/result_log_file.h"

#include <windows.h>

#include <algorithm>
#include <exception>
#include <string_view>

#include "storage/result_log.h"
#include "storage/win32/file_handle.h"

namespace tw::storage {

namespace {

// ReadFile and WriteFile count in 32 bits; larger files go through in pieces.
constexpr DWORD kChunkBytes = 1u << 30;

std::string TempPathFor(const std::string& path) { return path + ".tmp"; }

bool ReadInto(HANDLE file, char* data, std::size_t length, std::size_t& filled) {
  filled = 0;
  while (filled < length) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(length - filled, kChunkBytes));
    DWORD got = 0;
    if (!ReadFile(file, data + filled, want, &got, nullptr) || got == 0) return false;
    filled += got;
  }
  return true;
}

// Whatever was read before a failure is kept, like a reader that stops part-way.
std::string ReadWholeFile(HANDLE file) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return {};
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t filled = 0;
  const bool complete = ReadInto(file, bytes.data(), bytes.size(), filled);
  bytes.resize(filled);
  if (!complete) return bytes;
  // A file that grew since its size was taken is read to its real end.
  char tail[4096];
  for (;;) {
    std::size_t got = 0;
    ReadInto(file, tail, sizeof tail, got);
    bytes.append(tail, got);
    if (got < sizeof tail) return bytes;
  }
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunkBytes));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), want, &written, nullptr) || written != want) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool WriteCompleteFile(const std::string& path, std::string_view bytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const bool written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
  return file.Close() && written;
}

enum class OldLog { kMissing, kReplaceable, kUntouchable };

// Decided before anything is written, so that a log we may not replace costs no
// temporary file, and so that ReplaceFile is never tried where it can only fail:
// Wine's version then leaves a stray "rf*.tmp" of its own in the folder.
OldLog InspectOldLog(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return OldLog::kMissing;
  // A log the user marked read-only stays as it is, as it would with a plain rewrite.
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return OldLog::kUntouchable;
  // Someone holding the log open without sharing deletion blocks every way of replacing it.
  const FileHandle probe(CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return probe ? OldLog::kReplaceable : OldLog::kUntouchable;
}

bool SwapIn(const std::string& temp, const std::string& path, OldLog old) {
  // ReplaceFile keeps the old file's attributes and security; when it fails both files
  // are still in place, and the plain replacing move is worth a try.
  if (old == OldLog::kReplaceable && ReplaceFileA(path.c_str(), temp.c_str(), nullptr, 0, nullptr, nullptr)) {
    return true;
  }
  return MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace

std::vector<std::string> LoadResultLog(const std::string& path) {
  try {
    // Sharing everything lets the log load even while another program has it open.
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                      nullptr));
    if (!file) return {};
    return ParseResultLog(ReadWholeFile(file.get()));
  } catch (const std::exception&) {
    return {};
  }
}

bool WriteResultLog(const std::string& path, const std::vector<std::string>& lines) {
  const OldLog old = InspectOldLog(path);
  if (old == OldLog::kUntouchable) return false;
  const std::string temp = TempPathFor(path);
  try {
    if (WriteCompleteFile(temp, SerializeResultLog(lines)) && SwapIn(temp, path, old)) return true;
  } catch (const std::exception&) {
  }
  DeleteFileA(temp.c_str());
  return false;
}

bool DeleteResultLog(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

}  // namespace tw::storage
