#include "stats/average_rules.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace tw::stats {

Hundredths RoundedMean(std::int64_t sum, std::int64_t count) {
  return static_cast<Hundredths>((2 * sum + count) / (2 * count));
}

Hundredths AverageOf(std::span<const Hundredths> results, int trim) {
  std::vector<Hundredths> sorted(results.begin(), results.end());
  std::sort(sorted.begin(), sorted.end());
  const auto dnfs = std::count(sorted.begin(), sorted.end(), kDnf);
  if (dnfs > trim) return kDnf;
  const auto kept = static_cast<std::int64_t>(sorted.size()) - 2 * static_cast<std::int64_t>(trim);
  const std::int64_t sum = std::accumulate(sorted.begin() + trim, sorted.end() - trim, std::int64_t{0});
  return RoundedMean(sum, kept);
}

}  // namespace tw::stats
