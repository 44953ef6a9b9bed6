#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <oleacc.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "docking/win32/docking.h"
#include "options/win32/comment_box.h"
#include "options/win32/hyperlink.h"
#include "options/win32/options_window.h"
#include "options/win32/session_box.h"
#include "options/win32/session_exchange.h"
#include "options/win32/solve_box.h"
#include "options/win32/work_progress.h"
#include "resources/options_layout.h"
#include "results/result_book.h"
#include "results/solve.h"
#include "results/win32/session_shelf.h"
#include "scramble/event_scrambler.h"
#include "stats/win32/statistics_window.h"
#include "storage/settings_text.h"
#include "storage/win32/settings.h"
#include "storage/win32/settings_file.h"
#include "storage/win32/wide_path.h"
#include "tests/win32/app_fixture.h"
#include "tests/win32/fake_log_store.h"
#include "tests/win32/message_pump.h"
#include "toolkit/win32/form.h"

namespace tw {
namespace {

namespace lo = layout::options;
using testing_support::AppFolderTest;
using testing_support::FakeLogStore;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

// Stands where the main window stands: the window F1 and F2 come from.
FormDesign OwnerDesign() {
  return FormDesign{"Twistwatch", 7800, 1500, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0x00FFFFFF,
                    FontSpec{"Tahoma", 825, FW_NORMAL}, 0, true};
}

// A switch the settings store said was written, with the key's value in the file then.
struct SettingChange {
  std::string key, stored;
  bool operator==(const SettingChange&) const = default;
};

// Hears the store as the main window does, noting each key with its text in the file.
class ChangeRecorder : public settings::SettingsWatcher {
 public:
  explicit ChangeRecorder(std::vector<SettingChange>& changes) : changes_(changes) {}
  void OnSettingChanged(std::string_view key) override {
    const std::string name(key);
    changes_.push_back({name, settings::Store().ReadMadeKey(name).value_or("<missing>")});
  }

 private:
  std::vector<SettingChange>& changes_;
};

// Acts inside a modal loop the test is about to enter: `step` runs once the loop
// pumps (a timer's first tick), and should the test's own close go astray, the
// window `open` names (null when none) is closed after 5 s, so no test waits for
// ever or closes a later test's window. One at a time; the destructor ends it.
class WhileModal {
 public:
  WhileModal(std::function<void()> step, std::function<HWND()> open) {
    step_ = std::move(step);
    open_ = std::move(open);
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      if (step_) step_();
    });
    rescue_ = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      if (HWND window = open_ ? open_() : nullptr) PostMessageA(window, WM_CLOSE, 0, 0);
    });
  }
  ~WhileModal() {
    KillTimer(nullptr, rescue_);
    step_ = nullptr;
    open_ = nullptr;
  }
  WhileModal(const WhileModal&) = delete;
  WhileModal& operator=(const WhileModal&) = delete;

 private:
  static inline std::function<void()> step_;
  static inline std::function<HWND()> open_;
  UINT_PTR rescue_ = 0;
};

class OptionsWindowTest : public AppFolderTest {
 protected:
  void SetUp() override {
    AppFolderTest::SetUp();
    options::SetHyperlinkOpenerForTesting([this](const std::string& target) { opened.push_back(target); });
    settings::Store().AddWatcher(watcher);
  }

  void TearDown() override {
    UnloadOptionsWindow();
    SetOptionsResultBook(nullptr);
    settings::Store().RemoveWatcher(watcher);
    if (owner) owner->Unload();
    owner.reset();
    book.reset();
    store.reset();
    changes.clear();
    options::SetHyperlinkOpenerForTesting(nullptr);
    AppFolderTest::TearDown();
  }

  // The program as it starts: `settings` as Setting.ini, the book read from a log
  // holding `results` (none: no log) as `prepare` leaves it, and the window the
  // options window belongs to.
  void Start(const std::string& settings, const std::vector<std::string>& results = {},
             const std::function<void(FakeLogStore&)>& prepare = nullptr) {
    if (!settings.empty()) WriteFileBytes(Path("Setting.ini"), settings);
    store = std::make_unique<FakeLogStore>();
    if (!results.empty()) store->SetFile(results);
    if (prepare) prepare(*store);
    book = std::make_unique<results::ResultBook>(*store);
    book->Load();
    SetOptionsResultBook(book.get());
    owner = std::make_unique<Form>(OwnerDesign());
    ASSERT_TRUE(owner->Load());
  }

