#pragma once
// The chart of every solve, reduced to what a window of a few hundred pixel
// columns can show: per column the fastest and the slowest of each series.
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "stats/result_reading.h"

namespace tw::stats {

// The values of one series falling into one pixel column, in arrival order.
struct ValueSpan {
  Hundredths first = 0, last = 0;
  Hundredths low = kDnf, high = -1;
  bool Empty() const { return high < low; }
  void Add(Hundredths value);
};

struct ChartColumn {
  ValueSpan single, average5, average12;
  bool dnf = false;  // a DNF fell into this column
};

// Solve i of n falls into column i * columns / n.
std::size_t ColumnOf(std::size_t solve, std::size_t solves, std::size_t columns);

// One column per solve while they fit in `maxColumns`, else `maxColumns` columns
// each holding a run of consecutive solves. The running averages hold kNoAverage
// or kDnf where there is nothing to draw. `columns` is reused from paint to paint.
void ReduceToColumns(std::span<const Hundredths> results, std::span<const Hundredths> average5,
                     std::span<const Hundredths> average12, std::size_t maxColumns,
                     std::vector<ChartColumn>& columns);

// A value axis: from `low` to `high` with a labelled tick every `step`, both ends on a tick.
struct Axis {
  Hundredths low, high, step;
};

// The fastest timed result up to the slowest one left once the slowest 2 % are set
// aside, so one bad solve does not flatten the chart; nothing without a timed result.
struct ValueRange {
  Hundredths low, high;
};
std::optional<ValueRange> ChartRange(std::span<const Hundredths> results);

// A time axis over the range with at most `maxTicks` steps of a round length
// (hundredths to hours), never empty: one step at least.
Axis TimeAxis(ValueRange range, int maxTicks);

// The step between labelled solve numbers on an axis of `solves` solves: 1, 2 or 5
// times a power of ten, at most `maxTicks` steps.
std::size_t SolveStep(std::size_t solves, int maxTicks);

// Where things land in the plot rectangle, in pixels. Values outside the axis are
// held at its edge; the slowest 2 % stay drawn, along the top.
struct ChartScale {
  int left, top, width, height;
  Axis axis;
  std::size_t columns;
  int X(std::size_t column) const;
  int Y(Hundredths value) const;
};

}  // namespace tw::stats
