// The scramble picture window beside a real main window, wired as the program wires
// them: it draws the scramble the row shows, hands the timer's keys over, keeps out of
// the keyboard's way and remembers its place.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/main_window.h"
#include "picture/puzzle_net.h"
#include "scramble/event_scrambler.h"
#include "picture/win32/scramble_picture_window.h"
#include "results/result_book.h"
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

constexpr const char* kScrambleOn =
    "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"
    "Show Scramble=Enabled\r\n";
constexpr DWORD kScrambleWaitMs = 60'000;

class ScramblePictureTest : public AppFolderTest {
 protected:
  void TearDown() override {
    if (picture) picture->Unload();
    if (main) main->Unload();
    picture.reset();
    main.reset();
    book.reset();
    AppFolderTest::TearDown();
  }

  void Start(const char* settings) {
    WriteFileBytes(Path("Setting.ini"), settings);
    store = FakeLogStore(std::vector<std::string>{});
    book = std::make_unique<results::ResultBook>(store);
    main = std::make_unique<MainWindow>(*book);
    picture = std::make_unique<ScramblePictureWindow>();
    main->onF4 = [this] { picture->Toggle(); };
    main->onScrambleChanged = [this](scramble::Event event, const scramble::EventScramble& shown) {
      picture->Show(event, shown);
    };
    picture->SetTimer(*main, [this](int vk, int shift, bool repeat) {
      keys.push_back(vk);
      main->onKeyDown(vk, shift, repeat);
    });
    ASSERT_TRUE(main->Load());
    main->Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == main->Handle(); }));
  }

  // Whether the window draws the scramble the row shows: the drawing made from the
  // row's own text, shape for shape and colour for colour.
  ::testing::AssertionResult DrawsTheRowsScramble(scramble::Event event) const {
    const std::optional<std::string> state = scramble::StateAfter(event, main->Scramble());
    if (!state) return ::testing::AssertionFailure() << "unreadable row: " << main->Scramble();
    const picture::NetDrawing expected = picture::DrawPuzzle(event, *state);
    const picture::NetDrawing& drawn = picture->Drawing();
    if (expected.shapes.empty() || drawn.shapes.size() != expected.shapes.size()) {
      return ::testing::AssertionFailure() << drawn.shapes.size() << " shapes drawn, " << expected.shapes.size()
                                           << " for " << main->Scramble();
    }
    for (std::size_t i = 0; i < drawn.shapes.size(); ++i) {
      if (drawn.shapes[i].rgb != expected.shapes[i].rgb) {
        return ::testing::AssertionFailure() << "shape " << i << " differs from the drawing of " << main->Scramble();
      }
    }
    return ::testing::AssertionSuccess();
  }

  std::string Setting(const char* key) const {
    return storage::ReadINI("General Settings", key, "<missing>", Path("Setting.ini"));
  }

  FakeLogStore store;
  std::unique_ptr<results::ResultBook> book;
  std::unique_ptr<MainWindow> main;
  std::unique_ptr<ScramblePictureWindow> picture;
  std::vector<int> keys;
};

// F4 shows the puzzle the row's scramble leaves, beside the timer and without taking
// the keys; a switch of event and every new scramble are drawn at once; F4 hides it.
TEST_F(ScramblePictureTest, F4ShowsTheScrambleDrawnAndFollowsEveryNewOne) {
  Start(kScrambleOn);
  ASSERT_TRUE(PumpUntil([&] { return !main->Scramble().empty(); }, kScrambleWaitMs));
  main->onKeyDown(VK_F4, 0, false);
  ASSERT_TRUE(picture->IsLoaded());
  EXPECT_TRUE(picture->Visible());
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(GetActiveWindow(), main->Handle()) << "the timer keeps the keys";
  EXPECT_EQ(picture->Caption(), "Twistwatch | Scramble");
  EXPECT_EQ(picture->Drawing().shapes.size(), 54u);
  EXPECT_TRUE(DrawsTheRowsScramble(scramble::Event::k333));
  RECT timer, beside, overlap;
  GetWindowRect(main->Handle(), &timer);
  GetWindowRect(picture->Handle(), &beside);
  EXPECT_FALSE(IntersectRect(&overlap, &timer, &beside)) << "it covers the timer's digits";

  main->OnSessionChanged("pyram");
  ASSERT_TRUE(PumpUntil([&] { return !main->Scramble().empty(); }, kScrambleWaitMs));
  EXPECT_EQ(picture->Drawing().shapes.size(), 36u);
  EXPECT_TRUE(DrawsTheRowsScramble(scramble::Event::kPyram));
  const std::string first = main->Scramble();
  main->onKeyDown(VK_SPACE, 0, false);
  now += 1500;
  main->onKeyDown(VK_SPACE, 0, false);
  ASSERT_TRUE(PumpUntil([&] { return !main->Scramble().empty() && main->Scramble() != first; }, kScrambleWaitMs));
  EXPECT_TRUE(DrawsTheRowsScramble(scramble::Event::kPyram)) << "the next solve's scramble is drawn";

  main->onKeyDown(VK_F4, 0, false);
  EXPECT_FALSE(picture->Visible());
  EXPECT_EQ(Setting("Scramble Picture"), "Hidden");
}

// Keys pressed in the picture window reach the timer; Escape also puts it away and
// the timer has the activation back; its place and size are kept for the next start.
TEST_F(ScramblePictureTest, TimerKeysGoToTheTimerAndItsPlaceIsKept) {
  Start(kScrambleOn);
  picture->Toggle();
  SetForegroundWindow(picture->Handle());
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == picture->Handle(); }));
  SendMessageA(picture->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(picture->Handle(), WM_KEYDOWN, VK_F4, 0);
  EXPECT_EQ(keys, (std::vector<int>{VK_SPACE, VK_F4}));
  EXPECT_EQ(main->Phase(), timing::Phase::Running) << "Space there starts the solve";
  picture->Toggle();
  SetWindowPos(picture->Handle(), nullptr, 20, 30, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(picture->Handle(), WM_EXITSIZEMOVE, 0, 0);
  SetForegroundWindow(picture->Handle());
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == picture->Handle(); }));
  SendMessageA(picture->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(picture->Visible());
  EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == main->Handle(); }));
  EXPECT_EQ(Setting("Scramble Picture"), "Hidden");
  EXPECT_EQ(Setting("Scramble Left"), "20");
  EXPECT_EQ(Setting("Scramble Top"), "30");
  const std::string width = Setting("Scramble Width");

  picture->Unload();
  picture->Toggle();
  RECT placed;
  GetWindowRect(picture->Handle(), &placed);
  EXPECT_EQ(placed.left, 20);
  EXPECT_EQ(placed.top, 30);
  EXPECT_EQ(Setting("Scramble Width"), width);
  EXPECT_EQ(Setting("Scramble Picture"), "Shown");

  // Shown at exit, it comes back at the next start, still without the keyboard.
  picture->Unload();
  SetForegroundWindow(main->Handle());
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == main->Handle(); }));
  picture->RestoreFromSettings();
  EXPECT_TRUE(picture->Visible());
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(GetActiveWindow(), main->Handle());
}

// With the row off there is no scramble to draw: the window says how to have one.
TEST_F(ScramblePictureTest, WithoutTheScrambleRowItSaysHowToHaveOne) {
  Start("[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n");
  picture->Toggle();
  EXPECT_TRUE(picture->Drawing().Empty());
  EXPECT_NE(picture->Note().find("Show scramble"), std::string::npos) << picture->Note();
}

}  // namespace
}  // namespace tw
