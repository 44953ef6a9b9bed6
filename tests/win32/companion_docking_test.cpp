// The statistics and the scramble picture beside a real main window, wired as the
// program wires them: opened where nothing of ours is, docked to the timer, and moved
// with it when it grows (a long scramble) or moves, never over it or each other.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/win32/main_window.h"
#include "picture/win32/scramble_picture_window.h"
#include "results/result_book.h"
#include "stats/win32/statistics_window.h"
#include "storage/win32/settings_file.h"
#include "tests/win32/app_fixture.h"
#include "tests/win32/fake_log_store.h"
#include "tests/win32/message_pump.h"

namespace tw {
namespace {

using testing_support::AppFolderTest;
using testing_support::FakeLogStore;
using testing_support::PumpUntil;
using testing_support::WriteFileBytes;

constexpr const char* kSettings =
    "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n";

RECT Outer(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

bool Meet(const RECT& a, const RECT& b) {
  RECT overlap;
  return IntersectRect(&overlap, &a, &b) != FALSE;
}

std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

class CompanionDockingTest : public AppFolderTest {
 protected:
  void TearDown() override {
    if (picture) picture->Unload();
    if (stats) stats->Unload();
    if (main) main->Unload();
    picture.reset();
    stats.reset();
    main.reset();
    book.reset();
    AppFolderTest::TearDown();
  }

  void Start() {
    WriteFileBytes(Path("Setting.ini"), kSettings);
    store = FakeLogStore(std::vector<std::string>{});
    book = std::make_unique<results::ResultBook>(store);
    main = std::make_unique<MainWindow>(*book);
    stats = std::make_unique<StatisticsWindow>(*book);
    picture = std::make_unique<ScramblePictureWindow>();
    const auto keys = [this](int vk, int shift, bool repeat) { main->onKeyDown(vk, shift, repeat); };
    stats->SetTimer(*main, keys);
    picture->SetTimer(*main, keys);
    main->onF3 = [this] { stats->Toggle(); };
    main->onF4 = [this] { picture->Toggle(); };
    ASSERT_TRUE(main->Load());
    main->Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == main->Handle(); }));
    // Near the top of the screen, as a timer with room under it for both.
    SetWindowPos(main->Handle(), nullptr, 200, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // None of the three covers another.
  void ExpectApart(const char* when) {
    SCOPED_TRACE(when);
    const RECT timer = Outer(main->Handle()), s = Outer(stats->Handle()), p = Outer(picture->Handle());
    EXPECT_FALSE(Meet(timer, s)) << "statistics " << Text(s) << " over the timer " << Text(timer);
    EXPECT_FALSE(Meet(timer, p)) << "picture " << Text(p) << " over the timer " << Text(timer);
    EXPECT_FALSE(Meet(s, p)) << "picture " << Text(p) << " over the statistics " << Text(s);
  }

  std::string Setting(const char* key) const {
    return storage::ReadINI("General Settings", key, "<missing>", Path("Setting.ini"));
  }

  FakeLogStore store;
  std::unique_ptr<results::ResultBook> book;
  std::unique_ptr<MainWindow> main;
  std::unique_ptr<StatisticsWindow> stats;
  std::unique_ptr<ScramblePictureWindow> picture;
};

TEST_F(CompanionDockingTest, TheyOpenApartAndFollowTheTimerAsItGrowsAndMoves) {
  Start();
  main->onKeyDown(VK_F3, 0, false);
  main->onKeyDown(VK_F4, 0, false);
  ASSERT_TRUE(stats->Visible() && picture->Visible());
  ExpectApart("both opened");
  const RECT timer = Outer(main->Handle());
  const RECT statsBefore = Outer(stats->Handle());
  ASSERT_EQ(statsBefore.top, timer.bottom) << "the statistics open under the timer, docked to it";

  // Seven lines of a Megaminx scramble: the timer grows downwards.
  main->SetClientSize(main->ClientWidth(), main->ClientHeight() + 2400);
  const RECT grown = Outer(main->Handle());
  ASSERT_GT(grown.bottom, timer.bottom);
  ExpectApart("the timer grown");
  const RECT statsAfter = Outer(stats->Handle());
  EXPECT_EQ(statsAfter.top, grown.bottom) << "still docked under it";
  EXPECT_EQ(statsAfter.left, statsBefore.left);
  EXPECT_EQ(Setting("Statistics Top"), std::to_string(statsAfter.top)) << "the place followed is kept";

  // Moved: the docked windows move along, by as much.
  const RECT pictureBefore = Outer(picture->Handle());
  SetWindowPos(main->Handle(), nullptr, grown.left + 30, grown.top + 20, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT s = Outer(stats->Handle()), p = Outer(picture->Handle());
  EXPECT_EQ(s.left - statsAfter.left, 30);
  EXPECT_EQ(s.top - statsAfter.top, 20);
  EXPECT_EQ(p.left - pictureBefore.left, 30);
  EXPECT_EQ(p.top - pictureBefore.top, 20);
  ExpectApart("the timer moved");

  // Shrunk back: they come back up with it.
  main->SetClientSize(main->ClientWidth(), main->ClientHeight() - 2400);
  EXPECT_EQ(Outer(stats->Handle()).top, Outer(main->Handle()).bottom);
  ExpectApart("the timer shrunk");
  EXPECT_EQ(GetActiveWindow(), main->Handle()) << "the timer keeps the keyboard";
}

// A window stored where the other now is opens clear of it.
TEST_F(CompanionDockingTest, ANewOneIsPlacedWhereNothingOfOursIs) {
  Start();
  main->onKeyDown(VK_F3, 0, false);
  const RECT s = Outer(stats->Handle());
  storage::WriteINI("General Settings", "Scramble Left", std::to_string(s.left), Path("Setting.ini"));
  storage::WriteINI("General Settings", "Scramble Top", std::to_string(s.top), Path("Setting.ini"));
  main->onKeyDown(VK_F4, 0, false);
  ASSERT_TRUE(picture->Visible());
  ExpectApart("the picture stored over the statistics");
}

}  // namespace
}  // namespace tw
