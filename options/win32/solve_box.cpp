#include "options/win32/solve_box.h"

#include <utility>

#include "picture/win32/net_bitmap.h"
#include "resources/options_layout.h"
#include "scramble/event_scrambler.h"

namespace tw::options {

namespace {

namespace sv = layout::options::solve_box;

constexpr int kPromptId = 100;  // every prompt: none is looked up
constexpr int kTimeId = 101;
constexpr int kDateId = 102;
constexpr int kFirstPenaltyId = 103;  // then +2 and DNF, in the order of results::Penalty
constexpr int kScrambleId = 106;
constexpr int kCommentId = 107;
constexpr int kPictureId = 108;

constexpr std::array<results::Penalty, 3> kPenalties = {results::Penalty::None, results::Penalty::PlusTwo,
                                                        results::Penalty::Dnf};

SolveBox* g_current = nullptr;
std::function<std::optional<SolveEdit>(const SolveDetails&)> g_answer;

// An edit control breaks its lines at CR LF only.
std::string WithCrLf(const std::string& text) {
  std::string shown;
  for (const char c : text) {
    if (c == '\n') shown += '\r';
    shown += c;
  }
  return shown;
}

}  // namespace

SolveBox::SolveBox(SolveDetails details, scramble::Event event)
    : SmallBox(sv::kCaption, sv::kClientWidth, sv::kClientHeight), details_(std::move(details)) {
  const std::string written = ScrambleAsWritten(event, details_.solve.scramble);
  if (!written.empty()) {
    if (const std::optional<std::string> state = scramble::StateAfter(event, written)) {
      drawing_ = picture::DrawPuzzle(event, *state);
    }
  }
  details_.solve.scramble = written;
}

SolveBox* SolveBox::Current() { return g_current; }

void SolveBox::OnCreate() {
  const auto prompt = [this](const char* text, int top) {
    AddControl("STATIC", text, WS_VISIBLE | WS_GROUP, 0, kPromptId, sv::kMargin, top, sv::kPromptWidth, sv::kRowHeight);
  };
  const auto value = [this](int id, int top) {
    return AddControl("STATIC", "", WS_VISIBLE | SS_NOPREFIX, 0, id, sv::kFieldLeft, top, sv::kFieldWidth,
                      sv::kRowHeight);
  };
  prompt(sv::kTimePrompt, sv::kTimeTop);
  time_ = value(kTimeId, sv::kTimeTop);
  prompt(sv::kDatePrompt, sv::kDateTop);
  date_ = value(kDateId, sv::kDateTop);
  prompt(sv::kPenaltyPrompt, sv::kPenaltyTop + sv::kPromptDrop);
  const std::array<const char*, 3> captions = {sv::kNoPenalty, sv::kPlusTwo, sv::kDnf};
  const std::array<int, 3> widths = {sv::kNoPenaltyWidth, sv::kPlusTwoWidth, sv::kDnfWidth};
  int left = sv::kFieldLeft;
  for (std::size_t i = 0; i < kPenalties.size(); ++i) {
    // One group: the arrow keys move between them, Tab reaches the one picked.
    const DWORD style = WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? DWORD{WS_GROUP | WS_TABSTOP} : DWORD{0});
    penalties_[i] = AddControl("BUTTON", captions[i], style, 0, kFirstPenaltyId + static_cast<int>(i), left,
                               sv::kPenaltyTop, widths[i], sv::kPenaltyHeight);
    left += widths[i];
  }
  prompt(sv::kScramblePrompt, sv::kScrambleTop + sv::kPromptDrop);
  // Read-only text rather than a label: it scrolls, and a reader can select and copy it.
  scramble_ = AddControl("EDIT", "",
                         WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                         WS_EX_CLIENTEDGE, kScrambleId, sv::kFieldLeft, sv::kScrambleTop, sv::kFieldWidth,
                         sv::kScrambleHeight);
  picture_ = AddControl("STATIC", "", WS_VISIBLE | SS_BITMAP, 0, kPictureId, sv::kPictureLeft, sv::kPictureTop,
                        sv::kPictureSize, sv::kPictureSize);
  // The prompt's access key moves the focus to the field created after it.
  prompt(sv::kCommentPrompt, sv::kCommentTop + sv::kPromptDrop);
  comment_ = AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kCommentId,
                        sv::kFieldLeft, sv::kCommentTop, sv::kClientWidth - sv::kMargin - sv::kFieldLeft,
                        sv::kCommentHeight);
  SendMessageA(comment_, EM_LIMITTEXT, layout::options::comment_box::kMaxLength, 0);
  AddButtons(sv::kButtonTop);
}

std::optional<SolveEdit> SolveBox::Ask(HWND owner) {
  answer_.reset();
  if (!Load(owner)) return std::nullopt;
  SetWindowTextA(date_, details_.date.c_str());
  const std::string& scramble = details_.solve.scramble;
  SetWindowTextA(scramble_, scramble.empty() ? sv::kNoScramble : WithCrLf(scramble).c_str());
  SetWindowTextA(comment_, details_.solve.comment.c_str());
  SendMessageA(PenaltyButton(details_.solve.penalty), BM_SETCHECK, BST_CHECKED, 0);
  ShowTime();
  ShowPicture();
  SolveBox* outer = std::exchange(g_current, this);
  RunModal(owner);
  g_current = outer;
  return answer_;
}

results::Penalty SolveBox::PickedPenalty() const {
  for (std::size_t i = 0; i < kPenalties.size(); ++i) {
    if (SendMessageA(penalties_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) return kPenalties[i];
  }
  return details_.solve.penalty;
}

void SolveBox::ShowTime() { SetWindowTextA(time_, ResultText(details_.measured, PickedPenalty()).c_str()); }

// The picture drawn square at the box's DPI; nothing where there is no scramble to draw.
void SolveBox::ShowPicture() {
  if (drawing_.Empty()) return;
  bitmap_ = picture::DrawNetBitmap(drawing_, Px(sv::kPictureSize), GetSysColor(COLOR_BTNFACE));
  SendMessageA(picture_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap_.get()));
}

void SolveBox::OnFieldCommand(int id, int code, HWND) {
  if (code == BN_CLICKED && id >= kFirstPenaltyId && id < kFirstPenaltyId + static_cast<int>(kPenalties.size())) {
    ShowTime();
  }
}

// The box opens on the penalty picked: the arrows change it, Alt+C reaches the comment.
HWND SolveBox::FirstFocus() const { return penalties_[0] ? PenaltyButton(PickedPenalty()) : nullptr; }

void SolveBox::OnOk() {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(comment_)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(comment_, text.data(), static_cast<int>(text.size()))));
  answer_ = SolveEdit{PickedPenalty(), std::move(text)};
  Unload();
}

std::optional<SolveEdit> AskForSolveEdit(HWND owner, const SolveDetails& details, scramble::Event event) {
  if (g_answer) return g_answer(details);
  SolveBox box(details, event);
  return box.Ask(owner);
}

void SetSolveAnswerForTesting(std::function<std::optional<SolveEdit>(const SolveDetails& details)> answer) {
  g_answer = std::move(answer);
}

}  // namespace tw::options
