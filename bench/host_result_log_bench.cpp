// Result log load and save through the portable byte path, 100,000 result lines.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "storage/result_log.h"

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
  std::printf("result log %s %d lines (bytes, host): %.1f ms (target <= %.0f ms)\n", what, kLines, ms, kTargetMs);
}

}  // namespace

int main() {
  const std::vector<std::string> lines = RealisticLog();
  std::string bytes;
  Report("save", MedianMs([&] { bytes = tw::storage::SerializeResultLog(lines); }));
  std::vector<std::string> loaded;
  Report("load", MedianMs([&] { loaded = tw::storage::ParseResultLog(bytes); }));
  if (loaded != lines || lines.front().size() != 56) {
    std::printf("result log round trip FAILED\n");
    return 1;
  }
  return 0;
}
