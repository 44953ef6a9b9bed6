#include "options/win32/options_window.h"

#include <algorithm>
#include <memory>
#include <string>

#include "docking/win32/docking.h"
#include "options/link_hover.h"
#include "options/mail_link.h"
#include "options/win32/hyperlink.h"
#include "options/win32/link_label.h"
#include "resources/links.h"
#include "resources/main_layout.h"
#include "resources/resource_ids.h"
#include "results/result_book.h"
#include "results/solve.h"
#include "storage/win32/settings.h"
#include "toolkit/win32/services.h"

namespace tw {

namespace {

namespace lo = layout::options;
using options::Panel;

constexpr const char* kResetQuestion = "Are you sure want to reset the result?";
constexpr unsigned kResetStyle = MB_YESNO | MB_ICONQUESTION;  // 36, Yes the default

FontSpec LinkFont(bool emphasised) {
  return FontSpec{lo::kFontFace, lo::kFontCentiPoints, emphasised ? lo::kBold : lo::kRegular, emphasised};
}

FormDesign OptionsDesign() {
  return FormDesign{lo::kFirstCaption,
                    lo::kClientWidth,
                    lo::kClientHeight,
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                    WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                    lo::kBackColor,
                    FontSpec{lo::kFontFace, lo::kFontCentiPoints, lo::kRegular},
                    IDI_TWISTWATCH,
                    true,
                    // Alt+Space opens this window's system menu like any dialog's.
                    false};
}

const lo::ControlRow& RowAt(int index) { return lo::kAllControls[static_cast<std::size_t>(index)]; }

int LinkIndexOf(std::string_view name) {
  for (int link = 0; link < static_cast<int>(options::kLinkNames.size()); ++link) {
    if (name == options::kLinkNames[static_cast<std::size_t>(link)]) return link;
  }
  return -1;
}

std::string LinkTarget(int link) {
  switch (link) {
    case 0:
      return links::kHomePage;
    case 1:
      return links::kWebSite;
    default:
      return options::MailLink(links::kContactEmail);
  }
}

std::unique_ptr<OptionsWindow> g_options;
results::ResultBook* g_book = nullptr;

// Ctrl+Z and Ctrl+Y reach the options window before the dialog manager hands them to
// the focused control, which would swallow them.
LRESULT CALLBACK PanelKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX && g_options && g_options->IsLoaded() &&
      g_options->onPanelKey(*reinterpret_cast<const MSG*>(lParam))) {
    return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

const char* SwitchWord(settings::Switch state) {
  switch (state) {
    case settings::Switch::kEnabled:
      return options::kEnabled;
    case settings::Switch::kDisabled:
      return options::kDisabled;
    default:
      return "";
  }
}

}  // namespace

OptionsWindow::OptionsWindow() : Form(OptionsDesign()) {}

OptionsWindow::~OptionsWindow() {
  Unload();
  if (white_) DeleteObject(white_);
}

HWND OptionsWindow::ControlOf(int index) const {
  return index < 0 || index >= lo::kAllControlCount ? nullptr : hwnds_[static_cast<std::size_t>(index)];
}

bool OptionsWindow::FrameVisible(lo::ControlName frame) const { return visible_[static_cast<std::size_t>(frame.index)]; }

bool OptionsWindow::FrameEnabled(lo::ControlName frame) const { return enabled_[static_cast<std::size_t>(frame.index)]; }

HBRUSH OptionsWindow::WhiteBrush() {
  if (!white_) white_ = CreateSolidBrush(lo::kBackColor);
  return white_;
}

// The window's state before any panel is chosen: all three panel frames visible.
void OptionsWindow::OnCreate() {
  hwnds_.fill(nullptr);
  visible_.fill(true);
  enabled_.fill(true);
  usable_.fill(true);
  // The added frames show only with their panel: before a panel is chosen the window
  // has none of them.
  for (const lo::PanelRow& panel : lo::kPanels) {
    if (!*panel.addedFrame) continue;
    const auto index = static_cast<std::size_t>(lo::IndexOf(panel.addedFrame));
    visible_[index] = enabled_[index] = false;
  }
  emphasis_.fill(false);
  saved_focus_ = nullptr;
  select_after_save_ = false;
  select_after_save_line_ = -1;
  // Creation order is the tab order: the dialog manager tabs through the z-order. F1
  // makes only what the panel it opens on shows; the rest follows once that is painted.
  const auto readLastFrame = [] { return settings::Read(settings::kLastFrame); };
  const std::optional<Panel> first = defer_rest_ ? options::RestoredPanel(readLastFrame) : std::nullopt;
  complete_ = !first;
  for (int index : lo::WindowTabOrder()) {
    if (!first || ShownWith(*first, index)) CreateControl(index);
  }
  AttachControls();
  hand_ = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_LINK));
  if (!hand_) hand_ = LoadCursor(nullptr, IDC_HAND);
  LoadPicture();
  ApplyFrames();
}

