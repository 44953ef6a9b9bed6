// The statistics of a whole log and their upkeep as solves are logged, the chart's
// reduction and scale, and the table copied to the clipboard.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "stats/chart_model.h"
#include "stats/statistics.h"
#include "stats/table_text.h"
#include "tests/host/stats_slow_figures.h"

namespace tw::stats {
namespace {

constexpr Hundredths D = kDnf;
using Lines = std::vector<std::string>;
using Results = std::vector<Hundredths>;

std::string Line(Hundredths result) {
  if (result == D) return "#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:31:20 (DNF)";
  char text[80];
  std::snprintf(text, sizeof text, "#Date: 10/12/2026 | Time: 14:03:07 | Result: %02d:%02d:%02d:%02d",
                result / 360000, result / 6000 % 60, result / 100 % 60, result % 100);
  return text;
}

Lines LinesOf(const Results& results) {
  Lines lines;
  for (Hundredths r : results) lines.push_back(Line(r));
  return lines;
}

RowFigures Row(const Statistics& stats, int size) {
  for (const RowFigures& row : stats.Rows()) {
    if (row.size == size) return row;
  }
  throw std::out_of_range("no such row");
}

TEST(Statistics, RowsAppearOnceThereAreEnoughSolves) {
  Statistics stats;
  stats.Load(LinesOf({1000, 1100, 1200, 1300}), 0);
  EXPECT_TRUE(Row(stats, 1).shown);
  EXPECT_TRUE(Row(stats, 3).shown);
  EXPECT_FALSE(Row(stats, 5).shown);  // a log of fewer than 5
  EXPECT_FALSE(Row(stats, 12).shown);
  EXPECT_EQ(Row(stats, 1).current, 1300);
  EXPECT_EQ(Row(stats, 1).best, 1000);
  EXPECT_EQ(Row(stats, 3).current, 1200);  // 1100, 1200, 1300
  EXPECT_EQ(Row(stats, 3).best, 1100);
  stats.Append(Line(1400));
  EXPECT_TRUE(Row(stats, 5).shown);
  EXPECT_EQ(Row(stats, 5).current, 1200);
}

TEST(Statistics, CurrentIsTheLatestWindowAndBestTheFastestOfAll) {
  Statistics stats;
  stats.Load(LinesOf({1000, 1100, 1200, 1300, 1400, 2000}), 0);
  // Windows: 10..14 -> 12.00; 11, 12, 13, 14, 20 -> 13.00.
  EXPECT_EQ(Row(stats, 5).current, 1300);
  EXPECT_EQ(Row(stats, 5).best, 1200);
  // A window at the very end of the log becomes the best.
  for (Hundredths r : {900, 900, 900}) stats.Append(Line(r));
  // 14, 20, 9, 9, 9: drop a 9 and the 20 -> (900 + 900 + 1400) / 3 = 10.67, the
  // fastest of 13.00, 12.00 and 12.00 before it.
  EXPECT_EQ(Row(stats, 5).current, 1067);
  EXPECT_EQ(Row(stats, 5).best, 1067);
  EXPECT_EQ(Row(stats, 1).best, 900);
}

TEST(Statistics, DnfAveragesAreCurrentButNeverBest) {
  Statistics stats;
  stats.Load(LinesOf({D, D, 1000, 1100, 1200}), 0);
  EXPECT_EQ(Row(stats, 5).current, D);
  EXPECT_EQ(Row(stats, 5).best, D);  // every window so far was DNF
  EXPECT_EQ(Row(stats, 3).current, 1100);
  stats.Append(Line(1300));  // D, 10, 11, 12, 13: one DNF is dropped
  EXPECT_EQ(Row(stats, 5).current, 1200);
  EXPECT_EQ(Row(stats, 5).best, 1200);
  stats.Append(Line(D));
  stats.Append(Line(D));
  EXPECT_EQ(Row(stats, 5).current, D);
  EXPECT_EQ(Row(stats, 5).best, 1200);
  EXPECT_EQ(Row(stats, 1).current, D);
  EXPECT_EQ(Row(stats, 1).best, 1000);
}

TEST(Statistics, UnreadLinesAreCountedAndLeftOut) {
  Statistics stats;
  stats.Load({Line(1000), "hand-edited nonsense", "", Line(1200), "Result: 00:00:12"}, 0);
  EXPECT_EQ(stats.UnreadLines(), 3u);
  EXPECT_EQ(stats.Results(), (Results{1000, 1200}));
  stats.Append("another one");
  EXPECT_EQ(stats.UnreadLines(), 4u);
  EXPECT_EQ(stats.All().solves, 2);
}

TEST(Statistics, TalliesTheWholeLogAndTheSolvesSinceStart) {
  Statistics stats;
  // Lines 0 to 2 were logged before this run; an unread line is no solve of either.
  stats.Load({Line(1000), Line(D), Line(3000), "nonsense", Line(1201)}, 3);
  TallyFigures all = stats.All();
  EXPECT_EQ(all.solves, 4);
  EXPECT_EQ(all.dnfs, 1);
  EXPECT_EQ(all.mean, 1734);  // 5201 / 3 = 1733.67
  TallyFigures sinceStart = stats.SinceStart();
  EXPECT_EQ(sinceStart.solves, 1);
  EXPECT_EQ(sinceStart.dnfs, 0);
  EXPECT_EQ(sinceStart.mean, 1201);
  EXPECT_EQ(sinceStart.deviation, 0);
  stats.Append(Line(1401));
  stats.Append(Line(D));
  sinceStart = stats.SinceStart();
  EXPECT_EQ(sinceStart.solves, 3);
  EXPECT_EQ(sinceStart.dnfs, 1);
  EXPECT_EQ(sinceStart.mean, 1301);
  EXPECT_EQ(sinceStart.deviation, 100);
  EXPECT_EQ(stats.All().solves, 6);
}

// Every figure of a long log, whether loaded whole or grown a line at a time, against
// the same figures worked out the slow way (every window sorted afresh).
TEST(Statistics, EveryFigureMatchesTheSlowWayLoadedOrAppended) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> value(800, 2500), percent(0, 99);
  Results results;
  for (int i = 0; i < 2500; ++i) results.push_back(percent(random) < 4 ? D : value(random));
  const Lines lines = LinesOf(results);

