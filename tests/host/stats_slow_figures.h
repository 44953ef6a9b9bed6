#pragma once
// The statistics worked out the slow, obvious way, written apart from stats/ so the
// tests that hold the fast incremental code to them share none of its code: every
// window sorted afresh, its DNFs taken as the slowest, and the mean rounded halves up.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "stats/result_reading.h"

namespace tw::stats::slow {

// Each average the statistics table shows: its window and how many results are
// dropped at each end (5 % rounded up), written out by hand.
struct Kind {
  int size;
  int trim;
};
inline constexpr Kind kKinds[] = {{1, 0}, {3, 0}, {5, 1}, {12, 1}, {50, 3}, {100, 5}, {1000, 50}};

// sum / count to the nearest hundredth, a half rounded up.
inline Hundredths Rounded(std::int64_t sum, std::int64_t count) {
  const std::int64_t whole = sum / count, rest = sum % count;
  return static_cast<Hundredths>(whole + (2 * rest >= count ? 1 : 0));
}

// The average of `window` with `trim` dropped at each end: DNF once more results did
// not finish than are dropped from the slow end, which the DNFs fill first.
inline Hundredths Average(const std::vector<Hundredths>& window, int trim) {
  std::vector<Hundredths> timed;
  for (Hundredths r : window) {
    if (r != kDnf) timed.push_back(r);
  }
  const int dnfs = static_cast<int>(window.size() - timed.size());
  if (dnfs > trim) return kDnf;
  std::sort(timed.begin(), timed.end());
  const std::size_t first = static_cast<std::size_t>(trim);
  const std::size_t last = timed.size() - static_cast<std::size_t>(trim - dnfs);
  std::int64_t sum = 0;
  for (std::size_t i = first; i < last; ++i) sum += timed[i];
  return Rounded(sum, static_cast<std::int64_t>(last - first));
}

// The average of the `size` results ending at `end` (one past the last).
inline Hundredths AverageEndingAt(const std::vector<Hundredths>& results, std::size_t end, Kind kind) {
  const auto last = results.begin() + static_cast<std::ptrdiff_t>(end);
  return Average(std::vector<Hundredths>(last - kind.size, last), kind.trim);
}

// The fastest average of every full window; DNF when each was DNF.
inline Hundredths BestAverage(const std::vector<Hundredths>& results, Kind kind) {
  Hundredths best = kDnf;
  for (std::size_t end = static_cast<std::size_t>(kind.size); end <= results.size(); ++end) {
    best = std::min(best, AverageEndingAt(results, end, kind));
  }
  return best;
}

// The mean and the deviation (over the count, not one less) of the timed results.
struct Tally {
  std::optional<Hundredths> mean, deviation;
};
inline Tally TallyOf(const std::vector<Hundredths>& results) {
  std::int64_t sum = 0, count = 0;
  for (Hundredths r : results) {
    if (r != kDnf) sum += r, ++count;
  }
  if (count == 0) return {};
  long double squares = 0;
  for (Hundredths r : results) {
    if (r != kDnf) squares += std::pow(static_cast<long double>(r) - static_cast<long double>(sum) / count, 2);
  }
  return {Rounded(sum, count), static_cast<Hundredths>(std::llround(std::sqrt(squares / count)))};
}

}  // namespace tw::stats::slow