bool OptionsWindow::OnLoad() {
  docking::ActivateDocking(Handle());
  const auto readLastFrame = [] { return settings::Read(settings::kLastFrame); };
  if (const auto panel = options::RestoredPanel(readLastFrame)) {
    switch (*panel) {
      case Panel::About:
        optAbout.SetValue(true);
        break;
      case Panel::Result:
        optResult.SetValue(true);
        break;
      case Panel::Setup:
        optSetup.SetValue(true);
        break;
    }
  }
  LoadSwitch(chkShowHour, settings::kShowHour);
  LoadSwitch(chk3SecCD, settings::kCountdown);
  LoadSwitch(chkLogResult, settings::kLogResult);
  LoadSwitch(chkShowScramble, settings::kShowScramble);
  LoadSwitch(chkInspection, settings::kInspection);
  LoadSwitch(chkAnyKeyStops, settings::kAnyKeyStops);
  LoadHoldToStart();
  ApplyHoldToCountdown();
  LoadTimerInput();
  // The list follows the book from here on, loaded hidden or shown.
  lstResult.SetBook(g_book);
  SessionsChanged();
  key_filter_ = SetWindowsHookExA(WH_MSGFILTER, &PanelKeyFilter, nullptr, GetCurrentThreadId());
  settings::Store().AddWatcher(*this);
  if (!complete_) SetTimer(Handle(), kCompleteTimerId, USER_TIMER_MINIMUM, nullptr);
  return true;
}

void OptionsWindow::OnUnload() {
  settings::Store().RemoveWatcher(*this);
  complete_ = true;
  if (key_filter_) UnhookWindowsHookEx(key_filter_);
  key_filter_ = nullptr;
  lstResult.SetBook(nullptr);
  select_after_save_ = false;
  docking::DeactivateDocking(Handle());
  hwnds_.fill(nullptr);
  countdownTip_ = nullptr;
}

void OptionsWindow::onOptSetupClick() { SwitchPanel(Panel::Setup); }
void OptionsWindow::onOptResultClick() { SwitchPanel(Panel::Result); }
void OptionsWindow::onOptAboutClick() { SwitchPanel(Panel::About); }

