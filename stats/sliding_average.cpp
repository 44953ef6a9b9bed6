#include "stats/sliding_average.h"

#include <algorithm>

#include "stats/average_rules.h"

namespace tw::stats {

namespace {

// A DNF adds nothing to a sum; it is counted apart.
std::int64_t Timed(Hundredths result) { return result == kDnf ? 0 : result; }

bool Within(std::size_t index, std::size_t first, std::size_t last) { return index >= first && index < last; }

// The first place whose result is not less than `value`. Without branches on the
// comparisons: results arrive in no order, so a branchy search mispredicts at
// nearly every step, and this search runs twice per window per solve.
std::vector<Hundredths>::iterator LowerBound(std::vector<Hundredths>& sorted, Hundredths value) {
  const Hundredths* base = sorted.data();
  std::size_t length = sorted.size();
  while (length > 1) {
    const std::size_t half = length / 2;
    base = base[half - 1] < value ? base + half : base;
    length -= half;
  }
  const std::size_t index = static_cast<std::size_t>(base - sorted.data()) + (length == 1 && *base < value ? 1 : 0);
  return sorted.begin() + static_cast<std::ptrdiff_t>(index);
}

}  // namespace

SlidingAverage::SlidingAverage(int size, int trim)
    : trim_(static_cast<std::size_t>(trim)), ring_(static_cast<std::size_t>(size)) {
  sorted_.reserve(ring_.size());
  fastest_ = Region{0, trim_};
  slowest_ = Region{ring_.size() - trim_, ring_.size()};
}

void SlidingAverage::Push(Hundredths result) {
  if (result == kDnf) {
    ++dnfs_;
  } else {
    timed_sum_ += result;
  }
  // With nothing dropped (a single, a mean of 3) the order does not matter.
  const bool ordered = trim_ > 0;
  if (!Full()) {
    ring_[count_++] = result;
    if (ordered) sorted_.insert(std::upper_bound(sorted_.begin(), sorted_.end(), result), result);
    if (Full()) SumRegions();
    return;
  }
  const Hundredths leaving = ring_[next_];
  if (leaving == kDnf) {
    --dnfs_;
  } else {
    timed_sum_ -= leaving;
  }
  ring_[next_] = result;
  if (++next_ == ring_.size()) next_ = 0;
  if (ordered) Replace(leaving, result);
}

void SlidingAverage::SumRegions() {
  for (Region* region : {&fastest_, &slowest_}) {
    region->sum = 0;
    for (std::size_t i = region->first; i < region->last; ++i) region->sum += Timed(sorted_[i]);
  }
}

// One shift of the results lying between the two places, instead of an erase and
// an insert that would each move everything behind them.
void SlidingAverage::Replace(Hundredths leaving, Hundredths entering) {
  const auto out = LowerBound(sorted_, leaving);
  const auto in = LowerBound(sorted_, entering);
  const auto outIndex = static_cast<std::size_t>(out - sorted_.begin());
  const auto inIndex = static_cast<std::size_t>(in - sorted_.begin());
  Account(fastest_, outIndex, inIndex, leaving, entering);
  Account(slowest_, outIndex, inIndex, leaving, entering);
  if (in <= out) {
    std::move_backward(in, out, out + 1);
    *in = entering;
  } else {
    std::move(out + 1, in, out);
    *(in - 1) = entering;
  }
}

// The change to a region's sum from the coming shift, read before it happens: the
// leaving result goes from index `out`, the entering one arrives at `in` (or just
// before it when the shift runs left), and results between cross the region's ends.
void SlidingAverage::Account(Region& region, std::size_t out, std::size_t in, Hundredths leaving,
                             Hundredths entering) const {
  if (region.first == region.last) return;
  if (Within(out, region.first, region.last)) region.sum -= Timed(leaving);
  if (in <= out) {
    // old[in, out) move one place up.
    if (Within(in, region.first, region.last)) region.sum += Timed(entering);
    if (region.first > 0 && Within(region.first - 1, in, out)) region.sum += Timed(sorted_[region.first - 1]);
    if (Within(region.last - 1, in, out)) region.sum -= Timed(sorted_[region.last - 1]);
  } else {
    // old(out, in) move one place down.
    if (Within(in - 1, region.first, region.last)) region.sum += Timed(entering);
    if (Within(region.last, out + 1, in)) region.sum += Timed(sorted_[region.last]);
    if (Within(region.first, out + 1, in)) region.sum -= Timed(sorted_[region.first]);
  }
}

std::int64_t SlidingAverage::KeptSum() const {
  if (dnfs_ > trim_) return kDnfSum;
  return timed_sum_ - fastest_.sum - slowest_.sum;
}

Hundredths SlidingAverage::AverageOfSum(std::int64_t keptSum) const {
  if (keptSum == kDnfSum) return kDnf;
  return RoundedMean(keptSum, static_cast<std::int64_t>(ring_.size() - 2 * trim_));
}

Hundredths SlidingAverage::Current() const { return AverageOfSum(KeptSum()); }

void SlidingAverage::Clear() {
  sorted_.clear();
  next_ = 0;
  count_ = 0;
  timed_sum_ = 0;
  dnfs_ = 0;
  fastest_.sum = 0;
  slowest_.sum = 0;
}

std::size_t SlidingAverage::MemoryBytes() const {
  return sizeof(*this) + (ring_.capacity() + sorted_.capacity()) * sizeof(Hundredths);
}

}  // namespace tw::stats
