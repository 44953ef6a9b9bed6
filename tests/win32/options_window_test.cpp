#include <gtest/gtest.h>
#include <objbase.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/main_window.h"
#include "docking/win32/docking.h"
#include "options/win32/hyperlink.h"
#include "options/win32/options_window.h"
#include "resources/options_layout.h"
#include "storage/settings_text.h"
#include "storage/win32/settings_file.h"
#include "tests/win32/app_fixture.h"
#include "tests/win32/message_pump.h"
#include "toolkit/units.h"

namespace tw {
namespace {

namespace lo = layout::options;
using testing_support::AppFolderTest;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

class OptionsWindowTest : public AppFolderTest {
 protected:
  void SetUp() override {
    AppFolderTest::SetUp();
    options::SetHyperlinkOpenerForTesting([this](const std::string& target) { opened.push_back(target); });
  }

  void TearDown() override {
    UnloadOptionsWindow();
    if (main) main->Unload();
    main.reset();
    options::SetHyperlinkOpenerForTesting(nullptr);
    AppFolderTest::TearDown();
  }

  // The main window as the program starts it, with `settings` as Setting.ini and
  // `results` as the log.
  void StartMain(const std::string& settings, const std::vector<std::string>& results = {}) {
    if (!settings.empty()) WriteFileBytes(Path("Setting.ini"), settings);
    std::string log;
    for (const auto& line : results) log += line + "\r\n";
    if (!results.empty()) WriteFileBytes(Path("Result.lst"), log);
    main = std::make_unique<MainWindow>();
    SetMainWindow(main.get());
    ASSERT_TRUE(main->Load());
  }

  // Then the options window, loaded hidden as touching one of its controls does.
  OptionsWindow& LoadOptions(const std::string& settings, const std::vector<std::string>& results = {}) {
    StartMain(settings, results);
    return frmMore();
  }

  std::string Setting(const char* key) const {
    return storage::ReadINI("General Settings", key, "<missing>", Path("Setting.ini"));
  }