void OptionsWindow::SwitchPanel(Panel panel) {
  const lo::PanelRow& row = options::PanelRowOf(panel);
  if (!ControlOf(lo::IndexOf(row.frame))) CompleteControls();
  SetCaption(row.caption);
  // The table's sizes are outer sizes on a frame of kLayoutFrame*; the client keeps
  // that size inside whatever frame the system really draws.
  SetClientSize(ClientWidth(), row.windowHeight - layout::kLayoutFrameHeight);
  SetClientSize(row.windowWidth - layout::kLayoutFrameWidth, ClientHeight());
  SetControlTop(Control("cmdExit"), row.exitTop);
  for (const char* frame : lo::kFrameSwitchOrder) {
    const auto index = static_cast<std::size_t>(lo::IndexOf(frame));
    const bool chosen = std::string_view(frame) == row.frame;
    enabled_[index] = chosen;
    visible_[index] = chosen;
  }
  // The added frames go with their panel.
  for (const lo::PanelRow& other : lo::kPanels) {
    if (!*other.addedFrame) continue;
    const auto index = static_cast<std::size_t>(lo::IndexOf(other.addedFrame));
    enabled_[index] = visible_[index] = &other == &row;
  }
  ApplyFrames();
  // Tab reaches the option row at its selected button only: a radio button that
  // takes the focus unselected clicks itself, which here would switch the panel.
  for (OptionButton* option : {&optSetup, &optResult, &optAbout}) {
    const LONG_PTR style = GetWindowLongPtrA(option->Handle(), GWL_STYLE);
    SetWindowLongPtrA(option->Handle(), GWL_STYLE, option->Value() ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
  KeepFocusOnScreen(ControlOf(lo::IndexOf(row.option)));
}

void OptionsWindow::SetUsable(lo::ControlName name, bool usable) {
  usable_[static_cast<std::size_t>(name.index)] = usable;
  ApplyEnabled(name.index);
}

void OptionsWindow::KeepFocusOnScreen(HWND fallback) {
  if (!Visible() || GetActiveWindow() != Handle()) return;
  HWND focus = GetFocus();
  const bool usable = focus && IsChild(Handle(), focus) && IsWindowVisible(focus) && IsWindowEnabled(focus);
  if (!usable && fallback) SetFocus(fallback);
}

HWND OptionsWindow::PanelButton() const {
  for (const OptionButton* option : {&optSetup, &optResult, &optAbout}) {
    if (option->Value()) return option->Handle();
  }
  return Control("cmdExit");
}

void OptionsWindow::FocusPanelButton() { saved_focus_ = PanelButton(); }

void OptionsWindow::onCmdExitClick() {
  settings::Write(settings::kLastFrame,
                  options::LastFrameToStore(optSetup.Value(), optAbout.Value(), optResult.Value()));
  Unload();
}

void OptionsWindow::LoadSwitch(CheckBox& box, const settings::SwitchKey& key) {
  // A box not made yet is loaded once it is.
  if (!box.Handle()) return;
  const auto state = options::StoredSwitchState(
      [&key] { return std::string(SwitchWord(settings::Read(key, settings::Reader::kOptionsWindow))); });
  if (state) box.SetValue(*state);
}

void OptionsWindow::StoreSwitch(const CheckBox& box, const settings::SwitchKey& key) {
  // The store tells every watcher (the main window lays its digits out again for
  // Show Hour), the key already written.
  settings::Write(key, box.Value() == 1);
}

void OptionsWindow::onChk3SecCDClick() { StoreSwitch(chk3SecCD, settings::kCountdown); }
void OptionsWindow::onChkLogResultClick() { StoreSwitch(chkLogResult, settings::kLogResult); }

void OptionsWindow::onChkShowHourClick() { StoreSwitch(chkShowHour, settings::kShowHour); }
void OptionsWindow::onChkShowScrambleClick() { StoreSwitch(chkShowScramble, settings::kShowScramble); }
// The main window reads these keys again at every Space.
void OptionsWindow::onChkInspectionClick() { StoreSwitch(chkInspection, settings::kInspection); }
void OptionsWindow::onChkAnyKeyStopsClick() { StoreSwitch(chkAnyKeyStops, settings::kAnyKeyStops); }
void OptionsWindow::onChkShowAveragesClick() { StoreSwitch(chkShowAverages, settings::kShowAverages); }

// Lists the delays and selects the stored one; nothing is written until the user picks.
void OptionsWindow::LoadHoldToStart() {
  hold_ = options::HoldChoicesFor(settings::Read(settings::kHoldToStart.text));
  HWND list = Control("cboHoldToStart");
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : hold_.items) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(hold_.selected), 0);
}

int OptionsWindow::HoldToStartSelected() const {
  const auto item = static_cast<int>(SendMessageA(Control("cboHoldToStart"), CB_GETCURSEL, 0, 0));
  return item == CB_ERR ? -1 : item;
}

void OptionsWindow::SetHoldToStartSelected(int item) {
  SendMessageA(Control("cboHoldToStart"), CB_SETCURSEL, static_cast<WPARAM>(item), 0);
  onCboHoldToStartChange();
}

void OptionsWindow::onCboHoldToStartChange() {
  const int item = HoldToStartSelected();
  if (item < 0 || item >= static_cast<int>(hold_.delays.size())) return;
  settings::Write(settings::kHoldToStart.text, settings::kHoldToStart.Text(hold_.delays[static_cast<std::size_t>(item)]));
  ApplyHoldToCountdown();
}