  // Then the options window, loaded hidden as touching one of its controls does.
  OptionsWindow& LoadOptions(const std::string& settings, const std::vector<std::string>& results = {}) {
    Start(settings, results);
    return frmMore(owner->Handle());
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

  std::unique_ptr<FakeLogStore> store;
  std::unique_ptr<results::ResultBook> book;
  std::unique_ptr<Form> owner;
  std::vector<SettingChange> changes;
  ChangeRecorder watcher{changes};
  std::vector<std::string> opened;
};

struct ComApartment {
  ComApartment() : hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  HRESULT hr;
};

// A control by a name the test holds as text (a table's row): a name the window does
// not have fails the test.
HWND Named(const OptionsWindow& window, std::string_view name) {
  const int index = lo::IndexOf(name);
  EXPECT_GE(index, 0) << "no control named " << name;
  return window.ControlOf(index);
}

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
  constexpr lo::ControlName kFrames[] = {"fraAbout", "fraResult", "fraSetup", "fraPractice", "fraSession"};
  for (const lo::ControlName frame : kFrames) {
    // The Practice frame goes with the Setup panel and the Sessions frame with the
    // Result panel; the designed window, no panel chosen, has neither.
    const std::string name = lo::kAllControls[static_cast<std::size_t>(frame.index)].name;
    const std::string chosenFrame = want.frame;
    const bool added = name == "fraPractice" || name == "fraSession";
    const bool chosen = added ? (name == "fraPractice" && chosenFrame == "fraSetup") ||
                                    (name == "fraSession" && chosenFrame == "fraResult")
                              : chosenFrame.empty() || name == chosenFrame;
    EXPECT_EQ(window.FrameVisible(frame), chosen) << name;
    EXPECT_EQ(window.FrameEnabled(frame), chosen) << name;
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
      // The Result panel has grown by the Sessions frame (1215) and its gap (120), the
      // Setup panel by the Practice frame (1935) and its gap (120).
      {"Last Frame=Result\r\n", "optResult", {"Twistwatch | Result", 4125 + 1335, 3600 + 1335, "fraResult"}},
      {"Last Frame=Setup\r\n", "optSetup", {"Twistwatch | Setup", 2445 + 2055, 1920 + 2055, "fraSetup"}},
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
  for (const char* covered : {"fraSetup", "chkLogResult", "chk3SecCD", "fraResult", "lstResult", "cmdRemove",
                              "fraPractice", "fraSession", "cboSession", "cmdImport"}) {
    EXPECT_FALSE(Shown(Named(window, covered))) << covered;
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
       {"Twistwatch | Setup", 2445 + 2055, 1920 + 2055, "fraSetup"},
       {"fraSetup", "chkLogResult", "chkShowHour", "chk3SecCD", "fraPractice", "chkShowScramble", "chkAnyKeyStops",
        "chkInspection", "lblHoldToStart", "cboHoldToStart"},
       {"fraAbout", "lblURL1", "Frame1", "Image1", "fraResult", "lstResult", "cmdReset", "fraSession",
        "cboSession", "cmdExport"}},
      {&OptionsWindow::optResult,
       {"Twistwatch | Result", 4125 + 1335, 3600 + 1335, "fraResult"},
       {"fraResult", "lstResult", "cmdRemove", "cmdReset", "fraSession", "lblSession"},
       {"fraAbout", "Label1", "fraSetup", "chk3SecCD", "fraPractice", "cboHoldToStart"}},
      {&OptionsWindow::optAbout,
       {"Twistwatch | About", 5085, 4560, "fraAbout"},
       {"fraAbout", "Label1", "Label2", "Frame1", "Label3", "Image1", "lblURL3"},
       {"fraSetup", "chkShowHour", "fraResult", "cmdRemove", "fraPractice", "chkInspection", "fraSession",
        "cmdImport"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.panel.caption);
    (window.*c.option).SetValue(true);
    ExpectPanel(window, c.panel);
    for (const char* name : c.shown) {
      EXPECT_TRUE(Shown(Named(window, name))) << name;
      EXPECT_TRUE(IsWindowEnabled(Named(window, name))) << name;
    }
    for (const char* name : c.hidden) {
      EXPECT_FALSE(Shown(Named(window, name))) << name;
      EXPECT_FALSE(IsWindowEnabled(Named(window, name))) << name;
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

  frmMore(owner->Handle());
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
  static void Run(HWND owner, std::function<void()> atShow) {
    step = std::move(atShow);
    SetTimer(nullptr, 0, 20, &Fire);
    ShowOptionsWindow(owner);
    step = nullptr;
  }
};

TEST_F(OptionsWindowTest, F1AfterF2ShowsTheSameInstanceWithoutLoadingAgainButWithNewResults) {
  Start(Settings("Last Frame=Result\r\nShow Hour=Disabled\r\n"), {"#1"});
  ToggleShowHour(owner->Handle());  // F2: loads hidden, then turns the hours on
  OptionsWindow& window = *OptionsWindowInstance();
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(window.chkShowHour.Value(), 1);
  HWND loadedHandle = window.Handle();

  // Neither the file nor a new result may make F1 run the load again...
  storage::WriteINI("General Settings", "Last Frame", "Setup", Path("Setting.ini"));
  book->Append("#2");  // a solve logged while the window waited hidden
  bool checked = false;
  ModalScript::Run(owner->Handle(), [&] {
    checked = true;
    EXPECT_EQ(window.Handle(), loadedHandle);
    EXPECT_TRUE(window.Visible());
    EXPECT_FALSE(IsWindowEnabled(owner->Handle())) << "the main window takes no keys while it is open";
    EXPECT_EQ(window.Caption(), "Twistwatch | Result");
    // ...but the Result panel lists every logged result, so a Remove keeps them all.
    EXPECT_EQ(window.lstResult.Items(), (std::vector<std::string>{"#1", "#2"}));
    window.onCmdExitClick();
  });
  EXPECT_TRUE(checked);
  EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
  EXPECT_FALSE(OptionsWindowLoaded());
  EXPECT_EQ(Setting("Last Frame"), "Result");
}

TEST_F(OptionsWindowTest, F1OnAFreshStartShowsTheWindowCentredAndOwnedByTheMainWindow) {
  Start("");
  bool checked = false;
  ModalScript::Run(owner->Handle(), [&] {
    checked = true;
    OptionsWindow& window = *OptionsWindowInstance();
    EXPECT_EQ(GetWindow(window.Handle(), GW_OWNER), owner->Handle());
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
    Start(Settings("Last Frame=Setup\r\n"));
    owner->Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == owner->Handle(); }));
    DestroyWatch::main = owner->Handle();
    DestroyWatch::seen = false;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &DestroyWatch::Hook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    {
      const WhileModal closing(
          [&] {
            OptionsWindow& window = *OptionsWindowInstance();
            DestroyWatch::watched = window.Handle();
            c.close(window);
          },
          [] { return OptionsWindowLoaded() ? OptionsWindowInstance()->Handle() : nullptr; });
      ShowOptionsWindow(owner->Handle());
    }
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(DestroyWatch::seen);
    EXPECT_TRUE(DestroyWatch::mainEnabled) << "the main window must take input again before the window goes";
    EXPECT_EQ(DestroyWatch::active, owner->Handle());
    EXPECT_EQ(GetActiveWindow(), owner->Handle());
    EXPECT_EQ(GetForegroundWindow(), owner->Handle());
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
  Start("");
  ToggleShowHour(owner->Handle());
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

void PrintTo(const SettingChange& change, std::ostream* os) { *os << change.key << "=" << change.stored; }

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

std::vector<std::string> Lines(int count) {
  std::vector<std::string> lines;
  for (int i = 1; i <= count; ++i) lines.push_back(std::string(1, '#').append(std::to_string(i)));
  return lines;
}

TEST_F(OptionsWindowTest, RemoveKeepsTheListTheBookAndTheLogInStep) {
  struct Case {
    const char* what;
    int count;
    int selected;  // -1 for none
    std::vector<std::string> left;
    int selectedAfter;  // the line that took the removed one's place, or the new last
  };
  const Case cases[] = {
      {"middle", 3, 1, {"#1", "#3"}, 1},
      {"first", 3, 0, {"#2", "#3"}, 0},
      {"last", 3, 2, {"#1", "#2"}, 1},
      {"no selection", 3, -1, {"#1", "#2", "#3"}, -1},  // written again as it is
      {"only", 1, 0, {}, -1},
      {"no selection in an empty list", 0, -1, {}, -1},  // the empty log's file goes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OptionsWindow& window = LoadOptions("", Lines(c.count));
    if (c.count == 0) store->SetFile({});
    if (c.selected >= 0) window.lstResult.SetSelectedIndex(c.selected);
    window.onCmdRemoveClick();
    EXPECT_EQ(window.lstResult.Items(), c.left);
    EXPECT_EQ(book->Lines(), c.left);
    EXPECT_EQ(store->written, 1);
    EXPECT_EQ(store->exists, !c.left.empty());
    EXPECT_EQ(store->lines, c.left);
    EXPECT_EQ(window.lstResult.SelectedIndex(), c.selectedAfter);
    EXPECT_EQ(SendMessageA(window.Control("lstResult"), LB_GETCURSEL, 0, 0),
              c.selectedAfter < 0 ? LB_ERR : static_cast<LRESULT>(c.selectedAfter));
    TearDown();
    SetUp();
  }
}

// A second Remove takes the next line down, never the newest solve far below.
TEST_F(OptionsWindowTest, RemoveTwiceTakesTheLineThatMovedIntoPlace) {
  OptionsWindow& window = LoadOptions("", Lines(4));
  window.lstResult.SetSelectedIndex(1);
  window.onCmdRemoveClick();
  window.onCmdRemoveClick();
  EXPECT_EQ(book->Lines(), (std::vector<std::string>{"#1", "#4"}));
  EXPECT_EQ(store->lines, (std::vector<std::string>{"#1", "#4"}));
  EXPECT_EQ(window.lstResult.SelectedIndex(), 1);
}

TEST_F(OptionsWindowTest, RemoveOfALongLogWritesEveryEntry) {
  OptionsWindow& window = LoadOptions("", Lines(1006));
  window.lstResult.SetSelectedIndex(0);
  window.onCmdRemoveClick();
  std::vector<std::string> left = Lines(1006);
  left.erase(left.begin());
  ASSERT_EQ(left.size(), 1005u);
  EXPECT_EQ(window.lstResult.Items(), left);
  EXPECT_EQ(store->lines, left);
  EXPECT_EQ(window.lstResult.SelectedIndex(), 0);
}

// The log is written on a thread of its own: what a Remove selects waits for the
// outcome of its save, and a line the user picked meanwhile stays picked.
TEST_F(OptionsWindowTest, TheSelectionAfterARemoveWaitsForItsSave) {
  struct Case {
    const char* what;
    bool fails;
    bool userPicks;
    int selected;
  };
  const Case cases[] = {
      {"saved", false, false, 1},
      {"not saved", true, false, -1},
      {"a line picked meanwhile", false, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OptionsWindow& window = LoadOptions("", Lines(3));
    store->holdSaves = true;
    window.lstResult.SetSelectedIndex(1);
    window.onCmdRemoveClick();
    EXPECT_EQ(window.lstResult.Items(), (std::vector<std::string>{"#1", "#3"}));
    EXPECT_EQ(window.lstResult.SelectedIndex(), -1) << "nothing is selected while the save is on its way";
    if (c.userPicks) window.lstResult.SetSelectedIndex(0);
    store->readOnly = c.fails;
    store->Release();
    EXPECT_EQ(window.lstResult.SelectedIndex(), c.selected);
    EXPECT_EQ(book->State().failed, c.fails);
    TearDown();
    SetUp();
  }
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
    if (!c.withFile) store->DeleteFile();
    answer = c.answer;
    window.onCmdResetClick();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Are you sure want to reset the result?");
    EXPECT_EQ(boxes[0].title, "Twistwatch");
    EXPECT_EQ(boxes[0].style, 36u);
    const std::vector<std::string> expected = c.cleared ? std::vector<std::string>{} : Lines(3);
    EXPECT_EQ(window.lstResult.Items(), expected);
    EXPECT_EQ(book->Lines(), expected);
    EXPECT_EQ(store->exists, c.withFile && !c.cleared);
    EXPECT_EQ(store->written, c.cleared ? 1 : 0);
    TearDown();
    SetUp();
  }
}

TEST_F(OptionsWindowTest, ResetWithALogThatCannotBeDeletedClearsTheListAndSaysSo) {
  OptionsWindow& window = LoadOptions("", Lines(2));
  store->readOnly = true;
  window.onCmdResetClick();
  EXPECT_TRUE(window.lstResult.Items().empty());
  EXPECT_TRUE(book->Lines().Empty());
  EXPECT_TRUE(book->State().failed) << "the main window shows the failure";
  EXPECT_EQ(store->lines, Lines(2));
  EXPECT_TRUE(OptionsWindowLoaded());
}

// A Remove that cannot be saved leaves nothing selected and the file as it was.
TEST_F(OptionsWindowTest, ARemoveThatCannotBeSavedSelectsNothing) {
  OptionsWindow& window = LoadOptions("", Lines(3));
  store->readOnly = true;
  window.lstResult.SetSelectedIndex(1);
  window.onCmdRemoveClick();
  store->readOnly = false;
  EXPECT_EQ(window.lstResult.Items(), (std::vector<std::string>{"#1", "#3"}));
  EXPECT_EQ(window.lstResult.SelectedIndex(), -1);
  EXPECT_EQ(SendMessageA(window.Control("lstResult"), LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_TRUE(book->State().failed);
  EXPECT_EQ(store->lines, Lines(3));

  window.lstResult.SetSelectedIndex(0);  // writable again: the next Remove saves and selects
  window.onCmdRemoveClick();
  EXPECT_FALSE(book->State().failed);
  EXPECT_EQ(store->lines, (std::vector<std::string>{"#3"}));
  EXPECT_EQ(window.lstResult.SelectedIndex(), 0);
}

// A log that could not be read at start-up is neither deleted when the list the user
// sees runs empty nor overwritten: its lines come back in front once it can be read.
TEST_F(OptionsWindowTest, EmptyingTheShownListNeverDeletesALogThatWasNotRead) {
  Start(Settings("Countdown=Disabled\r\n"), Lines(2), [](FakeLogStore& log) { log.unreadable = true; });
  ASSERT_TRUE(book->State().unread);
  book->Append("#new");
  OptionsWindow& window = frmMore(owner->Handle());
  window.lstResult.SetSelectedIndex(0);
  window.onCmdRemoveClick();
  EXPECT_TRUE(window.lstResult.Items().empty());
  window.onCmdResetClick();
  EXPECT_TRUE(store->exists);
  EXPECT_EQ(store->lines, Lines(2));

  store->unreadable = false;
  book->Append("#later");
  EXPECT_EQ(store->lines, (std::vector<std::string>{"#1", "#2", "#later"}));
  EXPECT_EQ(window.lstResult.Items(), book->Lines());
}

// The panel shows the book as it is now, whoever changed it and while it waits hidden:
// a solve logged, a line removed elsewhere, the log merged with an outside change, a
// book of another session.
TEST_F(OptionsWindowTest, TheResultListFollowsTheBook) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), Lines(3));
  window.lstResult.SetSelectedIndex(1);
  book->Append("#4");
  EXPECT_EQ(window.lstResult.Items(), Lines(4));
  EXPECT_EQ(window.lstResult.SelectedIndex(), 1) << "a new line leaves the selection alone";
  book->Remove(0);
  EXPECT_EQ(window.lstResult.Items(), (std::vector<std::string>{"#2", "#3", "#4"}));
  EXPECT_EQ(window.lstResult.SelectedIndex(), 0) << "the selection stays on its line";
  book->Remove(0);
  EXPECT_EQ(window.lstResult.SelectedIndex(), -1) << "and goes with it";

  store->SetFile({"#0"});  // another program rewrote the log
  book->Append("#5");
  EXPECT_EQ(window.lstResult.Items(), book->Lines());
  EXPECT_EQ(window.lstResult.Items().front(), "#0");

  FakeLogStore otherLog(std::vector<std::string>{"#x", "#y"});
  results::ResultBook other(otherLog);
  other.Load();
  SetOptionsResultBook(&other);
  EXPECT_EQ(window.lstResult.Items(), (std::vector<std::string>{"#x", "#y"}));
  book->Append("#6");
  EXPECT_EQ(window.lstResult.Count(), 2) << "the book let go follows no more";
  SetOptionsResultBook(nullptr);
  EXPECT_EQ(window.lstResult.Count(), 0);
  window.onCmdRemoveClick();  // no book: nothing to remove, nothing happens
}

// A snapshot of a list box's client area, as it paints it.
std::vector<COLORREF> Snapshot(HWND control) {
  RECT r;
  GetClientRect(control, &r);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
  SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < r.bottom; ++y) {
    for (int x = 0; x < r.right; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

// The list holds no lines of its own, yet it looks, scrolls, takes keys and reads out
// like a list box with text: drawn beside one holding the same lines, every pixel matches.
TEST_F(OptionsWindowTest, TheResultListLooksAndReadsLikeAListBoxWithText) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), Lines(40));
  HWND list = window.Control("lstResult");
  // Made without data; said to have strings once made, so the system converts its text.
  EXPECT_EQ(GetWindowLongPtrA(list, GWL_STYLE) & (LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS),
            LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
  EXPECT_TRUE(IsWindowUnicode(list));
  const lo::ControlRow& row = lo::Row("lstResult");
  const lo::Point at = lo::ClientOrigin(row);
  HWND plain = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                               WS_CHILD | LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                               window.Px(at.x), window.Px(at.y), window.Px(row.width), window.Px(row.height),
                               window.Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(plain, nullptr);
  SendMessageA(plain, WM_SETFONT, static_cast<WPARAM>(SendMessageA(list, WM_GETFONT, 0, 0)), FALSE);
  for (const std::string& line : Lines(40)) SendMessageA(plain, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageA(plain, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0)), 0);

  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), SendMessageA(plain, LB_GETITEMHEIGHT, 0, 0));
  RECT mine, theirs;
  GetWindowRect(list, &mine);
  GetWindowRect(plain, &theirs);
  EXPECT_EQ(mine.bottom - mine.top, theirs.bottom - theirs.top);
  EXPECT_EQ(mine.right - mine.left, theirs.right - theirs.left);

  const auto scrollOf = [](HWND box) {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(box, SB_VERT, &info);
    return std::vector<int>{info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
  };
  struct View {
    int selected, top;
    bool enabled;
  };
  for (const View& v : {View{-1, 0, true}, View{2, 0, true}, View{30, 25, true}, View{5, 3, false}}) {
    SCOPED_TRACE(testing::Message() << "selected " << v.selected << ", top " << v.top);
    for (HWND box : {list, plain}) {
      EnableWindow(box, v.enabled);
      SendMessageA(box, LB_SETCURSEL, static_cast<WPARAM>(v.selected), 0);
      SendMessageA(box, LB_SETTOPINDEX, static_cast<WPARAM>(v.top), 0);
    }
    EXPECT_EQ(Snapshot(list), Snapshot(plain));
    EXPECT_EQ(scrollOf(list), scrollOf(plain));
  }

  // With the focus, its rectangle too.
  window.Show();
  for (HWND box : {list, plain}) {
    EnableWindow(box, TRUE);
    SendMessageA(box, LB_SETCURSEL, 7, 0);
    SendMessageA(box, LB_SETTOPINDEX, 4, 0);
  }
  SetFocus(plain);
  const std::vector<COLORREF> focused = Snapshot(plain);
  SetFocus(list);
  EXPECT_EQ(Snapshot(list), focused);

  // Keys move the selection and scroll the list.
  SendMessageA(list, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(window.lstResult.SelectedIndex(), 39);
  EXPECT_GT(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 20);
  SendMessageA(list, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(window.lstResult.SelectedIndex(), 38);

  // A reader asking for a line's text gets the book's line, in its own character set.
  ASSERT_TRUE(book->Replace(37, "#38 " + storage::Narrow(L"caf\u00E9", CP_ACP)));  // in the log's code page
  const std::string ansi = std::string(book->Line(37));
  const std::wstring wide = storage::Widen(ansi, CP_ACP);
  ASSERT_EQ(wide, L"#38 caf\u00E9") << "code page " << GetACP();
  std::string text(ansi.size() + 1, 'x');
  EXPECT_GE(SendMessageA(list, LB_GETTEXTLEN, 37, 0), static_cast<LRESULT>(ansi.size()));
  EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 37, reinterpret_cast<LPARAM>(text.data())), static_cast<LRESULT>(ansi.size()));
  EXPECT_EQ(text, ansi + '\0');
  std::wstring wideText(wide.size() + 1, L'x');
  EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 37, 0), static_cast<LRESULT>(wide.size()));
  EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 37, reinterpret_cast<LPARAM>(wideText.data())),
            static_cast<LRESULT>(wide.size()));
  EXPECT_EQ(wideText, wide + L'\0') << "UTF-16 to a Unicode caller, never the log's bytes";
  EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 40, 0), LB_ERR);
  EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 40, reinterpret_cast<LPARAM>(wideText.data())), LB_ERR);
  // And the window is named by its caption, as a reader asks for it.
  {
    const ComApartment com;
    using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    const auto fromWindow = reinterpret_cast<FromWindow>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("oleacc.dll"), "AccessibleObjectFromWindow")));
    ASSERT_NE(fromWindow, nullptr);
    IAccessible* accessible = nullptr;
    ASSERT_EQ(fromWindow(window.Handle(), OBJID_WINDOW, __uuidof(IAccessible), reinterpret_cast<void**>(&accessible)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    EXPECT_EQ(accessible->get_accName(self, &name), S_OK);
    EXPECT_EQ(std::wstring(name ? name : L""), L"Twistwatch | Result");
    SysFreeString(name);
    accessible->Release();
  }

  // Through a DPI change, as the form takes a box with text through one: its new
  // font, then its designed box again.
  RECT suggested{0, 0, 900, 900};
  SendMessageA(window.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  ASSERT_EQ(window.Dpi(), 144);
  SendMessageA(plain, WM_SETFONT, static_cast<WPARAM>(SendMessageA(list, WM_GETFONT, 0, 0)), FALSE);
  MoveWindow(plain, window.Px(at.x), window.Px(at.y), window.Px(row.width), window.Px(row.height), FALSE);
  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), SendMessageA(plain, LB_GETITEMHEIGHT, 0, 0));
  GetWindowRect(list, &mine);
  GetWindowRect(plain, &theirs);
  EXPECT_EQ(mine.bottom - mine.top, theirs.bottom - theirs.top);
  for (HWND box : {list, plain}) SendMessageA(box, LB_SETTOPINDEX, 10, 0);
  EXPECT_EQ(Snapshot(list), Snapshot(plain));
  DestroyWindow(plain);
}