  static bool Shown(HWND control) { return (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0; }
  static std::string Text(HWND control) {
    char text[512] = {};
    GetWindowTextA(control, text, sizeof text);
    return text;
  }

  std::unique_ptr<MainWindow> main;
  std::vector<std::string> opened;
};

std::string Settings(const std::string& lines) { return "[General Settings]\r\n" + lines; }

struct PanelExpectation {
  const char* caption;
  int clientHeight;  // designed outer height less the designed frame
  int exitTop;
  const char* frame;  // the one visible and enabled frame, or "" for the designed window
};

void ExpectPanel(OptionsWindow& window, const PanelExpectation& want) {
  EXPECT_EQ(window.Caption(), want.caption);
  EXPECT_EQ(window.ClientHeight(), want.clientHeight);
  EXPECT_EQ(window.ClientWidth(), 5895);
  EXPECT_EQ(window.ControlTop(window.Control("cmdExit")), want.exitTop);
  for (const char* frame : {"fraAbout", "fraResult", "fraSetup"}) {
    const bool chosen = *want.frame == '\0' || std::string(frame) == want.frame;
    EXPECT_EQ(window.FrameVisible(frame), chosen) << frame;
    EXPECT_EQ(window.FrameEnabled(frame), chosen) << frame;
  }
}

TEST_F(OptionsWindowTest, LoadRestoresTheLastPanelByExactName) {
  struct Case {
    const char* settings;
    const char* option;  // selected option button, "" for none
    PanelExpectation panel;
  };
  const Case cases[] = {
      {"", "optAbout", {"Twistwatch | About", 5085, 4560, "fraAbout"}},  // first start: defaults
      {"Last Frame=About\r\n", "optAbout", {"Twistwatch | About", 5085, 4560, "fraAbout"}},
      {"Last Frame=Result\r\n", "optResult", {"Twistwatch | Result", 4125, 3600, "fraResult"}},
      {"Last Frame=Setup\r\n", "optSetup", {"Twistwatch | Setup", 2445, 1920, "fraSetup"}},
      {"Countdown=Enabled\r\n", "optAbout", {"Twistwatch | About", 5085, 4560, "fraAbout"}},  // key missing
      {"Last Frame=result\r\n", "", {"?", 5085, 4560, ""}},
      {"Last Frame=\r\n", "", {"?", 5085, 4560, ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    OptionsWindow& window = LoadOptions(*c.settings ? Settings(c.settings) : "");
    ExpectPanel(window, c.panel);
    EXPECT_EQ(window.optAbout.Value(), std::string(c.option) == "optAbout");
    EXPECT_EQ(window.optResult.Value(), std::string(c.option) == "optResult");
    EXPECT_EQ(window.optSetup.Value(), std::string(c.option) == "optSetup");
    TearDown();
    SetUp();
  }
}

TEST_F(OptionsWindowTest, DesignedWindowShowsOnlyTheAboutPanelsControls) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=none\r\n"));
  EXPECT_TRUE(Shown(window.Control("fraAbout")));
  EXPECT_TRUE(Shown(window.Control("lblURL2")));
  EXPECT_TRUE(Shown(window.Control("Label3")));
  for (const char* covered : {"fraSetup", "chkLogResult", "chk3SecCD", "fraResult", "lstResult", "cmdRemove"}) {
    EXPECT_FALSE(Shown(window.Control(covered))) << covered;
  }
}

TEST_F(OptionsWindowTest, EverySwitchLeavesExactlyOnePanelOnScreen) {
  OptionsWindow& window = LoadOptions("");
  struct Case {
    OptionButton OptionsWindow::*option;
    PanelExpectation panel;
    std::vector<const char*> shown, hidden;
  };
  const Case cases[] = {
      {&OptionsWindow::optSetup,
       {"Twistwatch | Setup", 2445, 1920, "fraSetup"},
       {"fraSetup", "chkLogResult", "chkShowHour", "chk3SecCD"},
       {"fraAbout", "lblURL1", "Frame1", "Image1", "fraResult", "lstResult", "cmdReset"}},
      {&OptionsWindow::optResult,
       {"Twistwatch | Result", 4125, 3600, "fraResult"},
       {"fraResult", "lstResult", "cmdRemove", "cmdReset"},
       {"fraAbout", "Label1", "fraSetup", "chk3SecCD"}},
      {&OptionsWindow::optAbout,
       {"Twistwatch | About", 5085, 4560, "fraAbout"},
       {"fraAbout", "Label1", "Label2", "Frame1", "Label3", "Image1", "lblURL3"},
       {"fraSetup", "chkShowHour", "fraResult", "cmdRemove"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.panel.caption);
    (window.*c.option).SetValue(true);
    ExpectPanel(window, c.panel);
    for (const char* name : c.shown) {
      EXPECT_TRUE(Shown(window.Control(name))) << name;
      EXPECT_TRUE(IsWindowEnabled(window.Control(name))) << name;
    }
    for (const char* name : c.hidden) {
      EXPECT_FALSE(Shown(window.Control(name))) << name;
      EXPECT_FALSE(IsWindowEnabled(window.Control(name))) << name;
    }
    // The option row and Exit belong to no panel.
    EXPECT_TRUE(Shown(window.Control("cmdExit")));
    EXPECT_TRUE(Shown(window.Control("optResult")));
  }
}

TEST_F(OptionsWindowTest, ExitRemembersThePanelButTheTitleBarDoesNot) {
  OptionsWindow& window = LoadOptions("");
  window.optSetup.SetValue(true);
  window.onCmdExitClick();
  EXPECT_FALSE(OptionsWindowLoaded());
  EXPECT_EQ(Setting("Last Frame"), "Setup");

  frmMore();
  ASSERT_TRUE(OptionsWindowLoaded());
  EXPECT_EQ(window.Caption(), "Twistwatch | Setup");
  window.optResult.SetValue(true);
  SendMessageA(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(OptionsWindowLoaded());
  EXPECT_EQ(Setting("Last Frame"), "Setup");
}

TEST_F(OptionsWindowTest, ExitWithNoPanelSelectedStoresTheEmptyText) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=SETUP\r\n"));
  window.onCmdExitClick();
  EXPECT_EQ(Setting("Last Frame"), "");
}

TEST_F(OptionsWindowTest, DockingIsHeldWhileLoadedAndReleasedByEitherWayOfClosing) {
  OptionsWindow& window = LoadOptions("");
  HWND hwnd = window.Handle();
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&docking::DockingWindowProc));
  // Unloading restores the form's own procedure before the window goes; a hook left
  // behind would outlive its window.
  window.Unload();
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(OptionsWindowLoaded());
}

// Answers the modal loop from inside it: checks the state the user would see, then
// closes the window the way the test asks.
struct ModalScript {
  static inline std::function<void()> step;
  static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (step) step();
    // Never leave the test waiting in the modal loop.
    if (OptionsWindowLoaded()) PostMessageA(OptionsWindowInstance()->Handle(), WM_CLOSE, 0, 0);
  }
  static void Run(std::function<void()> atShow) {
    step = std::move(atShow);
    SetTimer(nullptr, 0, 20, &Fire);
    ShowOptionsWindow();
    step = nullptr;
  }
};

TEST_F(OptionsWindowTest, F1AfterF2ShowsTheSameInstanceWithoutLoadingAgainButWithNewResults) {
  StartMain(Settings("Last Frame=Result\r\nShow Hour=Disabled\r\n"), {"#1"});
  ToggleShowHour();  // F2: loads hidden, then turns the hours on
  OptionsWindow& window = *OptionsWindowInstance();
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(window.chkShowHour.Value(), 1);
  HWND loadedHandle = window.Handle();

  // Neither the file nor a new result may make F1 run the load again...
  storage::WriteINI("General Settings", "Last Frame", "Setup", Path("Setting.ini"));
  main->lstTmpResult.Append("#2");  // a solve logged while the window waited hidden
  bool checked = false;
  ModalScript::Run([&] {
    checked = true;
    EXPECT_EQ(window.Handle(), loadedHandle);
    EXPECT_TRUE(window.Visible());
    EXPECT_FALSE(IsWindowEnabled(main->Handle())) << "the main window takes no keys while it is open";
    EXPECT_EQ(window.Caption(), "Twistwatch | Result");
    // ...but the Result panel lists every logged result, so a Remove keeps them all.
    EXPECT_EQ(window.lstResult.Items(), (std::vector<std::string>{"#1", "#2"}));
    window.onCmdExitClick();
  });
  EXPECT_TRUE(checked);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_FALSE(OptionsWindowLoaded());
  EXPECT_EQ(Setting("Last Frame"), "Result");
}

TEST_F(OptionsWindowTest, F1OnAFreshStartShowsTheWindowCentredAndOwnedByTheMainWindow) {
  StartMain("");
  bool checked = false;
  ModalScript::Run([&] {
    checked = true;
    OptionsWindow& window = *OptionsWindowInstance();
    EXPECT_EQ(GetWindow(window.Handle(), GW_OWNER), main->Handle());
    RECT r;
    GetWindowRect(window.Handle(), &r);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    SendMessageA(window.Handle(), WM_CLOSE, 0, 0);
  });
  EXPECT_TRUE(checked);
  EXPECT_FALSE(OptionsWindowLoaded());
}

using testing_support::PumpUntil;

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {  // virtual key, down
  std::vector<INPUT> inputs;
  for (const auto& [vk, down] : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

// What the options window's destruction found: whether the main window took input
// again before it, and which window was active by then.
struct DestroyWatch {
  static inline HWND watched = nullptr;
  static inline HWND main = nullptr;
  static inline bool seen = false;
  static inline bool mainEnabled = false;
  static inline HWND active = nullptr;
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_DESTROY && call->hwnd == watched) {
      seen = true;
      mainEnabled = IsWindowEnabled(main) != FALSE;
      active = GetActiveWindow();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
};

TEST_F(OptionsWindowTest, EveryWayOfClosingTheModalWindowGivesTheMainWindowItsKeysBack) {
  struct Case {
    const char* how;
    std::function<void(OptionsWindow&)> close;
  };
  const Case cases[] = {
      {"Exit", [](OptionsWindow& w) { SendMessageA(w.Control("cmdExit"), BM_CLICK, 0, 0); }},
      {"title bar", [](OptionsWindow& w) { SendMessageA(w.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      // Real key strokes, through the modal loop and the dialog manager as a user's.
      {"Alt+F4", [](OptionsWindow&) { SendKeys({{VK_MENU, true}, {VK_F4, true}, {VK_F4, false}, {VK_MENU, false}}); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    StartMain(Settings("Last Frame=Setup\r\n"));
    main->Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == main->Handle(); }));
    DestroyWatch::main = main->Handle();
    DestroyWatch::seen = false;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &DestroyWatch::Hook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    static std::function<void()> closeNow;
    closeNow = [&] {
      OptionsWindow& window = *OptionsWindowInstance();
      DestroyWatch::watched = window.Handle();
      c.close(window);
    };
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      closeNow();
    });
    // Never leave the test waiting in the modal loop when the close goes astray.
    SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      if (OptionsWindowLoaded()) PostMessageA(OptionsWindowInstance()->Handle(), WM_CLOSE, 0, 0);
    });
    ShowOptionsWindow();
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(DestroyWatch::seen);
    EXPECT_TRUE(DestroyWatch::mainEnabled) << "the main window must take input again before the window goes";
    EXPECT_EQ(DestroyWatch::active, main->Handle());
    EXPECT_EQ(GetActiveWindow(), main->Handle());
    EXPECT_EQ(GetForegroundWindow(), main->Handle());
    EXPECT_FALSE(OptionsWindowLoaded());
    TearDown();
    SetUp();
  }
}

TEST_F(OptionsWindowTest, AltSpaceOpensTheOptionsWindowsSystemMenu) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Setup\r\n"));
  window.Show();
  SetFocus(window.Control("chkLogResult"));
  static bool menuOpened;
  menuOpened = false;
  static HWND watched;
  watched = window.Handle();
  HHOOK hook = SetWindowsHookExA(
      WH_CALLWNDPROC,
      [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_ENTERMENULOOP && call->hwnd == watched) menuOpened = true;
        return CallNextHookEx(nullptr, code, wParam, lParam);
      },
      nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  // The menu runs its own loop; a timer inside it closes the menu again.
  const UINT_PTR closer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
  MSG msg{window.Control("chkLogResult"), WM_SYSCHAR, ' ', 1 | (1 << 29), 0, {0, 0}};
  if (!IsDialogMessageA(window.Handle(), &msg)) DispatchMessageA(&msg);
  KillTimer(nullptr, closer);
  UnhookWindowsHookEx(hook);
  EXPECT_TRUE(menuOpened);
  EXPECT_TRUE(OptionsWindowLoaded());
}

TEST_F(OptionsWindowTest, UnloadingWithTheMainWindowEndsAWindowLoadedByF2) {
  StartMain("");
  ToggleShowHour();
  ASSERT_TRUE(OptionsWindowLoaded());
  UnloadOptionsWindow();
  EXPECT_FALSE(OptionsWindowLoaded());
  UnloadOptionsWindow();  // a second call finds nothing to do
}

TEST_F(OptionsWindowTest, SwitchesLoadFromExactValuesAndWriteBackOnlyWhatChanged) {
  struct Case {
    const char* stored;  // the keys after [General Settings]
    int showHour, countdown, logResult;
    const char* after;  // the keys after the load
  };
  const Case cases[] = {
      // Missing keys read as Disabled: only the box designed checked changes, and writes.
      {"", 0, 0, 0, "Countdown=Disabled\r\n"},
      {"Show Hour=Enabled\r\nCountdown=Enabled\r\nLog Result=Enabled\r\n", 1, 1, 1,
       "Show Hour=Enabled\r\nCountdown=Enabled\r\nLog Result=Enabled\r\n"},
      // Letter case and blanks count: the boxes keep their designed states, nothing is written.
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

TEST_F(OptionsWindowTest, ClicksWriteTheirSwitchAtOnce) {
  OptionsWindow& window = LoadOptions(Settings("Countdown=Enabled\r\nLog Result=Enabled\r\n"));
  SendMessageA(window.Control("chk3SecCD"), BM_CLICK, 0, 0);
  EXPECT_EQ(window.chk3SecCD.Value(), 0);
  EXPECT_EQ(Setting("Countdown"), "Disabled");
  SendMessageA(window.Control("chkLogResult"), BM_CLICK, 0, 0);
  EXPECT_EQ(Setting("Log Result"), "Disabled");
  SendMessageA(window.Control("chkLogResult"), BM_CLICK, 0, 0);
  EXPECT_EQ(Setting("Log Result"), "Enabled");
}

TEST_F(OptionsWindowTest, ShowHourLaysOutAndCentresTheMainWindow) {
  OptionsWindow& window = LoadOptions(Settings("Show Hour=Disabled\r\n"));
  const auto expectCentred = [&] {
    const int screen = PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), main->Dpi());
    EXPECT_NEAR(main->Left(), screen / 2 - main->OuterWidth() / 2, 15);
  };
  main->SetLeft(0);
  window.chkShowHour.SetValue(1);
  EXPECT_EQ(Setting("Show Hour"), "Enabled");
  EXPECT_EQ(main->ClientWidth(), 10650 - 90);
  EXPECT_TRUE(main->lblHour.Visible());
  EXPECT_TRUE(main->lblSeparator0.Visible());
  EXPECT_EQ(main->lblHour.Left(), 120);
  EXPECT_EQ(main->lblSeparator0.Left(), 2280);
  EXPECT_EQ(main->lblMin.Left(), 2880);
  EXPECT_EQ(main->lbl3SecCD.Width(), 10335);
  expectCentred();

  main->SetLeft(0);
  window.chkShowHour.SetValue(0);
  EXPECT_EQ(Setting("Show Hour"), "Disabled");
  EXPECT_EQ(main->ClientWidth(), 7890 - 90);
  EXPECT_FALSE(main->lblHour.Visible());
  EXPECT_EQ(main->lblMin.Left(), 120);
  EXPECT_EQ(main->lblSeparator2.Left(), 5040);
  EXPECT_EQ(main->lbl3SecCD.Width(), 7575);
  expectCentred();
}

TEST_F(OptionsWindowTest, LoadingWithShowHourEnabledCentresTheMainWindowAgain) {
  StartMain(Settings("Show Hour=Enabled\r\n"));
  const int centred = main->Left();
  main->SetLeft(0);
  frmMore();
  EXPECT_EQ(main->Left(), centred);

  UnloadOptionsWindow();
  storage::WriteINI("General Settings", "Show Hour", "Disabled", Path("Setting.ini"));
  main->SetLeft(0);
  frmMore();
  EXPECT_EQ(main->Left(), 0) << "with Disabled stored the load leaves the main window where it is";
}

TEST_F(OptionsWindowTest, TwoF2PressesRestoreTheLayoutAndEachWrites) {
  StartMain(Settings("Show Hour=Enabled\r\n"));
  const int width = main->ClientWidth();
  ToggleShowHour();
  EXPECT_EQ(Setting("Show Hour"), "Disabled");
  EXPECT_EQ(main->ClientWidth(), 7890 - 90);
  ToggleShowHour();
  EXPECT_EQ(Setting("Show Hour"), "Enabled");
  EXPECT_EQ(main->ClientWidth(), width);
}

std::vector<std::string> Lines(int count) {
  std::vector<std::string> lines;
  for (int i = 1; i <= count; ++i) lines.push_back(std::string(1, '#').append(std::to_string(i)));
  return lines;
}

std::string FileOf(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& line : lines) bytes += line + "\r\n";
  return bytes;
}

