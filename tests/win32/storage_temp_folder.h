#pragma once
// A fresh folder under the Windows temp folder for one test, removed with its
// contents afterwards, plus byte-level helpers to set up and inspect files. Paths are
// UTF-8 and go through the wide API, as the program's own do, so a test can use a
// folder whose name the ANSI code page cannot spell.
#include <windows.h>

#include <atomic>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "storage/win32/wide_path.h"

namespace tw::storage::testing {

class TempFolder {
 public:
  // `tail` (UTF-8) ends the folder's name.
  // A folder of that name left by an earlier run (a process id comes round again) is
  // never reused: the next name is tried. One that cannot be made fails the test.
  explicit TempFolder(std::string_view tail = {}) {
    static std::atomic<int> counter{0};
    wchar_t base[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH + 1, base) == 0) throw std::runtime_error("no temp folder");
    const std::string stem = Narrow(base) + "tw-storage-" + std::to_string(GetCurrentProcessId()) + "-";
    for (;;) {
      path_ = stem + std::to_string(counter++) + std::string(tail) + "\\";
      if (CreateDirectoryW(Widen(path_).c_str(), nullptr)) return;
      if (const DWORD error = GetLastError(); error != ERROR_ALREADY_EXISTS) {
        throw std::runtime_error("could not create " + path_ + ": error " + std::to_string(error));
      }
    }
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { RemoveTree(Widen(path_)); }

  // The folder, ending in "\".
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring full = folder + name;
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(full + L"\\");
        } else {
          DeleteFileW(full.c_str());
        }
      } while (FindNextFileW(search, &entry));
      FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
  }

  std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  const HANDLE file =
      CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// The file's bytes, or nothing when it does not exist or cannot be read.
inline std::optional<std::string> ReadBytes(const std::string& path) {
  const HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != FALSE) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return bytes;
}

inline bool FileExists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace tw::storage::testing