TEST_F(OptionsWindowTest, LinksOpenTheirTargetsByClickAndByKey) {
  OptionsWindow& window = LoadOptions("");
  const auto command = [&](const char* name) {
    HWND link = Named(window, name);
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
      {"cmdExit", "E&xit"},   {"cmdRemove", "Re&move Selected"}, {"cmdReset", "R&eset"},
      {"chk3SecCD", "3 seconds &countdown before start the counter"},
      {"chkShowHour", "Show &hour"}, {"chkLogResult", "&Log result automatically"},
      {"chkShowScramble", "Show scr&amble"}, {"chkInspection", "WCA &inspection (15 s)"},
      {"chkAnyKeyStops", "Any &key stops the timer"}, {"lblHoldToStart", "Hold &to start:"}, {"fraPractice", "Practice"},
      {"fraSession", "Sessions"}, {"lblSession", "Sessi&on:"}, {"cmdNewSession", "&New..."},
      {"cmdRenameSession", "Ren&ame..."}, {"cmdDeleteSession", "&Delete..."}, {"cmdImport", "&Import..."},
      {"cmdExport", "Ex&port..."},
      {"Label1", "Twistwatch"}, {"Label2", "Version 1.0"}, {"fraAbout", "About"},
  };
  for (const Case& c : captions) EXPECT_EQ(Text(Named(window, c.name)), c.text) << c.name;
  EXPECT_EQ(Text(window.Control("Label3")).rfind("This software used to count", 0), 0u);

  // Frame offset plus the control's own: Image1 lies in Frame1 in fraAbout.
  RECT image;
  GetWindowRect(window.Control("Image1"), &image);
  MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&image), 2);
  EXPECT_EQ(image.left, window.Px(120 + 120 + 3840));
  EXPECT_EQ(image.top, window.Px(600 + 720 + 550));

  // The z-order is the tab order: the Setup frame, the Practice frame, Exit, the
  // selected option button alone, then the Result frame with Remove before Reset.
  window.optSetup.SetValue(true);
  std::vector<std::string> order;
  for (HWND child = GetWindow(window.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLongPtrA(child, GWL_STYLE) & WS_TABSTOP) order.push_back(Text(child));
  }
  ASSERT_GE(order.size(), 15u);
  EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 15),
            (std::vector<std::string>{"&Log result automatically", "Show &hour",
                                      "3 seconds &countdown before start the counter", "Show scr&amble",
                                      "Any &key stops the timer", "WCA &inspection (15 s)", "Off", "Keyboard",
                                      "Default sound input", "Show a&verages", "E&xit", "&Setup", "",
                                      "Re&move Selected", "R&eset"}));
  EXPECT_EQ(std::count(order.begin(), order.end(), "&Result") + std::count(order.begin(), order.end(), "A&bout"), 0);

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

TEST_F(OptionsWindowTest, PracticeSwitchesLoadFromExactValuesAndLeaveTheFileAsItWas) {
  const std::string designed = storage::DefaultSettingsText(TW_VERSION_MAJOR, TW_VERSION_MINOR);
  struct Case {
    std::string file;
    int scramble, inspection, anyKey;
    std::string hold;  // the drop-down list's text
  };
  const Case cases[] = {
      // The first start's file has none of the keys: all off, nothing written.
      {designed, 0, 0, 0, "Off"},
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

// One letter, one control, in every panel: an Alt+letter never reaches a control the
// user did not mean (with "&Setup" and "Remove &Selected" both shown, every Alt+S
// removed a result).
TEST_F(OptionsWindowTest, AccessKeysAreUniqueInEveryPanel) {
  OptionsWindow& window = LoadOptions("");
  struct Case {
    OptionButton OptionsWindow::*option;
    std::size_t letters;
  };
  const Case cases[] = {
      {&OptionsWindow::optSetup, 13},  // options, Exit, three designed boxes, six practice switches
      {&OptionsWindow::optResult, 12},  // options, Exit, Remove, Reset, the session row's six
      {&OptionsWindow::optAbout, 4},
  };
  for (const Case& c : cases) {
    (window.*c.option).SetValue(true);
    SCOPED_TRACE(window.Caption());
    std::vector<char> letters;
    for (HWND child = GetWindow(window.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const std::string text = Text(child);
      const std::size_t amp = text.find('&');
      char kind[32] = {};
      GetClassNameA(child, kind, sizeof kind);
      const bool plainText = lstrcmpiA(kind, "Static") == 0 && (GetWindowLongPtrA(child, GWL_STYLE) & SS_NOPREFIX);
      if (!Shown(child) || plainText || amp == std::string::npos || amp + 1 >= text.size()) continue;
      const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[amp + 1])));
      EXPECT_EQ(std::count(letters.begin(), letters.end(), letter), 0) << text;
      letters.push_back(letter);
    }
    EXPECT_EQ(letters.size(), c.letters);
  }
}

// The width and height a control's text needs in its font, against its client box.
struct Fit {
  SIZE needed;
  SIZE room;
};

Fit TextFit(const OptionsWindow& window, HWND control, const lo::ControlRow& row) {
  RECT r;
  GetClientRect(control, &r);
  char text[512] = {};
  GetWindowTextA(control, text, sizeof text);
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  int room = r.right;
  UINT format = DT_CALCRECT | DT_SINGLELINE;
  if (row.kind == lo::Kind::CheckBox) {
    room -= GetSystemMetricsForDpi(SM_CXMENUCHECK, static_cast<UINT>(window.Dpi())) + window.Px(60);
    if (GetWindowLongPtrA(control, GWL_STYLE) & BS_MULTILINE) format = DT_CALCRECT | DT_WORDBREAK;
  } else if (row.kind == lo::Kind::CommandButton || row.kind == lo::Kind::OptionButton) {
    room -= 2 * GetSystemMetricsForDpi(SM_CXEDGE, static_cast<UINT>(window.Dpi())) + window.Px(30);
  } else if (row.kind == lo::Kind::DropDownList) {
    room -= GetSystemMetricsForDpi(SM_CXVSCROLL, static_cast<UINT>(window.Dpi())) + window.Px(60);
  }
  RECT box{0, 0, room, 0};
  DrawTextA(dc, text, -1, &box, format);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return Fit{SIZE{box.right, box.bottom}, SIZE{room, r.bottom}};
}

std::string PanelOf(const lo::ControlRow& row) {
  std::string frame = row.container;
  while (*lo::Row(frame).container) frame = lo::Row(frame).container;
  return frame;
}

