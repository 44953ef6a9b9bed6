// Where the statistics window opens when it has no place of its own: beside the
// timer, shrunk to fit, and over it only when the screen has no room for both.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

std::string Text(const Box& b) {
  return std::to_string(b.left) + "," + std::to_string(b.top) + "," + std::to_string(b.right) + "," +
         std::to_string(b.bottom);
}

// The windows beside the timer go with it: docked ones keep their side, a chain of
// docked ones moves as one, and whatever the grown timer would cover, or pushed off
// the screen, is placed where nothing of ours is.
TEST(FollowTimer, KeepsTheTimerAndEachOtherInSight) {
  struct Case {
    const char* what;
    Box before, after;
    std::vector<Box> boxes, expected;
  };
  const Box screen{0, 0, 1280, 1024};
  const Box stats{340, 250, 940, 730};
  const Case cases[] = {
      {"grown by a long scramble: the window under it moves down",
       {440, 100, 840, 250}, {440, 100, 840, 400}, {stats}, {{340, 400, 940, 880}}},
      {"moved: the window to its right moves along",
       {100, 100, 500, 250}, {200, 150, 600, 300}, {{500, 100, 1100, 580}}, {{600, 150, 1200, 630}}},
      {"narrowed and centred: the window under it keeps its offset from the left end",
       {440, 100, 840, 250}, {520, 100, 760, 250}, {stats}, {{420, 250, 1020, 730}}},
      {"a window docked to a docked one moves with it",
       {440, 100, 840, 250}, {440, 100, 840, 400}, {stats, {940, 250, 1240, 550}},
       {{340, 400, 940, 880}, {940, 400, 1240, 700}}},
      {"a window away from it stays",
       {440, 100, 840, 250}, {440, 100, 840, 400}, {{0, 600, 300, 800}}, {{0, 600, 300, 800}}},
      {"a window the grown timer would cover goes under it",
       {440, 100, 840, 250}, {440, 100, 840, 600}, {{440, 500, 840, 700}}, {{440, 600, 840, 800}}},
      {"pushed off the screen's bottom: over the timer instead",
       {440, 500, 840, 650}, {440, 500, 840, 800}, {{340, 650, 940, 1000}}, {{340, 150, 940, 500}}},
      {"a window the moved one would cover goes beside the timer, clear of both",
       {440, 100, 840, 250}, {440, 100, 840, 400}, {stats, {100, 760, 400, 1000}},
       {{340, 400, 940, 880}, {840, 130, 1140, 370}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Companion> companions;
    for (const Box& b : c.boxes) companions.push_back(Companion{b, 200, 150});
    const std::vector<Box> moved = FollowTimer(c.before, c.after, screen, companions);
    ASSERT_EQ(moved.size(), c.expected.size());
    for (std::size_t i = 0; i < moved.size(); ++i) EXPECT_EQ(moved[i], c.expected[i]) << Text(moved[i]);
  }
}

TEST(PlaceClear, ANewWindowGoesWhereNothingOfOursIs) {
  const Box screen{0, 0, 1280, 1024};
  const Box timer{440, 100, 840, 250};
  // Nothing taken: as PlaceBeside.
  EXPECT_EQ(PlaceClear(timer, screen, 600, 480, 200, 150, {}), PlaceBeside(timer, screen, 600, 480, 200, 150));
  // The statistics under the timer: the picture to the timer's right, as near its
  // middle as clears the statistics.
  const Box picture = PlaceClear(timer, screen, 300, 240, 200, 150, {{340, 250, 940, 730}});
  EXPECT_EQ(picture, (Box{840, 10, 1140, 250})) << Text(picture);
  // Every side of the timer taken: touching one of ours, clear of all.
  const std::vector<Box> ring{{0, 250, 1280, 500}, {0, 0, 1280, 100}, {840, 100, 1280, 250}, {0, 100, 440, 250}};
  const Box outer = PlaceClear(timer, screen, 300, 240, 200, 150, ring);
  EXPECT_EQ(outer, (Box{490, 500, 790, 740})) << Text(outer);
}

// A place stored at 96 DPI read at 144: the client size in twips grows by half, and
// the window must still lie on the work area.
TEST(ClampTo, AStoredPlaceNeverRunsOffTheWorkArea) {
  struct Case {
    const char* what;
    Box stored, expected;
  };
  const Box work{0, 0, 1920, 1040};
  const Case cases[] = {
      {"inside: unchanged", {100, 100, 740, 580}, {100, 100, 740, 580}},
      {"1.5 times as large near the bottom right: moved in", {1200, 500, 2160, 1220}, {960, 320, 1920, 1040}},
      {"off the left and top: moved in", {-300, -50, 660, 670}, {0, 0, 960, 720}},
      {"taller than the work area: as tall as it", {100, 100, 1060, 1600}, {100, 0, 1060, 1040}},
      {"on a monitor left of the primary one", {-1500, 200, -900, 600}, {0, 200, 600, 600}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Box clamped = ClampTo(c.stored, work, 500, 360);
    EXPECT_EQ(clamped, c.expected) << Text(clamped);
  }
  // Never below its minimum, even on a work area smaller than that.
  const Box small = ClampTo({0, 0, 900, 700}, {0, 0, 400, 300}, 500, 360);
  EXPECT_EQ(small, (Box{0, 0, 500, 360})) << Text(small);
}

}  // namespace
}  // namespace tw::placement
