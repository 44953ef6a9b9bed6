// The statistics window beside a real main window, both following one result book
// as the program wires them: it keeps its figures in step with the book, hands the
// timer's keys over, keeps out of the keyboard's and the digits' way and remembers
// its place.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/main_window.h"
#include "results/result_book.h"
#include "stats/win32/statistics_window.h"
#include "storage/settings_text.h"
#include "storage/win32/settings.h"
#include "storage/win32/settings_file.h"
#include "tests/win32/app_fixture.h"
#include "tests/win32/fake_log_store.h"
#include "tests/win32/message_pump.h"

namespace tw {
namespace {

using testing_support::AppFolderTest;
using testing_support::FakeLogStore;
using testing_support::PumpUntil;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

constexpr const char* kCountdownOff =
    "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n";

std::string Line(int hundredths) {
  char text[80];
  std::snprintf(text, sizeof text, "#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:%02d:%02d:%02d",
                hundredths / 6000, hundredths / 100 % 60, hundredths % 100);
  return text;
}

std::vector<std::string> Lines(std::initializer_list<int> hundredths) {
  std::vector<std::string> lines;
  for (int h : hundredths) lines.push_back(Line(h));
  return lines;
}

void SendKey(WORD vk) {
  INPUT inputs[2]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

class StatisticsWindowTest : public AppFolderTest {
 protected:
  void TearDown() override {
    stats.reset();
    main.reset();
    book.reset();
    AppFolderTest::TearDown();
  }

  // The main window with `settings` (none: the default file is written) over a log
  // holding `earlier` from earlier runs and `thisRun` logged since the start, and the
  // statistics window following the same book as the program wires them.
  void Start(const char* settings = kCountdownOff, const std::vector<std::string>& earlier = {},
             const std::vector<std::string>& thisRun = {}) {
    if (settings) WriteFileBytes(Path("Setting.ini"), settings);
    store = FakeLogStore(earlier);
    book = std::make_unique<results::ResultBook>(store);
    main = std::make_unique<MainWindow>(*book);
    stats = std::make_unique<StatisticsWindow>(*book);
    // Wired before the timer's window exists, as WinMain wires it.
    stats->SetTimer(*main, [this](int vk, int shift, bool repeat) {
      keys.push_back(vk);
      main->onKeyDown(vk, shift, repeat);
    });
    ASSERT_TRUE(main->Load());
    for (const std::string& line : thisRun) ASSERT_TRUE(book->Append(line));
  }

  // The main window shown and active, as the user starts timing.
  void ShowMainActive() {
    main->Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == main->Handle(); }));
  }

  void Activate(HWND window) {
    SetForegroundWindow(window);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window; }));
  }

  std::string Setting(const char* key) const {
    return storage::ReadINI("General Settings", key, "<missing>", Path("Setting.ini"));
  }

  RECT Outer(HWND window) const {
    RECT r;
    GetWindowRect(window, &r);
    return r;
  }

  // Whether the timer's window lies above the statistics window.
  bool TimerOnTop() const {
    for (HWND next = GetWindow(main->Handle(), GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
      if (next == stats->Handle()) return true;
    }
    return false;
  }

  FakeLogStore store;
  std::unique_ptr<results::ResultBook> book;
  std::unique_ptr<MainWindow> main;
  std::unique_ptr<StatisticsWindow> stats;
  std::vector<int> keys;
};

TEST_F(StatisticsWindowTest, SpaceInTheStatisticsWindowTimesASolveThatUpdatesCurrentAndBest) {
  Start(kCountdownOff, {}, Lines({1000, 1100, 1200, 1300}));
  ShowMainActive();
  stats->Toggle();
  ASSERT_TRUE(stats->Visible());
  Activate(stats->Handle());
  EXPECT_EQ(stats->CurrentText(5), "");  // four solves: no average of 5 yet
  EXPECT_EQ(stats->BestText(1), "10.00");

  SendKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return main->tmrCounter.Enabled(); }));
  now += 9870;  // 9.87 s later
  SendKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return !main->tmrCounter.Enabled(); }));

  EXPECT_EQ(keys, (std::vector<int>{VK_SPACE, VK_SPACE}));
  ASSERT_EQ(book->Size(), 5u);
  EXPECT_EQ(stats->CurrentText(1), "9.87");
  EXPECT_EQ(stats->BestText(1), "9.87");
  EXPECT_EQ(stats->CurrentText(5), "11.00");  // 9.87, 10, 11, 12, 13: drop 9.87 and 13
  EXPECT_EQ(stats->BestText(5), "11.00");
  EXPECT_EQ(stats->Figures().SinceStart().solves, 5);
  EXPECT_EQ(GetActiveWindow(), stats->Handle()) << "the window keeps the focus it was given";
}