// At the designed 96 DPI and after a move to a 144 DPI screen, every caption, label
// and list item is whole in its control, and no two of a frame's controls overlap.
TEST_F(OptionsWindowTest, EveryTextFitsItsControlAtEveryDpi) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Setup\r\n"));
  for (const int dpi : {96, 144}) {
    SCOPED_TRACE(testing::Message() << dpi << " DPI");
    if (dpi != window.Dpi()) {
      RECT suggested{0, 0, 900, 900};
      SendMessageA(window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
      ASSERT_EQ(window.Dpi(), dpi);
    }
    for (OptionButton OptionsWindow::*option : {&OptionsWindow::optSetup, &OptionsWindow::optResult,
                                                &OptionsWindow::optAbout}) {
      (window.*option).SetValue(true);
      std::vector<std::pair<std::string, RECT>> placed;
      for (int i = 0; i < lo::kAllControlCount; ++i) {
        const lo::ControlRow& row = lo::kAllControls[static_cast<std::size_t>(i)];
        HWND control = Named(window, row.name);
        if (!Shown(control)) continue;
        const bool text = row.kind == lo::Kind::CheckBox || row.kind == lo::Kind::FieldLabel ||
                          row.kind == lo::Kind::CommandButton || row.kind == lo::Kind::OptionButton ||
                          row.kind == lo::Kind::DropDownList || row.kind == lo::Kind::LinkLabel ||
                          (row.kind == lo::Kind::Label && row.align != lo::Align::Right);
        if (text) {
          const Fit fit = TextFit(window, control, row);
          EXPECT_LE(fit.needed.cx, fit.room.cx) << row.name << " cut at the right";
          EXPECT_LE(fit.needed.cy, fit.room.cy) << row.name << " cut at the bottom";
        }
        // The About panel's labels touch as designed; the other panels' controls stand apart.
        if (*row.container && row.kind != lo::Kind::Frame && PanelOf(row) != "fraAbout") {
          RECT r, frame;
          GetWindowRect(control, &r);
          GetWindowRect(Named(window, row.container), &frame);
          EXPECT_TRUE(r.left > frame.left && r.right < frame.right && r.top > frame.top && r.bottom <= frame.bottom)
              << row.name << " out of its frame";
          if (row.kind == lo::Kind::DropDownList) {
            RECT field;
            GetClientRect(control, &field);  // the closed list: its field only
            r.bottom = r.top + field.bottom;
          }
          for (const auto& [other, box] : placed) {
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &r, &box)) << row.name << " over " << other;
          }
          placed.emplace_back(row.name, r);
        }
      }
    }
  }
  // A list item as long as any fits the closed list.
  HWND hold = window.Control("cboHoldToStart");
  SendMessageA(hold, CB_SETCURSEL, 4, 0);
  EXPECT_EQ(Text(hold), "1000 ms");
  const Fit fit = TextFit(window, hold, lo::Row("cboHoldToStart"));
  EXPECT_LE(fit.needed.cx, fit.room.cx);
}

TEST_F(OptionsWindowTest, TheWindowOpensWithTheFocusOnItsPanelsButton) {
  struct Case {
    const char* settings;
    const char* focused;
  };
  const Case cases[] = {
      {"Last Frame=Setup\r\n", "optSetup"},
      {"Last Frame=Result\r\n", "optResult"},
      {"Last Frame=About\r\n", "optAbout"},
      {"Last Frame=none\r\n", "cmdExit"},  // no panel chosen
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    Start(Settings(c.settings), Lines(3));
    // Loaded hidden first (F2), with the focus put on a box meanwhile: F1 still opens on the button.
    OptionsWindow& window = frmMore(owner->Handle());
    bool checked = false;
    ModalScript::Run(owner->Handle(), [&] {
      checked = true;
      EXPECT_EQ(GetFocus(), Named(window, c.focused));
      if (GetFocus() == window.Control("cmdExit")) return;  // no panel: Space there only closes
      // Space there changes nothing: no switch, no line.
      SendMessageA(GetFocus(), WM_KEYDOWN, VK_SPACE, 0);
      SendMessageA(GetFocus(), WM_KEYUP, VK_SPACE, 0);
      EXPECT_EQ(window.chkLogResult.Value(), 0);
      EXPECT_EQ(book->Size(), 3u);
      EXPECT_TRUE(OptionsWindowLoaded());
    });
    EXPECT_TRUE(checked);
    TearDown();
    SetUp();
  }
}

TEST_F(OptionsWindowTest, EscapeClosesTheWindowAsExitDoes) {
  Start(Settings("Last Frame=About\r\n"));
  owner->Show();
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == owner->Handle(); }));
  bool checked = false;
  ModalScript::Run(owner->Handle(), [&] {
    checked = true;
    OptionsWindow& window = *OptionsWindowInstance();
    window.optResult.SetValue(true);
    SetFocus(window.Control("lstResult"));
    MSG msg{GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageA(window.Handle(), &msg));
    EXPECT_FALSE(OptionsWindowLoaded());
  });
  EXPECT_TRUE(checked);
  EXPECT_EQ(Setting("Last Frame"), "Result");
  EXPECT_EQ(GetActiveWindow(), owner->Handle());
}

// F1 shows its panel before it makes the others' controls; once it has, the window is
// the one any other load makes: every control in the tab order's place, each loaded.
TEST_F(OptionsWindowTest, F1MakesThePanelsNotShownAfterTheFirstInTheirTabOrderPlaces) {
  const auto children = [](HWND window) {
    std::vector<std::string> order;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      char kind[32] = {};
      GetClassNameA(child, kind, sizeof kind);
      const LRESULT state = lstrcmpiA(kind, "Button") == 0   ? SendMessageA(child, BM_GETCHECK, 0, 0)
                            : lstrcmpiA(kind, "Static") == 0 ? SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0
                            : lstrcmpiA(kind, "ComboBox") == 0 ? SendMessageA(child, CB_GETCURSEL, 0, 0)
                                                               : 0;
      order.push_back(std::string(kind) + " " + Text(child) + " " + std::to_string(state) +
                      ((GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE) ? " shown" : "") + (IsWindowEnabled(child) ? "" : " disabled"));
    }
    return order;
  };
  const std::string settings = Settings("Last Frame=Result\r\nShow Hour=Enabled\r\nInspection=Enabled\r\n");
  const std::vector<std::string> whole = children(LoadOptions(settings).Handle());
  TearDown();
  SetUp();
  Start(settings);
  bool checked = false;
  ModalScript::Run(owner->Handle(), [&] {
    checked = true;
    OptionsWindow& window = *OptionsWindowInstance();
    ASSERT_TRUE(PumpUntil([&] { return window.Control("chkShowHour") && window.Control("cboStackmatDevice"); }));
    PumpUntil([&] { return children(window.Handle()) == whole; });
    const std::vector<std::string> made = children(window.Handle());
    ASSERT_EQ(made.size(), whole.size());
    for (std::size_t i = 0; i < made.size(); ++i) EXPECT_EQ(made[i], whole[i]) << i;
    EXPECT_EQ(window.chkShowHour.Value(), 1);
    EXPECT_EQ(window.chkInspection.Value(), 1);
    EXPECT_EQ(window.optResult.Value(), true);
  });
  EXPECT_TRUE(checked);
}

// Runs messages as the options window's modal loop runs them, through the dialog manager.
template <typename Condition>
bool PumpDialogUntil(HWND dialog, Condition done, DWORD deadlineMs = 5000) {
  const ULONGLONG start = GetTickCount64();
  while (!done()) {
    if (GetTickCount64() - start > deadlineMs) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (IsDialogMessageA(dialog, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(1);
  }
  return true;
}

std::string Solved(int hundredths, results::Penalty penalty = results::Penalty::None, std::string comment = "") {
  results::Solve solve;
  solve.when = {2024, 3, 4, 5, 6, 7};
  solve.time = hundredths;
  solve.penalty = penalty;
  solve.comment = std::move(comment);
  return results::Format(solve);
}

// What the menu showed for each command: "-" greyed, "o" enabled, "x" checked.
std::string MenuMarks(HMENU menu) {
  std::string marks;
  for (options::LineCommand command : {options::LineCommand::NoPenalty, options::LineCommand::PlusTwo,
                                       options::LineCommand::Dnf, options::LineCommand::Comment,
                                       options::LineCommand::Remove}) {
    const UINT state = GetMenuState(menu, static_cast<UINT>(LineMenuCommandId(command)), MF_BYCOMMAND);
    marks += state == static_cast<UINT>(-1) ? '?' : (state & MF_GRAYED) ? '-' : (state & MF_CHECKED) ? 'x' : 'o';
  }
  return marks;
}

class ResultMenuTest : public OptionsWindowTest {
 protected:
  void TearDown() override {
    SetLineMenuChooserForTesting(nullptr);
    options::SetCommentAnswerForTesting(nullptr);
    options::SetSolveAnswerForTesting(nullptr);
    OptionsWindowTest::TearDown();
  }

  // The menu opened on line `index`, answering with `command` (nothing for none).
  std::string Choose(OptionsWindow& window, int index, std::optional<options::LineCommand> command) {
    std::string marks = "<no menu>";
    SetLineMenuChooserForTesting([&](HMENU menu) {
      marks = MenuMarks(menu);
      return command ? LineMenuCommandId(*command) : 0;
    });
    window.lstResult.SetSelectedIndex(index);
    SendMessageA(window.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.lstResult.Handle()),
                 MAKELPARAM(-1, -1));
    return marks;
  }
};

TEST_F(ResultMenuTest, TheLinesMenuChangesTheLineThroughTheBook) {
  const std::vector<std::string> lines = {Solved(1234), "a note typed by hand", Solved(2345, results::Penalty::Dnf)};
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), lines);
  using options::LineCommand;
  EXPECT_EQ(Choose(window, 0, LineCommand::PlusTwo), "xooo" "o");
  EXPECT_EQ(book->Line(0), Solved(1434, results::Penalty::PlusTwo));
  EXPECT_EQ(store->lines, book->Lines()) << "saved at once";
  EXPECT_EQ(window.lstResult.SelectedIndex(), 0) << "the line stays selected";
  EXPECT_EQ(Choose(window, 0, LineCommand::Dnf), "oxoo" "o");
  EXPECT_EQ(book->Line(0), Solved(1234, results::Penalty::Dnf));
  EXPECT_EQ(Choose(window, 0, LineCommand::NoPenalty), "ooxo" "o");
  EXPECT_EQ(book->Line(0), Solved(1234));

  // A line that reads as no result can only be removed: its greyed items do nothing.
  EXPECT_EQ(Choose(window, 1, LineCommand::PlusTwo), "----" "o");
  EXPECT_EQ(book->Line(1), lines[1]);

  // The comment box is asked with the line's comment and sets the one given.
  std::vector<std::string> asked;
  std::optional<std::string> answer = "bad cross";
  options::SetCommentAnswerForTesting([&](const std::string& current) {
    asked.push_back(current);
    return answer;
  });
  Choose(window, 2, LineCommand::Comment);
  EXPECT_EQ(book->Line(2), Solved(2345, results::Penalty::Dnf, "bad cross"));
  answer = std::nullopt;  // Cancel changes nothing
  Choose(window, 2, LineCommand::Comment);
  EXPECT_EQ(asked, (std::vector<std::string>{"", "bad cross"}));
  EXPECT_EQ(book->Line(2), Solved(2345, results::Penalty::Dnf, "bad cross"));

  Choose(window, 1, LineCommand::Remove);
  EXPECT_EQ(book->Lines(), (std::vector<std::string>{Solved(1234), Solved(2345, results::Penalty::Dnf, "bad cross")}));
  EXPECT_EQ(store->lines, book->Lines());
  EXPECT_EQ(window.lstResult.SelectedIndex(), 1);

  // No menu without a selected line.
  window.lstResult.SetSelectedIndex(-1);
  bool shown = false;
  SetLineMenuChooserForTesting([&](HMENU) { return shown = true, 0; });
  SendMessageA(window.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.lstResult.Handle()),
               MAKELPARAM(-1, -1));
  EXPECT_FALSE(shown);
}

