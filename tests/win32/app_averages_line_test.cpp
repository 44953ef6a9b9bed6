// The averages line under the main window's digits: off, the window is unchanged;
// on, it follows every change of the book at once (a solve, a penalty, an undo, a
// switch of session) and changes nothing while the digits count.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/win32/main_window.h"
#include "results/result_book.h"
#include "resources/main_layout.h"
#include "storage/win32/settings.h"
#include "tests/win32/app_fixture.h"
#include "tests/win32/fake_log_store.h"

namespace tw {
namespace {

using testing_support::AppFolderTest;
using testing_support::FakeLogStore;
using testing_support::WriteFileBytes;

constexpr const char* kSettings =
    "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n";

std::string Line(int seconds) {
  return "#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:" + std::to_string(seconds) + ":00";
}

class AveragesLineTest : public AppFolderTest {
 protected:
  void TearDown() override {
    if (window) window->Unload();
    window.reset();
    book.reset();
    AppFolderTest::TearDown();
  }

  void Start(const std::string& settings) {
    WriteFileBytes(Path("Setting.ini"), settings);
    store = FakeLogStore(std::vector<std::string>{Line(10), Line(12), Line(11), Line(14)});
    book = std::make_unique<results::ResultBook>(store);
    window = std::make_unique<MainWindow>(*book);
    settings::Store().AddWatcher(*window);  // as WinMain wires it
    ASSERT_TRUE(window->Load());
  }

  void Solve(std::int64_t ms) {
    window->onKeyDown(VK_SPACE, 0, false);
    now = window->StartTick + ms;
    window->onKeyDown(VK_SPACE, 0, false);
  }

  FakeLogStore store;
  std::unique_ptr<results::ResultBook> book;
  std::unique_ptr<MainWindow> window;
};

TEST_F(AveragesLineTest, OffTheWindowIsUnchanged) {
  Start(kSettings);
  EXPECT_FALSE(window->lblAverages.Visible());
  EXPECT_EQ(window->ClientHeight(), layout::main::kClientHeight);
  Solve(13'000);
  EXPECT_EQ(window->lblAverages.Text(), "") << "nothing is worked out while it is off";
}

TEST_F(AveragesLineTest, FollowsASolveAPenaltyAndAnUndoAtOnce) {
  Start(std::string(kSettings) + "Show Averages=Enabled\r\n");
  ASSERT_TRUE(window->lblAverages.Visible());
  EXPECT_GT(window->ClientHeight(), layout::main::kClientHeight);
  EXPECT_EQ(window->lblAverages.Text(), "ao5 -  ao12 -  mean 11.75 (4)");

  window->onKeyDown(VK_SPACE, 0, false);
  now = window->StartTick + 9'000;
  window->onCounterTick();
  EXPECT_EQ(window->lblAverages.Text(), "ao5 -  ao12 -  mean 11.75 (4)") << "the count changes nothing there";
  window->onKeyDown(VK_SPACE, 0, false);
  EXPECT_EQ(window->lblAverages.Text(), "ao5 11.00  ao12 -  mean 11.20 (5)");

  window->onKeyDown('3', kCtrlMask, false);  // the last solve a DNF
  EXPECT_EQ(window->lblAverages.Text(), "ao5 12.33  ao12 -  mean 11.75 (5)");
  window->onKeyDown('Z', kCtrlMask, false);
  EXPECT_EQ(window->lblAverages.Text(), "ao5 11.00  ao12 -  mean 11.20 (5)");
  window->onKeyDown('Z', kCtrlMask, false);
  EXPECT_EQ(window->lblAverages.Text(), "ao5 -  ao12 -  mean 11.75 (4)") << "the solve taken back";

  // Switched off from the options window: the window is as it was again.
  settings::Write(settings::kShowAverages, false);
  EXPECT_FALSE(window->lblAverages.Visible());
  EXPECT_EQ(window->ClientHeight(), layout::main::kClientHeight);
}

TEST_F(AveragesLineTest, SitsBetweenTheDigitsAndTheScrambleRow) {
  Start(std::string(kSettings) + "Show Averages=Enabled\r\nShow Scramble=Enabled\r\n");
  EXPECT_GE(window->lblAverages.Top(), layout::main::kScrambleTop);
  EXPECT_GE(window->lblScramble.Top(), window->lblAverages.Top() + window->lblAverages.Height());
  EXPECT_EQ(window->ClientHeight(),
            window->lblScramble.Top() + window->lblScramble.Height() + layout::main::kClientHeight -
                layout::main::kScrambleTop);
}

}  // namespace
}  // namespace tw
