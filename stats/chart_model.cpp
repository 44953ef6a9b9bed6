#include "stats/chart_model.h"

#include <algorithm>
#include <array>

#include "stats/statistics.h"

namespace tw::stats {

namespace {

// The slowest 2 % of the timed results lie beyond the chart's range.
constexpr std::size_t kIgnoredPercent = 2;
constexpr std::size_t kPercent = 100;
// An axis spans a second at least, so a single solve or a run of equal ones is not
// stretched over the whole height.
constexpr Hundredths kShortestSpan = 100;

// Round lengths of a time step, in hundredths: fractions of a second, seconds,
// minutes and hours as a clock divides them.
constexpr std::array<Hundredths, 24> kTimeSteps{1,      2,      5,      10,     20,     50,
                                                100,    200,    500,    1000,   1500,   2000,
                                                3000,   6000,   12000,  30000,  60000,  90000,
                                                180000, 360000, 720000, 1800000, 3600000, 8640000};

bool Drawable(Hundredths value) { return value != kNoAverage && value != kDnf; }

Hundredths RoundDown(Hundredths value, Hundredths step) { return value / step * step; }
Hundredths RoundUp(Hundredths value, Hundredths step) { return (value + step - 1) / step * step; }

}  // namespace

void ValueSpan::Add(Hundredths value) {
  if (Empty()) first = value;
  last = value;
  low = std::min(low, value);
  high = std::max(high, value);
}

std::size_t ColumnOf(std::size_t solve, std::size_t solves, std::size_t columns) {
  return solves <= columns ? solve : solve * columns / solves;
}

void ReduceToColumns(std::span<const Hundredths> results, std::span<const Hundredths> average5,
                     std::span<const Hundredths> average12, std::size_t maxColumns,
                     std::vector<ChartColumn>& columns) {
  const std::size_t solves = results.size();
  columns.assign(std::min(solves, maxColumns), ChartColumn{});
  if (columns.empty()) return;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    // The first solve of column c is the smallest i with i * columns >= c * solves.
    const std::size_t begin = (c * solves + columns.size() - 1) / columns.size();
    const std::size_t end = ((c + 1) * solves + columns.size() - 1) / columns.size();
    ChartColumn& column = columns[c];
    for (std::size_t i = begin; i < end; ++i) {
      if (results[i] == kDnf) {
        column.dnf = true;
      } else {
        column.single.Add(results[i]);
      }
      if (Drawable(average5[i])) column.average5.Add(average5[i]);
      if (Drawable(average12[i])) column.average12.Add(average12[i]);
    }
  }
}

std::optional<ValueRange> ChartRange(std::span<const Hundredths> results) {
  std::vector<Hundredths> timed;
  timed.reserve(results.size());
  std::copy_if(results.begin(), results.end(), std::back_inserter(timed), [](Hundredths r) { return r != kDnf; });
  if (timed.empty()) return std::nullopt;
  const std::size_t kept = timed.size() - timed.size() * kIgnoredPercent / kPercent;
  const auto slowestKept = timed.begin() + static_cast<std::ptrdiff_t>(kept - 1);
  std::nth_element(timed.begin(), slowestKept, timed.end());
  return ValueRange{*std::min_element(timed.begin(), slowestKept + 1), *slowestKept};
}

Axis TimeAxis(ValueRange range, int maxTicks) {
  if (range.high - range.low < kShortestSpan) {
    const Hundredths widen = kShortestSpan - (range.high - range.low);
    range.low = std::max(0, range.low - widen / 2);
    range.high = range.low + kShortestSpan;
  }
  for (Hundredths step : kTimeSteps) {
    const Hundredths low = RoundDown(range.low, step);
    Hundredths high = RoundUp(range.high, step);
    if (high == low) high = low + step;
    if ((high - low) / step <= maxTicks) return Axis{low, high, step};
  }
  const Hundredths step = kTimeSteps.back();
  return Axis{RoundDown(range.low, step), std::max(RoundUp(range.high, step), RoundDown(range.low, step) + step), step};
}

std::size_t SolveStep(std::size_t solves, int maxTicks) {
  const auto ticks = static_cast<std::size_t>(std::max(maxTicks, 1));
  for (std::size_t power = 1;; power *= 10) {
    for (std::size_t factor : {1, 2, 5}) {
      if (solves / (factor * power) <= ticks) return factor * power;
    }
  }
}

int ChartScale::X(std::size_t column) const {
  // The centre of the column's share of the width.
  return left + static_cast<int>((2 * column + 1) * static_cast<std::size_t>(width) / (2 * std::max<std::size_t>(columns, 1)));
}

int ChartScale::Y(Hundredths value) const {
  const Hundredths held = std::clamp(value, axis.low, axis.high);
  const auto above = static_cast<long long>(held - axis.low) * (height - 1) / (axis.high - axis.low);
  return top + height - 1 - static_cast<int>(above);
}

}  // namespace tw::stats
