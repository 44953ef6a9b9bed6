#pragma once
#include <cstdint>
#include <optional>

#include "stats/result_reading.h"

namespace tw::stats {

// The count of solves, of DNFs among them, and the mean and standard deviation of
// the timed ones; mean and deviation are absent until there is a timed solve.
struct TallyFigures {
  std::int64_t solves = 0;
  std::int64_t dnfs = 0;
  std::optional<Hundredths> mean;
  std::optional<Hundredths> deviation;
};

// Counts solves one at a time. The mean is exact (an integer sum); the standard
// deviation is that of the timed solves themselves (divided by their count, not one
// less), kept by Welford's update: a sum of squares could overflow 64 bits on a
// long log of hand-edited hour-long results, and the update stays accurate where
// subtracting two large sums would not.
class SolveTally {
 public:
  void Add(Hundredths result);
  void Clear() { *this = SolveTally{}; }
  TallyFigures Figures() const;

 private:
  std::int64_t solves_ = 0;
  std::int64_t dnfs_ = 0;
  std::int64_t sum_ = 0;
  double mean_ = 0;
  double squares_ = 0;  // sum of squared distances from the running mean
};

}  // namespace tw::stats
