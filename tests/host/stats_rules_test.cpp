// The rules every figure of the statistics window rests on: reading a result
// line, the trimmed averages and their rounding, the incremental window, the
// tally, and how times are written.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "stats/average_rules.h"
#include "stats/result_reading.h"
#include "stats/sliding_average.h"
#include "stats/solve_tally.h"
#include "stats/time_format.h"
#include "tests/host/stats_slow_figures.h"

namespace tw::stats {
namespace {

constexpr Hundredths D = kDnf;
using Results = std::vector<Hundredths>;

TEST(ReadResult, FindsTheResultFieldByName) {
  struct Case {
    const char* line;
    std::optional<Hundredths> result;
  };
  const Case cases[] = {
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:01:23:45", 8345},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:00:00", 0},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:59:59:99", 359999},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 01:00:00:00", 360000},
      // The date and time follow the user's locale, whatever their length.
      {"#Date: 10.12.2026 | Time: 14.03.07 | Result: 00:00:09:99", 999},
      {"#Date: 2026-12-10 | Time: 2:03:07 PM | Result: 00:00:12:34", 1234},
      // The penalty is already counted in; a DNF has no time.
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:17:02 (+2)", 1702},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:31:20 (DNF)", D},
      // A hand edit's trailing blanks are forgiven; the last field named Result counts.
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:12:34  ", 1234},
      {"Result: 00:00:01:00 | Result: 00:00:02:00", 200},
      {"Result: 00:00:12:34", 1234},
      // Not a readable result.
      {"", std::nullopt},
      {"garbage", std::nullopt},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: ", std::nullopt},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:1:23", std::nullopt},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00.00.12.34", std::nullopt},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:60:00:00", std::nullopt},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:60:00", std::nullopt},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:12:3x", std::nullopt},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:12:34x", std::nullopt},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:12:34 (+3)", std::nullopt},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:12:34 (dnf)", std::nullopt},
      {"#Date: 10/12/2026 | Time: 14:03:07 | Result:00:00:12:34", std::nullopt},
      {"#Date: 10/12/2026 | Time: 14:03:07 | result: 00:00:12:34", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadResult(c.line), c.result) << c.line;
}

TEST(TrimCount, DropsFivePercentRoundedUpAtEachEnd) {
  EXPECT_EQ(TrimCount(5), 1);
  EXPECT_EQ(TrimCount(12), 1);
  EXPECT_EQ(TrimCount(50), 3);
  EXPECT_EQ(TrimCount(100), 5);
  EXPECT_EQ(TrimCount(1000), 50);
}

TEST(RoundedMean, RoundsHalvesUpInIntegers) {
  EXPECT_EQ(RoundedMean(12345, 10), 1235);  // 1234.5
  EXPECT_EQ(RoundedMean(12344, 10), 1234);  // 1234.4
  EXPECT_EQ(RoundedMean(12346, 10), 1235);
  EXPECT_EQ(RoundedMean(3002, 3), 1001);    // 1000.67
  EXPECT_EQ(RoundedMean(3001, 3), 1000);    // 1000.33
  EXPECT_EQ(RoundedMean(0, 3), 0);
}

// `size` results: the `fill` value with `dnfs` DNFs at the end and the values of
// `head` at the start.
Results Window(int size, Hundredths fill, int dnfs, Results head = {}) {
  Results results(static_cast<std::size_t>(size), fill);
  std::copy(head.begin(), head.end(), results.begin());
  std::fill(results.end() - dnfs, results.end(), D);
  return results;
}

// 50 fast and 50 slow results dropped, and 900 kept that sum to 900 x 12.34 + 4.50.
Results HalfwayAverageOf1000() {
  Results results = Window(1000, 1234, 0);
  std::fill_n(results.begin(), 50, 1);
  std::fill_n(results.begin() + 50, 50, 9999);
  std::fill_n(results.begin() + 100, 450, 1235);
  return results;
}

// Nine results of 12.34 and one of 12.39 sum to 123.45 over ten: 12.345.
Results HalfwayAverageOf12() { return {100, 1234, 1234, 1234, 1234, 1239, 1234, 1234, 1234, 1234, 1234, 5000}; }

