#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "stats/average_rules.h"
#include "stats/sliding_average.h"
#include "stats/solve_tally.h"
#include "storage/line_arena.h"

namespace tw::stats {

// A running average before its window has filled.
inline constexpr Hundredths kNoAverage = -1;

// One row of the table: the latest window's average and the best of every window
// of consecutive results so far. A row is shown once there are `size` results.
struct RowFigures {
  std::string_view name;
  int size;
  bool shown;
  Hundredths current;
  Hundredths best;  // kDnf when every window so far was DNF
};

// Every figure of the statistics window for one result log: built from the whole
// log once, then kept up to date one appended line at a time. It keeps one number
// per solve (and one per running average the chart draws), never the lines.
class Statistics {
 public:
  Statistics();

  // The whole log; the lines from `sinceStart` on were logged since the program started.
  void Load(const std::vector<std::string>& lines, std::size_t sinceStart);
  void Load(const storage::LineArena& lines, std::size_t sinceStart);
  // One line more at the end of the log, logged since the program started.
  void Append(std::string_view line);
  void Clear();

  std::array<RowFigures, kAverageKinds.size()> Rows() const;
  TallyFigures All() const { return all_.Figures(); }
  // The solves logged since the program started (a restart begins it again at none).
  TallyFigures SinceStart() const { return since_start_.Figures(); }
  // Lines that hold no readable result; they are left out of every figure.
  std::size_t UnreadLines() const { return unread_; }

  // The readable results, oldest first, and beside each the average of 5 and of 12
  // ending there (kNoAverage before the window fills, kDnf for a DNF average).
  const std::vector<Hundredths>& Results() const { return results_; }
  const std::vector<Hundredths>& RunningAverage5() const { return average5_; }
  const std::vector<Hundredths>& RunningAverage12() const { return average12_; }
  // The indices into Results() of each single faster than every one before it.
  const std::vector<std::size_t>& NewBests() const { return new_bests_; }

  // The memory this model holds on to, in bytes.
  std::size_t MemoryBytes() const;

 private:
  void Begin(std::size_t count);
  void Read(std::string_view line, bool sinceStart);
  void Add(Hundredths result, bool sinceStart);

  std::vector<Hundredths> results_;
  std::vector<Hundredths> average5_;
  std::vector<Hundredths> average12_;
  std::vector<std::size_t> new_bests_;
  std::vector<SlidingAverage> windows_;  // one per row of kAverageKinds
  // The best window of each row as its kept sum: every window of a row keeps as
  // many results, so comparing sums compares averages, with no division per solve.
  std::array<std::int64_t, kAverageKinds.size()> best_sums_;
  SolveTally all_;
  SolveTally since_start_;
  std::size_t unread_ = 0;
};

}  // namespace tw::stats