TEST_F(StatisticsWindowTest, FollowsEveryChangeOfTheBook) {
  // Three lines from earlier runs, three from this one.
  Start(kCountdownOff, Lines({1000, 1500, 1200}), Lines({1300, 1400, 2000}));
  stats->EnsureFresh();  // as the program does once it has painted
  EXPECT_EQ(stats->CurrentText(5), "14.00");  // 15, 12, 13, 14, 20
  EXPECT_EQ(stats->BestText(5), "13.00");     // 10, 15, 12, 13, 14
  EXPECT_EQ(stats->Figures().SinceStart().solves, 3);

  ASSERT_TRUE(book->Remove(0));  // an earlier run's line
  EXPECT_EQ(stats->BestText(5), "14.00");
  EXPECT_EQ(stats->BestText(1), "12.00");
  EXPECT_EQ(stats->Figures().SinceStart().solves, 3);
  EXPECT_EQ(stats->Figures().SinceStart().mean, 1567);

  ASSERT_TRUE(book->Remove(3));  // this session's 14.00
  EXPECT_EQ(stats->CurrentText(5), "");  // four left
  EXPECT_EQ(stats->CurrentText(3), "15.00");
  EXPECT_EQ(stats->Figures().SinceStart().solves, 2);
  EXPECT_EQ(stats->Figures().All().solves, 4);

  ASSERT_TRUE(book->Append(Line(1111)));
  EXPECT_EQ(stats->CurrentText(1), "11.11");
  EXPECT_EQ(stats->Figures().SinceStart().solves, 3);

  // Hidden, a reset leaves the figures to be worked out when next asked for.
  ASSERT_TRUE(book->Reset());
  EXPECT_FALSE(stats->Fresh());
  stats->EnsureFresh();
  EXPECT_EQ(stats->CurrentText(1), "");
  EXPECT_EQ(stats->Figures().All().solves, 0);
  ASSERT_TRUE(book->Append(Line(1234)));
  EXPECT_EQ(stats->CurrentText(1), "12.34");
  EXPECT_EQ(stats->Figures().SinceStart().solves, 1);
}

// A switch of session: the figures and the caption are the new session's at once,
// and the old book's changes no longer reach the window.
TEST_F(StatisticsWindowTest, FollowsASwitchOfSessionAndNamesIt) {
  Start(kCountdownOff, Lines({1000, 1500, 1200}));
  stats->Toggle();
  const auto caption = [this] {
    wchar_t text[256] = {};
    GetWindowTextW(stats->Handle(), text, 256);
    return std::wstring(text);
  };
  EXPECT_EQ(caption(), L"Twistwatch | Statistics");
  FakeLogStore otherStore(Lines({900, 950}));
  results::ResultBook other(otherStore);
  other.Load();  // as the shelf reads a session's log at the switch
  stats->Attach(other, "2x2x2 \xE9");  // the settings file's code page
  EXPECT_EQ(caption(), L"Twistwatch | Statistics \u2014 2x2x2 \u00E9");
  EXPECT_EQ(stats->BestText(1), "9.00");
  EXPECT_EQ(stats->Figures().All().solves, 2);
  ASSERT_TRUE(book->Append(Line(500)));
  EXPECT_EQ(stats->BestText(1), "9.00") << "the old session's solve is not this one's";
  stats->Attach(*book);
  EXPECT_EQ(caption(), L"Twistwatch | Statistics");
  EXPECT_EQ(stats->BestText(1), "5.00");
  // Back and forth between two unchanged sessions: each shows its own figures again.
  for (int turn = 0; turn < 2; ++turn) {
    stats->Attach(other, "2x2x2");
    EXPECT_EQ(stats->BestText(1), "9.00");
    EXPECT_EQ(stats->Figures().All().solves, 2);
    stats->Attach(*book);
    EXPECT_EQ(stats->BestText(1), "5.00");
    EXPECT_EQ(stats->Figures().All().solves, 4);
  }
  stats->Unload();
}

TEST_F(StatisticsWindowTest, ALogAnotherProgramChangedIsTakenInWhenTheSaveMergesIt) {
  Start(kCountdownOff, Lines({1000, 1100}));
  stats->Toggle();  // shown: the figures follow at once
  store.holdSaves = true;
  ASSERT_TRUE(book->Append(Line(1200)));
  EXPECT_EQ(stats->Figures().All().solves, 3);
  // Meanwhile another copy of the log gained two solves; the save finds and merges them.
  store.SetFile(Lines({1000, 1100, 900, 950}));
  store.Release();
  ASSERT_EQ(book->Size(), 5u);
  EXPECT_EQ(stats->Figures().All().solves, 5);
  EXPECT_EQ(stats->BestText(1), "9.00");
  EXPECT_EQ(stats->CurrentText(5), "10.17");  // 10, 11, 9, 9.50, 12: drop 9 and 12
  EXPECT_EQ(stats->Figures().SinceStart().solves, 1) << "only the solve logged in this run is since start";
}