void OptionsWindow::SetResultBook(results::ResultBook* book) {
  select_after_save_ = false;
  if (IsLoaded()) lstResult.SetBook(book);
}

// Every change goes through the book, which saves it and never deletes a log it could
// not read for looking empty; the list follows the book.
void OptionsWindow::onCmdRemoveClick() {
  results::ResultBook* book = lstResult.Book();
  if (!book) return;
  const int selected = lstResult.SelectedIndex();
  select_after_save_ = true;
  select_after_save_line_ = selected;
  if (selected >= 0) {
    book->Remove(static_cast<std::size_t>(selected));
  } else if (book->Size() == 0) {
    // Nothing selected in an empty list: the log goes, as when its last line is removed.
    book->Reset();
  } else {
    // Nothing selected: nothing is removed, and the log is written again as it is.
    book->Save();
  }
  SelectAfterSave(*book);
}

// The selection stays where it was, on the line that moved up into the removed one's
// place (or the new last line), so a second Remove takes the next line down, never a
// line far from it. Nothing is selected when the save failed: what the list shows is
// then not the file.
void OptionsWindow::SelectAfterSave(const results::ResultBook& book) {
  if (!select_after_save_ || book.State().saving) return;
  select_after_save_ = false;
  if (lstResult.SelectedIndex() >= 0 || select_after_save_line_ < 0) return;
  lstResult.SetSelectedIndex(book.State().failed ? -1 : std::min(select_after_save_line_, lstResult.Count() - 1));
}

void OptionsWindow::onCmdResetClick() {
  if (ShowMessageBox(Handle(), kResetQuestion, kAppTitle, kResetStyle) != IDYES) return;
  results::ResultBook* book = lstResult.Book();
  if (!book) return;
  select_after_save_ = false;
  // A log that cannot be deleted stays as it was; the book says so in its save state.
  book->Reset();
}

void OptionsWindow::onLinkClick(int link) { options::OpenHyperlink(LinkTarget(link)); }

void OptionsWindow::onPointerMove(POINT clientPixels) {
  const options::HoverEffect effect = options::HoverEffectOf(ControlAt(clientPixels));
  if (effect.kind == options::HoverKind::Nothing) return;
  for (int link = 0; link < static_cast<int>(emphasis_.size()); ++link) {
    SetLinkEmphasis(link, effect.kind == options::HoverKind::Emphasise && link == effect.link);
  }
}

void OptionsWindow::SetLinkEmphasis(int link, bool on) {
  if (emphasis_[static_cast<std::size_t>(link)] == on) return;
  emphasis_[static_cast<std::size_t>(link)] = on;
  ApplyLinkFont(link);
}

void OptionsWindow::ApplyLinkFont(int link) {
  HWND label = ControlOf(lo::IndexOf(options::kLinkNames[static_cast<std::size_t>(link)]));
  if (!label) return;
  const FontSpec font = LinkFont(emphasis_[static_cast<std::size_t>(link)]);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(font)), TRUE);
}

void OptionsWindow::OnDpiChanged() {
  // The text grows by the font's own rounding, the boxes by the DPI: fit them again.
  for (int index = 0; index < lo::kAllControlCount; ++index) FitToText(index);
  // A box that draws its lines is told their new height itself; then it fits its
  // box in the layout table to whole lines again, as a box with text does after its new font.
  lstResult.FontChanged();
  const lo::ControlRow& list = lo::Row("lstResult");
  const lo::Point listAt = lo::ClientOrigin(list);
  MoveControl(lstResult.Handle(), listAt.x, listAt.y, list.width, list.height);
  // The form gives every control back its layout font; the emphasis goes on top.
  for (int link = 0; link < static_cast<int>(emphasis_.size()); ++link) {
    if (emphasis_[static_cast<std::size_t>(link)]) ApplyLinkFont(link);
  }
  LoadPicture();
}

