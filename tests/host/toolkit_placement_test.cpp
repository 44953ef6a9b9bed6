// Where the statistics window opens when it has no place of its own: beside the
// timer, shrunk to fit, and over it only when the screen has no room for both.
#include <gtest/gtest.h>

#include "toolkit/window_placement.h"

namespace tw::placement {
namespace {

TEST(PlaceBeside, KeepsTheTimersDigitsInSightWheneverTheScreenAllows) {
  struct Case {
    const char* what;
    Box timer, work;
    int width, height;
    Box placed;
    int minimumHeight = 399;
  };
  const Box screen{0, 0, 1280, 1024};
  const Case cases[] = {
      {"whole, under the timer, moved onto the screen", {100, 100, 400, 250}, screen, 600, 500, {0, 250, 600, 750}},
      {"on a monitor left of the primary one",
       {-1180, 100, -880, 250},
       {-1280, 0, 0, 1024},
       600,
       500,
       {-1280, 250, -680, 750}},
      {"timer at the bottom: over it", {500, 800, 800, 1000}, screen, 600, 500, {350, 300, 950, 800}},
      {"a short, wide screen: to its right", {100, 200, 400, 350}, {0, 0, 1920, 600}, 600, 500, {400, 25, 1000, 525}},
      {"no whole room: shortened under it", {465, 437, 815, 587}, screen, 656, 519, {312, 587, 968, 1024}},
      {"no room at 144 DPI: its smallest, covering the least of the timer",
       {377, 399, 902, 624},
       screen,
       984,
       779,
       {500, 122, 1280, 901},
       599},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Box placed = PlaceBeside(c.timer, c.work, c.width, c.height, 780, c.minimumHeight);
    EXPECT_EQ(placed, c.placed) << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
    EXPECT_GE(placed.left, c.work.left);
    EXPECT_GE(placed.top, c.work.top);
    EXPECT_LE(placed.right, c.work.right);
    EXPECT_LE(placed.bottom, c.work.bottom);
  }
}

TEST(PlaceBeside, AtItsSmallestItCoversLessOfTheTimerThanAnyOtherSide) {
  const Box timer{377, 399, 902, 624};
  const Box placed = PlaceBeside(timer, {0, 0, 1280, 1024}, 984, 779, 780, 599);
  EXPECT_LT(OverlapArea(placed, timer), static_cast<long long>(timer.Width()) * timer.Height());
  // Each other side's smallest window against the screen's edge covers more.
  for (const Box& other : {Box{147, 425, 1131, 1024}, Box{147, 0, 1131, 599}, Box{0, 122, 780, 901}}) {
    EXPECT_LT(OverlapArea(placed, timer), OverlapArea(other, timer));
  }
}

TEST(PlaceBeside, AScreenSmallerThanTheWindowHoldsAsMuchOfItAsFits) {
  const Box placed = PlaceBeside({0, 0, 300, 200}, {0, 0, 640, 480}, 984, 779, 780, 599);
  EXPECT_EQ(placed.left, 0);
  EXPECT_EQ(placed.top, 0);
  EXPECT_LE(placed.right, 640);
  EXPECT_LE(placed.bottom, 480);
}

}  // namespace
}  // namespace tw::placement
