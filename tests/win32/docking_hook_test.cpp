#include <windows.h>
#include <gtest/gtest.h>

#include "docking/win32/docking.h"
#include "tests/win32/docking_test_window.h"

namespace tw::docking {
namespace {

using namespace testing_support;

LONG_PTR CurrentProc(HWND window) { return GetWindowLongPtrA(window, GWLP_WNDPROC); }
LONG_PTR DockingProc() { return reinterpret_cast<LONG_PTR>(&DockingWindowProc); }

class DockingHookTest : public DockingWindowsTest {
 protected:
  // Far from the work area's edges, so nothing snaps unless a test puts it near.
  static constexpr RECT Middle{300, 300, 500, 400};
};

TEST_F(DockingHookTest, MoveAndSizeMessagesAreAnsweredByTheHookAlone) {
  HWND window = CreateTestWindow(Middle);
  ActivateDocking(window);
  const RECT area = WorkAreaRect();

  SetCursorPos(Middle.left + 20, Middle.top + 20);
  EXPECT_EQ(SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0), EnterSizeMoveAnswer);
  RECT moving{area.left + 10, 300, area.left + 210, 400};
  SetCursorPos(moving.left + 20, moving.top + 20);
  EXPECT_EQ(SendMessageA(window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&moving)), TRUE);
  EXPECT_TRUE(RectIs(moving, {area.left, 300, area.left + 200, 400}));

  RECT sizing{300, area.top + 12, 500, 400};
  EXPECT_EQ(SendMessageA(window, WM_SIZING, WMSZ_TOP, reinterpret_cast<LPARAM>(&sizing)), TRUE);
  EXPECT_TRUE(RectIs(sizing, {300, area.top, 500, 400}));

  EXPECT_EQ(Count(window, WM_ENTERSIZEMOVE), 1);
  EXPECT_EQ(Count(window, WM_MOVING), 0);
  EXPECT_EQ(Count(window, WM_SIZING), 0);
}

TEST_F(DockingHookTest, OtherMessagesReachThePreviousProcedureWithTheirResult) {
  HWND window = CreateTestWindow(Middle);
  ActivateDocking(window);
  EXPECT_EQ(SendMessageA(window, ProbeMessage, 7, 0), ProbeAnswer + 7);
  EXPECT_EQ(SendMessageA(window, WM_EXITSIZEMOVE, 0, 0), 0);
  EXPECT_EQ(Count(window, ProbeMessage), 1);
  EXPECT_EQ(Count(window, WM_EXITSIZEMOVE), 1);
}

TEST_F(DockingHookTest, UnregisteringRestoresTheExactPreviousProcedureEvenAfterADoubleRegistration) {
  HWND window = CreateTestWindow(Middle);
  const LONG_PTR own = CurrentProc(window);
  ActivateDocking(window);
  ActivateDocking(window);
  EXPECT_EQ(CurrentProc(window), DockingProc());
  DeactivateDocking(window);
  EXPECT_EQ(CurrentProc(window), own);

  RECT moving{5, 300, 205, 400};
  SendMessageA(window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&moving));
  EXPECT_EQ(Count(window, WM_MOVING), 1) << "no longer hooked";
  EXPECT_TRUE(RectIs(moving, {5, 300, 205, 400}));

  ActivateDocking(window);
  EXPECT_EQ(CurrentProc(window), DockingProc());
  EXPECT_EQ(SendMessageA(window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&moving)), TRUE);
  EXPECT_EQ(Count(window, WM_MOVING), 1);
}

TEST_F(DockingHookTest, UnregisteringOneOfSeveralLeavesTheOthersHooked) {
  HWND first = CreateTestWindow(Middle);
  HWND second = CreateTestWindow({600, 300, 800, 400});
  HWND third = CreateTestWindow({300, 500, 500, 600});
  const LONG_PTR own = CurrentProc(second);
  ActivateDocking(first);
  ActivateDocking(second);
  ActivateDocking(third);
  DeactivateDocking(second);
  EXPECT_EQ(CurrentProc(second), own);
  for (HWND hooked : {first, third}) {
    EXPECT_EQ(SendMessageA(hooked, ProbeMessage, 1, 0), ProbeAnswer + 1);
    RECT moving = WindowRectOf(hooked);
    EXPECT_EQ(SendMessageA(hooked, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&moving)), TRUE);
    EXPECT_EQ(Count(hooked, WM_SIZING), 0);
  }
}

// The owner unregisters in its unload, which runs inside a forwarded close request;
// the table shifts under the call in progress.
TEST_F(DockingHookTest, UnregisteringInsideAForwardedCloseIsSafe) {
  HWND closing = CreateTestWindow(Middle);
  HWND other = CreateTestWindow({600, 300, 800, 400});
  const LONG_PTR own = CurrentProc(closing);
  ActivateDocking(closing);
  ActivateDocking(other);
  ReceivedBy()[closing].onClose = [](HWND window) {
    DeactivateDocking(window);
    // A message sent from the unload still reaches the window, now straight.
    SendMessageA(window, ProbeMessage, 0, 0);
  };

  EXPECT_EQ(SendMessageA(closing, WM_CLOSE, 0, 0), CloseAnswer);
  EXPECT_EQ(CurrentProc(closing), own);
  EXPECT_EQ(Count(closing, WM_CLOSE), 1);
  EXPECT_EQ(Count(closing, ProbeMessage), 1);

  EXPECT_EQ(SendMessageA(other, ProbeMessage, 2, 0), ProbeAnswer + 2);
  RECT moving = WindowRectOf(other);
  EXPECT_EQ(SendMessageA(other, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&moving)), TRUE);
}

TEST_F(DockingHookTest, AWindowThatIsNotHookedGetsZeroAndNothingForwarded) {
  HWND window = CreateTestWindow(Middle);
  EXPECT_EQ(DockingWindowProc(window, ProbeMessage, 3, 0), 0);
  EXPECT_EQ(DockingWindowProc(window, WM_ENTERSIZEMOVE, 0, 0), 0);
  RECT moving{5, 300, 205, 400};
  EXPECT_EQ(DockingWindowProc(window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&moving)), 0);
  EXPECT_TRUE(RectIs(moving, {5, 300, 205, 400}));
  EXPECT_EQ(Count(window, ProbeMessage), 0);
  EXPECT_EQ(Count(window, WM_ENTERSIZEMOVE), 0);
}

// The other developers' windows may be Unicode; hooking them through the ANSI calls
// must still give them back their own procedure and their Unicode messages.
LRESULT CALLBACK WideProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) return lstrcmpW(reinterpret_cast<const wchar_t*>(lParam), L"dock") == 0 ? 1 : 2;
  return DefWindowProcW(hWnd, message, wParam, lParam);
}

TEST_F(DockingHookTest, AUnicodeWindowGetsItsOwnProcedureBackAndSeesItsText) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &WideProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TwDockingWideWindow";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"TwDockingWideWindow", L"", WS_POPUP, 300, 300, 200, 100, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  ActivateDocking(window);
  EXPECT_EQ(SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"dock")), 1);
  DeactivateDocking(window);
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&WideProc));
  EXPECT_TRUE(IsWindowUnicode(window));
  DestroyWindow(window);
  UnregisterClassW(L"TwDockingWideWindow", GetModuleHandleW(nullptr));
}

}  // namespace
}  // namespace tw::docking