TEST_F(OptionsWindowTest, RemoveKeepsBothListsAndTheLogInStep) {
  struct Case {
    const char* what;
    int count;
    int selected;  // -1 for none
    std::vector<std::string> left;
  };
  const Case cases[] = {
      {"middle", 3, 1, {"#1", "#3"}},
      {"last", 3, 2, {"#1", "#2"}},
      {"no selection", 3, -1, {"#1", "#2", "#3"}},
      {"only", 1, 0, {}},
      {"no selection in an empty list", 0, -1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OptionsWindow& window = LoadOptions("", Lines(c.count));
    if (c.selected >= 0) window.lstResult.SetSelectedIndex(c.selected);
    window.onCmdRemoveClick();
    EXPECT_EQ(window.lstResult.Items(), c.left);
    EXPECT_EQ(main->lstTmpResult.Items(), c.left);
    if (c.left.empty()) {
      EXPECT_FALSE(FileExists(Path("Result.lst")));
    } else {
      EXPECT_EQ(ReadFileBytes(Path("Result.lst")), FileOf(c.left));
      EXPECT_EQ(window.lstResult.SelectedIndex(), static_cast<int>(c.left.size()) - 1);
      EXPECT_EQ(SendMessageA(window.Control("lstResult"), LB_GETCURSEL, 0, 0), static_cast<LRESULT>(c.left.size()) - 1);
    }
    TearDown();
    SetUp();
  }
}

TEST_F(OptionsWindowTest, RemoveTwiceTakesTheEntryLeftSelected) {
  OptionsWindow& window = LoadOptions("", Lines(4));
  window.lstResult.SetSelectedIndex(1);
  window.onCmdRemoveClick();
  window.onCmdRemoveClick();
  EXPECT_EQ(main->lstTmpResult.Items(), (std::vector<std::string>{"#1", "#3"}));
  EXPECT_EQ(ReadFileBytes(Path("Result.lst")), "#1\r\n#3\r\n");
}

TEST_F(OptionsWindowTest, RemoveOfALongLogWritesEveryEntry) {
  OptionsWindow& window = LoadOptions("", Lines(1006));
  window.lstResult.SetSelectedIndex(0);
  window.onCmdRemoveClick();
  std::vector<std::string> left = Lines(1006);
  left.erase(left.begin());
  ASSERT_EQ(left.size(), 1005u);
  EXPECT_EQ(window.lstResult.Items(), left);
  EXPECT_EQ(main->lstTmpResult.Items(), left);
  EXPECT_EQ(ReadFileBytes(Path("Result.lst")), FileOf(left));
  EXPECT_EQ(window.lstResult.SelectedIndex(), 1004);
}

TEST_F(OptionsWindowTest, ResetAsksThenClearsEverything) {
  struct Case {
    const char* what;
    bool withFile;
    int answer;
    bool cleared;
  };
  const Case cases[] = {
      {"yes with a log", true, IDYES, true},
      {"yes without a log", false, IDYES, true},
      {"no", true, IDNO, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    boxes.clear();
    OptionsWindow& window = LoadOptions("", Lines(3));
    if (!c.withFile) DeleteFileA(Path("Result.lst").c_str());
    answer = c.answer;
    window.onCmdResetClick();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Are you sure want to reset the result?");
    EXPECT_EQ(boxes[0].title, "Twistwatch");
    EXPECT_EQ(boxes[0].style, 36u);
    const std::vector<std::string> expected = c.cleared ? std::vector<std::string>{} : Lines(3);
    EXPECT_EQ(window.lstResult.Items(), expected);
    EXPECT_EQ(main->lstTmpResult.Items(), expected);
    EXPECT_EQ(FileExists(Path("Result.lst")), c.withFile && !c.cleared);
    TearDown();
    SetUp();
  }
}

TEST_F(OptionsWindowTest, ResetWithALogThatCannotBeDeletedClearsTheListsAndGoesOn) {
  OptionsWindow& window = LoadOptions("", Lines(2));
  // Held open without delete sharing, the log cannot be removed.
  HANDLE held = CreateFileA(Path("Result.lst").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  window.onCmdResetClick();
  CloseHandle(held);
  EXPECT_TRUE(window.lstResult.Items().empty());
  EXPECT_TRUE(main->lstTmpResult.Items().empty());
  EXPECT_EQ(ReadFileBytes(Path("Result.lst")), "#1\r\n#2\r\n");
  EXPECT_TRUE(OptionsWindowLoaded());
}

// A Remove that cannot be saved leaves nothing selected, shows in the main window's
// caption, and the file keeps what it had.
TEST_F(OptionsWindowTest, ARemoveThatCannotBeSavedSelectsNothing) {
  OptionsWindow& window = LoadOptions("", Lines(3));
  SetFileAttributesA(Path("Result.lst").c_str(), FILE_ATTRIBUTE_READONLY);
  window.lstResult.SetSelectedIndex(1);
  window.onCmdRemoveClick();
  SetFileAttributesA(Path("Result.lst").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(window.lstResult.Items(), (std::vector<std::string>{"#1", "#3"}));
  EXPECT_EQ(window.lstResult.SelectedIndex(), -1);
  EXPECT_EQ(SendMessageA(window.Control("lstResult"), LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_TRUE(main->SaveFailed());
  EXPECT_EQ(ReadFileBytes(Path("Result.lst")), FileOf(Lines(3)));

  window.lstResult.SetSelectedIndex(0);  // writable again: the next Remove saves and selects
  window.onCmdRemoveClick();
  EXPECT_FALSE(main->SaveFailed());
  EXPECT_EQ(ReadFileBytes(Path("Result.lst")), "#3\r\n");
  EXPECT_EQ(window.lstResult.SelectedIndex(), 0);
}

// A log that could not be read at start-up is neither deleted when the list the user
// sees runs empty nor overwritten: its lines come back in front once it can be read.
TEST_F(OptionsWindowTest, RemovingEveryShownResultNeverDeletesALogThatWasNotRead) {
  WriteFileBytes(Path("Result.lst"), FileOf(Lines(2)));
  HANDLE held = CreateFileA(Path("Result.lst").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  OptionsWindow& window = LoadOptions(Settings("Countdown=Disabled\r\n"));
  ASSERT_TRUE(main->LogUnread());
  main->lstTmpResult.Append("#new");
  window.SyncResultList();
  window.lstResult.SetSelectedIndex(0);
  window.onCmdRemoveClick();
  EXPECT_TRUE(window.lstResult.Items().empty());
  CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(Path("Result.lst")), FileOf(Lines(2)));

  main->lstTmpResult.Append("#later");
  ASSERT_TRUE(main->SaveTmpResultList());
  EXPECT_EQ(ReadFileBytes(Path("Result.lst")), "#1\r\n#2\r\n#later\r\n");
}

TEST_F(OptionsWindowTest, LinksOpenTheirTargetsByClickAndByKey) {
  OptionsWindow& window = LoadOptions("");
  const auto command = [&](const char* name) {
    HWND link = window.Control(name);
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
                 reinterpret_cast<LPARAM>(link));
  };
  command("lblURL1");
  command("lblURL2");
  command("lblURL3");
  SendMessageA(window.Control("lblURL2"), WM_KEYDOWN, VK_RETURN, 0);
  SendMessageA(window.Control("lblURL3"), WM_KEYDOWN, VK_SPACE, 0);
  const std::string mail = std::string("mailto:") + links::kContactEmail +
                           "?subject=[Twistwatch v1.0] <Put your subject here>";
  EXPECT_EQ(opened, (std::vector<std::string>{links::kHomePage, links::kWebSite, mail, links::kWebSite, mail}));
  EXPECT_EQ(Text(window.Control("lblURL3")), links::kContactEmail);
  EXPECT_EQ(Text(window.Control("lblURL1")), links::kHomePage);
}

// The centre of a designed control, in client pixels; `dy` moves down from its top instead.
POINT PointIn(const OptionsWindow& window, const char* name, int dyTwips = -1) {
  const lo::ControlRow& row = lo::Row(name);
  const lo::Point origin = lo::ClientOrigin(row);
  const int y = dyTwips >= 0 ? origin.y + dyTwips : origin.y + row.height / 2;
  return POINT{window.Px(origin.x + row.width / 2), window.Px(y)};
}

LOGFONTA FontOf(HWND control) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

TEST_F(OptionsWindowTest, HoverEmphasisesTheLinkUnderThePointerOnly) {
  OptionsWindow& window = LoadOptions("");
  const auto emphasis = [&] {
    std::string marks;
    for (int link = 0; link < 3; ++link) marks += window.LinkBold(link) && window.LinkUnderline(link) ? 'X' : '.';
    return marks;
  };
  struct Step {
    const char* over;
    int dy;
    const char* after;  // lblURL1, lblURL2, lblURL3
  };
  const Step steps[] = {
      {"lblURL2", -1, ".X."},
      {"Label1", -1, ".X."},   // the title leaves the emphasis alone
      {"Label3", -1, ".X."},   // so does the description frame's content
      {"lblURL3", 2, "..X"},
      {"lblURL1", 1, "X.."},   // straight from lblURL3 onto lblURL1 where they touch
      {"Label4", -1, "..."},
      {"lblURL3", -1, "..X"},
      {"Label7", -1, "..."},
      {"lblURL1", -1, "X.."},
      {"fraAbout", 30, "..."},  // the frame's margin above the title
  };
  for (const Step& s : steps) {
    window.onPointerMove(PointIn(window, s.over, s.dy));
    EXPECT_EQ(emphasis(), s.after) << s.over;
  }
  window.onPointerMove(PointIn(window, "lblURL2"));
  window.onPointerMove(POINT{2, 2});  // the window's own background
  EXPECT_EQ(emphasis(), "...");

  window.onPointerMove(PointIn(window, "lblURL3"));
  const LOGFONTA bold = FontOf(window.Control("lblURL3"));
  EXPECT_GE(bold.lfWeight, FW_BOLD);
  EXPECT_TRUE(bold.lfUnderline);
  const LOGFONTA plain = FontOf(window.Control("lblURL1"));
  EXPECT_EQ(plain.lfWeight, FW_NORMAL);
  EXPECT_FALSE(plain.lfUnderline);
  EXPECT_STREQ(plain.lfFaceName, "Tahoma");
}

TEST_F(OptionsWindowTest, PointerOverALinkGetsTheHandAndTheEmphasis) {
  OptionsWindow& window = LoadOptions("");
  window.Show();
  POINT at = PointIn(window, "lblURL2");
  ClientToScreen(window.Handle(), &at);
  ASSERT_TRUE(SetCursorPos(at.x, at.y));
  HWND link = window.Control("lblURL2");
  const LRESULT handled = SendMessageA(window.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_TRUE(handled);
  EXPECT_TRUE(window.LinkBold(1));
  EXPECT_NE(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

TEST_F(OptionsWindowTest, ControlsStandAsDesigned) {
  OptionsWindow& window = LoadOptions("");
  struct Case {
    const char* name;
    const char* text;
  };
  const Case captions[] = {
      {"optSetup", "&Setup"}, {"optResult", "&Result"}, {"optAbout", "A&bout"},
      {"cmdExit", "E&xit"},   {"cmdRemove", "Remove &Selected"}, {"cmdReset", "R&eset"},
      {"chk3SecCD", "3 seconds &countdown before start the counter"},
      {"chkShowHour", "Show &hour"}, {"chkLogResult", "&Log result automatically"},
      {"chkShowScramble", "Show scr&amble"}, {"chkInspection", "WCA &inspection (15 s)"},
      {"Label1", "Twistwatch"}, {"Label2", "Version 1.0"}, {"fraAbout", "About"},
  };
  for (const Case& c : captions) EXPECT_EQ(Text(window.Control(c.name)), c.text) << c.name;
  EXPECT_EQ(Text(window.Control("Label3")).rfind("This software used to count", 0), 0u);

  // Frame offset plus the control's own: Image1 lies in Frame1 in fraAbout.
  RECT image;
  GetWindowRect(window.Control("Image1"), &image);
  MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&image), 2);
  EXPECT_EQ(image.left, window.Px(120 + 120 + 3840));
  EXPECT_EQ(image.top, window.Px(600 + 720 + 550));

  // The z-order is the tab order: Tab walks the Setup panel as designed.
  window.optSetup.SetValue(true);
  std::vector<std::string> order;
  for (HWND child = GetWindow(window.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLongPtrA(child, GWL_STYLE) & WS_TABSTOP) order.push_back(Text(child));
  }
  ASSERT_GE(order.size(), 7u);
  EXPECT_EQ(order[0], "&Log result automatically");
  EXPECT_EQ(order[1], "Show &hour");
  EXPECT_EQ(order[2], "E&xit");
  EXPECT_EQ(order[3], "&Setup");  // the selected option button alone
  EXPECT_EQ(std::count(order.begin(), order.end(), "&Result") + std::count(order.begin(), order.end(), "A&bout"), 0);
  // The designed order ends at Remove Selected; the added Setup boxes come after it.
  EXPECT_EQ(std::vector<std::string>(order.end() - 3, order.end()),
            (std::vector<std::string>{"Remove &Selected", "Show scr&amble", "WCA &inspection (15 s)"}));

  const LOGFONTA title = FontOf(window.Control("Label1"));
  EXPECT_EQ(title.lfWeight, FW_BOLD);
  EXPECT_EQ(title.lfHeight, -MulDiv(2025, window.Dpi(), 7200));
  EXPECT_EQ(GetWindowLongPtrA(window.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, WS_EX_DLGMODALFRAME);
  EXPECT_EQ(GetWindowLongPtrA(window.Handle(), GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
}

TEST_F(OptionsWindowTest, AccessKeysWorkFromAnywhereInTheWindow) {
  OptionsWindow& window = LoadOptions("");
  window.Show();
  SetFocus(window.Control("cmdExit"));
  const auto altKey = [&](char letter) {
    MSG msg{window.Control("cmdExit"), WM_SYSCHAR, static_cast<WPARAM>(letter), 1 << 29, 0, {0, 0}};
    return IsDialogMessageA(window.Handle(), &msg);
  };
  EXPECT_TRUE(altKey('r'));
  EXPECT_EQ(window.Caption(), "Twistwatch | Result");
  EXPECT_TRUE(altKey('b'));
  EXPECT_EQ(window.Caption(), "Twistwatch | About");
  EXPECT_TRUE(altKey('x'));
  EXPECT_FALSE(OptionsWindowLoaded());
  EXPECT_EQ(Setting("Last Frame"), "About");
}

TEST_F(OptionsWindowTest, AClickWhereTwoLinksTouchOpensTheOneTheHoverEmphasises) {
  OptionsWindow& window = LoadOptions("");
  window.Show();
  // lblURL1 is stacked in front of lblURL3 on the row where their boxes meet.
  RECT mail, home, row;
  GetWindowRect(window.Control("lblURL3"), &mail);
  GetWindowRect(window.Control("lblURL1"), &home);
  ASSERT_TRUE(IntersectRect(&row, &mail, &home)) << "the two links no longer touch";
  ASSERT_TRUE(SetCursorPos((row.left + row.right) / 2, row.top));
  // Real input: the system finds the window under the pointer for the move and the click.
  SendMouse(MOUSEEVENTF_MOVE);
  ASSERT_TRUE(PumpUntil([&] { return window.LinkBold(0); }));
  EXPECT_FALSE(window.LinkBold(2));
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !opened.empty(); }));
  EXPECT_EQ(opened, (std::vector<std::string>{links::kHomePage}));
}

TEST_F(OptionsWindowTest, AddedSwitchesLoadFromExactValuesAndLeaveTheFileAsItWas) {
  const std::string designed = storage::DefaultSettingsText(TW_VERSION_MAJOR, TW_VERSION_MINOR);
  struct Case {
    std::string file;
    int scramble, inspection;
  };
  const Case cases[] = {
      {designed, 0, 0},  // the first start's file has neither key: both read as Disabled
      {Settings("Countdown=Enabled\r\nShow Scramble=Enabled\r\nInspection=Enabled\r\n"), 1, 1},
      {Settings("Countdown=Enabled\r\nShow Scramble=Disabled\r\nInspection=Enabled\r\n"), 0, 1},
      {Settings("Countdown=Enabled\r\nShow Scramble=enabled\r\nInspection=Yes\r\n"), 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    OptionsWindow& window = LoadOptions(c.file);
    EXPECT_EQ(window.chkShowScramble.Value(), c.scramble);
    EXPECT_EQ(window.chkInspection.Value(), c.inspection);
    EXPECT_EQ(ReadFileBytes(Path("Setting.ini")), c.file);
    TearDown();
    SetUp();
  }
}

TEST_F(OptionsWindowTest, AddedSwitchesWriteTheirKeysAtOnceByClickAndByAccessKey) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Setup\r\n"));
  window.Show();
  SetFocus(window.Control("chkLogResult"));
  const auto altKey = [&](char letter) {
    MSG msg{GetFocus(), WM_SYSCHAR, static_cast<WPARAM>(letter), 1 << 29, 0, {0, 0}};
    return IsDialogMessageA(window.Handle(), &msg);
  };
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
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(Setting(step.key), step.value) << step.key;
  }
  EXPECT_EQ(window.chkShowScramble.Value(), 1);
  EXPECT_EQ(window.chkInspection.Value(), 0);
}

TEST_F(OptionsWindowTest, SetupPanelTabsThroughTheAddedBoxesAfterTheDesignedOnes) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Setup\r\n"));
  window.Show();
  std::vector<std::string> walk;
  HWND at = window.Control("chkLogResult");
  for (int step = 0; step < 8; ++step, at = GetNextDlgTabItem(window.Handle(), at, FALSE)) walk.push_back(Text(at));
  EXPECT_EQ(walk, (std::vector<std::string>{"&Log result automatically", "Show &hour", "E&xit", "&Setup",
                                            "3 seconds &countdown before start the counter", "Show scr&amble",
                                            "WCA &inspection (15 s)", "&Log result automatically"}));
}

TEST_F(OptionsWindowTest, SetupPanelAccessLettersAreUnique) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Setup\r\n"));
  std::vector<char> letters;
  for (HWND child = GetWindow(window.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::string text = Text(child);
    const std::size_t amp = text.find('&');
    if (!Shown(child) || amp == std::string::npos || amp + 1 >= text.size()) continue;
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[amp + 1])));
    EXPECT_EQ(std::count(letters.begin(), letters.end(), letter), 0) << text;
    letters.push_back(letter);
  }
  EXPECT_EQ(letters.size(), 9u);  // three options, Exit, three designed boxes, two added
}

// Every box of the Setup panel, designed or added, lies inside the frame with room for
// its caption on one line (two for the countdown box), and no two overlap.
TEST_F(OptionsWindowTest, SetupBoxesFitTheirCaptionsInsideTheFrameWithoutOverlap) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Setup\r\n"));
  RECT frame;
  GetWindowRect(window.Control("fraSetup"), &frame);
  const char* boxes[] = {"chkLogResult", "chkShowHour", "chk3SecCD", "chkShowScramble", "chkInspection"};
  std::vector<RECT> placed;
  for (const char* name : boxes) {
    SCOPED_TRACE(name);
    HWND box = window.Control(name);
    RECT r;
    GetWindowRect(box, &r);
    EXPECT_TRUE(Shown(box));
    EXPECT_GT(r.left, frame.left);
    EXPECT_LT(r.right, frame.right);
    EXPECT_GT(r.top, frame.top);
    EXPECT_LT(r.bottom, frame.bottom);
    for (const RECT& other : placed) {
      RECT both;
      EXPECT_FALSE(IntersectRect(&both, &r, &other));
    }
    placed.push_back(r);

    const std::string caption = Text(box);
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)));
    const bool twoLines = std::string(name) == "chk3SecCD";
    const int textWidth = (r.right - r.left) - GetSystemMetrics(SM_CXMENUCHECK) - window.Px(60);
    RECT text{0, 0, twoLines ? textWidth : 0, 0};
    DrawTextA(dc, caption.c_str(), -1, &text, DT_CALCRECT | (twoLines ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    EXPECT_LE(text.right, textWidth) << "caption clipped";
    EXPECT_LE(text.bottom, r.bottom - r.top) << "caption clipped";
  }
}