// The keys and the mouse a user opens the menu with, and Ctrl+Z / Ctrl+Y, as real input
// through the dialog manager.
TEST_F(ResultMenuTest, MenuKeysRightClickAndUndoReachTheList) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), {Solved(100), Solved(200), Solved(300)});
  window.Show();
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window.Handle(); }));
  HWND list = window.lstResult.Handle();
  SetFocus(list);
  int menus = 0;
  SetLineMenuChooserForTesting([&](HMENU) { return ++menus, LineMenuCommandId(options::LineCommand::PlusTwo); });

  window.lstResult.SetSelectedIndex(0);
  SendKeys({{VK_SHIFT, true}, {VK_F10, true}, {VK_F10, false}, {VK_SHIFT, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return menus == 1; }));
  EXPECT_EQ(book->Line(0), Solved(300, results::Penalty::PlusTwo));

  window.lstResult.SetSelectedIndex(1);
  SendKeys({{VK_APPS, true}, {VK_APPS, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return menus == 2; }));
  EXPECT_EQ(book->Line(1), Solved(400, results::Penalty::PlusTwo));

  // A right click picks the line under the pointer first.
  RECT line;
  SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&line));
  const LPARAM at = MAKELPARAM(line.left + 5, line.top + 2);
  SendMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
  SendMessageA(list, WM_RBUTTONUP, 0, at);
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return menus == 3; }));
  EXPECT_EQ(window.lstResult.SelectedIndex(), 2);
  EXPECT_EQ(book->Line(2), Solved(500, results::Penalty::PlusTwo));
  PumpDialogUntil(window.Handle(), [] { return false; }, 200);
  EXPECT_EQ(menus, 3) << "each opened the menu once";

  SendKeys({{VK_CONTROL, true}, {'Z', true}, {'Z', false}, {VK_CONTROL, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return book->Line(2) == Solved(300); }));
  SendKeys({{VK_CONTROL, true}, {'Z', true}, {'Z', false}, {VK_CONTROL, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return book->Line(1) == Solved(200); }));
  SendKeys({{VK_CONTROL, true}, {'Y', true}, {'Y', false}, {VK_CONTROL, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return book->Line(1) == Solved(400, results::Penalty::PlusTwo); }));
  EXPECT_EQ(store->lines, book->Lines());

  // Elsewhere than the Result panel the keys are the controls' own.
  window.optSetup.SetValue(true);
  SetFocus(window.Control("chkLogResult"));
  SendKeys({{VK_CONTROL, true}, {'Z', true}, {'Z', false}, {VK_CONTROL, false}});
  PumpDialogUntil(window.Handle(), [] { return false; }, 200);
  EXPECT_EQ(book->Line(1), Solved(400, results::Penalty::PlusTwo));
}

// A line with its scramble and comment reads whole: the list scrolls sideways as far
// as its widest line, drawn as a list box with text draws it scrolled.
TEST_F(OptionsWindowTest, TheResultListScrollsSidewaysToItsWidestLine) {
  const std::string wide = Solved(1234) + " | Scramble: R U R' U' F2 B2 L D' R2 U2 F' L2 B' D2 R' F U2 L' B D' F2 | "
                                          "Comment: a long comment that goes well past the list's right edge";
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), {Solved(100), wide, Solved(200)});
  HWND list = window.lstResult.Handle();
  EXPECT_TRUE(GetWindowLongPtrA(list, GWL_STYLE) & WS_HSCROLL);
  const auto widthOf = [&](const std::string& text) {
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    return static_cast<int>(size.cx);
  };
  const auto extent = [&] { return static_cast<int>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0)); };
  EXPECT_EQ(extent(), widthOf(wide) + 2);

  book->Append(wide + " and more");  // a wider line widens it
  EXPECT_EQ(extent(), widthOf(wide + " and more") + 2);
  book->SetComment(3, "");  // narrower again: the reach stays until the book is read whole
  EXPECT_EQ(extent(), widthOf(wide + " and more") + 2);
  book->SetComment(0, std::string(300, 'w'));
  EXPECT_EQ(extent(), widthOf(std::string(book->Line(0))) + 2);

  // Drawn beside a list box with text, scrolled the same, every pixel matches.
  const lo::ControlRow& row = lo::Row("lstResult");
  const lo::Point at = lo::ClientOrigin(row);
  HWND plain = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL,
                               window.Px(at.x), window.Px(at.y), window.Px(row.width), window.Px(row.height),
                               window.Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(plain, WM_SETFONT, static_cast<WPARAM>(SendMessageA(list, WM_GETFONT, 0, 0)), FALSE);
  for (const std::string& line : book->Lines().ToStrings()) SendMessageA(plain, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageA(plain, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent()), 0);
  for (HWND box : {list, plain}) {
    SendMessageA(box, LB_SETCURSEL, 1, 0);
    for (int i = 0; i < 40; ++i) SendMessageA(box, WM_HSCROLL, SB_LINERIGHT, 0);
  }
  EXPECT_GT(GetScrollPos(list, SB_HORZ), 0);
  EXPECT_EQ(GetScrollPos(list, SB_HORZ), GetScrollPos(plain, SB_HORZ));
  EXPECT_EQ(Snapshot(list), Snapshot(plain));
  DestroyWindow(plain);
}

// The comment box: Enter is OK, Escape and Cancel give nothing, and whichever way it
// closes the options window has the keys again.
TEST_F(OptionsWindowTest, TheCommentBoxAsksForOneLine) {
  struct Case {
    const char* how;
    std::function<void(options::CommentBox&)> act;
    std::optional<std::string> answer;
  };
  const Case cases[] = {
      {"Enter", [](options::CommentBox&) { SendKeys({{VK_RETURN, true}, {VK_RETURN, false}}); }, "new words"},
      {"OK", [](options::CommentBox& box) { SendMessageA(box.OkButton(), BM_CLICK, 0, 0); }, "new words"},
      {"Escape", [](options::CommentBox&) { SendKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}}); }, std::nullopt},
      {"Enter on Cancel",
       [](options::CommentBox& box) {
         SetFocus(box.CancelButton());
         SendKeys({{VK_RETURN, true}, {VK_RETURN, false}});
       },
       std::nullopt},
      {"title bar", [](options::CommentBox& box) { SendMessageA(box.Handle(), WM_CLOSE, 0, 0); }, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), Lines(2));
    window.Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window.Handle(); }));
    SetFocus(window.lstResult.Handle());
    std::function<void()> step;
    std::string shownText;
    bool editFocused = false;
    step = [&] {
      options::CommentBox* box = options::CommentBox::Current();
      ASSERT_NE(box, nullptr);
      char text[64] = {};
      GetWindowTextA(box->Edit(), text, sizeof text);
      shownText = text;
      editFocused = GetFocus() == box->Edit();
      EXPECT_FALSE(IsWindowEnabled(window.Handle())) << "modal over the options window";
      SetWindowTextA(box->Edit(), "new words");
      c.act(*box);
    };
    {
      const WhileModal modal(step, [] {
        return options::CommentBox::Current() ? options::CommentBox::Current()->Handle() : nullptr;
      });
      EXPECT_EQ(options::AskForComment(window.Handle(), "old words"), c.answer);
    }
    EXPECT_EQ(shownText, "old words");
    EXPECT_TRUE(editFocused);
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
    EXPECT_EQ(GetActiveWindow(), window.Handle());
    EXPECT_EQ(GetFocus(), window.lstResult.Handle()) << "the focus goes back where it was";
    step = nullptr;
    TearDown();
    SetUp();
  }
}

// ---- A solve's details.

// Enter or a double click on a line opens its details, whose OK is one change of the
// book (one Ctrl+Z); Delete removes the selected line as Remove does. Real keys through
// the dialog manager.
TEST_F(ResultMenuTest, EnterOrADoubleClickOpensTheDetailsAndDeleteRemovesTheLine) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), {Solved(100), "a note typed by hand", Solved(300)});
  window.Show();
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window.Handle(); }));
  HWND list = window.lstResult.Handle();
  SetFocus(list);
  std::vector<std::string> asked;
  std::optional<options::SolveEdit> answer = options::SolveEdit{results::Penalty::PlusTwo, "pop"};
  options::SetSolveAnswerForTesting([&](const options::SolveDetails& details) {
    asked.push_back(details.date + " " + options::ResultText(details.measured, details.solve.penalty));
    return answer;
  });

  window.lstResult.SetSelectedIndex(2);
  SendKeys({{VK_RETURN, true}, {VK_RETURN, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return asked.size() == 1; }));
  EXPECT_EQ(asked[0], "04/03/2024 05:06:07 3.00");
  EXPECT_EQ(book->Line(2), Solved(500, results::Penalty::PlusTwo, "pop"));
  EXPECT_EQ(store->lines, book->Lines());
  EXPECT_TRUE(IsWindowVisible(window.Handle())) << "Enter opened the details, not closed the window";
  book->Undo();
  EXPECT_EQ(book->Line(2), Solved(300)) << "penalty and comment are one step";

  // A double click on a line picks it and opens it; Cancel changes nothing.
  answer = std::nullopt;
  RECT line;
  SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&line));
  const LPARAM at = MAKELPARAM(line.left + 5, line.top + 2);
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(list, WM_LBUTTONUP, 0, at);
  SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(list, WM_LBUTTONUP, 0, at);
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return asked.size() == 2; }));
  EXPECT_EQ(asked[1], "04/03/2024 05:06:07 1.00");
  EXPECT_EQ(book->Line(0), Solved(100));

  // A line that reads as no result has no details.
  window.lstResult.SetSelectedIndex(1);
  window.onListOpenDetails();
  EXPECT_EQ(asked.size(), 2u);

  // Delete removes the selected line, and Ctrl+Z brings it back.
  SendKeys({{VK_DELETE, true}, {VK_DELETE, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return book->Size() == 2; }));
  EXPECT_EQ(book->Lines(), (std::vector<std::string>{Solved(100), Solved(300)}));
  EXPECT_EQ(window.lstResult.SelectedIndex(), 1) << "as Remove leaves it";
  SendKeys({{VK_CONTROL, true}, {'Z', true}, {'Z', false}, {VK_CONTROL, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return book->Size() == 3; }));
  EXPECT_EQ(book->Line(1), "a note typed by hand");
  window.lstResult.SetSelectedIndex(-1);
  SendKeys({{VK_DELETE, true}, {VK_DELETE, false}});
  PumpDialogUntil(window.Handle(), [] { return false; }, 200);
  EXPECT_EQ(book->Size(), 3u) << "Delete with nothing selected removes nothing";
}