TEST_F(StatisticsWindowTest, NothingIsWorkedOutUntilAskedForAndShowingAsks) {
  Start(kCountdownOff, Lines({1000, 1100, 1200}));
  ASSERT_TRUE(book->Append(Line(1300)));
  EXPECT_FALSE(stats->Fresh());
  EXPECT_EQ(stats->Figures().All().solves, 0);
  stats->Toggle();
  EXPECT_TRUE(stats->Fresh());
  EXPECT_EQ(stats->Figures().All().solves, 4);
  EXPECT_EQ(stats->Figures().SinceStart().solves, 1);
}

TEST_F(StatisticsWindowTest, UnreadLinesAreCountedInANote) {
  Start(kCountdownOff, {Line(1000), "edited by hand", "", Line(1200)});
  stats->EnsureFresh();
  EXPECT_EQ(stats->UnreadNote(), "2 lines not read");
  EXPECT_EQ(stats->Figures().All().solves, 2);
  ASSERT_TRUE(book->Append("#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:12"));
  EXPECT_EQ(stats->UnreadNote(), "3 lines not read");
}

TEST_F(StatisticsWindowTest, ShowsWithoutTakingTheActivationAndRemembersItsVisibility) {
  Start();
  ShowMainActive();
  stats->Toggle();
  EXPECT_TRUE(stats->Visible());
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(GetActiveWindow(), main->Handle());
  EXPECT_EQ(Setting("Statistics"), "Shown");
  EXPECT_NE(Setting("Statistics Left"), "<missing>");
  EXPECT_EQ(Setting("Statistics Width"), "9600");
  // The first time it opens beside the timer, shortened (not below its minimum) to fit.
  const int height = std::stoi(Setting("Statistics Height"));
  EXPECT_LE(height, 7200);
  EXPECT_GE(height, 5400);
  RECT timer, beside, overlap;
  GetWindowRect(main->Handle(), &timer);
  GetWindowRect(stats->Handle(), &beside);
  EXPECT_FALSE(IntersectRect(&overlap, &timer, &beside)) << "it covers the timer's digits";
  EXPECT_EQ(beside.top, timer.bottom) << "under the timer";
  EXPECT_EQ(stats->Caption(), "Twistwatch | Statistics");
  stats->Toggle();
  EXPECT_FALSE(stats->Visible());
  EXPECT_TRUE(stats->IsLoaded());
  EXPECT_EQ(Setting("Statistics"), "Hidden");
  // F3 on a minimised window brings it back instead of hiding it unseen.
  stats->Toggle();
  ShowWindow(stats->Handle(), SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(IsIconic(stats->Handle()));
  PumpUntil([] { return false; }, 100);
  ASSERT_EQ(GetActiveWindow(), main->Handle());
  stats->Toggle();
  EXPECT_TRUE(stats->Visible());
  EXPECT_FALSE(IsIconic(stats->Handle()));
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(GetActiveWindow(), main->Handle());
}

TEST_F(StatisticsWindowTest, TimerKeysGoToTheTimerAndEscapeAlsoHandsTheActivationBack) {
  Start();
  ShowMainActive();
  stats->Toggle();
  Activate(stats->Handle());
  for (int vk : {VK_F2, int{'A'}, VK_RETURN}) SendMessageA(stats->Handle(), WM_KEYDOWN, static_cast<WPARAM>(vk), 0);
  EXPECT_EQ(keys, (std::vector<int>{VK_F2}));
  main->lblSec.SetText("42");
  SendKey(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return !stats->Visible(); }));
  EXPECT_EQ(keys.back(), VK_ESCAPE);
  EXPECT_EQ(main->lblSec.Text(), "00") << "Escape reset the display as in the main window";
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == main->Handle(); }));
  EXPECT_EQ(Setting("Statistics"), "Hidden");
}

