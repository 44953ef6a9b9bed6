#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "docking/snap_geometry.h"

namespace tw::docking {

void PrintTo(const Rect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

constexpr Rect WorkArea{0, 0, 1280, 984};
constexpr Rect Neighbour{400, 300, 700, 500};

struct FakeWindow {
  WindowId id;
  bool visible;
  Rect rect;
};

class FakePlatform final : public DockPlatform {
 public:
  Rect WorkArea() const override { return workArea; }
  std::vector<WindowId> LoadedWindows() const override {
    std::vector<WindowId> ids;
    for (const FakeWindow& window : windows) ids.push_back(window.id);
    return ids;
  }
  bool IsVisible(WindowId id) const override { return Find(id).visible; }
  Rect WindowRect(WindowId id) const override { return Find(id).rect; }
  Point CursorPos() const override { return cursor; }

  Rect workArea = docking::WorkArea;
  std::vector<FakeWindow> windows;
  Point cursor;

 private:
  const FakeWindow& Find(WindowId id) const {
    for (const FakeWindow& window : windows) {
      if (window.id == id) return window;
    }
    throw std::logic_error("unknown window");
  }
};

// ---- CollectDockRects and the start of a drag -------------------------------------

TEST(DockingCollect, WorkAreaFirstThenVisibleOtherWindowsInLoadOrder) {
  FakePlatform platform;
  platform.windows = {{1, true, {10, 10, 50, 50}},
                      {2, false, {20, 20, 60, 60}},
                      {3, true, {30, 30, 70, 70}},
                      {4, true, {40, 40, 80, 80}}};
  DockState state;
  CollectDockRects(state, platform, 3);
  EXPECT_EQ(state.DockRects, (std::vector<Rect>{WorkArea, {10, 10, 50, 50}, {40, 40, 80, 80}}));
}

TEST(DockingCollect, RebuildsFromScratchAndKeepsOnlyTheWorkAreaWithoutOtherWindows) {
  FakePlatform platform;
  platform.windows = {{1, true, Neighbour}, {2, true, {0, 0, 10, 10}}};
  DockState state;
  CollectDockRects(state, platform, 9);
  ASSERT_EQ(state.DockRects.size(), 3u);
  platform.windows = {{1, true, Neighbour}};
  platform.workArea = {0, 0, 800, 570};
  CollectDockRects(state, platform, 1);
  EXPECT_EQ(state.DockRects, (std::vector<Rect>{Rect{0, 0, 800, 570}}));
}

TEST(DockingCollect, BeginDragCapturesTheCursorOffsetsAndTheTargets) {
  FakePlatform platform;
  platform.windows = {{1, true, {100, 200, 400, 300}}, {2, true, Neighbour}};
  platform.cursor = {130, 190};
  DockState state;
  state.SnappedX = true;
  BeginDockDrag(state, platform, 1);
  EXPECT_EQ(state.CursorOffsetX, 30);
  EXPECT_EQ(state.CursorOffsetY, -10);
  EXPECT_EQ(state.DockRects, (std::vector<Rect>{WorkArea, Neighbour}));
  EXPECT_TRUE(state.SnappedX) << "the snapped flags outlive a drag";
}

// ---- SnapRect, mode Move: one message each -------------------------------------------

struct MoveCase {
  std::string name;
  std::vector<Rect> windows;  // targets after the work area, in load order
  Rect proposed;
  Rect expected;
  bool snappedX;
  bool snappedY;
};

void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.name; }

class DockingMove : public ::testing::TestWithParam<MoveCase> {};

// The cursor holds each window 20 pixels in from its top-left corner, with no axis
// snapped before, so the drift steps leave the proposal as it is.
TEST_P(DockingMove, SnapsTheProposal) {
  const MoveCase& c = GetParam();
  FakePlatform platform;
  platform.cursor = {c.proposed.left + 20, c.proposed.top + 20};
  DockState state;
  state.DockRects = {WorkArea};
  state.DockRects.insert(state.DockRects.end(), c.windows.begin(), c.windows.end());
  Rect rect = c.proposed;
  std::int32_t offsetX = -1;
  std::int32_t offsetY = -1;
  SnapRect(state, platform, SnapMode::Move, rect, 0, offsetX, offsetY);
  EXPECT_EQ(rect, c.expected);
  EXPECT_EQ(state.SnappedX, c.snappedX);
  EXPECT_EQ(state.SnappedY, c.snappedY);
  EXPECT_EQ(offsetX, 20);
  EXPECT_EQ(offsetY, 20);
}

constexpr std::int32_t Min32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Max32 = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Cases, DockingMove,
    ::testing::Values(
        MoveCase{"LeftEdgeOntoWorkAreaLeft", {}, {10, 200, 310, 400}, {0, 200, 300, 400}, true, false},
        MoveCase{"FourteenPixelsSnaps", {}, {14, 200, 314, 400}, {0, 200, 300, 400}, true, false},
        MoveCase{"FifteenPixelsDoesNot", {}, {15, 200, 315, 400}, {15, 200, 315, 400}, false, false},
        MoveCase{"InnerBottomRightCornerOfWorkArea", {}, {975, 780, 1275, 980}, {980, 784, 1280, 984}, true, true},
        MoveCase{"LeftNeverOntoWorkAreaRightNorTopOntoItsBottom", {}, {1270, 978, 1570, 1178},
                 {1270, 978, 1570, 1178}, false, false},
        MoveCase{"RightNeverOntoWorkAreaLeftNorBottomOntoItsTop", {}, {-95, -95, 5, 5}, {-95, -95, 5, 5}, false,
                 false},
        MoveCase{"BesideAWindowRightOfIt", {Neighbour}, {708, 320, 908, 420}, {700, 320, 900, 420}, true, false},
        MoveCase{"BesideAWindowLeftOfIt", {Neighbour}, {190, 320, 390, 420}, {200, 320, 400, 420}, true, false},
        MoveCase{"BelowAWindow", {Neighbour}, {450, 511, 650, 611}, {450, 500, 650, 600}, false, true},
        MoveCase{"AboveAWindow", {Neighbour}, {450, 195, 650, 295}, {450, 200, 650, 300}, false, true},
        MoveCase{"AlignedRightAndBottomWithAWindow", {Neighbour}, {595, 390, 705, 497}, {590, 393, 700, 500}, true,
                 true},
        MoveCase{"CornerToCornerAtFourteen", {Neighbour}, {714, 514, 814, 614}, {700, 500, 800, 600}, true, true},
        MoveCase{"CornerToCornerAtFifteen", {Neighbour}, {715, 515, 815, 615}, {715, 515, 815, 615}, false, false},
        MoveCase{"AboveWithGapFourteenAlsoAlignsLeft", {Neighbour}, {405, 186, 605, 286}, {400, 200, 600, 300}, true,
                 true},
        MoveCase{"AboveWithGapFifteenIsOutOfReachSideways", {Neighbour}, {405, 185, 605, 285},
                 {405, 185, 605, 285}, false, false},
        MoveCase{"WorkAreaWinsATieWithAWindow", {{20, 300, 320, 500}}, {10, 320, 110, 420}, {0, 320, 100, 420}, true,
                 false},
        MoveCase{"EarlierWindowWinsATie", {{400, 300, 700, 500}, {420, 300, 720, 500}}, {410, 320, 510, 420},
                 {400, 320, 500, 420}, true, false},
        MoveCase{"EarlierWindowWinsATieWhicheverItIs", {{420, 300, 720, 500}, {400, 300, 700, 500}},
                 {410, 320, 510, 420}, {420, 320, 520, 420}, true, false},
        MoveCase{"NarrowTargetLeftToLeftIsTriedFirst", {{400, 300, 420, 500}}, {412, 320, 512, 420},
                 {400, 320, 500, 420}, true, false},
        MoveCase{"NearerWindowBeatsTheWorkArea", {{13, 300, 313, 500}}, {10, 320, 110, 420}, {13, 320, 113, 420},
                 true, false},
        MoveCase{"LaterCandidatesMeasureTheProposalNotTheEarlierSnap", {{18, 300, 318, 500}}, {10, 320, 110, 420},
                 {18, 320, 118, 420}, true, false},
        MoveCase{"EdgesWhose32BitDifferenceWrapsAreFarApart", {{Min32 + 2, 300, Min32 + 100, 500}},
                 {Max32 - 107, 320, Max32 - 7, 420}, {Max32 - 107, 320, Max32 - 7, 420}, false, false}),
    [](const auto& info) { return info.param.name; });

