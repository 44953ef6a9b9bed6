#pragma once
// The rules of the averages cubers rank and track progress by.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "stats/result_reading.h"

namespace tw::stats {

// The fastest and the slowest ceil(N x 5 %) results of an average of N are dropped:
// 1 for 5 and 12, 3 for 50, 5 for 100, 50 for 1000.
constexpr int TrimCount(int size) { return (size * 5 + 99) / 100; }

// One row of the statistics table: a window of `size` consecutive results with
// `trim` dropped at each end (a mean of 3 drops none; a single is a window of one).
struct AverageKind {
  std::string_view name;
  int size;
  int trim;
};

inline constexpr std::array<AverageKind, 7> kAverageKinds{{
    {"single", 1, 0},
    {"mean of 3", 3, 0},
    {"average of 5", 5, TrimCount(5)},
    {"average of 12", 12, TrimCount(12)},
    {"average of 50", 50, TrimCount(50)},
    {"average of 100", 100, TrimCount(100)},
    {"average of 1000", 1000, TrimCount(1000)},
}};
inline constexpr std::size_t kSingleRow = 0;
inline constexpr std::size_t kAverageOf5Row = 2;
inline constexpr std::size_t kAverageOf12Row = 3;

// sum / count rounded to the nearest hundredth, halves up, in integers, so a mean
// that ends in .xx5 never lands on the wrong side by a floating-point error.
Hundredths RoundedMean(std::int64_t sum, std::int64_t count);

// The average of the results with `trim` dropped at each end, DNF counted as the
// slowest: DNF when more results are DNF than are dropped from the slow end. Sorts
// a copy: the reference the incremental windows are held to, not the fast path.
Hundredths AverageOf(std::span<const Hundredths> results, int trim);

}  // namespace tw::stats
