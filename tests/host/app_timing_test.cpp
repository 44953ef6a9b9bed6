#include <gtest/gtest.h>

#include <cstdint>

#include "app/elapsed_display.h"
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
    EXPECT_EQ(col->windowWidth - layout::kLayoutFrameWidth - (col->msecLeft + 2055), 105);
    EXPECT_EQ(firstGroup, 120);
  }
}

}  // namespace
}  // namespace tw
