#include <gtest/gtest.h>

#include <cstdint>

#include "app/elapsed_display.h"
#include "app/timing_control.h"
#include "resources/main_layout.h"

namespace tw {
namespace {

struct DisplayCase {
  std::int64_t elapsedMs;
  const char *hour, *min, *sec, *msec;
  bool limit;
};

TEST(ElapsedDisplay, ReferenceValues) {
  const DisplayCase cases[] = {
      {0, "00", "00", "00", "00", false},
      {5, "00", "00", "00", "00", false},
      {45, "00", "00", "00", "04", false},
      {1045, "00", "00", "01", "04", false},
      {59999, "00", "00", "59", "99", false},
      {60000, "00", "01", "00", "00", false},
      {754320, "00", "12", "34", "32", false},
      {3599990, "00", "59", "59", "99", false},
      {3599999, "00", "59", "59", "99", false},
      {3600000, "01", "60", "00", "00", true},
      {3600012, "01", "60", "00", "01", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.elapsedMs);
    const DisplayFields f = FieldsFor(c.elapsedMs);
    EXPECT_EQ(f.hour, c.hour);
    EXPECT_EQ(f.min, c.min);
    EXPECT_EQ(f.sec, c.sec);
    EXPECT_EQ(f.msec, c.msec);
    EXPECT_EQ(f.limitReached, c.limit);
  }
}

struct SpaceCase {
  const char* countdown;
  bool counter, countdownRunning, repeat;
  SpaceAction expected;
};

TEST(SpaceKey, ActsOnTheSettingAndTheTimers) {
  using enum SpaceAction;
  const SpaceCase cases[] = {
      {"Enabled", false, false, false, StartCountdown},
      {"Enabled", true, false, false, StopAndRecord},
      {"Disabled", false, false, false, StartTiming},
      {"Disabled", true, false, false, StopAndRecord},
      {"enabled", false, false, false, None},
      {"", true, false, false, None},
      {"Enabled ", false, false, false, None},
      // A countdown in progress starts over; with the setting switched off meanwhile, timing starts at once.
      {"Enabled", false, true, false, StartCountdown},
      {"Disabled", false, true, false, StartTiming},
      // Held Space: repeats never start or stop a solve but keep a countdown at "3".
      {"Disabled", false, false, true, None},
      {"Disabled", true, false, true, None},
      {"Enabled", true, false, true, None},
      {"Enabled", false, false, true, None},
      {"Enabled", false, true, true, StartCountdown},
      {"Disabled", false, true, true, None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.countdown << " counter=" << c.counter << " cd=" << c.countdownRunning
                                    << " repeat=" << c.repeat);
    EXPECT_EQ(DecideSpace(c.countdown, c.counter, c.countdownRunning, c.repeat), c.expected);
  }
}

TEST(ResultLine, UsesTheRegionalSeparatorsInDateAndTimeOnly) {
  const LocalTime when{2026, 12, 7, 14, 5, 9};
  EXPECT_EQ(BuildResultLine(when, "/", ":", "00", "00", "12", "34"),
            "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34");
  EXPECT_EQ(BuildResultLine(when, ".", ".", "00", "01", "05", "20"),
            "#Date: 07.12.2026 | Time: 14.05.09 | Result: 00:01:05:20");
  EXPECT_EQ(BuildResultLine({987, 1, 2, 3, 4, 5}, "-", ":", "01", "60", "00", "01"),
            "#Date: 02-01-0987 | Time: 03:04:05 | Result: 01:60:00:01");
  EXPECT_EQ(BuildResultLine(when, "/", ":", "00", "00", "12", "34").size(), 56u);
}

TEST(MainLayout, ShowHourColumnsKeepTheDigitGroupSpacing) {
  using namespace layout::main;
  for (const auto* col : {&kHourShown, &kHourHidden}) {
    const int firstGroup = col->hourVisible ? col->hourLeft : col->minLeft;
    EXPECT_EQ(col->secLeft - col->minLeft, 2760);
    EXPECT_EQ(col->msecLeft - col->secLeft, 2760);
    EXPECT_EQ(col->separator2Left, col->secLeft + 2160);
    EXPECT_EQ(col->separator1Left, col->minLeft + 2160);
    EXPECT_EQ(col->countdownWidth, col->windowWidth - 315);
    // The last digit ends 105 twips before the client area's right edge.
    EXPECT_EQ(col->windowWidth - layout::kDesignedFrameWidth - (col->msecLeft + 2055), 105);
    EXPECT_EQ(firstGroup, 120);
  }
}

}  // namespace
}  // namespace tw
