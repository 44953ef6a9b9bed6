#include "scramble/win32/scramble_feed.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <new>
#include <stdexcept>
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

struct Event {
  std::unique_ptr<void, decltype(&CloseHandle)> handle{CreateEventA(nullptr, TRUE, FALSE, nullptr), &CloseHandle};
  void Set() const { SetEvent(handle.get()); }
  bool Wait() const { return WaitForSingleObject(handle.get(), 60'000) == WAIT_OBJECT_0; }
};

// A stand-in for the solver: searches that answer "R", "U", ... at once, except the
// one numbered `waitingSearch`, which runs until the feed cancels it (or, if the feed
// never does, gives up after a while so the test ends and fails).
class FakeSolver {
 public:
  static constexpr auto kGiveUp = std::chrono::seconds(10);

  explicit FakeSolver(int waitingSearch) : waitingSearch_(waitingSearch) {}

  ScrambleFeed::Build Build() {
    return [this](const std::atomic<bool>&) {
      return [this](const std::atomic<bool>& cancel) {
        const int number = searches++;
        if (number == waitingSearch_) {
          searching.Set();
          cancelled = Wait(cancel);
        }
        return std::string(1, "RUFDLB"[number % 6]);
      };
    };
  }

  // Waits for `cancel`; false when it never came.
  static bool Wait(const std::atomic<bool>& cancel) {
    const auto deadline = std::chrono::steady_clock::now() + kGiveUp;
    while (!cancel && std::chrono::steady_clock::now() < deadline) Sleep(1);
    return cancel;
  }

  std::atomic<int> searches{0};
  std::atomic<bool> cancelled{false};
  Event searching;

 private:
  const int waitingSearch_;
};

void Drain() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// A feed destroyed in the middle of a search cancels it, and the scramble that search
// then returns is never posted. The worker is joined by then, so every message it
// posted is already in the queue.
TEST(ScrambleFeed, CancelsTheSearchItIsDestroyedIn) {
  NotifyWindow window;
  FakeSolver solver(1);
  {
    ScrambleFeed feed(solver.Build());
    feed.Start(window.Handle(), kReadyMessage);
    ASSERT_TRUE(window.WaitFor(1));
    EXPECT_EQ(feed.Take(), "R");  // the next search starts now
    ASSERT_TRUE(solver.searching.Wait());
  }
  EXPECT_TRUE(solver.cancelled);
  EXPECT_EQ(solver.searches, 2);
  Drain();
  EXPECT_EQ(window.received, 1);
}

// Destroyed while its tables are built, the feed starts no search and posts nothing.
TEST(ScrambleFeed, StopsAfterTheBuildItIsDestroyedIn) {
  NotifyWindow window;
  FakeSolver solver(-1);
  std::atomic<bool> cancelled{false};
  const Event building;
  {
    ScrambleFeed feed([&](const std::atomic<bool>& cancel) {
      building.Set();
      cancelled = FakeSolver::Wait(cancel);
      return solver.Build()(cancel);
    });
    feed.Start(window.Handle(), kReadyMessage);
    ASSERT_TRUE(building.Wait());
  }
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(solver.searches, 0);
  Drain();
  EXPECT_EQ(window.received, 0);
}

// Tables that cannot be built, or a search that throws, end the feed: it says so, and
// the window is told once so it can stop waiting for a scramble.
TEST(ScrambleFeed, FailsAndSaysSoWhenTheWorkerThrows) {
  const ScrambleFeed::Build outOfMemory = [](const std::atomic<bool>&) -> ScrambleFeed::Search {
    throw std::bad_alloc();
  };
  const ScrambleFeed::Build searchThrows = [](const std::atomic<bool>&) -> ScrambleFeed::Search {
    return [](const std::atomic<bool>&) -> std::string { throw std::runtime_error("no scramble"); };
  };
  for (const auto& build : {outOfMemory, searchThrows}) {
    NotifyWindow window;
    ScrambleFeed::SetBuildForTesting(build);
    ScrambleFeed feed;  // as the main window makes it
    ScrambleFeed::SetBuildForTesting(nullptr);
    EXPECT_FALSE(feed.Failed());
    feed.Start(window.Handle(), kReadyMessage);
    ASSERT_TRUE(window.WaitFor(1));
    EXPECT_TRUE(feed.Failed());
    EXPECT_FALSE(feed.Ready());
    EXPECT_EQ(feed.Take(), "");
    Drain();
    EXPECT_EQ(window.received, 1);
  }
}

}  // namespace
}  // namespace tw::scramble