TEST(DockingMoveState, EmptyTargetsLeaveTheDriftCorrectedRectAndClearBothFlags) {
  FakePlatform platform;
  platform.cursor = {115, 230};
  DockState state;
  state.SnappedX = true;
  state.SnappedY = true;
  Rect rect{100, 200, 300, 400};
  std::int32_t offsetX = 10;
  std::int32_t offsetY = 20;
  SnapRect(state, platform, SnapMode::Move, rect, 0, offsetX, offsetY);
  EXPECT_EQ(rect, (Rect{105, 210, 305, 410}));
  EXPECT_FALSE(state.SnappedX);
  EXPECT_FALSE(state.SnappedY);
  EXPECT_EQ(offsetX, 10) << "a snapped axis keeps its captured offset";
  EXPECT_EQ(offsetY, 20);
}

// ---- SnapRect, mode Move: a drag over several messages -------------------------------

struct DragStep {
  Point cursor;
  Rect proposed;
  Rect expected;
  bool snapped;
};

// Each step is one move message; `snapped` is the flag of the axis being dragged.
void RunDrag(bool vertical, const std::vector<DragStep>& steps) {
  auto flip = [vertical](Rect r) { return vertical ? Rect{r.top, r.left, r.bottom, r.right} : r; };
  FakePlatform platform;
  DockState state;
  state.DockRects = {WorkArea};
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const DragStep& step = steps[i];
    platform.cursor = vertical ? Point{step.cursor.y, step.cursor.x} : step.cursor;
    Rect rect = flip(step.proposed);
    SnapRect(state, platform, SnapMode::Move, rect, 0, offsetX, offsetY);
    SCOPED_TRACE("step " + std::to_string(i) + (vertical ? " vertical" : " horizontal"));
    EXPECT_EQ(rect, flip(step.expected));
    EXPECT_EQ(vertical ? state.SnappedY : state.SnappedX, step.snapped);
    EXPECT_FALSE(vertical ? state.SnappedX : state.SnappedY);
  }
}

