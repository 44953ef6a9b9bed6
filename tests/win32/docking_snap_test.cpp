#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "docking/win32/docking.h"
#include "tests/win32/docking_test_window.h"

namespace tw::docking {
namespace {

using namespace testing_support;

constexpr RECT TargetPlace{300, 200, 600, 400};
// 200 x 100, far from the target and from the work area's edges.
constexpr RECT DraggedStart{700, 500, 900, 600};
// Where the cursor holds the dragged window, from its top-left corner.
constexpr POINT Grip{20, 20};

// Plays the system's move loop by hand: the cursor moves first, then the window is
// offered the rectangle the loop proposes.
class DockingDragTest : public DockingWindowsTest {
 protected:
  void SetUp() override {
    DockingWindowsTest::SetUp();
    // Every place below lies inside a 960 x 640 work area, more than 15 pixels from its edges.
    const RECT area = WorkAreaRect();
    ASSERT_TRUE(area.left <= 0 && area.top <= 0 && area.right >= 960 && area.bottom >= 640)
        << "work area " << area.left << ", " << area.top << ", " << area.right << ", " << area.bottom;
  }

  void BeginDrag(HWND window) {
    const RECT placed = WindowRectOf(window);
    SetCursorPos(placed.left + Grip.x, placed.top + Grip.y);
    SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
  }

  static RECT Propose(HWND window, POINT cursor, RECT proposed) {
    SetCursorPos(cursor.x, cursor.y);
    EXPECT_EQ(SendMessageA(window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&proposed)), TRUE);
    return proposed;
  }

  // The first proposal of a drag, with the cursor still at its grip.
  static RECT FirstMove(HWND window, const RECT& proposed) {
    return Propose(window, {proposed.left + Grip.x, proposed.top + Grip.y}, proposed);
  }
};

struct SnapCase {
  const char* name;
  RECT proposed;
  RECT expected;
};

TEST_F(DockingDragTest, TwoWindowsSnapToEachOther) {
  HWND target = CreateTestWindow(TargetPlace);
  HWND dragged = CreateTestWindow(DraggedStart);
  ActivateDocking(target);
  ActivateDocking(dragged);
  const SnapCase cases[] = {
      {"beside, right of it", {608, 220, 808, 320}, {600, 220, 800, 320}},
      {"beside, left of it", {90, 220, 290, 320}, {100, 220, 300, 320}},
      {"above it", {350, 95, 550, 195}, {350, 100, 550, 200}},
      {"below it", {350, 411, 550, 511}, {350, 400, 550, 500}},
      {"corner to corner, 14 pixels off", {614, 414, 814, 514}, {600, 400, 800, 500}},
      {"corner to corner, 15 pixels off", {615, 415, 815, 515}, {615, 415, 815, 515}},
      {"near its own place, which is no target", {709, 509, 909, 609}, {709, 509, 909, 609}},
  };
  for (const SnapCase& c : cases) {
    SCOPED_TRACE(c.name);
    BeginDrag(dragged);
    EXPECT_TRUE(RectIs(FirstMove(dragged, c.proposed), c.expected));
  }
}

TEST_F(DockingDragTest, AHiddenWindowIsNoTarget) {
  CreateTestWindow(TargetPlace, false);
  HWND dragged = CreateTestWindow(DraggedStart);
  ActivateDocking(dragged);
  BeginDrag(dragged);
  EXPECT_TRUE(RectIs(FirstMove(dragged, {608, 220, 808, 320}), {608, 220, 808, 320}));
}

TEST_F(DockingDragTest, WithoutAWindowSourceOnlyTheWorkAreaPulls) {
  CreateTestWindow(TargetPlace);
  HWND dragged = CreateTestWindow(DraggedStart);
  ActivateDocking(dragged);
  SetDockWindowSource(nullptr);
  BeginDrag(dragged);
  EXPECT_TRUE(RectIs(FirstMove(dragged, {608, 220, 808, 320}), {608, 220, 808, 320}));
  const RECT area = WorkAreaRect();
  BeginDrag(dragged);
  EXPECT_TRUE(RectIs(FirstMove(dragged, {area.right - 205, area.bottom - 103, area.right - 5, area.bottom - 3}),
                     {area.right - 200, area.bottom - 100, area.right, area.bottom}));
}

// After the snap the window sits 8 pixels left of where the cursor holds it; the user
// has to pull it 15 pixels away from the edge before it follows the cursor again.
TEST_F(DockingDragTest, ASnappedWindowHoldsUntilPulledFifteenPixelsAway) {
  CreateTestWindow(TargetPlace);
  HWND dragged = CreateTestWindow(DraggedStart);
  ActivateDocking(dragged);
  BeginDrag(dragged);
  EXPECT_TRUE(RectIs(Propose(dragged, {628, 240}, {608, 220, 808, 320}), {600, 220, 800, 320}));
  EXPECT_TRUE(RectIs(Propose(dragged, {633, 240}, {605, 220, 805, 320}), {600, 220, 800, 320}));
  EXPECT_TRUE(RectIs(Propose(dragged, {635, 240}, {602, 220, 802, 320}), {615, 220, 815, 320}));
  EXPECT_TRUE(RectIs(Propose(dragged, {640, 240}, {620, 220, 820, 320}), {620, 220, 820, 320}));
}

TEST_F(DockingDragTest, ResizingPullsTheDraggedEdgeOntoAnotherWindow) {
  CreateTestWindow(TargetPlace);
  HWND dragged = CreateTestWindow({50, 220, 250, 320});
  ActivateDocking(dragged);
  BeginDrag(dragged);
  RECT sizing{50, 220, 292, 320};
  EXPECT_EQ(SendMessageA(dragged, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&sizing)), TRUE);
  EXPECT_TRUE(RectIs(sizing, {50, 220, 300, 320}));
  sizing = {50, 220, 285, 320};
  SendMessageA(dragged, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&sizing));
  EXPECT_TRUE(RectIs(sizing, {50, 220, 285, 320}));
}

}  // namespace
}  // namespace tw::docking