void OptionsWindow::OnCommand(int id, int code, HWND /*control*/) {
  int index = id - kFirstControlId;
  // Escape, as in any dialog: the window closes as Exit closes it.
  if (id == IDCANCEL) return onCmdExitClick();
  if (id == IDOK) {
    // Enter: the dialog manager found no default button; press the focused one.
    index = IndexOfHandle(GetFocus());
    code = BN_CLICKED;
  }
  if (index < 0 || index >= lo::kAllControlCount) return;
  if (code != BN_CLICKED) return OnListCommand(index, code);
  switch (index) {
    case lo::Id("optSetup"): return optSetup.UserClicked();
    case lo::Id("optResult"): return optResult.UserClicked();
    case lo::Id("optAbout"): return optAbout.UserClicked();
    case lo::Id("cmdExit"): return onCmdExitClick();
    case lo::Id("cmdRemove"): return onCmdRemoveClick();
    case lo::Id("cmdReset"): return onCmdResetClick();
    case lo::Id("cmdNewSession"): return onCmdNewSessionClick();
    case lo::Id("cmdRenameSession"): return onCmdRenameSessionClick();
    case lo::Id("cmdDeleteSession"): return onCmdDeleteSessionClick();
    case lo::Id("cmdImport"): return onCmdImportClick();
    case lo::Id("cmdExport"): return onCmdExportClick();
    // Enter on the list opens the selected line's details.
    case lo::Id("lstResult"): return id == IDOK ? onListOpenDetails() : void();
    default: break;
  }
  if (id == IDOK) return;  // Enter does not toggle a check box
  switch (index) {
    case lo::Id("chk3SecCD"): return chk3SecCD.UserClicked();
    case lo::Id("chkShowHour"): return chkShowHour.UserClicked();
    case lo::Id("chkLogResult"): return chkLogResult.UserClicked();
    case lo::Id("chkShowScramble"): return chkShowScramble.UserClicked();
    case lo::Id("chkInspection"): return chkInspection.UserClicked();
    case lo::Id("chkAnyKeyStops"): return chkAnyKeyStops.UserClicked();
    case lo::Id("chkShowAverages"): return chkShowAverages.UserClicked();
    default: break;
  }
  if (const int link = LinkIndexOf(RowAt(index).name); link >= 0) onLinkClick(link);
}

// The lists' notifications: a pick from a drop-down list, one dropped down, a double
// click on a line of the Result panel.
void OptionsWindow::OnListCommand(int index, int code) {
  switch (index) {
    case lo::Id("cboHoldToStart"): return code == CBN_SELCHANGE ? onCboHoldToStartChange() : void();
    case lo::Id("cboTimerInput"): return code == CBN_SELCHANGE ? onCboTimerInputChange() : void();
    case lo::Id("cboStackmatDevice"):
      if (code == CBN_SELCHANGE) return onCboStackmatDeviceChange();
      return code == CBN_DROPDOWN ? onCboStackmatDeviceDropDown() : void();
    case lo::Id("cboSession"): return code == CBN_SELCHANGE ? onCboSessionChange() : void();
    case lo::Id("lstResult"): return code == LBN_DBLCLK ? onListOpenDetails() : void();
    default: return;
  }
}

