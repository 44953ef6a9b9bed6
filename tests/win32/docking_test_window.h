#pragma once
// Plain top-level windows for the docking tests. Their own procedure counts the messages
// that reach it, so a test sees what the hook forwarded and what it kept.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "docking/win32/docking.h"

namespace tw::docking::testing_support {

// Answers that show a result came from the window's own procedure.
inline constexpr UINT ProbeMessage = WM_USER + 1;
inline constexpr LRESULT ProbeAnswer = 0x1234;
inline constexpr LRESULT EnterSizeMoveAnswer = 0x51;
inline constexpr LRESULT CloseAnswer = 0x99;

struct Received {
  std::map<UINT, int> counts;
  std::function<void(HWND)> onClose;
};

inline std::map<HWND, Received>& ReceivedBy() {
  static std::map<HWND, Received> received;
  return received;
}

inline LRESULT CALLBACK CountingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto found = ReceivedBy().find(hWnd);
  if (found != ReceivedBy().end()) ++found->second.counts[message];
  switch (message) {
    case ProbeMessage:
      return ProbeAnswer + static_cast<LRESULT>(wParam);
    case WM_ENTERSIZEMOVE:
      return EnterSizeMoveAnswer;
    case WM_CLOSE:
      if (found != ReceivedBy().end() && found->second.onClose) {
        // Copied out: the handler may reach back into the table of received messages.
        const auto onClose = found->second.onClose;
        onClose(hWnd);
      }
      return CloseAnswer;
    default:
      return DefWindowProcA(hWnd, message, wParam, lParam);
  }
}

inline const char* CountingClass() {
  static const char* const name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TwDockingTestWindow";
    RegisterClassA(&wc);
    return "TwDockingTestWindow";
  }();
  return name;
}

inline RECT WindowRectOf(HWND window) {
  RECT placed{};
  GetWindowRect(window, &placed);
  return placed;
}

inline RECT WorkAreaRect() {
  RECT area{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

inline bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline ::testing::AssertionResult RectIs(const RECT& actual, const RECT& expected) {
  if (SameRect(actual, expected)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << actual.left << ", " << actual.top << ", " << actual.right << ", "
                                       << actual.bottom << ") instead of (" << expected.left << ", " << expected.top
                                       << ", " << expected.right << ", " << expected.bottom << ")";
}

// Creates windows, lists them as the program's loaded windows, and leaves nothing hooked.
class DockingWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDockWindowSource([this] { return windows; });
  }

  void TearDown() override {
    for (HWND window : windows) {
      DeactivateDocking(window);
      DestroyWindow(window);
      ReceivedBy().erase(window);
    }
    SetDockWindowSource(nullptr);
  }

  // A popup window has no frame, so its outer rectangle is exactly the one given.
  HWND CreateTestWindow(const RECT& place, bool visible = true) {
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, CountingClass(), "", WS_POPUP | (visible ? WS_VISIBLE : 0),
                                  place.left, place.top, place.right - place.left, place.bottom - place.top, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    ReceivedBy()[window];
    windows.push_back(window);
    return window;
  }

  static int Count(HWND window, UINT message) { return ReceivedBy()[window].counts[message]; }

  std::vector<HWND> windows;
};

}  // namespace tw::docking::testing_support
