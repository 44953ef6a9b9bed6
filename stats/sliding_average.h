#pragma once
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "stats/result_reading.h"

namespace tw::stats {

// The average of the latest `size` results as each new one arrives: an
// order-statistics window kept sorted as results enter and leave, never re-sorted.
// A slide moves only the results lying between the leaving one's place and the
// new one's (a few hundred bytes for a window of 1000), which beats a tree of
// nodes on both time and memory at these sizes. The sums of the `trim` results
// dropped at each end are kept up to date at each slide, so reading the average
// costs the same for a window of 1000 as for one of 5.
class SlidingAverage {
 public:
  // The kept sum of a window whose average is DNF: larger than any real one.
  static constexpr std::int64_t kDnfSum = std::numeric_limits<std::int64_t>::max();

  SlidingAverage(int size, int trim);

  // The newest result; the oldest leaves once the window is full.
  void Push(Hundredths result);
  bool Full() const { return count_ == ring_.size(); }
  // The sum of the results kept once `trim` are dropped at each end, or kDnfSum
  // when more results are DNF than are dropped from the slow end. The window size
  // is fixed, so the smallest sum is the best average. Only meaningful once Full().
  std::int64_t KeptSum() const;
  // That sum as the average, rounded to the hundredth.
  Hundredths Current() const;
  Hundredths AverageOfSum(std::int64_t keptSum) const;
  void Clear();
  std::size_t MemoryBytes() const;

 private:
  // A sorted range [first, last) of the window and the sum of its results, DNFs as 0.
  struct Region {
    std::size_t first, last;
    std::int64_t sum = 0;
  };
  void Replace(Hundredths leaving, Hundredths entering);
  void Account(Region& region, std::size_t out, std::size_t in, Hundredths leaving, Hundredths entering) const;
  void SumRegions();

  std::size_t trim_;
  std::vector<Hundredths> ring_;    // arrival order; the oldest at next_ once full
  std::vector<Hundredths> sorted_;  // the same results, ascending, DNF last
  std::size_t next_ = 0;
  std::size_t count_ = 0;
  std::int64_t timed_sum_ = 0;  // every result but the DNFs
  std::size_t dnfs_ = 0;
  Region fastest_, slowest_;  // the results dropped at each end
};

}  // namespace tw::stats
