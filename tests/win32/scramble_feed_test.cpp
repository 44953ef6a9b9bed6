#include "scramble/win32/scramble_feed.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>

#include "scramble/scramble_text.h"
#include "scramble/scrambler.h"

namespace tw::scramble {
namespace {

constexpr UINT kReadyMessage = WM_APP + 7;
// Generous: building the tables and one scramble under Wine on a busy machine.
constexpr auto kPatience = std::chrono::seconds(60);
constexpr DWORD kWaitSliceMs = 50;

// A hidden window that counts the ready messages it receives.
class NotifyWindow {
 public:
  NotifyWindow() {
    static const ATOM atom = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = &Proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "TwScrambleFeedTest";
      return RegisterClassA(&wc);
    }();
    (void)atom;
    handle_ = CreateWindowExA(0, "TwScrambleFeedTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~NotifyWindow() { DestroyWindow(handle_); }

  HWND Handle() const { return handle_; }
  int received = 0;

  // Pumps messages until `count` ready messages in all have arrived; false on time-out.
  bool WaitFor(int count) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (received < count && std::chrono::steady_clock::now() < deadline) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, kWaitSliceMs, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return received >= count;
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kReadyMessage) {
      if (auto* self = reinterpret_cast<NotifyWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA))) ++self->received;
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND handle_;
};

::testing::AssertionResult IsScramble(const std::string& text) {
  const auto moves = ParseMoves(text);
  if (!moves || moves->empty()) return ::testing::AssertionFailure() << "not a scramble: '" << text << "'";
  if (moves->size() > static_cast<std::size_t>(kMaxScrambleLength) || !FollowsMoveRules(*moves)) {
    return ::testing::AssertionFailure() << "breaks the rules: " << text;
  }
  return ::testing::AssertionSuccess();
}

TEST(ScrambleFeed, PostsWhenReadyAndComputesTheNextAfterEachTake) {
  NotifyWindow window;
  ScrambleFeed feed;
  EXPECT_FALSE(feed.Ready());
  EXPECT_EQ(feed.Take(), "");
  feed.Start(window.Handle(), kReadyMessage);
  feed.Start(window.Handle(), kReadyMessage);  // a second start changes nothing
  ASSERT_TRUE(window.WaitFor(1));
  ASSERT_TRUE(feed.Ready());
  EXPECT_FALSE(feed.Failed());
  const std::string first = feed.Take();
  EXPECT_TRUE(IsScramble(first));
  ASSERT_TRUE(window.WaitFor(2));
  const std::string second = feed.Take();
  EXPECT_TRUE(IsScramble(second));
  EXPECT_NE(first, second);
  EXPECT_EQ(window.received, 2);
}

TEST(ScrambleFeed, StopsWhileBuildingOrComputing) {
  NotifyWindow window;
  {
    ScrambleFeed building;
    building.Start(window.Handle(), kReadyMessage);
  }  // destroyed while its tables are being built
  {
    ScrambleFeed computing;
    computing.Start(window.Handle(), kReadyMessage);
    ASSERT_TRUE(window.WaitFor(window.received + 1));
    computing.Take();  // the next scramble starts now
  }                    // destroyed while it is computed
  // Nothing is posted once a feed is gone.
  const int before = window.received;
  Sleep(200);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_EQ(window.received, before);
}

}  // namespace
}  // namespace tw::scramble
