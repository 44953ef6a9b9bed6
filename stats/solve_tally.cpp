#include "stats/solve_tally.h"

#include <cmath>

#include "stats/average_rules.h"

namespace tw::stats {

void SolveTally::Add(Hundredths result) {
  ++solves_;
  if (result == kDnf) {
    ++dnfs_;
    return;
  }
  sum_ += result;
  const auto timed = static_cast<double>(solves_ - dnfs_);
  const double delta = result - mean_;
  mean_ += delta / timed;
  squares_ += delta * (result - mean_);
}

TallyFigures SolveTally::Figures() const {
  TallyFigures figures{solves_, dnfs_, std::nullopt, std::nullopt};
  const std::int64_t timed = solves_ - dnfs_;
  if (timed == 0) return figures;
  figures.mean = RoundedMean(sum_, timed);
  figures.deviation = static_cast<Hundredths>(std::llround(std::sqrt(squares_ / static_cast<double>(timed))));
  return figures;
}

}  // namespace tw::stats