TEST(DockingDrag, SnapsDriftsAndBreaksFreeOnEitherAxis) {
  const std::vector<DragStep> steps = {
      {{60, 210}, {10, 200, 310, 400}, {0, 200, 300, 400}, true},
      // The platform proposes from the snapped place plus the mouse's 3 pixels; the
      // drift puts the window back under the cursor, 13 pixels from the edge.
      {{63, 210}, {3, 200, 303, 400}, {0, 200, 300, 400}, true},
      {{65, 210}, {1, 200, 301, 400}, {15, 200, 315, 400}, false},
      {{70, 210}, {20, 200, 320, 400}, {20, 200, 320, 400}, false},
  };
  RunDrag(false, steps);
  RunDrag(true, steps);
}

TEST(DockingDrag, OffsetsFollowOnlyTheUnsnappedAxis) {
  FakePlatform platform;
  DockState state;
  state.DockRects = {WorkArea};
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  platform.cursor = {60, 230};
  Rect rect{10, 200, 310, 400};
  SnapRect(state, platform, SnapMode::Move, rect, 0, offsetX, offsetY);
  EXPECT_EQ(offsetX, 50);
  EXPECT_EQ(offsetY, 30);
  platform.cursor = {63, 245};
  rect = {3, 210, 303, 410};
  SnapRect(state, platform, SnapMode::Move, rect, 0, offsetX, offsetY);
  EXPECT_EQ(offsetX, 50);
  EXPECT_EQ(offsetY, 35);
  EXPECT_EQ(rect, (Rect{0, 210, 300, 410}));
}

TEST(DockingDrag, FlagsLeftByAnEarlierDragDoNoHarmToTheNextOne) {
  FakePlatform platform;
  platform.windows = {{1, true, {500, 400, 800, 600}}};
  platform.cursor = {550, 420};
  DockState state;
  state.SnappedX = true;
  state.SnappedY = true;
  BeginDockDrag(state, platform, 1);
  platform.cursor = {560, 425};
  Rect rect{510, 405, 810, 605};
  SnapRect(state, platform, SnapMode::Move, rect, 0, state.CursorOffsetX, state.CursorOffsetY);
  EXPECT_EQ(rect, (Rect{510, 405, 810, 605}));
  EXPECT_FALSE(state.SnappedX);
  EXPECT_FALSE(state.SnappedY);
}

