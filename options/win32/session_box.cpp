#include "options/win32/session_box.h"

#include <charconv>
#include <utility>

#include "options/session_row.h"
#include "options/win32/cases_box.h"
#include "resources/options_layout.h"
#include "scramble/events.h"
#include "storage/settings_schema.h"
#include "storage/win32/settings.h"

namespace tw::options {

namespace {

namespace sb = layout::options::session_box;

constexpr int kNamePromptId = 100;
constexpr int kNameId = 101;
constexpr int kEventPromptId = 102;
constexpr int kEventId = 103;
constexpr int kCubesPromptId = 104;
constexpr int kCubesId = 105;
constexpr int kCasesId = 106;
constexpr std::string_view kMultiBlind = "333mbf";

SessionBox* g_current = nullptr;
std::function<std::optional<SessionChoice>(bool, const SessionChoice&)> g_answer;

}  // namespace

SessionBox::SessionBox(bool isNew)
    : SmallBox(isNew ? sb::kNewCaption : sb::kRenameCaption, sb::kClientWidth, sb::kClientHeight) {}

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
  casesButton_ = AddControl("BUTTON", sb::kCasesButton, WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0, kCasesId,
                            sb::kClientWidth - sb::kMargin - sb::kCasesWidth, sb::kCubesTop, sb::kCasesWidth,
                            sb::kFieldHeight);
  AddButtons(sb::kButtonTop);
}

std::optional<SessionChoice> SessionBox::Ask(HWND owner, const SessionChoice& current) {
  answer_.reset();
  if (!Load(owner)) return std::nullopt;
  SetWindowTextA(name_, current.name.c_str());
  SendMessageA(name_, EM_SETSEL, 0, -1);
  events_.clear();
  int selected = 0;
  for (const scramble::EventRow& event : scramble::EventRows()) {
    if (event.id == current.event) selected = static_cast<int>(events_.size());
    events_.emplace_back(event.id);
    SendMessageA(event_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(event.name).c_str()));
  }
  if (!current.event.empty() && !scramble::FindEvent(current.event)) {
    // An event this list does not know (a hand edit) stays the session's until changed.
    selected = static_cast<int>(events_.size());
    events_.push_back(current.event);
    SendMessageA(event_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(current.event.c_str()));
  }
  SendMessageA(event_, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  const int cubes = current.cubes > 0 ? current.cubes : settings::Read(settings::kMultiBlindCubes).value_or(2);
  SetWindowTextA(cubes_, std::to_string(cubes).c_str());
  cases_ = current.cases;
  casesEvent_ = current.event;
  ShowCubesFor(ChosenEvent());
  EnableWindow(OkButton(), CleanSessionName(TypedName()).empty() ? FALSE : TRUE);
  SessionBox* outer = std::exchange(g_current, this);
  RunModal(owner);
  g_current = outer;
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
  return index < events_.size() ? events_[index] : std::string(scramble::kDefaultEventId);
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
  const auto kind = scramble::EventFromId(event);
  EnableWindow(casesButton_, kind && scramble::HasCases(*kind) ? TRUE : FALSE);
}

// Cases chosen for PLL mean nothing for OLL: another event starts from all its cases.
void SessionBox::ChooseCases() {
  const std::string event = ChosenEvent();
  const auto kind = scramble::EventFromId(event);
  if (!kind || !scramble::HasCases(*kind)) return;
  const std::string current = event == casesEvent_ ? cases_ : std::string();
  if (const std::optional<std::string> chosen = AskForCases(Handle(), *kind, current)) {
    cases_ = *chosen;
    casesEvent_ = event;
  }
}


void SessionBox::OnFieldCommand(int id, int code, HWND /*control*/) {
  if (id == kNameId && code == EN_CHANGE) {
    EnableWindow(OkButton(), CleanSessionName(TypedName()).empty() ? FALSE : TRUE);
  } else if (id == kEventId && code == CBN_SELCHANGE) {
    ShowCubesFor(ChosenEvent());
  } else if (id == kCasesId && code == BN_CLICKED) {
    ChooseCases();
  }
}

void SessionBox::OnOk() {
  if (CleanSessionName(TypedName()).empty()) {
    MessageBeep(MB_OK);
    return;
  }
  const std::string event = ChosenEvent();
  if (event == kMultiBlind && TypedCubes() == 0) {
    // A Multi-Blind attempt has 2 to 100 cubes: the field is corrected, not guessed.
    MessageBeep(MB_OK);
    SetFocus(cubes_);
    SendMessageA(cubes_, EM_SETSEL, 0, -1);
    return;
  }
  const bool keepsCases = event == casesEvent_ && scramble::EventFromId(event) &&
                          scramble::HasCases(*scramble::EventFromId(event));
  answer_ = SessionChoice{CleanSessionName(TypedName()), event, event == kMultiBlind ? TypedCubes() : 0,
                          keepsCases ? cases_ : std::string()};
  Unload();
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