TEST_F(StatisticsWindowTest, NoKeyReachesTheTimerWhileAQuestionOfOursIsShowing) {
  Start();
  ShowMainActive();
  stats->Toggle();
  Activate(stats->Handle());
  // A message box over the timer (the exit question) disables its owner, the timer's
  // window; the statistics window has no owner and is still enabled.
  EnableWindow(main->Handle(), FALSE);
  for (int vk : {VK_SPACE, VK_F1, VK_ESCAPE}) SendMessageA(stats->Handle(), WM_KEYDOWN, static_cast<WPARAM>(vk), 0);
  EXPECT_TRUE(keys.empty());
  EXPECT_FALSE(main->tmrCounter.Enabled()) << "a solve started under the question";
  EXPECT_TRUE(stats->Visible());
  EnableWindow(main->Handle(), TRUE);
  SendMessageA(stats->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(keys, std::vector<int>{VK_SPACE});
  EXPECT_TRUE(main->tmrCounter.Enabled());
}

TEST_F(StatisticsWindowTest, NeverShownOverTheTimerWhichStaysOnTopWhereTheyOverlap) {
  // Stored over the timer's place: at start-up the timer is shown first, then this,
  // beside the timer instead.
  Start((std::string(kCountdownOff) + "Statistics=Shown\r\n").c_str());
  ShowMainActive();
  const RECT timer = Outer(main->Handle());
  settings::Write(settings::kStatisticsWindow.left, timer.left + 20);
  settings::Write(settings::kStatisticsWindow.top, timer.top + 10);
  stats->RestoreFromSettings();
  ASSERT_TRUE(stats->Visible());
  RECT overlap;
  const RECT shown = Outer(stats->Handle());
  EXPECT_FALSE(IntersectRect(&overlap, &shown, &timer)) << "the timer has the keys and cannot be seen";
  EXPECT_EQ(GetActiveWindow(), main->Handle());

  // Dragged over the timer by the user, it lies under it, clicked or not.
  SetWindowPos(stats->Handle(), nullptr, timer.left + 20, timer.top + 10, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(TimerOnTop());
  Activate(stats->Handle());  // a click on the statistics
  EXPECT_TRUE(TimerOnTop());

  // Apart, it may lie above; moved onto the timer, it goes under.
  SetWindowPos(stats->Handle(), HWND_TOP, timer.right + 50, timer.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_FALSE(TimerOnTop());
  SetWindowPos(stats->Handle(), nullptr, timer.left, timer.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(TimerOnTop());
}

TEST_F(StatisticsWindowTest, WithNoRoomBesideTheTimerItsFirstF3CoversAsLittleOfItAsItCan) {
  Start();
  ShowMainActive();
  // A timer as large as at 144 DPI on a small screen: no side has room for the window.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(main->Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const int width = (work.right - work.left) * 3 / 5, height = (work.bottom - work.top) * 3 / 5;
  SetWindowPos(main->Handle(), nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT timer = Outer(main->Handle());
  stats->Toggle();
  ASSERT_TRUE(stats->Visible());
  const RECT placed = Outer(stats->Handle());
  RECT overlap;
  ASSERT_TRUE(IntersectRect(&overlap, &placed, &timer));
  EXPECT_LT((overlap.right - overlap.left) * (overlap.bottom - overlap.top), width * height / 2)
      << "it lies over the timer";
  RECT inside;
  IntersectRect(&inside, &placed, &work);
  EXPECT_TRUE(EqualRect(&inside, &placed)) << "it leaves the screen";
  EXPECT_TRUE(TimerOnTop());
}

TEST_F(StatisticsWindowTest, TheCloseButtonHidesAndF3WithoutWiringToggles) {
  Start();
  ShowMainActive();
  stats->Toggle();
  Activate(stats->Handle());
  SendMessageA(stats->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(stats->Visible());
  EXPECT_TRUE(stats->IsLoaded());
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == main->Handle(); }));
  stats->onTimerKey = nullptr;
  stats->Toggle();
  SendMessageA(stats->Handle(), WM_KEYDOWN, VK_F3, 0);
  EXPECT_FALSE(stats->Visible());
}

TEST_F(StatisticsWindowTest, UnusedItLeavesTheDefaultSettingsFileByteForByte) {
  Start(nullptr, Lines({1000, 1100}));
  const std::string defaults = ReadFileBytes(Path("Setting.ini"));
  EXPECT_EQ(defaults, storage::DefaultSettingsText(kVersionMajor, kVersionMinor));
  stats->RestoreFromSettings();
  stats->EnsureFresh();
  ASSERT_TRUE(book->Append(Line(1200)));
  ASSERT_TRUE(book->Reset());
  EXPECT_FALSE(stats->IsLoaded());
  EXPECT_EQ(ReadFileBytes(Path("Setting.ini")), defaults);
}

TEST_F(StatisticsWindowTest, RestoresItsPlaceAndSizeAndBringsALostWindowBack) {
  struct Case {
    const char* what;
    const char* left;
    const char* top;
    const char* width;
    bool placed;  // else beside the timer
    int clientWidthTwips;
  };
  const Case cases[] = {
      {"saved on screen", "40", "30", "8400", true, 8400},
      {"off every monitor", "-30000", "20000", "8400", false, 8400},
      {"no corner", "", "30", "8400", false, 8400},
      {"nonsense size", "40", "30", "lots", true, 9600},
      {"too small", "40", "30", "100", true, 9600},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Start((std::string(kCountdownOff) + "Statistics=Shown\r\nStatistics Left=" + c.left + "\r\nStatistics Top=" +
           c.top + "\r\nStatistics Width=" + c.width + "\r\nStatistics Height=6000\r\n")
              .c_str());
    main->Show();  // as at start-up: the timer first, away from the stored corner
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(main->Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT mainNow = Outer(main->Handle());
    SetWindowPos(main->Handle(), nullptr, monitor.rcWork.right - (mainNow.right - mainNow.left),
                 monitor.rcWork.bottom - (mainNow.bottom - mainNow.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    stats->RestoreFromSettings();
    ASSERT_TRUE(stats->Visible());
    RECT client;
    GetClientRect(stats->Handle(), &client);
    EXPECT_EQ(stats->Twips(client.right), c.clientWidthTwips);
    const RECT outer = Outer(stats->Handle()), timer = Outer(main->Handle());
    if (c.placed) {
      EXPECT_EQ(outer.left, 40);
      EXPECT_EQ(outer.top, 30);
      EXPECT_EQ(stats->Twips(client.bottom), 6000);
    } else {
      // Beside the timer, shortened (not below its minimum) to fit the room there.
      EXPECT_LE(stats->Twips(client.bottom), 6000);
      EXPECT_GE(stats->Twips(client.bottom), 5400);
      RECT overlap;
      EXPECT_FALSE(IntersectRect(&overlap, &outer, &timer)) << "it covers the timer's digits";
    }
    TearDown();
    SetUp();
  }
}

TEST_F(StatisticsWindowTest, AUserResizeIsSavedAndKeptThroughADpiChange) {
  Start();
  stats->Toggle();
  SetWindowPos(stats->Handle(), nullptr, 50, 60, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(stats->Handle(), WM_EXITSIZEMOVE, 0, 0);
  RECT client;
  GetClientRect(stats->Handle(), &client);
  const int widthTwips = stats->Twips(client.right);
  EXPECT_EQ(Setting("Statistics Width"), std::to_string(widthTwips));
  EXPECT_EQ(Setting("Statistics Left"), "50");
  // Never smaller than the least that shows the table beside the tallies.
  SetWindowPos(stats->Handle(), nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetClientRect(stats->Handle(), &client);
  EXPECT_GE(stats->Twips(client.right), 7500);
  SetWindowPos(stats->Handle(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT suggested{100, 100, 1100, 900};
  SendMessageA(stats->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(stats->Dpi(), 144);
  EXPECT_EQ(stats->ClientWidth(), widthTwips);
  // A faked DPI change keeps the system's sizing frame at its old width, so the
  // client area may differ from the scaled size by the frame's growth.
  GetClientRect(stats->Handle(), &client);
  EXPECT_NEAR(client.right, widthTwips * 144 / 1440, 4);
}

TEST_F(StatisticsWindowTest, CtrlCCopiesEveryFigureAsPlainText) {
  Start(kCountdownOff, Lines({1000, 1100, 1200, 1300, 1400}));
  stats->Toggle();
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_CONTROL] = 0x80;
  SetKeyboardState(state);
  SendMessageA(stats->Handle(), WM_KEYDOWN, 'C', 0);
  state[VK_CONTROL] = 0;
  SetKeyboardState(state);
  EXPECT_TRUE(keys.empty());
  ASSERT_TRUE(OpenClipboard(stats->Handle()));
  HANDLE data = GetClipboardData(CF_TEXT);
  std::string copied = data ? static_cast<const char*>(GlobalLock(data)) : "";
  if (data) GlobalUnlock(data);
  CloseClipboard();
  EXPECT_EQ(copied, stats->FiguresText());
  EXPECT_NE(copied.find("average of 5    12.00    12.00\r\n"), std::string::npos) << copied;
  EXPECT_NE(copied.find("solves               5            0\r\n"), std::string::npos) << copied;
  EXPECT_NE(copied.find("mean             12.00            -\r\n"), std::string::npos) << copied;
  EXPECT_NE(copied.find("deviation         1.41            -\r\n"), std::string::npos) << copied;
}

}  // namespace
}  // namespace tw