LRESULT OptionsWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
    RelayToCountdownTip(message, wParam, lParam);
  }
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      const int index = IndexOfHandle(reinterpret_cast<HWND>(lParam));
      const lo::Kind kind = index < 0 ? lo::Kind::Frame : RowAt(index).kind;
      if (kind == lo::Kind::Label || kind == lo::Kind::FieldLabel) {
        // Transparent labels draw their text on the form's white; the title and the
        // version overlap, so neither may paint a background over the other.
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      }
      if (kind == lo::Kind::LinkLabel) SetTextColor(dc, lo::kLinkColor);
      SetBkColor(dc, lo::kBackColor);
      return reinterpret_cast<LRESULT>(WhiteBrush());
    }
    case WM_MEASUREITEM: {
      // Sent while the list box is created, before it has its font. A box with text
      // measures its lines in the system font then, and fits its height to whole lines
      // once for that font and again for its own: answered alike, this box comes out
      // exactly as high as that one.
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_LISTBOX) break;
      item->itemHeight = static_cast<UINT>(options::ResultList::LineHeight(nullptr));
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlType == ODT_LISTBOX && item->hwndItem == lstResult.Handle()) {
        lstResult.Draw(*item);
        return TRUE;
      }
      if (item->CtlType != ODT_STATIC || IndexOfHandle(item->hwndItem) < 0) break;
      DrawRightAlignedLabel(*item);
      return TRUE;
    }
    case WM_NEXTDLGCTL:
      MoveFocusForDialogManager(Handle(), wParam, lParam);
      return 0;
    case WM_CONTEXTMENU: {
      if (reinterpret_cast<HWND>(wParam) != lstResult.Handle()) break;
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      onListContextMenu(at.x == -1 && at.y == -1 ? std::nullopt : std::optional<POINT>(at));
      return 0;
    }
    case WM_TIMER:
      if (wParam != kCompleteTimerId) break;
      CompleteSomeControls();
      return 0;
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wParam), lo::kBackColor);
      return reinterpret_cast<LRESULT>(WhiteBrush());
    case WM_SETCURSOR: {
      if (LOWORD(lParam) != HTCLIENT) break;
      POINT at;
      GetCursorPos(&at);
      ScreenToClient(Handle(), &at);
      if (HIWORD(lParam) == WM_MOUSEMOVE) onPointerMove(at);
      const int index = ControlAt(at);
      if (index >= 0 && RowAt(index).kind == lo::Kind::LinkLabel) {
        SetCursor(hand_);
        return TRUE;
      }
      break;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) saved_focus_ = focus;
        return 0;
      }
      if (saved_focus_ && IsChild(Handle(), saved_focus_) && IsWindowVisible(saved_focus_) &&
          IsWindowEnabled(saved_focus_)) {
        SetFocus(saved_focus_);
        return 0;
      }
      SetFocus(PanelButton());
      return 0;
    default:
      break;
  }
  return Form::WndProc(message, wParam, lParam);
}

void SetOptionsResultBook(results::ResultBook* book) {
  g_book = book;
  if (g_options) g_options->SetResultBook(book);
  // A new book is a session switched (from the main window too): the row follows.
  OptionsSessionsChanged();
}

void OptionsSessionsChanged() {
  if (g_options && g_options->IsLoaded()) g_options->SessionsChanged();
}

// A view of the store: a switch written elsewhere shows in its box. Setting the box to
// what the file already holds writes nothing new, so no change comes back.
void OptionsWindow::OnSettingChanged(std::string_view key) {
  if (!IsLoaded()) return;
  const std::pair<CheckBox*, const settings::SwitchKey*> boxes[] = {
      {&chkShowHour, &settings::kShowHour},         {&chk3SecCD, &settings::kCountdown},
      {&chkLogResult, &settings::kLogResult},       {&chkShowScramble, &settings::kShowScramble},
      {&chkInspection, &settings::kInspection},     {&chkAnyKeyStops, &settings::kAnyKeyStops},
      {&chkShowAverages, &settings::kShowAverages}};
  for (const auto& [box, switchKey] : boxes) {
    if (switchKey->name == key) LoadSwitch(*box, *switchKey);
  }
}

// Loaded with every control: what touches the window outside F1 may touch any panel.
OptionsWindow& frmMore(HWND owner) {
  if (!g_options) g_options = std::make_unique<OptionsWindow>();
  if (!g_options->IsLoaded()) g_options->Load(owner);
  g_options->CompleteControls();
  return *g_options;
}

OptionsWindow* OptionsWindowInstance() { return g_options.get(); }

bool OptionsWindowLoaded() { return g_options && g_options->IsLoaded(); }

void ShowOptionsWindow(HWND owner) {
  if (!g_options) g_options = std::make_unique<OptionsWindow>();
  OptionsWindow& window = *g_options;
  if (!window.IsLoaded()) window.LoadShowingFirst(owner);
  if (!window.IsLoaded()) return;
  window.FocusPanelButton();
  window.ShowModal();
}

void ToggleShowHour(HWND owner) {
  OptionsWindow& window = frmMore(owner);
  window.chkShowHour.SetValue(window.chkShowHour.Value() == 0 ? 1 : 0);
}

void UnloadOptionsWindow() {
  if (g_options) g_options->Unload();
}

}  // namespace tw
