// The Setup panel: its three switches and the Practice frame, each writing its key.
#include <gtest/gtest.h>

#include "tests/win32/options_window_fixture.h"

namespace tw {
namespace {

using namespace options_testing;

TEST_F(OptionsWindowTest, SwitchesLoadFromExactValuesAndWriteBackOnlyWhatChanged) {
  struct Case {
    const char* stored;  // the keys after [General Settings]
    int showHour, countdown, logResult;
    const char* after;  // the keys after the load
  };
  const Case cases[] = {
      // Missing keys read as Disabled: only the box checked at creation changes, and writes.
      {"", 0, 0, 0, "Countdown=Disabled\r\n"},
      {"Show Hour=Enabled\r\nCountdown=Enabled\r\nLog Result=Enabled\r\n", 1, 1, 1,
       "Show Hour=Enabled\r\nCountdown=Enabled\r\nLog Result=Enabled\r\n"},
      // Letter case and blanks count: the boxes keep their states at creation, nothing is written.
      {"Show Hour=enabled\r\nCountdown=DISABLED\r\nLog Result=Yes\r\n", 0, 1, 0,
       "Show Hour=enabled\r\nCountdown=DISABLED\r\nLog Result=Yes\r\n"},
      {"Countdown=Disabled\r\nLog Result=Disabled\r\n", 0, 0, 0, "Countdown=Disabled\r\nLog Result=Disabled\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    OptionsWindow& window = LoadOptions(Settings(c.stored));
    EXPECT_EQ(window.chkShowHour.Value(), c.showHour);
    EXPECT_EQ(window.chk3SecCD.Value(), c.countdown);
    EXPECT_EQ(window.chkLogResult.Value(), c.logResult);
    EXPECT_EQ(ReadFileBytes(Path("Setting.ini")), Settings(c.after));
    TearDown();
    SetUp();
  }
}

// Each click writes its key at once and then tells the program, which finds the new
// value already in the file (Show Hour then lays the main window out and centres it).
TEST_F(OptionsWindowTest, ClicksWriteTheirSwitchAtOnceThenTellTheProgram) {
  OptionsWindow& window = LoadOptions(Settings("Countdown=Enabled\r\nLog Result=Enabled\r\n"));
  struct Click {
    const char* box;
    const char* key;
    const char* stored;
  };
  const Click clicks[] = {
      {"chk3SecCD", "Countdown", "Disabled"},     {"chkLogResult", "Log Result", "Disabled"},
      {"chkLogResult", "Log Result", "Enabled"},  {"chkShowHour", "Show Hour", "Enabled"},
      {"chkShowHour", "Show Hour", "Disabled"},   {"chkShowScramble", "Show Scramble", "Enabled"},
      {"chkInspection", "Inspection", "Enabled"}, {"chkAnyKeyStops", "Any Key Stops", "Enabled"},
      {"chkAnyKeyStops", "Any Key Stops", "Disabled"},
  };
  for (const Click& c : clicks) {
    changes.clear();
    SendMessageA(Named(window, c.box), BM_CLICK, 0, 0);
    EXPECT_EQ(Setting(c.key), c.stored) << c.box;
    EXPECT_EQ(changes, (std::vector<SettingChange>{{c.key, c.stored}})) << c.box;
  }
  EXPECT_EQ(window.chk3SecCD.Value(), 0);
}

// The load and F2 set Show Hour from code: the same write, then the same word to the
// program, so the main window lays its digits out and centres itself again.
TEST_F(OptionsWindowTest, ShowHourSetFromCodeWritesThenTellsTheProgram) {
  Start(Settings("Show Hour=Enabled\r\nCountdown=Enabled\r\n"));
  frmMore(owner->Handle());
  EXPECT_EQ(changes, (std::vector<SettingChange>{{"Show Hour", "Enabled"}}))
      << "loading with Enabled stored lays the main window out and centres it again";

  UnloadOptionsWindow();
  changes.clear();
  storage::WriteINI("General Settings", "Show Hour", "Disabled", Path("Setting.ini"));
  frmMore(owner->Handle());
  EXPECT_TRUE(changes.empty()) << "with Disabled stored the load leaves the main window where it is";

  // Two F2 presses bring the setting back; each writes, each is told.
  ToggleShowHour(owner->Handle());
  ToggleShowHour(owner->Handle());
  EXPECT_EQ(changes, (std::vector<SettingChange>{{"Show Hour", "Enabled"}, {"Show Hour", "Disabled"}}));
  EXPECT_EQ(Setting("Show Hour"), "Disabled");
}

TEST_F(OptionsWindowTest, PracticeSwitchesLoadFromExactValuesAndLeaveTheFileAsItWas) {
  const std::string defaults = storage::DefaultSettingsText(TW_VERSION_MAJOR, TW_VERSION_MINOR);
  struct Case {
    std::string file;
    int scramble, inspection, anyKey;
    std::string hold;  // the drop-down list's text
  };
  const Case cases[] = {
      // The first start's file has none of the keys: all off, nothing written.
      {defaults, 0, 0, 0, "Off"},
      {Settings("Countdown=Enabled\r\nShow Scramble=Enabled\r\nInspection=Enabled\r\nAny Key Stops=Enabled\r\n"
                "Hold To Start=550\r\n"),
       1, 1, 1, "550 ms"},
      {Settings("Countdown=Enabled\r\nShow Scramble=Disabled\r\nInspection=Enabled\r\nHold To Start=Disabled\r\n"), 0,
       1, 0, "Off"},
      {Settings("Countdown=Enabled\r\nShow Scramble=enabled\r\nInspection=Yes\r\nAny Key Stops=1\r\n"
                "Hold To Start=fast\r\n"),
       0, 0, 0, "Off"},
      // A hand-edited delay shows as itself.
      {Settings("Countdown=Enabled\r\nHold To Start=750\r\n"), 0, 0, 0, "750 ms"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    OptionsWindow& window = LoadOptions(c.file);
    EXPECT_EQ(window.chkShowScramble.Value(), c.scramble);
    EXPECT_EQ(window.chkInspection.Value(), c.inspection);
    EXPECT_EQ(window.chkAnyKeyStops.Value(), c.anyKey);
    EXPECT_EQ(Text(window.Control("cboHoldToStart")), c.hold);
    EXPECT_EQ(ReadFileBytes(Path("Setting.ini")), c.file);
    TearDown();
    SetUp();
  }
}

TEST_F(OptionsWindowTest, PracticeSwitchesWriteTheirKeysAtOnceByClickAndByAccessKey) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Setup\r\n"));
  window.Show();
  SetFocus(window.Control("chkLogResult"));
  const auto altKey = [&](char letter) {
    MSG msg{GetFocus(), WM_SYSCHAR, static_cast<WPARAM>(letter), 1 << 29, 0, {0, 0}};
    return IsDialogMessageA(window.Handle(), &msg);
  };
  HWND hold = window.Control("cboHoldToStart");
  struct Step {
    std::function<void()> act;
    const char* key;
    const char* value;
  };
  const Step steps[] = {
      {[&] { SendMessageA(window.Control("chkShowScramble"), BM_CLICK, 0, 0); }, "Show Scramble", "Enabled"},
      {[&] { SendMessageA(window.Control("chkShowScramble"), BM_CLICK, 0, 0); }, "Show Scramble", "Disabled"},
      {[&] { EXPECT_TRUE(altKey('a')); }, "Show Scramble", "Enabled"},
      {[&] { SendMessageA(window.Control("chkInspection"), BM_CLICK, 0, 0); }, "Inspection", "Enabled"},
      {[&] { EXPECT_TRUE(altKey('i')); }, "Inspection", "Disabled"},
      {[&] { EXPECT_TRUE(altKey('k')); }, "Any Key Stops", "Enabled"},
      // The label's access key puts the focus on the list; a key there picks at once.
      {[&] {
         EXPECT_TRUE(altKey('t'));
         EXPECT_EQ(GetFocus(), hold);
         SendMessageA(hold, WM_KEYDOWN, VK_DOWN, 0);
       },
       "Hold To Start", "0"},
      {[&] { SendMessageA(hold, WM_KEYDOWN, VK_DOWN, 0); }, "Hold To Start", "300"},
      {[&] { window.SetHoldToStartSelected(4); }, "Hold To Start", "1000"},
      {[&] { window.SetHoldToStartSelected(0); }, "Hold To Start", "Disabled"},
      // The timer input: its label's key focuses the list; the sound input's list is
      // usable only for a competition timer, and its first item is the default input.
      {[&] {
         EXPECT_FALSE(IsWindowEnabled(window.Control("cboStackmatDevice")));
         EXPECT_TRUE(altKey('p'));
         EXPECT_EQ(GetFocus(), window.Control("cboTimerInput"));
         SendMessageA(window.Control("cboTimerInput"), WM_KEYDOWN, VK_DOWN, 0);
         EXPECT_TRUE(IsWindowEnabled(window.Control("cboStackmatDevice")));
       },
       "Timer Input", "Stackmat"},
      {[&] {
         HWND device = window.Control("cboStackmatDevice");
         SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(device), CBN_DROPDOWN),
                      reinterpret_cast<LPARAM>(device));
         EXPECT_EQ(Text(device), "Default sound input");
         SendMessageA(device, CB_SETCURSEL, 0, 0);
         SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(device), CBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(device));
       },
       "Stackmat Device", ""},
      {[&] {
         SendMessageA(window.Control("cboTimerInput"), WM_KEYDOWN, VK_UP, 0);
         EXPECT_FALSE(IsWindowEnabled(window.Control("cboStackmatDevice")));
       },
       "Timer Input", "Keyboard"},
  };
  for (const Step& step : steps) {
    changes.clear();
    step.act();
    EXPECT_EQ(Setting(step.key), step.value) << step.key;
    EXPECT_EQ(changes, (std::vector<SettingChange>{{step.key, step.value}})) << step.key;
  }
  EXPECT_EQ(window.chkShowScramble.Value(), 1);
  EXPECT_EQ(window.chkInspection.Value(), 0);
  EXPECT_EQ(window.chkAnyKeyStops.Value(), 1);
}