// ---- SnapRect, mode Size ---------------------------------------------------------------

struct SizeCase {
  std::string name;
  int sizingEdge;
  std::vector<Rect> windows;
  Rect proposed;
  Rect expected;
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }

class DockingSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(DockingSize, MovesOnlyTheDraggedEdges) {
  const SizeCase& c = GetParam();
  FakePlatform platform;
  platform.cursor = {-5000, -5000};
  DockState state;
  state.DockRects = {WorkArea};
  state.DockRects.insert(state.DockRects.end(), c.windows.begin(), c.windows.end());
  state.SnappedX = true;
  state.CursorOffsetX = 7;
  state.CursorOffsetY = 8;
  Rect rect = c.proposed;
  std::int32_t offsetX = 3;
  std::int32_t offsetY = 4;
  SnapRect(state, platform, SnapMode::Size, rect, c.sizingEdge, offsetX, offsetY);
  EXPECT_EQ(rect, c.expected);
  EXPECT_TRUE(state.SnappedX);
  EXPECT_FALSE(state.SnappedY);
  EXPECT_EQ(state.CursorOffsetX, 7);
  EXPECT_EQ(state.CursorOffsetY, 8);
  EXPECT_EQ(offsetX, 3);
  EXPECT_EQ(offsetY, 4);
}

// Every edge of this proposal lies within reach of a target: left 12 and top 10 of the
// work area's, right 392 of Neighbour's left, bottom 490 of Neighbour's bottom.
constexpr Rect AllNear{12, 10, 392, 490};

INSTANTIATE_TEST_SUITE_P(
    EveryEdge, DockingSize,
    ::testing::Values(SizeCase{"Left", 1, {Neighbour}, AllNear, {0, 10, 392, 500}},
                      SizeCase{"Right", 2, {Neighbour}, AllNear, {12, 10, 400, 500}},
                      SizeCase{"Top", 3, {Neighbour}, AllNear, {12, 0, 400, 490}},
                      SizeCase{"TopLeft", 4, {Neighbour}, AllNear, {0, 0, 392, 490}},
                      SizeCase{"TopRight", 5, {Neighbour}, AllNear, {12, 0, 400, 490}},
                      SizeCase{"Bottom", 6, {Neighbour}, AllNear, {12, 10, 400, 500}},
                      SizeCase{"BottomLeft", 7, {Neighbour}, AllNear, {0, 10, 392, 500}},
                      SizeCase{"BottomRight", 8, {Neighbour}, AllNear, {12, 10, 400, 500}},
                      SizeCase{"UnknownEdgeActsOnRightAndBottom", 0, {Neighbour}, AllNear, {12, 10, 400, 500}}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Cases, DockingSize,
    ::testing::Values(
        SizeCase{"LeftEdgeOntoWorkArea", 1, {}, {12, 200, 310, 400}, {0, 200, 310, 400}},
        SizeCase{"RightEdgeOntoAWindow", 2, {Neighbour}, {100, 300, 392, 420}, {100, 300, 400, 420}},
        SizeCase{"FifteenPixelsDoesNotSnap", 2, {Neighbour}, {100, 300, 385, 420}, {100, 300, 385, 420}},
        SizeCase{"WorkAreaFarEdgePullsTooWhenSizing", 1, {}, {1270, 200, 1600, 400}, {1280, 200, 1600, 400}},
        SizeCase{"TargetLeftEdgeWinsATieWithItsRight", 2, {{400, 300, 420, 500}}, {100, 300, 410, 420},
                 {100, 300, 400, 420}},
        SizeCase{"WorkAreaWinsATieWithAWindow", 1, {{20, 300, 320, 500}}, {10, 320, 110, 420}, {0, 320, 110, 420}},
        SizeCase{"OutOfReachAcrossIsNoTarget", 2, {Neighbour}, {100, 515, 392, 615}, {100, 515, 392, 615}}),
    [](const auto& info) { return info.param.name; });

TEST(DockingSizeState, WithNoTargetsTheProposalStays) {
  FakePlatform platform;
  DockState state;
  Rect rect{12, 3, 392, 490};
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  SnapRect(state, platform, SnapMode::Size, rect, 8, offsetX, offsetY);
  EXPECT_EQ(rect, (Rect{12, 3, 392, 490}));
}

}  // namespace
}  // namespace tw::docking
