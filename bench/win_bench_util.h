// What the Windows benchmarks share: the precise clock, their own folders
// under the temp folder, where to find the files they start from, a log kept in
// memory and the process's committed memory.
#pragma once

#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "results/log_store.h"

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

// A log kept in memory whose saves succeed at once: the figures are the window's
// cost, not the disk's.
class MemoryStore : public tw::results::LogStore {
 public:
  explicit MemoryStore(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  tw::results::LoadedLog Load() override {
    tw::results::LoadedLog log;
    log.state = tw::results::LoadedLog::State::kRead;
    log.lines = tw::storage::LineArena::FromLines(lines_);
    return log;
  }
  void Save(tw::results::SaveJob job) override {
    tw::results::SaveOutcome outcome;
    outcome.generation = job.generation;
    outcome.saved = true;
    job = {};  // the store lets go of the lines before it answers
    if (done_) done_(std::move(outcome));
  }
  void SetDone(std::function<void(tw::results::SaveOutcome)> done) override { done_ = std::move(done); }
  void Flush() override {}
  std::string Describe() const override { return "memory"; }

 private:
  std::vector<std::string> lines_;
  std::function<void(tw::results::SaveOutcome)> done_;
};

// Committed private pages, walked region by region (Wine leaves PrivateUsage at 0).
inline SIZE_T CommittedPrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION info;
  for (auto* address = static_cast<char*>(nullptr); VirtualQuery(address, &info, sizeof info) == sizeof info;
       address = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    if (info.RegionSize == 0) break;
  }
  return total;
}

}  // namespace tw::bench
