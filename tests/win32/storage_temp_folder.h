#pragma once
// A fresh folder under the Windows temp folder for one test, removed with its
// contents afterwards, plus byte-level helpers to set up and inspect files.
#include <windows.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace tw::storage::testing {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    char base[MAX_PATH + 1] = {};
    GetTempPathA(sizeof base, base);
    path_ = std::string(base) + "tw-storage-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(counter++) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { RemoveTree(path_); }

  // The folder, ending in "\".
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  static void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string full = folder + name;
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(full + "\\");
        } else {
          DeleteFileA(full.c_str());
        }
      } while (FindNextFileA(search, &entry));
      FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
  }

  std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The file's bytes, or nothing when it does not exist or cannot be read.
inline std::optional<std::string> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace tw::storage::testing
