// Result log load and save through the real files, 100,000 result lines, in a
// fresh folder under the Windows temp folder.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "storage/win32/result_log_file.h"

namespace {

constexpr int kLines = 100000;
constexpr int kRuns = 7;
constexpr double kTargetMs = 100.0;

std::vector<std::string> RealisticLog() {
  std::vector<std::string> lines;
  lines.reserve(kLines);
  char line[64];
  for (int i = 0; i < kLines; ++i) {
    std::snprintf(line, sizeof line, "#Date: %02d/%02d/2026 | Time: %02d:%02d:%02d | Result: 00:%02d:%02d:%02d",
                  i % 28 + 1, i % 12 + 1, i % 24, i % 60, (i * 7) % 60, i % 3, (i * 13) % 60, (i * 31) % 100);
    lines.emplace_back(line);
  }
  return lines;
}

template <typename Work>
double MedianMs(Work work) {
  std::vector<double> runs;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    work();
    runs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::nth_element(runs.begin(), runs.begin() + kRuns / 2, runs.end());
  return runs[kRuns / 2];
}

void Report(const char* what, double ms) {
  std::printf("result log %s %d lines (file, Wine): %.1f ms (target <= %.0f ms)\n", what, kLines, ms, kTargetMs);
}

}  // namespace

int main() {
  char base[MAX_PATH + 1] = {};
  GetTempPathA(sizeof base, base);
  const std::string folder = std::string(base) + "tw-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
  const std::string log = folder + "Result.lst";
  if (!CreateDirectoryA(folder.c_str(), nullptr)) {
    std::printf("result log bench: cannot create %s\n", folder.c_str());
    return 1;
  }

  const std::vector<std::string> lines = RealisticLog();
  bool saved = true;
  Report("save", MedianMs([&] { saved = tw::storage::WriteResultLog(log, lines) && saved; }));
  std::vector<std::string> loaded;
  Report("load", MedianMs([&] { loaded = tw::storage::LoadResultLog(log); }));

  DeleteFileA(log.c_str());
  RemoveDirectoryA(folder.c_str());
  if (!saved || loaded != lines) {
    std::printf("result log round trip FAILED\n");
    return 1;
  }
  return 0;
}