// The box itself: what it shows of the solve, the time following the penalty picked,
// and what each way of closing it gives.
TEST_F(OptionsWindowTest, TheSolveBoxShowsTheSolveAndGivesItsPenaltyAndComment) {
  results::Solve solve;
  solve.when = {2024, 3, 4, 5, 6, 7};
  solve.time = 1234;
  solve.scramble = "R U R' U' F2";
  solve.comment = "old words";
  const std::optional<options::SolveDetails> details = options::DetailsOf(results::Format(solve));
  ASSERT_TRUE(details);
  struct Case {
    const char* how;
    std::function<void(options::SolveBox&)> act;
    std::optional<options::SolveEdit> answer;
  };
  const Case cases[] = {
      {"Enter", [](options::SolveBox&) { SendKeys({{VK_RETURN, true}, {VK_RETURN, false}}); },
       options::SolveEdit{results::Penalty::PlusTwo, "new words"}},
      {"OK", [](options::SolveBox& box) { SendMessageA(box.OkButton(), BM_CLICK, 0, 0); },
       options::SolveEdit{results::Penalty::PlusTwo, "new words"}},
      {"Alt+C, End, Z, Enter",
       [](options::SolveBox& box) {
         SetFocus(box.PenaltyButton(results::Penalty::PlusTwo));
         SendKeys({{VK_MENU, true}, {'C', true}, {'C', false}, {VK_MENU, false}, {VK_END, true}, {VK_END, false},
                   {'Z', true}, {'Z', false}, {VK_RETURN, true}, {VK_RETURN, false}});
       },
       options::SolveEdit{results::Penalty::PlusTwo, "new wordsz"}},
      {"Escape", [](options::SolveBox&) { SendKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}}); }, std::nullopt},
      {"title bar", [](options::SolveBox& box) { SendMessageA(box.Handle(), WM_CLOSE, 0, 0); }, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), Lines(2));
    window.Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window.Handle(); }));
    SetFocus(window.lstResult.Handle());
    struct Seen {
      std::string time, timeAfter, date, scramble, comment;
      bool picture = false, penaltyFocused = false, modal = false;
    } seen;
    std::function<void()> step = [&] {
      options::SolveBox* box = options::SolveBox::Current();
      ASSERT_NE(box, nullptr);
      seen.time = Text(box->TimeText());
      seen.date = Text(box->DateText());
      seen.scramble = Text(box->ScrambleText());
      seen.comment = Text(box->CommentEdit());
      seen.picture = !box->Drawing().Empty() && SendMessageA(box->Picture(), STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
      seen.penaltyFocused = GetFocus() == box->PenaltyButton(results::Penalty::None);
      seen.modal = !IsWindowEnabled(window.Handle());
      SendMessageA(box->PenaltyButton(results::Penalty::PlusTwo), BM_CLICK, 0, 0);
      seen.timeAfter = Text(box->TimeText());
      SetWindowTextA(box->CommentEdit(), "new words");
      SetFocus(box->CommentEdit());
      c.act(*box);
    };
    {
      const WhileModal modal(step, [] {
        return options::SolveBox::Current() ? options::SolveBox::Current()->Handle() : nullptr;
      });
      EXPECT_EQ(options::AskForSolveEdit(window.Handle(), *details, scramble::Event::k333), c.answer);
    }
    EXPECT_EQ(seen.time, "12.34");
    EXPECT_EQ(seen.timeAfter, "14.34 (+2)");
    EXPECT_EQ(seen.date, "04/03/2024 05:06:07");
    EXPECT_EQ(seen.scramble, "R U R' U' F2");
    EXPECT_EQ(seen.comment, "old words");
    EXPECT_TRUE(seen.picture) << "the cube as the scramble left it";
    EXPECT_TRUE(seen.penaltyFocused) << "it opens on the penalty picked";
    EXPECT_TRUE(seen.modal);
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
    EXPECT_EQ(GetActiveWindow(), window.Handle());
    EXPECT_EQ(GetFocus(), window.lstResult.Handle()) << "the focus goes back where it was";
    step = nullptr;
    TearDown();
    SetUp();
  }
}

// A Megaminx solve's scramble reads as its seven lines and draws; a solve without one
// says so and draws nothing.
TEST_F(OptionsWindowTest, TheSolveBoxWritesTheScrambleAsItsEventDoes) {
  scramble::EventScrambler scrambler(scramble::Event::kMinx, 3);
  const std::string megaminx = scrambler.Next().text;
  results::Solve solve;
  solve.when = {2024, 3, 4, 5, 6, 7};
  solve.time = 6000;
  solve.scramble = megaminx;
  struct Case {
    std::string line;
    std::string scramble;
    bool drawn;
  };
  std::string shownMegaminx;
  for (const char c : megaminx) shownMegaminx += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const Case cases[] = {{results::Format(solve), shownMegaminx, true}, {Solved(100), "(none)", false}};
  for (const Case& c : cases) {
    OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), Lines(1));
    std::string scrambleText;
    bool drawn = false;
    {
      options::SolveBox box(*options::DetailsOf(c.line), scramble::Event::kMinx);
      const WhileModal modal(
          [&] {
            scrambleText = Text(box.ScrambleText());
            drawn = !box.Drawing().Empty();
            SendMessageA(box.Handle(), WM_CLOSE, 0, 0);
          },
          [&] { return box.Handle(); });
      EXPECT_EQ(box.Ask(window.Handle()), std::nullopt);
    }
    EXPECT_EQ(scrambleText, c.scramble);
    EXPECT_EQ(drawn, c.drawn);
    TearDown();
    SetUp();
  }
}

// ---- The session row under the Result frame.

class SessionRowTest : public OptionsWindowTest {
 protected:
  void TearDown() override {
    SetOptionsSessionShelf(nullptr);
    options::SetSessionAnswerForTesting(nullptr);
    options::SetFileDialogForTesting(nullptr);
    options::SetProgressStepForTesting(nullptr);
    UnloadOptionsWindow();
    SetOptionsResultBook(nullptr);
    shelf.reset();
    OptionsWindowTest::TearDown();
  }

  // The program as WinMain wires it: the shelf over the first session's book, whose
  // switches hand the windows the current book; then the options window loaded
  // hidden on the Result panel.
  OptionsWindow& LoadWithShelf(const std::vector<std::string>& results = {}) {
    Start(Settings("Last Frame=Result\r\n"), results);
    shelf = std::make_unique<results::SessionShelf>(folder, *book);
    shelf->onSwitched = [this] { SetOptionsResultBook(&shelf->CurrentBook()); };
    SetOptionsSessionShelf(shelf.get());
    return frmMore(owner->Handle());
  }

  // The file dialogs answer with this path (none: cancelled) and note what they were asked.
  void AnswerFileDialog(std::optional<std::string> path) {
    options::SetFileDialogForTesting([this, path](options::FileDialogKind kind, const std::string& suggested) {
      dialogs.push_back({kind, suggested});
      return path;
    });
  }

  bool Usable(OptionsWindow& window, const char* name) { return IsWindowEnabled(Named(window, name)) != FALSE; }

  std::unique_ptr<results::SessionShelf> shelf;
  std::vector<std::pair<options::FileDialogKind, std::string>> dialogs;
};

RECT ClientBox(const OptionsWindow& window, const char* name) {
  RECT box;
  GetWindowRect(Named(window, name), &box);
  MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&box), 2);
  return box;
}

TEST_F(SessionRowTest, TheRowStandsUnderTheDesignedResultFrameAndShowsTheFirstSession) {
  OptionsWindow& window = LoadWithShelf();
  struct Place {
    const char* name;
    int left, top, width, height;  // in the client area, twips
  };
  const Place places[] = {
      // As designed.
      {"fraResult", 120, 600, 5655, 2895},
      {"cmdRemove", 240, 600 + 2350, 2655, 375},
      {"cmdReset", 3000, 600 + 2350, 2655, 375},
      // 120 under the Result frame, as the Practice frame under the Setup frame.
      {"fraSession", 120, 3615, 5655, 1215},
      {"cmdNewSession", 240, 3615 + 720, 999, 375},
      {"cmdExport", 240 + 4 * 1104, 3615 + 720, 999, 375},
      // 105 under the last frame.
      {"cmdExit", 120, 3615 + 1215 + 105, 5655, 375},
  };
  for (const Place& p : places) {
    const RECT box = ClientBox(window, p.name);
    EXPECT_EQ(box.left, window.Px(p.left)) << p.name;
    EXPECT_EQ(box.top, window.Px(p.top)) << p.name;
    EXPECT_EQ(box.right - box.left, window.Px(p.width)) << p.name;
    EXPECT_EQ(box.bottom - box.top, window.Px(p.height)) << p.name;
  }
  const RECT list = ClientBox(window, "lstResult");
  EXPECT_EQ(list.left, window.Px(240));
  EXPECT_EQ(list.top, window.Px(840));
  // 1005 from Exit's top to the window's bottom, the designed frame included.
  EXPECT_EQ(window.ClientHeight(), 4935 + 1005 - 480);
  EXPECT_EQ(window.SessionItems(), std::vector<std::string>{"3x3x3 (3x3x3)"});
  EXPECT_EQ(window.SessionSelected(), 0);
  for (const char* name : {"cboSession", "cmdNewSession", "cmdRenameSession", "cmdImport", "cmdExport"}) {
    EXPECT_TRUE(Usable(window, name)) << name;
  }
  EXPECT_FALSE(Usable(window, "cmdDeleteSession")) << "the first session cannot be deleted";
  EXPECT_EQ(Setting("Sessions"), "<missing>") << "showing the row writes nothing";

  // Without a shelf the row shows the same, its buttons off.
  SetOptionsSessionShelf(nullptr);
  EXPECT_EQ(window.SessionItems(), std::vector<std::string>{"3x3x3 (3x3x3)"});
  for (const char* name : {"cboSession", "cmdNewSession", "cmdDeleteSession", "cmdImport", "cmdExport"}) {
    EXPECT_FALSE(Usable(window, name)) << name;
  }
}