// While Hold to start is on, a solve starts at the release and the countdown never
// runs: its box is greyed (its value kept), and a tip over it says why.
TEST_F(OptionsWindowTest, HoldToStartGreysTheCountdownBoxWithATipSayingWhy) {
  OptionsWindow& window = LoadOptions(Settings("Countdown=Enabled\r\nLast Frame=Setup\r\nHold To Start=550\r\n"));
  HWND box = window.chk3SecCD.Handle();
  EXPECT_FALSE(IsWindowEnabled(box));
  EXPECT_EQ(window.chk3SecCD.Value(), 1);
  ASSERT_NE(window.CountdownTip(), nullptr);
  wchar_t text[160] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = window.Handle();
  tool.uId = 1;
  tool.lpszText = text;
  SendMessageW(window.CountdownTip(), TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(text), L"Not used while Hold to start is on: the solve starts when Space is let go.");
  ASSERT_TRUE(SendMessageW(window.CountdownTip(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
  RECT boxRect{};
  GetWindowRect(box, &boxRect);
  MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&boxRect), 2);
  EXPECT_TRUE(EqualRect(&tool.rect, &boxRect)) << "the tip stands over the box";

  // Shown on its panel, the box stays greyed, and so does the sound input's list while
  // the timer input is the keyboard: enabling the panel never makes them usable.
  window.Show();
  window.optResult.SetValue(true);
  window.optSetup.SetValue(true);
  EXPECT_FALSE(IsWindowEnabled(box));
  EXPECT_FALSE(IsWindowEnabled(window.Control("cboStackmatDevice")));

  window.SetHoldToStartSelected(0);  // Off
  EXPECT_TRUE(IsWindowEnabled(box));
  window.SetHoldToStartSelected(2);
  EXPECT_FALSE(IsWindowEnabled(box));
}

TEST_F(OptionsWindowTest, SetupPanelTabsThroughTheSetupFrameThenPracticeThenExit) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Setup\r\n"));
  window.Show();
  std::vector<std::string> walk;
  HWND at = window.Control("chkLogResult");
  for (int step = 0; step < 12; ++step, at = GetNextDlgTabItem(window.Handle(), at, FALSE)) walk.push_back(Text(at));
  // The sound input's list is passed over while the keyboard is the input.
  EXPECT_EQ(walk, (std::vector<std::string>{"&Log result automatically", "Show &hour",
                                            "3 seconds &countdown before start the counter", "Show scr&amble",
                                            "Any &key stops the timer", "WCA &inspection (15 s)", "Off", "Keyboard",
                                            "Show a&verages", "E&xit", "&Setup", "&Log result automatically"}));
}

}  // namespace
}  // namespace tw