TEST(AverageOf, TableOfHandComputedCases) {
  struct Case {
    const char* what;
    Results results;
    int trim;
    Hundredths average;
  };
  const Case cases[] = {
      {"ao5 drops the fastest and slowest", {1000, 1400, 1200, 1100, 1300}, 1, 1200},
      {"ao5 ties drop one of each", {1000, 1200, 1000, 1200, 1200}, 1, 1133},  // 3400 / 3
      {"ao5 all equal", {1234, 1234, 1234, 1234, 1234}, 1, 1234},
      {"ao5 one DNF is the dropped slowest", {1000, 1100, D, 1200, 1300}, 1, 1200},
      {"ao5 two DNFs", {1000, D, 1100, 1200, D}, 1, D},
      {"ao5 rounds up from .67", {1000, 1001, 1002, 1002, 2000}, 1, 1002},  // 3005 / 3
      {"ao5 rounds down from .33", {1000, 1000, 1000, 1001, 2000}, 1, 1000},
      {"ao12 rounds .xx5 up", HalfwayAverageOf12(), 1, 1235},
      {"ao12 one DNF", Window(12, 1500, 1, {1000}), 1, 1500},
      {"ao12 two DNFs", Window(12, 1500, 2), 1, D},
      {"mo3 is a plain mean", {1000, 1001, 1001}, 0, 1001},
      {"mo3 with a DNF", {1000, D, 1001}, 0, D},
      {"ao50 three DNFs", Window(50, 1500, 3, {100, 100, 100}), 3, 1500},
      {"ao50 four DNFs", Window(50, 1500, 4), 3, D},
      {"ao50 .xx5 over 44", Window(50, 1000, 0, {1, 1, 1, 1022, 9999, 9999, 9999}), 3, 1001},  // 44022 / 44 = 1000.5
      {"ao100 five DNFs", Window(100, 2000, 5), 5, 2000},
      {"ao100 six DNFs", Window(100, 2000, 6), 5, D},
      {"ao1000 fifty DNFs", Window(1000, 3000, 50), 50, 3000},
      {"ao1000 fifty-one DNFs", Window(1000, 3000, 51), 50, D},
      {"ao1000 .xx5 over 900", HalfwayAverageOf1000(), 50, 1235},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AverageOf(c.results, c.trim), c.average) << c.what;
    // The incremental window agrees on every case.
    SlidingAverage window(static_cast<int>(c.results.size()), c.trim);
    for (Hundredths r : c.results) window.Push(r);
    ASSERT_TRUE(window.Full());
    EXPECT_EQ(window.Current(), c.average) << c.what << " (incremental)";
  }
}

// The window's every slide, and the sorting reference, against the slow way, with
// many ties (few distinct values) and DNFs around each trim limit.
TEST(SlidingAverage, AgreesWithASortAtEverySlide) {
  std::mt19937 random(20261210);
  for (const slow::Kind kind : slow::kKinds) {
    const int size = kind.size, trim = kind.trim;
    for (int dnfPercent : {0, 3, 8}) {
      SlidingAverage window(size, trim);
      Results all;
      std::uniform_int_distribution<int> value(1000, 1040), percent(0, 99);
      for (int i = 0; i < size + 150; ++i) {
        const Hundredths r = percent(random) < dnfPercent ? D : value(random);
        all.push_back(r);
        window.Push(r);
        ASSERT_EQ(window.Full(), static_cast<int>(all.size()) >= size);
        if (!window.Full()) continue;
        const Results last(all.end() - size, all.end());
        const Hundredths expected = slow::Average(last, trim);
        ASSERT_EQ(window.Current(), expected) << "size " << size << " after " << all.size();
        ASSERT_EQ(AverageOf(last, trim), expected) << "size " << size << " after " << all.size();
      }
    }
  }
}

TEST(SlidingAverage, ClearStartsAnEmptyWindow) {
  SlidingAverage window(5, 1);
  for (Hundredths r : {D, D, D, D, D}) window.Push(r);
  EXPECT_EQ(window.Current(), D);
  window.Clear();
  EXPECT_FALSE(window.Full());
  for (Hundredths r : {1000, 1400, 1200, 1100, 1300}) window.Push(r);
  EXPECT_EQ(window.Current(), 1200);
}

TEST(SolveTally, CountsDnfsAndDescribesTheTimedSolves) {
  SolveTally tally;
  TallyFigures none = tally.Figures();
  EXPECT_EQ(none.solves, 0);
  EXPECT_FALSE(none.mean);
  EXPECT_FALSE(none.deviation);
  tally.Add(D);
  EXPECT_EQ(tally.Figures().solves, 1);
  EXPECT_EQ(tally.Figures().dnfs, 1);
  EXPECT_FALSE(tally.Figures().mean);
  for (Hundredths r : {1000, 1200, 1401}) tally.Add(r);
  const TallyFigures figures = tally.Figures();
  EXPECT_EQ(figures.solves, 4);
  EXPECT_EQ(figures.dnfs, 1);
  EXPECT_EQ(figures.mean, 1200);       // 3601 / 3 = 1200.33
  EXPECT_EQ(figures.deviation, 164);   // sqrt(80400.67 / 3) = 163.71...
}

TEST(SolveTally, StaysExactOnHugeEqualResults) {
  SolveTally tally;
  for (int i = 0; i < 100000; ++i) tally.Add(35999999);  // 99:59:59.99, a hand edit
  EXPECT_EQ(tally.Figures().mean, 35999999);
  EXPECT_EQ(tally.Figures().deviation, 0);
}

TEST(FormatTime, SecondsThenMinutesThenHours) {
  struct Case {
    Hundredths value;
    const char* text;
    const char* axis;
  };
  const Case cases[] = {
      {0, "0.00", "0"},           {5, "0.05", "0"},          {999, "9.99", "9"},
      {4500, "45.00", "45"},      {5999, "59.99", "59"},     {6000, "1:00.00", "1:00"},
      {6235, "1:02.35", "1:02"},  {9000, "1:30.00", "1:30"}, {359999, "59:59.99", "59:59"},
      {360000, "1:00:00.00", "1:00:00"}, {D, "DNF", "DNF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatTime(c.value), c.text);
    EXPECT_EQ(FormatAxisTime(c.value, false), c.axis);
    EXPECT_EQ(FormatAxisTime(c.value, true), c.text);
  }
}

}  // namespace
}  // namespace tw::stats