TEST_F(SessionRowTest, NewRenameSwitchAndDeleteGoThroughTheShelfAndTheListFollows) {
  const std::vector<std::string> first = {Solved(1234), Solved(2345)};
  OptionsWindow& window = LoadWithShelf(first);
  std::vector<std::pair<bool, options::SessionChoice>> asked;
  std::optional<options::SessionChoice> answer = options::SessionChoice{"2x2x2", "222"};
  options::SetSessionAnswerForTesting([&](bool isNew, const options::SessionChoice& current) {
    asked.emplace_back(isNew, current);
    return answer;
  });

  window.onCmdNewSessionClick();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], std::make_pair(true, options::SessionChoice{"", "333"})) << "a new session of the event shown";
  EXPECT_EQ(window.SessionItems(), (std::vector<std::string>{"3x3x3 (3x3x3)", "2x2x2 (2x2x2)"}));
  EXPECT_EQ(window.SessionSelected(), 1);
  EXPECT_EQ(window.lstResult.Book(), &shelf->CurrentBook());
  EXPECT_EQ(window.lstResult.Count(), 0);
  EXPECT_TRUE(Usable(window, "cmdDeleteSession"));
  EXPECT_EQ(Setting("Session 2 Name"), "2x2x2");
  shelf->CurrentBook().Append(Solved(345));

  answer = std::nullopt;  // Cancel
  window.onCmdNewSessionClick();
  EXPECT_EQ(window.SessionItems().size(), 2u);

  answer = options::SessionChoice{"Two", "pyram"};
  window.onCmdRenameSessionClick();
  EXPECT_EQ(asked.back(), std::make_pair(false, options::SessionChoice{"2x2x2", "222"}));
  EXPECT_EQ(window.SessionItems(), (std::vector<std::string>{"3x3x3 (3x3x3)", "Two (Pyraminx)"}));
  EXPECT_EQ(Setting("Session 2 Event"), "pyram");

  window.SetSessionSelected(0);
  EXPECT_TRUE(shelf->IsFirst());
  EXPECT_EQ(window.lstResult.Book(), book.get());
  EXPECT_EQ(window.lstResult.Count(), 2);
  EXPECT_FALSE(Usable(window, "cmdDeleteSession"));

  // Ctrl+PageDown in the main window, the options window loaded hidden: it follows.
  shelf->Step(+1);
  EXPECT_EQ(window.SessionSelected(), 1);
  EXPECT_EQ(window.lstResult.Count(), 1);

  this->answer = IDNO;
  window.onCmdDeleteSessionClick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("\"Two (Pyraminx)\""), std::string::npos) << boxes[0].text;
  EXPECT_EQ(boxes[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)) << "No the default";
  EXPECT_EQ(window.SessionItems().size(), 2u);
  shelf->FlushAll();
  EXPECT_TRUE(FileExists(Path("Result 2.lst")));

  this->answer = IDYES;
  window.onCmdDeleteSessionClick();
  EXPECT_EQ(window.SessionItems(), std::vector<std::string>{"3x3x3 (3x3x3)"});
  EXPECT_EQ(window.lstResult.Book(), book.get());
  EXPECT_FALSE(FileExists(Path("Result 2.lst")));
  EXPECT_FALSE(Usable(window, "cmdDeleteSession"));
  EXPECT_EQ(book->Lines(), first);
}

TEST_F(SessionRowTest, TheSessionBoxAsksForOneNonEmptyLineAndAnEvent) {
  struct Case {
    const char* how;
    const char* typed;
    std::function<void(options::SessionBox&)> act;
    std::optional<options::SessionChoice> answer;
  };
  const auto enter = [](options::SessionBox&) { SendKeys({{VK_RETURN, true}, {VK_RETURN, false}}); };
  const auto escape = [](options::SessionBox&) { SendKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}}); };
  const Case cases[] = {
      {"Enter", "  Two by two \t", enter, options::SessionChoice{"Two by two", "pyram"}},
      {"OK", "OH", [](options::SessionBox& box) { SendMessageA(box.OkButton(), BM_CLICK, 0, 0); },
       options::SessionChoice{"OH", "pyram"}},
      {"Escape", "OH", escape, std::nullopt},
      {"title bar", "OH", [](options::SessionBox& box) { SendMessageA(box.Handle(), WM_CLOSE, 0, 0); }, std::nullopt},
      // With no name there is nothing to accept: Enter leaves the box up, Escape closes it.
      {"Enter without a name", "   ",
       [enter, escape](options::SessionBox& box) {
         EXPECT_FALSE(IsWindowEnabled(box.OkButton()));
         enter(box);
         EXPECT_EQ(options::SessionBox::Current(), &box);
         escape(box);
       },
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    OptionsWindow& window = LoadWithShelf();
    window.Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window.Handle(); }));
    SetFocus(window.Control("cmdRenameSession"));
    std::function<void()> step;
    std::string shownName, shownEvent;
    bool nameFocused = false;
    step = [&] {
      options::SessionBox* box = options::SessionBox::Current();
      ASSERT_NE(box, nullptr);
      shownName = Text(box->NameEdit());
      shownEvent = Text(box->EventList());
      nameFocused = GetFocus() == box->NameEdit();
      EXPECT_FALSE(IsWindowEnabled(window.Handle())) << "modal over the options window";
      SetWindowTextA(box->NameEdit(), c.typed);
      const auto pyraminx = SendMessageA(box->EventList(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>("Pyraminx"));
      SendMessageA(box->EventList(), CB_SETCURSEL, static_cast<WPARAM>(pyraminx), 0);
      c.act(*box);
    };
    {
      const WhileModal modal(step, [] {
        return options::SessionBox::Current() ? options::SessionBox::Current()->Handle() : nullptr;
      });
      EXPECT_EQ(options::AskForSession(window.Handle(), false, {"2x2x2", "222"}), c.answer);
    }
    EXPECT_EQ(shownName, "2x2x2");
    EXPECT_EQ(shownEvent, "2x2x2");
    EXPECT_TRUE(nameFocused);
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
    EXPECT_EQ(GetActiveWindow(), window.Handle());
    EXPECT_EQ(GetFocus(), window.Control("cmdRenameSession")) << "the focus goes back where it was";
    step = nullptr;
    TearDown();
    SetUp();
  }
}

// A Multi-Blind session asks how many cubes its scramble row numbers: the field is
// usable for that event only, starts at the stored number, and takes 2 to 100.
TEST_F(SessionRowTest, TheSessionBoxAsksMultiBlindForItsNumberOfCubes) {
  OptionsWindow& window = LoadWithShelf();
  settings::Write(settings::kMultiBlindCubes, 5);
  window.Show();
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window.Handle(); }));
  std::function<void()> step;
  bool usableFor222 = true, usableForMultiBlind = false, keptUpOnOne = false;
  std::string shownCubes;
  step = [&] {
    options::SessionBox* box = options::SessionBox::Current();
    ASSERT_NE(box, nullptr);
    usableFor222 = IsWindowEnabled(box->CubesEdit()) != FALSE;
    const auto multiBlind = SendMessageA(box->EventList(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>("3x3x3 Multi-Blind"));
    SendMessageA(box->EventList(), CB_SETCURSEL, static_cast<WPARAM>(multiBlind), 0);
    SendMessageA(box->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box->EventList()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box->EventList()));
    usableForMultiBlind = IsWindowEnabled(box->CubesEdit()) != FALSE;
    shownCubes = Text(box->CubesEdit());
    SetWindowTextA(box->CubesEdit(), "1");
    SendMessageA(box->OkButton(), BM_CLICK, 0, 0);
    keptUpOnOne = options::SessionBox::Current() == box;
    SetWindowTextA(box->CubesEdit(), "12");
    SendMessageA(box->OkButton(), BM_CLICK, 0, 0);
  };
  {
    const WhileModal modal(step, [] {
      return options::SessionBox::Current() ? options::SessionBox::Current()->Handle() : nullptr;
    });
    EXPECT_EQ(options::AskForSession(window.Handle(), true, {"MBLD", "222"}),
              (options::SessionChoice{"MBLD", "333mbf", 12}));
  }
  step = nullptr;
  EXPECT_FALSE(usableFor222);
  EXPECT_TRUE(usableForMultiBlind);
  EXPECT_EQ(shownCubes, "5");
  EXPECT_TRUE(keptUpOnOne) << "one cube is no Multi-Blind attempt";

  // New... gives the session its own number of cubes; the older global count stays as it was.
  options::SetSessionAnswerForTesting([](bool, const options::SessionChoice&) {
    return options::SessionChoice{"MBLD", "333mbf", 7};
  });
  window.onCmdNewSessionClick();
  EXPECT_EQ(Setting("Session 2 Cubes"), "7");
  EXPECT_EQ(Setting("Multi-Blind Cubes"), "5");
  EXPECT_EQ(shelf->Current().cubes, 7);
  EXPECT_EQ(shelf->Current().event, "333mbf");
}

// Two sessions of csTimer's, one solve of the second unreadable.
const std::string kCsTimerFile =
    R"({"session1":[[[0,12345],"R U","",1700000000],[[2000,10000],"F2","pop",1700000100]],)"
    R"("session2":[[[0,4567],"R U F","",1700001000],[["x"],"","",0]],)"
    R"("properties":{"sessionData":"{\"1\":{\"name\":\"Main\",\"opt\":{\"scrType\":\"333\"}},)"
    R"(\"2\":{\"name\":\"Small\\nset\",\"opt\":{\"scrType\":\"222so\"}}}"}})";