// The program's UI thread is in a COM apartment from its start; a test decoding a
// picture puts its thread in one the same way.
struct ComApartment {
  ComApartment() : hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  HRESULT hr;
};

TEST(AboutPicture, DecodesTheFirstFrameAtTheDesignedSize) {
  const ComApartment com;
  ASSERT_TRUE(SUCCEEDED(com.hr));
  std::string root = TW_SOURCE_DIR;
  if (!root.empty() && root[0] == '/') root = "Z:" + root;
  const std::string gif = ReadFileBytes(root + "/resources/about.gif");
  ASSERT_FALSE(gif.empty());
  const options::Bitmap picture = options::DecodeStillPicture(gif.data(), gif.size(), 96, 32, RGB(255, 255, 255));
  ASSERT_TRUE(picture);
  BITMAP info{};
  GetObjectA(picture.get(), sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 96);
  EXPECT_EQ(info.bmHeight, 32);
  // Something is drawn: not every pixel is the white it was laid on.
  const auto* bits = static_cast<const BYTE*>(info.bmBits);
  bool drawn = false;
  for (int i = 0; i < info.bmWidthBytes * info.bmHeight && !drawn; ++i) drawn = bits[i] != 255;
  EXPECT_TRUE(drawn);
  EXPECT_FALSE(options::DecodeStillPicture("GIF89a", 6, 96, 32, RGB(255, 255, 255)));
}

}  // namespace
}  // namespace tw