  Results running5, running12;
  std::vector<std::size_t> newBests;
  Hundredths fastest = D;
  for (std::size_t end = 1; end <= results.size(); ++end) {
    running5.push_back(end < 5 ? kNoAverage : slow::AverageEndingAt(results, end, {5, 1}));
    running12.push_back(end < 12 ? kNoAverage : slow::AverageEndingAt(results, end, {12, 1}));
    if (results[end - 1] < fastest) fastest = results[end - 1], newBests.push_back(end - 1);
  }
  const slow::Tally tally = slow::TallyOf(results);
  std::vector<std::pair<Hundredths, Hundredths>> currentAndBest;
  for (const slow::Kind kind : slow::kKinds) {
    currentAndBest.emplace_back(slow::AverageEndingAt(results, results.size(), kind), slow::BestAverage(results, kind));
  }

  Statistics whole, grown;
  whole.Load(lines, 0);
  grown.Load(Lines(lines.begin(), lines.begin() + 700), 0);
  for (std::size_t i = 700; i < lines.size(); ++i) grown.Append(lines[i]);
  for (const Statistics* stats : {&whole, &grown}) {
    const char* how = stats == &whole ? "loaded" : "appended";
    for (std::size_t k = 0; k < std::size(slow::kKinds); ++k) {
      const RowFigures row = Row(*stats, slow::kKinds[k].size);
      EXPECT_TRUE(row.shown);
      EXPECT_EQ(row.current, currentAndBest[k].first) << how << " of " << row.size;
      EXPECT_EQ(row.best, currentAndBest[k].second) << how << " of " << row.size;
    }
    EXPECT_EQ(stats->RunningAverage5(), running5) << how;
    EXPECT_EQ(stats->RunningAverage12(), running12) << how;
    EXPECT_EQ(stats->NewBests(), newBests) << how;
    EXPECT_EQ(stats->All().mean, tally.mean) << how;
    EXPECT_EQ(stats->All().deviation, tally.deviation) << how;
  }
}

TEST(Statistics, ChartSeriesMarkRunningAveragesAndNewBests) {
  Statistics stats;
  stats.Load(LinesOf({1500, D, 1400, 1600, 1300, 1300, 1700}), 0);
  EXPECT_EQ(stats.RunningAverage5(), (Results{kNoAverage, kNoAverage, kNoAverage, kNoAverage, 1500, 1433, 1433}));
  EXPECT_EQ(stats.NewBests(), (std::vector<std::size_t>{0, 2, 4}));  // a tie is no new best
  stats.Clear();
  EXPECT_TRUE(stats.Results().empty());
  EXPECT_TRUE(stats.NewBests().empty());
  EXPECT_FALSE(Row(stats, 1).shown);
  EXPECT_EQ(stats.All().solves, 0);
}

TEST(ChartRange, IgnoresTheSlowestTwoPercentAndTheDnfs) {
  Results results;
  for (Hundredths r = 1000; r < 1100; ++r) results.push_back(r);
  results.push_back(D);
  EXPECT_EQ(ChartRange(results)->low, 1000);
  EXPECT_EQ(ChartRange(results)->high, 1097);  // 1098 and 1099 set aside
  const Results few{1500, 9000, 1000};         // fewer than 50: nothing set aside
  EXPECT_EQ(ChartRange(few)->high, 9000);
  EXPECT_FALSE(ChartRange(Results{D, D}));
  EXPECT_FALSE(ChartRange(Results{}));
}

TEST(TimeAxis, RoundStepsWithBothEndsOnATick) {
  struct Case {
    ValueRange range;
    int maxTicks;
    Axis axis;
  };
  const Case cases[] = {
      {{1000, 1500}, 5, {1000, 1500, 100}},
      {{1010, 1490}, 5, {1000, 1500, 100}},
      {{6100, 9000}, 6, {6000, 9000, 500}},
      {{1234, 1234}, 6, {1180, 1300, 20}},  // one solve: a second around it
      {{20, 40}, 6, {0, 100, 20}},          // never below zero
      {{3000, 200000}, 6, {0, 240000, 60000}},
  };
  for (const Case& c : cases) {
    const Axis axis = TimeAxis(c.range, c.maxTicks);
    EXPECT_EQ(axis.low, c.axis.low);
    EXPECT_EQ(axis.high, c.axis.high);
    EXPECT_EQ(axis.step, c.axis.step);
  }
}

TEST(SolveStep, OneTwoOrFiveTimesAPowerOfTen) {
  EXPECT_EQ(SolveStep(5, 6), 1u);
  EXPECT_EQ(SolveStep(12, 6), 2u);
  EXPECT_EQ(SolveStep(30, 6), 5u);
  EXPECT_EQ(SolveStep(100000, 6), 20000u);
}

TEST(ReduceToColumns, EverySolveLandsInItsColumnWithFastestAndSlowest) {
  const Results results{1000, 1200, D, 1100, 1500, 900, 1300, 1250, 1700, 1000};
  Results ao5(results.size(), kNoAverage), ao12(results.size(), kNoAverage);
  ao5[4] = 1234;
  ao5[5] = D;
  ao5[6] = 1111;
  std::vector<ChartColumn> columns;
  ReduceToColumns(results, ao5, ao12, 4, columns);
  ASSERT_EQ(columns.size(), 4u);
  // Columns of 3, 2, 3 and 2 solves.
  for (std::size_t i = 0; i < results.size(); ++i) {
    const ChartColumn& column = columns[ColumnOf(i, results.size(), columns.size())];
    if (results[i] == D) {
      EXPECT_TRUE(column.dnf);
    } else {
      EXPECT_LE(column.single.low, results[i]);
      EXPECT_GE(column.single.high, results[i]);
    }
  }
  EXPECT_EQ(columns[0].single.low, 1000);
  EXPECT_EQ(columns[0].single.high, 1200);
  EXPECT_TRUE(columns[0].dnf);
  EXPECT_FALSE(columns[1].dnf);
  EXPECT_EQ(columns[1].single.first, 1100);
  EXPECT_EQ(columns[1].single.last, 1500);
  EXPECT_EQ(columns[1].average5.low, 1234);  // its only drawable average
  EXPECT_EQ(columns[2].average5.first, 1111);
  EXPECT_TRUE(columns[0].average12.Empty());
  // Fewer solves than columns: one column each.
  ReduceToColumns(results, ao5, ao12, 600, columns);
  EXPECT_EQ(columns.size(), results.size());
  ReduceToColumns({}, {}, {}, 600, columns);
  EXPECT_TRUE(columns.empty());
}

TEST(ChartScale, MapsValuesUpwardsAndHoldsOutliersAtTheEdge) {
  const ChartScale scale{10, 20, 100, 101, Axis{1000, 2000, 200}, 4};
  EXPECT_EQ(scale.Y(1000), 120);
  EXPECT_EQ(scale.Y(2000), 20);
  EXPECT_EQ(scale.Y(1500), 70);
  EXPECT_EQ(scale.Y(9999), 20);  // one of the slowest 2 %
  EXPECT_EQ(scale.Y(500), 120);
  EXPECT_EQ(scale.X(0), 22);
  EXPECT_EQ(scale.X(3), 97);
}

TEST(TableText, ShownRowsInLinedUpColumns) {
  Statistics stats;
  stats.Load(LinesOf({1000, 6235, 1200, D, 1100}), 0);
  EXPECT_EQ(TableText(stats.Rows()),
            "              current     best\r\n"
            "single          11.00    10.00\r\n"
            "mean of 3         DNF    28.12\r\n"
            "average of 5    28.45    28.45\r\n");
  stats.Clear();
  EXPECT_EQ(TableText(stats.Rows()), "  current     best\r\n");
}

}  // namespace
}  // namespace tw::stats