TEST_F(SessionRowTest, ImportAsksFirstThenAppendsEachOfTheFilesSessionsWithoutASwitch) {
  const std::vector<std::string> first = {Solved(1234)};
  OptionsWindow& window = LoadWithShelf(first);
  // The statistics window follows the session shown, as WinMain wires it.
  StatisticsWindow statistics(*book);
  int switches = 0;
  shelf->onSwitched = [&] {
    ++switches;
    SetOptionsResultBook(&shelf->CurrentBook());
    statistics.Attach(shelf->CurrentBook(), shelf->Current().name);
  };
  WriteFileBytes(Path("from csTimer.txt"), kCsTimerFile);
  AnswerFileDialog(Path("from csTimer.txt"));

  answer = IDNO;
  window.onCmdImportClick();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].first, options::FileDialogKind::Open);
  ASSERT_EQ(boxes.size(), 1u);
  const std::string& question = boxes[0].text;
  for (const char* part : {"Import \"from csTimer.txt\"?", "csTimer file: 2 sessions, 3 solves.", "Main (3x3x3): 2 solves",
                           "Small set (2x2x2): 1 solve", "1 solve could not be read",
                           "solve 2: its times hold no time",
                           "Each session becomes a new session here."}) {
    EXPECT_NE(question.find(part), std::string::npos) << part << " in:\n" << question;
  }
  EXPECT_EQ(boxes[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(window.SessionItems().size(), 1u) << "No writes nothing";
  EXPECT_EQ(Setting("Sessions"), "<missing>");

  answer = IDYES;
  window.onCmdImportClick();
  // A name of two lines is made one, as a typed one is.
  EXPECT_EQ(window.SessionItems(), (std::vector<std::string>{"3x3x3 (3x3x3)", "Main (3x3x3)", "Small set (2x2x2)"}));
  // The session shown stays shown, and so do the windows following it.
  EXPECT_EQ(switches, 0);
  EXPECT_EQ(window.SessionSelected(), 0);
  EXPECT_EQ(&shelf->CurrentBook(), book.get());
  EXPECT_EQ(window.lstResult.Count(), 1);
  statistics.EnsureFresh();
  EXPECT_EQ(statistics.Figures().All().solves, 1);
  EXPECT_EQ(book->Lines(), first);
  EXPECT_FALSE(book->CanUndo());

  const int mainNumber = shelf->List().All()[1].number;
  results::ResultBook& imported = shelf->BookOf(mainNumber);
  ASSERT_EQ(imported.Size(), 2u);
  const std::optional<results::Solve> plusTwo = results::Parse(imported.Line(1).Text());
  ASSERT_TRUE(plusTwo);
  EXPECT_EQ(plusTwo->penalty, results::Penalty::PlusTwo);
  EXPECT_EQ(plusTwo->comment, "pop");
  // Each session's import is one step of undo in its own book.
  EXPECT_TRUE(imported.CanUndo());
  shelf->FlushAll();
  EXPECT_EQ(ReadFileBytes(Path("Result 3.lst")).substr(0, 7), "#Date: ");

  // The same file again: names that exist take " (2)".
  window.onCmdImportClick();
  EXPECT_NE(boxes.back().text.find("Main (2) (3x3x3): 2 solves"), std::string::npos) << boxes.back().text;
  EXPECT_EQ(window.SessionItems(),
            (std::vector<std::string>{"3x3x3 (3x3x3)", "Main (3x3x3)", "Small set (2x2x2)", "Main (2) (3x3x3)",
                                      "Small set (2) (2x2x2)"}));
  EXPECT_EQ(switches, 0);
  window.SetSessionSelected(3);
  EXPECT_EQ(window.lstResult.Count(), 2);
  statistics.EnsureFresh();
  EXPECT_EQ(statistics.Figures().All().solves, 2) << "a switch the user makes is followed";
}

TEST_F(SessionRowTest, UndoInASessionTheImportMadeTakesTheWholeImportBack) {
  const std::vector<std::string> first = {Solved(1234)};
  OptionsWindow& window = LoadWithShelf(first);
  WriteFileBytes(Path("from csTimer.txt"), kCsTimerFile);
  AnswerFileDialog(Path("from csTimer.txt"));
  window.onCmdImportClick();
  ASSERT_EQ(window.SessionItems().size(), 3u);
  window.SetSessionSelected(2);
  ASSERT_TRUE(shelf->CurrentBook().Undo());
  ASSERT_TRUE(PumpUntil([&] { return window.SessionItems().size() == 1u; })) << window.SessionItems().size();
  EXPECT_EQ(window.SessionSelected(), 0) << "the session shown when the import ran";
  EXPECT_EQ(&shelf->CurrentBook(), book.get());
  EXPECT_EQ(Setting("Sessions"), "1");
  EXPECT_EQ(book->Lines(), first);
  shelf->FlushAll();
  EXPECT_FALSE(FileExists(Path("Result 2.lst")));
  EXPECT_FALSE(FileExists(Path("Result 3.lst")));

  // A session of the import used since keeps what was done there.
  window.onCmdImportClick();
  ASSERT_EQ(window.SessionItems().size(), 3u);
  window.SetSessionSelected(1);
  ASSERT_TRUE(shelf->CurrentBook().Append(Solved(999)));
  window.SetSessionSelected(2);
  ASSERT_TRUE(shelf->CurrentBook().Undo());
  ASSERT_TRUE(PumpUntil([&] { return window.SessionItems().size() == 2u; })) << window.SessionItems().size();
  EXPECT_EQ(window.SessionItems(), (std::vector<std::string>{"3x3x3 (3x3x3)", "Main (3x3x3)"}));
  EXPECT_EQ(shelf->BookOf(shelf->List().All()[1].number).Size(), 3u);
}

TEST_F(SessionRowTest, AListOfTimesGoesIntoTheSessionShownAsOneStep) {
  const std::vector<std::string> first = {Solved(1234)};
  OptionsWindow& window = LoadWithShelf(first);
  WriteFileBytes(Path("times.txt"), "12.34\r\n15.02+\r\nnot a time\r\nDNF(9.87)\r\n");
  AnswerFileDialog(Path("times.txt"));
  window.onCmdImportClick();
  ASSERT_EQ(boxes.size(), 1u);
  for (const char* part : {"List of times: 3 solves.", "1 line could not be read",
                           "The solves go into the session \"3x3x3 (3x3x3)\"."}) {
    EXPECT_NE(boxes[0].text.find(part), std::string::npos) << part << " in:\n" << boxes[0].text;
  }
  EXPECT_EQ(window.SessionItems().size(), 1u);
  ASSERT_EQ(book->Size(), 4u);
  EXPECT_EQ(window.lstResult.Count(), 4);
  EXPECT_TRUE(book->Undo());
  EXPECT_EQ(book->Lines(), first);
}

TEST_F(SessionRowTest, AFileThatIsNotWhatItClaimsIsNamedWithItsFirstProblemAndNothingIsWritten) {
  struct Case {
    const char* file;
    std::optional<std::string> bytes;  // none: no such file
    const char* problem;
  };
  const Case cases[] = {
      {"broken.json", "{\"session1\": [[[0, 1234]", "It is not a csTimer export: it is not valid JSON"},
      {"odd.txt", "{\"session1\": 5}", "\"session1\" is not a list of solves"},
      {"notes.txt", "nothing here\r\nat all\r\n", "could not be imported"},
      {"unicode.txt", std::string("\xFF\xFE" "1\0" "2\0", 6), "UTF-16"},
      {"missing.txt", std::nullopt, "could not be read"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    OptionsWindow& window = LoadWithShelf({Solved(1234)});
    if (c.bytes) WriteFileBytes(Path(c.file), *c.bytes);
    AnswerFileDialog(Path(c.file));
    boxes.clear();
    window.onCmdImportClick();
    ASSERT_EQ(boxes.size(), 1u) << "one message, no question";
    EXPECT_NE(boxes[0].text.find(std::string("\"") + c.file + "\""), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find(c.problem), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("Nothing was written."), std::string::npos) << boxes[0].text;
    EXPECT_EQ(boxes[0].style & MB_ICONEXCLAMATION, static_cast<unsigned>(MB_ICONEXCLAMATION));
    EXPECT_EQ(window.SessionItems().size(), 1u);
    EXPECT_EQ(book->Size(), 1u);
    EXPECT_FALSE(book->CanUndo());
    EXPECT_EQ(Setting("Sessions"), "<missing>");
    TearDown();
    SetUp();
  }
}

TEST_F(SessionRowTest, ExportWritesTheSessionShownAsCsvOrCsTimersFileAndSaysWhenItCannot) {
  OptionsWindow& window = LoadWithShelf({Solved(999)});
  options::SetSessionAnswerForTesting([](bool, const options::SessionChoice&) {
    return options::SessionChoice{"2x2x2: OH?", "222"};
  });
  window.onCmdNewSessionClick();
  shelf->CurrentBook().AppendAll({Solved(1234), "a note typed by hand", Solved(2345, results::Penalty::Dnf)});

  AnswerFileDialog(Path("out.csv"));
  window.onCmdExportClick();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].first, options::FileDialogKind::Save);
  EXPECT_EQ(dialogs[0].second, "2x2x2 OH") << "the session's name, as a file may be named";
  const std::string csv = ReadFileBytes(Path("out.csv"));
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBFNo.,Date,Time,Result,Penalty,Seconds,Scramble,Comment\r\n", 0), 0u) << csv;
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3) << csv;
  EXPECT_NE(csv.find("DNF"), std::string::npos);
  ASSERT_EQ(boxes.size(), 1u) << "where it wrote, and the line that is no result left out";
  EXPECT_EQ(boxes[0].text,
            "Exported 2 solves to " + Path("out.csv") + ".\n\n1 line of the session is no result and was left out.");
  EXPECT_EQ(boxes[0].style, static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));

  // csTimer's file may hold every session: No writes the one shown, Yes all of them,
  // Cancel nothing.
  boxes.clear();
  answer = IDNO;
  AnswerFileDialog(Path("out.txt"));
  window.onCmdExportClick();
  ASSERT_EQ(boxes.size(), 2u) << "the question, then where it wrote";
  EXPECT_EQ(boxes[1].text.rfind("Exported 2 solves to " + Path("out.txt") + ".", 0), 0u) << boxes[1].text;
  EXPECT_EQ(boxes[0].text, "Write every session (2) to \"out.txt\"?\n\nYes: every session, each a session of its own "
                           "in csTimer.\nNo: only \"2x2x2: OH? (2x2x2)\".");
  const std::string json = ReadFileBytes(Path("out.txt"));
  EXPECT_EQ(json.rfind("{\"session1\":[[[0,12340]", 0), 0u) << json;
  EXPECT_NE(json.find("2x2x2: OH?"), std::string::npos) << "the session's name goes with it";
  EXPECT_EQ(json.find("session2"), std::string::npos) << "the session shown alone";
  answer = IDYES;
  AnswerFileDialog(Path("all.txt"));
  window.onCmdExportClick();
  const std::string all = ReadFileBytes(Path("all.txt"));
  EXPECT_EQ(all.rfind("{\"session1\":[[[0,9990]", 0), 0u) << "the first session first: " << all;
  EXPECT_NE(all.find("\"session2\":[[[0,12340]"), std::string::npos) << all;
  answer = IDCANCEL;
  AnswerFileDialog(Path("none.txt"));
  window.onCmdExportClick();
  EXPECT_FALSE(FileExists(Path("none.txt")));
  answer = IDYES;

  boxes.clear();
  AnswerFileDialog(Path("no such folder\\out.csv"));
  window.onCmdExportClick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("\"out.csv\" could not be written"), std::string::npos) << boxes[0].text;
  EXPECT_FALSE(FileExists(Path("no such folder\\out.csv")));

  boxes.clear();
  AnswerFileDialog(std::nullopt);  // the dialog cancelled
  window.onCmdExportClick();
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SessionRowTest, ALongImportShowsItsProgressAndCancelStopsItWithNothingWritten) {
  OptionsWindow& window = LoadWithShelf({Solved(1234)});
  window.Show();
  std::string times;
  for (int i = 0; i < 20000; ++i) times += "12.34\r\n";
  WriteFileBytes(Path("many.txt"), times);
  AnswerFileDialog(Path("many.txt"));
  // Every look at the clock finds it 300 ms later: the box shows at the first step.
  SetClockForTesting([this] { return now += 300; });
  struct Seen {
    int steps = 0;
    std::string barClass;
    bool windowsOff = false;
  } seen;
  // Cancel, or Alt+F4 in the box (its close), stops the work.
  std::function<void(options::ProgressBox&)> cancel = [](options::ProgressBox& box) {
    SendMessageA(box.CancelButton(), BM_CLICK, 0, 0);
  };
  options::SetProgressStepForTesting([&](options::WorkProgress& progress) {
    ASSERT_NE(progress.Box(), nullptr);
    ++seen.steps;
    char name[64] = {};
    GetClassNameA(progress.Box()->Bar(), name, sizeof name);
    seen.barClass = name;
    seen.windowsOff = !IsWindowEnabled(window.Handle()) && !IsWindowEnabled(owner->Handle());
    if (cancel) cancel(*progress.Box());
  });
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run == 1 ? "Cancel" : "close");
    window.onCmdImportClick();
    EXPECT_EQ(seen.steps, run);
    EXPECT_EQ(seen.barClass, PROGRESS_CLASSA);
    EXPECT_TRUE(seen.windowsOff) << "nothing else starts while it runs";
    EXPECT_TRUE(boxes.empty()) << "a cancel needs no message";
    EXPECT_EQ(book->Size(), 1u);
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    cancel = [](options::ProgressBox& box) { SendMessageA(box.Handle(), WM_CLOSE, 0, 0); };
  }

  cancel = nullptr;
  window.onCmdImportClick();
  EXPECT_GE(seen.steps, 4);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(book->Size(), 20001u);
  EXPECT_TRUE(IsWindowEnabled(window.Handle()));
}

// The program's UI thread is in a COM apartment from its start; a test decoding a
// picture puts its thread in one the same way.

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
