// What the Windows benchmarks share: the precise clock, their own folders
// under the temp folder and where to find the files they start from.
#pragma once

#include <windows.h>

#include <span>
#include <string>

namespace tw::bench {

// QueryPerformanceCounter, the clock the stopwatch itself times solves with.
inline double NowPreciseMs() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

// This executable's folder, with its trailing backslash.
inline std::string ExeFolder() {
  char exe[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string folder(exe);
  folder.erase(folder.find_last_of('\\') + 1);
  return folder;
}

// The folder named on the command line, else `fallback`, always ending in a separator.
inline std::string FolderArgument(int argc, char** argv, const std::string& fallback) {
  std::string folder = argc > 1 ? argv[1] : fallback;
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return folder;
}

// A fresh folder under the Windows temp folder, named `<prefix><process id>`, so
// runs never touch the build output or each other; it goes, with every file
// left in it, at the end.
class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix) {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    path_ = std::string(temp) + prefix + std::to_string(GetCurrentProcessId()) + "\\";
    created_ = CreateDirectoryA(path_.c_str(), nullptr) != 0;
  }
  ~TempFolder() {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((path_ + found.cFileName).c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool Created() const { return created_; }
  // With its trailing backslash.
  const std::string& Path() const { return path_; }

  // Copies the named files from the folder `from` (with its trailing separator);
  // returns the first source that could not be copied, or "" when all were.
  std::string CopyIn(const std::string& from, std::span<const char* const> names) const {
    for (const char* name : names) {
      if (!CopyFileA((from + name).c_str(), (path_ + name).c_str(), FALSE)) return from + name;
    }
    return "";
  }

 private:
  std::string path_;
  bool created_ = false;
};

}  // namespace tw::bench
