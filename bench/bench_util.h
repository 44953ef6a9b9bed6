// What every benchmark needs, whichever system it runs on: the realistic result
// log, the middle of several runs and percentiles.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace tw::bench {

inline constexpr int kResultLogLines = 100000;
inline constexpr int kResultLogRuns = 7;
inline constexpr double kResultLogTargetMs = 100.0;

// Every field varies from line to line, so neither side can profit from repeats.
inline std::vector<std::string> RealisticResultLog(int count = kResultLogLines) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(count));
  char line[64];
  for (int i = 0; i < count; ++i) {
    std::snprintf(line, sizeof line, "#Date: %02d/%02d/2026 | Time: %02d:%02d:%02d | Result: 00:%02d:%02d:%02d",
                  i % 28 + 1, i % 12 + 1, i % 24, i % 60, (i * 7) % 60, i % 3, (i * 13) % 60, (i * 31) % 100);
    lines.emplace_back(line);
  }
  return lines;
}

// `how` names the path measured, e.g. "bytes, host".
inline void ReportResultLog(const char* what, const char* how, double ms) {
  std::printf("result log %s %d lines (%s): %.1f ms (target <= %.0f ms)\n", what, kResultLogLines, how, ms,
              kResultLogTargetMs);
}

// Nearest-rank percentile; the values are sorted in place.
inline double Percentile(std::vector<double>& values, double p) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

// With an even count, the lower of the two middle values: run counts here are odd.
inline double Median(std::vector<double> values) { return Percentile(values, 50); }

// The median wall time of `runs` calls of `work`, so one slow run on a shared
// machine does not move the figure.
template <typename Work>
double MedianMs(Work&& work, int runs = kResultLogRuns) {
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return Median(std::move(times));
}

}  // namespace tw::bench
