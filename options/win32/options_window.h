#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "options/hold_choice.h"
#include "options/line_menu.h"
#include "options/panel_choice.h"
#include "options/win32/about_picture.h"
#include "options/win32/result_list.h"
#include "resources/options_layout.h"
#include "storage/settings_schema.h"
#include "storage/settings_store.h"
#include "toolkit/win32/controls.h"
#include "toolkit/win32/form.h"

namespace tw {

namespace results {
class ResultBook;
class SessionShelf;
}

// The options window (frmMore): Setup, Result and About panels stacked in one place,
// chosen by three push-like option buttons, closed by Exit or the title bar.
// Its controls are native windows, all children of the form: a control inside a
// frame sits at the frame's offset plus its own and is shown, hidden, enabled and
// disabled together with its frame. The Result panel shows the log of record, a
// ResultBook it is given, and changes it only through the book.
class OptionsWindow : public Form, private settings::SettingsWatcher {
 public:
  OptionsWindow();
  ~OptionsWindow() override;

  OptionButton optAbout, optResult, optSetup;
  CheckBox chk3SecCD, chkShowHour, chkLogResult;
  // Added in the Practice frame under the Setup frame: the scramble row
  // under the digits, the WCA inspection before a solve, any key stopping a solve, and
  // a hold before the start, the averages line under the digits. All off, and their
  // keys unwritten, until used.
  CheckBox chkShowScramble, chkInspection, chkAnyKeyStops, chkShowAverages;
  // The book's lines, drawn from the book itself.
  options::ResultList lstResult;

  // The book the Result panel shows and edits; null shows an empty list. The book
  // must outlive the window's load, or be taken away first.
  void SetResultBook(results::ResultBook* book);
  // The session row shows the shelf's sessions again, the current one chosen.
  void SessionsChanged();
  // The session row's list as shown, and the item chosen (-1 for none).
  std::vector<std::string> SessionItems() const;
  int SessionSelected() const;
  void SetSessionSelected(int item);  // as a user's pick: switches to that session

  // The native window of a control, by its name in the layout table (checked when
  // compiled), or by its index there.
  HWND Control(layout::options::ControlName name) const { return ControlOf(name.index); }
  HWND ControlOf(int index) const;
  // A frame's Visible and Enabled as the panel switch last set them. With all three
  // panel frames visible (the state before any panel is chosen) the About frame covers the other two,
  // so only its controls are on the screen.
  bool FrameVisible(layout::options::ControlName frame) const;
  bool FrameEnabled(layout::options::ControlName frame) const;
  // The hover emphasis of lblURL1, lblURL2, lblURL3 (0, 1, 2).
  bool LinkBold(int link) const { return emphasis_[static_cast<std::size_t>(link)]; }
  bool LinkUnderline(int link) const { return emphasis_[static_cast<std::size_t>(link)]; }

  // Handlers, public so the tests can drive them as the window does.
  void onOptSetupClick();
  void onOptResultClick();
  void onOptAboutClick();
  void onCmdExitClick();
  void onChk3SecCDClick();
  void onChkLogResultClick();
  void onChkShowHourClick();
  void onChkShowScrambleClick();
  void onChkInspectionClick();
  void onChkAnyKeyStopsClick();
  void onChkShowAveragesClick();
  // The "Hold to start" list: its items, the one selected, and a pick from it.
  const options::HoldChoices& HoldToStartChoices() const { return hold_; }
  int HoldToStartSelected() const;
  void SetHoldToStartSelected(int item);  // as a user's pick: stores it at once
  // The tip over the countdown box, which says why it is greyed.
  HWND CountdownTip() const { return countdownTip_; }
  void onCboHoldToStartChange();
  // The timer input's row: Keyboard or a competition timer, and its sound input.
  void onCboTimerInputChange();
  void onCboStackmatDeviceChange();
  void onCboStackmatDeviceDropDown();
  void onCmdRemoveClick();
  void onCmdResetClick();
  // The session row under the Result frame.
  void onCboSessionChange();
  void onCmdNewSessionClick();
  void onCmdRenameSessionClick();
  void onCmdDeleteSessionClick();
  void onCmdImportClick();
  void onCmdExportClick();
  void onLinkClick(int link);
  // The Result panel's menu for the selected line, at a point on the screen or, from
  // the keyboard, under the line; and one of its commands on the selected line.
  void onListContextMenu(std::optional<POINT> screen);
  void onLineCommand(options::LineCommand command);
  // Enter or a double click on a line: the solve's details, its penalty and comment
  // editable. Delete on a selected line: removed, as by Remove.
  void onListOpenDetails();
  void onListDeleteKey();
  // A key the Result panel takes before any control does (Ctrl+Z, Ctrl+Y): true when
  // it was taken.
  bool onPanelKey(const MSG& msg);
  // The shown panel's option button, or Exit when no panel is chosen: where a key
  // pressed by mistake (a Space meant for the timer) changes nothing.
  HWND PanelButton() const;
  // The next activation puts the focus there (the window opening).
  void FocusPanelButton();
  // A mouse move at a point of the client area, in pixels, over whatever control lies there.
  void onPointerMove(POINT clientPixels);

  // Loads the window with only the controls of the panel it opens on; the others are
  // made once that is painted (CompleteControls makes them at once).
  bool LoadShowingFirst(HWND owner);
  void CompleteControls();

