#include "options/win32/session_box.h"

#include <charconv>
#include <utility>

#include "exchange/events.h"
#include "options/session_row.h"
#include "resources/options_layout.h"
#include "storage/settings_schema.h"
#include "storage/win32/settings.h"

namespace tw::options {

namespace {

namespace sb = layout::options::session_box;
namespace lo = layout::options;

constexpr int kNamePromptId = 100;
constexpr int kNameId = 101;
constexpr int kEventPromptId = 102;
constexpr int kEventId = 103;
constexpr int kCubesPromptId = 104;
constexpr int kCubesId = 105;
constexpr std::string_view kMultiBlind = "333mbf";

FormDesign SessionDesign(bool isNew) {
  return FormDesign{isNew ? sb::kNewCaption : sb::kRenameCaption,
                    sb::kClientWidth,
                    sb::kClientHeight,
                    WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                    GetSysColor(COLOR_BTNFACE),
                    FontSpec{lo::kFontFace, lo::kFontCentiPoints, lo::kRegular},
                    0,
                    // Placed over the window it was asked from, not on the screen's centre.
                    false,
                    false};
}

SessionBox* g_current = nullptr;
std::function<std::optional<SessionChoice>(bool, const SessionChoice&)> g_answer;

}  // namespace

SessionBox::SessionBox(bool isNew) : Form(SessionDesign(isNew)) {}

SessionBox* SessionBox::Current() { return g_current; }

void SessionBox::OnCreate() {
  const int fieldWidth = sb::kClientWidth - sb::kMargin - sb::kFieldLeft;
  // Each prompt's access key moves the focus to the field created after it.
  AddControl("STATIC", sb::kNamePrompt, WS_VISIBLE, 0, kNamePromptId, sb::kMargin, sb::kNameTop + sb::kPromptDrop,
             sb::kPromptWidth, sb::kPromptHeight);
  name_ = AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kNameId,
                     sb::kFieldLeft, sb::kNameTop, fieldWidth, sb::kFieldHeight);
  SendMessageA(name_, EM_LIMITTEXT, sb::kMaxLength, 0);
  AddControl("STATIC", sb::kEventPrompt, WS_VISIBLE | WS_GROUP, 0, kEventPromptId, sb::kMargin,
             sb::kEventTop + sb::kPromptDrop, sb::kPromptWidth, sb::kPromptHeight);
  event_ = AddControl("COMBOBOX", "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, kEventId,
                      sb::kFieldLeft, sb::kEventTop, fieldWidth, sb::kEventDropDownHeight);
  AddControl("STATIC", sb::kCubesPrompt, WS_VISIBLE | WS_GROUP, 0, kCubesPromptId, sb::kMargin,
             sb::kCubesTop + sb::kPromptDrop, sb::kPromptWidth, sb::kPromptHeight);
  cubes_ = AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_NUMBER, WS_EX_CLIENTEDGE, kCubesId,
                      sb::kFieldLeft, sb::kCubesTop, sb::kCubesWidth, sb::kFieldHeight);
  SendMessageA(cubes_, EM_LIMITTEXT, sb::kCubesMaxLength, 0);
  // OK and Cancel carry the dialog manager's ids, so Enter and Escape reach them.
  const int cancelLeft = sb::kClientWidth - sb::kMargin - sb::kButtonWidth;
  const int okLeft = cancelLeft - sb::kButtonGap - sb::kButtonWidth;
  ok_ = AddControl("BUTTON", "OK", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, IDOK, okLeft,
                   sb::kButtonTop, sb::kButtonWidth, sb::kButtonHeight);
  cancel_ = AddControl("BUTTON", "Cancel", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0, IDCANCEL,
                       cancelLeft, sb::kButtonTop, sb::kButtonWidth, sb::kButtonHeight);
}

