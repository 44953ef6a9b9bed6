#pragma once
// The options window's tests share this: the program as it starts (a settings file,
// a log and the window the options window belongs to), the options window loaded as
// touching a control loads it, and the input, pumping and reading helpers the panels' tests use.
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

namespace tw::options_testing {

namespace lo = layout::options;
using testing_support::AppFolderTest;
using testing_support::FakeLogStore;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

// Stands where the main window stands: the window F1 and F2 come from.
inline FormDesign OwnerDesign() {
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
inline HWND Named(const OptionsWindow& window, std::string_view name) {
  const int index = lo::IndexOf(name);
  EXPECT_GE(index, 0) << "no control named " << name;
  return window.ControlOf(index);
}

inline std::string Settings(const std::string& lines) { return "[General Settings]\r\n" + lines; }

struct PanelExpectation {
  const char* caption;
  int clientHeight;  // the table's outer height less its frame
  int exitTop;
  const char* frame;  // the one visible and enabled frame, or "" before a panel is chosen
};

inline void ExpectPanel(OptionsWindow& window, const PanelExpectation& want) {
  EXPECT_EQ(window.Caption(), want.caption);
  EXPECT_EQ(window.ClientHeight(), want.clientHeight);
  EXPECT_EQ(window.ClientWidth(), 5895);
  EXPECT_EQ(window.ControlTop(window.Control("cmdExit")), want.exitTop);
  constexpr lo::ControlName kFrames[] = {"fraAbout", "fraResult", "fraSetup", "fraPractice", "fraSession"};
  for (const lo::ControlName frame : kFrames) {
    // The Practice frame goes with the Setup panel and the Sessions frame with the
    // Result panel; the window with no panel chosen has neither.
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

using testing_support::PumpUntil;

inline void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {  // virtual key, down
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

inline void SendMouse(DWORD flags) {
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

inline void PrintTo(const SettingChange& change, std::ostream* os) { *os << change.key << "=" << change.stored; }

inline std::vector<std::string> Lines(int count) {
  std::vector<std::string> lines;
  for (int i = 1; i <= count; ++i) lines.push_back(std::string(1, '#').append(std::to_string(i)));
  return lines;
}

// A snapshot of a list box's client area, as it paints it.
inline std::vector<COLORREF> Snapshot(HWND control) {
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

// The centre of a control of the layout table, in client pixels; `dy` moves down from its top instead.
inline POINT PointIn(const OptionsWindow& window, const char* name, int dyTwips = -1) {
  const lo::ControlRow& row = lo::Row(name);
  const lo::Point origin = lo::ClientOrigin(row);
  const int y = dyTwips >= 0 ? origin.y + dyTwips : origin.y + row.height / 2;
  return POINT{window.Px(origin.x + row.width / 2), window.Px(y)};
}

inline LOGFONTA FontOf(HWND control) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

// The width and height a control's text needs in its font, against its client box.
struct Fit {
  SIZE needed;
  SIZE room;
};

inline Fit TextFit(const OptionsWindow& window, HWND control, const lo::ControlRow& row) {
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

inline std::string PanelOf(const lo::ControlRow& row) {
  std::string frame = row.container;
  while (*lo::Row(frame).container) frame = lo::Row(frame).container;
  return frame;
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

inline std::string Solved(int hundredths, results::Penalty penalty = results::Penalty::None, std::string comment = "") {
  results::Solve solve;
  solve.when = {2024, 3, 4, 5, 6, 7};
  solve.time = hundredths;
  solve.penalty = penalty;
  solve.comment = std::move(comment);
  return results::Format(solve);
}

// What the menu showed for each command: "-" greyed, "o" enabled, "x" checked.
inline std::string MenuMarks(HMENU menu) {
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

inline RECT ClientBox(const OptionsWindow& window, const char* name) {
  RECT box;
  GetWindowRect(Named(window, name), &box);
  MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&box), 2);
  return box;
}

// Two sessions of csTimer's, one solve of the second unreadable.
inline const std::string kCsTimerFile =
    R"({"session1":[[[0,12345],"R U","",1700000000],[[2000,10000],"F2","pop",1700000100]],)"
    R"("session2":[[[0,4567],"R U F","",1700001000],[["x"],"","",0]],)"
    R"("properties":{"sessionData":"{\"1\":{\"name\":\"Main\",\"opt\":{\"scrType\":\"333\"}},)"
    R"(\"2\":{\"name\":\"Small\\nset\",\"opt\":{\"scrType\":\"222so\"}}}"}})";

// The program's UI thread is in a COM apartment from its start; a test decoding a
// picture puts its thread in one the same way.

}  // namespace tw::options_testing