 protected:
  void OnCreate() override;
  bool OnLoad() override;
  void OnUnload() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnListCommand(int index, int code);
  void OnDpiChanged() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnSettingChanged(std::string_view key) override;
  static constexpr UINT_PTR kCompleteTimerId = 0x7C00;  // clear of the ids tw::Timer hands out
  // Control ids stay clear of IDOK and IDCANCEL, which the dialog manager sends for
  // Enter and Escape.
  static constexpr int kFirstControlId = 1000;
  // Whether a control is one the panel shows (or one every panel shows).
  static bool ShownWith(options::Panel panel, int index);
  void CreateControl(int index);
  void AttachControls();
  void CompleteSomeControls();
  void FinishControls();
  void LoadPicture();
  void SwitchPanel(options::Panel panel);
  void ApplyFrames();
  void SetLinkEmphasis(int link, bool on);
  void ApplyLinkFont(int link);
  void LoadSwitch(CheckBox& box, const settings::SwitchKey& key);
  // Writes a switch's key, then tells the program it changed.
  void StoreSwitch(const CheckBox& box, const settings::SwitchKey& key);
  void LoadHoldToStart();
  // While Hold to start is on the countdown is never run: its box is greyed, with a tip saying why.
  void ApplyHoldToCountdown();
  void RelayToCountdownTip(UINT message, WPARAM wParam, LPARAM lParam);
  void LoadTimerInput();
  void ListSoundInputs();
  // After a Remove: once its save has an outcome, the line that took the removed one's
  // place is selected when it was saved and none when it was not (unless the user
  // picked a line meanwhile).
  void SelectAfterSave(const results::ResultBook& book);
  // A check box's caption or a label's text fits its control at the window's DPI:
  // the control grows from its box in the layout table into the free room of its frame.
  void FitToText(int index);
  // Enables a control as its frame and its own use allow.
  void ApplyEnabled(int index);
  void SetUsable(layout::options::ControlName name, bool usable);
  void KeepFocusOnScreen(HWND fallback);
  void DrawRightAlignedLabel(const DRAWITEMSTRUCT& item);
  int IndexOfHandle(HWND control) const;
  // The front-most shown control at a point, by the layout table's stacking, or -1.
  int ControlAt(POINT clientPixels) const;
  HBRUSH WhiteBrush();

  std::array<HWND, layout::options::kAllControlCount> hwnds_{};
  std::array<bool, layout::options::kAllControlCount> visible_{};
  std::array<bool, layout::options::kAllControlCount> enabled_{};
  // Whether a control may be used at all, whatever its frame: Delete... is not for the
  // first session, and the session row needs a shelf.
  std::array<bool, layout::options::kAllControlCount> usable_{};
  std::array<bool, 3> emphasis_{};
  options::Bitmap picture_;
  HBRUSH white_ = nullptr;
  HCURSOR hand_ = nullptr;
  HWND saved_focus_ = nullptr;
  bool select_after_save_ = false;
  int select_after_save_line_ = -1;
  options::HoldChoices hold_;
  // The sound inputs' names as listed after the default (UTF-8); listed once dropped down.
  std::vector<std::string> soundInputs_;
  bool soundInputsListed_ = false;
  HWND countdownTip_ = nullptr;  // owned by the window, destroyed with it
  HHOOK key_filter_ = nullptr;
  bool defer_rest_ = false;  // the load under way makes the first panel's controls only
  bool complete_ = true;     // every control is made
};

// What the program gives the options window, before the first F1 or F2 and again
// whenever it changes: the book of the Result panel (null for none). The switches it
// writes reach the rest of the program through the settings store's watchers.
void SetOptionsResultBook(results::ResultBook* book);
// The sessions the Result panel's session row shows and changes (null: the first
// session alone, its buttons off). The row follows the shelf's current session each
// time SetOptionsResultBook is called, which the shelf's onSwitched does; a change
// made elsewhere to the list alone (no switch) is shown after OptionsSessionsChanged.
void SetOptionsSessionShelf(results::SessionShelf* shelf);
void OptionsSessionsChanged();

// The one options window, created on first use and loaded hidden, owned by `owner`
// (no taskbar button of its own, above it while modal), when it is not loaded, as
// touching any of its controls does.
OptionsWindow& frmMore(HWND owner);
// The instance without loading it; null before first use.
OptionsWindow* OptionsWindowInstance();
bool OptionsWindowLoaded();

// F1 in the main window: loads the options window, owned by `owner`, when it is not
// loaded, and shows it modally until it closes. It opens with the focus on the shown
// panel's option button (Exit when none is chosen), where a Space changes nothing.
void ShowOptionsWindow(HWND owner);
// F2 in the main window: toggles Show Hour, loading the options window hidden first
// when it is not loaded.
void ToggleShowHour(HWND owner);
// The main window's unload: a window loaded hidden by F2 must not outlive it.
void UnloadOptionsWindow();

// The Result panel's menu is shown by this instead of the system's popup menu: it gets
// the menu as built and returns the id of the item chosen (0 for none); the ids are
// LineMenuCommandId's.
void SetLineMenuChooserForTesting(std::function<int(HMENU menu)> chooser);
int LineMenuCommandId(options::LineCommand command);

}  // namespace tw