std::optional<SessionChoice> SessionBox::Ask(HWND owner, const SessionChoice& current) {
  answer_.reset();
  saved_focus_ = nullptr;
  if (!Load(owner)) return std::nullopt;
  SetWindowTextA(name_, current.name.c_str());
  SendMessageA(name_, EM_SETSEL, 0, -1);
  events_.clear();
  int selected = 0;
  for (const exchange::Event& event : exchange::Events()) {
    if (event.id == current.event) selected = static_cast<int>(events_.size());
    events_.emplace_back(event.id);
    SendMessageA(event_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(event.name).c_str()));
  }
  if (!current.event.empty() && exchange::EventName(current.event) == current.event) {
    // An event this list does not know (a hand edit) stays the session's until changed.
    selected = static_cast<int>(events_.size());
    events_.push_back(current.event);
    SendMessageA(event_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(current.event.c_str()));
  }
  SendMessageA(event_, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  const int cubes = current.cubes > 0 ? current.cubes : settings::Read(settings::kMultiBlindCubes).value_or(2);
  SetWindowTextA(cubes_, std::to_string(cubes).c_str());
  ShowCubesFor(ChosenEvent());
  EnableWindow(ok_, CleanSessionName(TypedName()).empty() ? FALSE : TRUE);
  // Centred over the window it was asked from, as a message box stands.
  RECT over, mine;
  if (owner && GetWindowRect(owner, &over) && GetWindowRect(Handle(), &mine)) {
    const int width = mine.right - mine.left;
    const int height = mine.bottom - mine.top;
    SetWindowPos(Handle(), nullptr, (over.left + over.right - width) / 2, (over.top + over.bottom - height) / 2, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SessionBox* outer = std::exchange(g_current, this);
  ShowModal();
  g_current = outer;
  Unload();
  return answer_;
}

std::string SessionBox::TypedName() const {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(name_)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(name_, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::string SessionBox::ChosenEvent() const {
  const auto item = static_cast<int>(SendMessageA(event_, CB_GETCURSEL, 0, 0));
  const std::size_t index = item < 0 ? 0 : static_cast<std::size_t>(item);
  return index < events_.size() ? events_[index] : std::string(exchange::kDefaultEvent);
}

int SessionBox::TypedCubes() const {
  char text[8] = {};
  const int length = GetWindowTextA(cubes_, text, static_cast<int>(sizeof text));
  int cubes = 0;
  const auto [end, error] = std::from_chars(text, text + length, cubes);
  const settings::NumberKey& key = settings::kMultiBlindCubes;
  if (error != std::errc() || end != text + length || cubes < key.minimum || cubes > key.maximum) return 0;
  return cubes;
}

void SessionBox::ShowCubesFor(const std::string& event) {
  const BOOL multiBlind = event == kMultiBlind ? TRUE : FALSE;
  EnableWindow(cubes_, multiBlind);
  EnableWindow(GetDlgItem(Handle(), kCubesPromptId), multiBlind);
}

LRESULT SessionBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      // The name is what the box is for: it has the focus when the box opens, and
      // whatever had it when the user went elsewhere has it back.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) saved_focus_ = focus;
        return 0;
      }
      if (name_) SetFocus(saved_focus_ && IsChild(Handle(), saved_focus_) ? saved_focus_ : name_);
      return 0;
    case WM_NEXTDLGCTL:
      // The dialog manager moves the focus with this for a prompt's access key.
      if (LOWORD(lParam)) {
        SetFocus(reinterpret_cast<HWND>(wParam));
      } else {
        SetFocus(GetNextDlgTabItem(Handle(), GetFocus(), wParam != 0));
      }
      return 0;
    default:
      break;
  }
  return Form::WndProc(message, wParam, lParam);
}

void SessionBox::Finish(bool accepted) {
  if (accepted) {
    const std::string event = ChosenEvent();
    answer_ = SessionChoice{CleanSessionName(TypedName()), event, event == kMultiBlind ? TypedCubes() : 0};
  }
  Unload();
}

void SessionBox::OnCommand(int id, int code, HWND /*control*/) {
  if (id == kNameId && code == EN_CHANGE) {
    EnableWindow(ok_, CleanSessionName(TypedName()).empty() ? FALSE : TRUE);
    return;
  }
  if (id == kEventId && code == CBN_SELCHANGE) {
    ShowCubesFor(ChosenEvent());
    return;
  }
  if (id == IDCANCEL && code == BN_CLICKED) return Finish(false);
  if (id != IDOK || code != BN_CLICKED) return;
  // Enter on Cancel presses Cancel; anywhere else it is OK, once there is a name.
  if (GetFocus() == cancel_) return Finish(false);
  if (CleanSessionName(TypedName()).empty()) {
    MessageBeep(MB_OK);
    return;
  }
  if (ChosenEvent() == kMultiBlind && TypedCubes() == 0) {
    // A Multi-Blind attempt has 2 to 100 cubes: the field is corrected, not guessed.
    MessageBeep(MB_OK);
    SetFocus(cubes_);
    SendMessageA(cubes_, EM_SETSEL, 0, -1);
    return;
  }
  Finish(true);
}

std::optional<SessionChoice> AskForSession(HWND owner, bool isNew, const SessionChoice& current) {
  if (g_answer) return g_answer(isNew, current);
  SessionBox box(isNew);
  return box.Ask(owner, current);
}

void SetSessionAnswerForTesting(
    std::function<std::optional<SessionChoice>(bool isNew, const SessionChoice& current)> answer) {
  g_answer = std::move(answer);
}

}  // namespace tw::options
