#include "options/win32/comment_box.h"

#include <utility>

#include "resources/options_layout.h"

namespace tw::options {

namespace {

namespace cb = layout::options::comment_box;
namespace lo = layout::options;

constexpr int kPromptId = 100;
constexpr int kEditId = 101;

FormDesign CommentDesign() {
  return FormDesign{cb::kCaption,
                    cb::kClientWidth,
                    cb::kClientHeight,
                    WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                    GetSysColor(COLOR_BTNFACE),
                    FontSpec{lo::kFontFace, lo::kFontCentiPoints, lo::kRegular},
                    0,
                    // Placed over the window it was asked from, not on the screen's centre.
                    false,
                    false};
}

CommentBox* g_current = nullptr;
std::function<std::optional<std::string>(const std::string&)> g_answer;

}  // namespace

CommentBox::CommentBox() : Form(CommentDesign()) {}

CommentBox* CommentBox::Current() { return g_current; }

void CommentBox::OnCreate() {
  const int inner = cb::kClientWidth - 2 * cb::kMargin;
  AddControl("STATIC", cb::kPrompt, WS_VISIBLE, 0, kPromptId, cb::kMargin, cb::kPromptTop, inner, cb::kPromptHeight);
  edit_ = AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kEditId,
                     cb::kMargin, cb::kEditTop, inner, cb::kEditHeight);
  SendMessageA(edit_, EM_LIMITTEXT, cb::kMaxLength, 0);
  // OK and Cancel carry the dialog manager's ids, so Enter and Escape reach them.
  const int cancelLeft = cb::kClientWidth - cb::kMargin - cb::kButtonWidth;
  const int okLeft = cancelLeft - cb::kButtonGap - cb::kButtonWidth;
  ok_ = AddControl("BUTTON", "OK", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, IDOK, okLeft,
                   cb::kButtonTop, cb::kButtonWidth, cb::kButtonHeight);
  cancel_ = AddControl("BUTTON", "Cancel", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0, IDCANCEL,
                       cancelLeft, cb::kButtonTop, cb::kButtonWidth, cb::kButtonHeight);
}

std::optional<std::string> CommentBox::Ask(HWND owner, const std::string& current) {
  answer_.reset();
  if (!Load(owner)) return std::nullopt;
  SetWindowTextA(edit_, current.c_str());
  SendMessageA(edit_, EM_SETSEL, 0, -1);
  // Centred over the window it was asked from, as a message box stands.
  RECT over, mine;
  if (owner && GetWindowRect(owner, &over) && GetWindowRect(Handle(), &mine)) {
    const int width = mine.right - mine.left;
    const int height = mine.bottom - mine.top;
    SetWindowPos(Handle(), nullptr, (over.left + over.right - width) / 2, (over.top + over.bottom - height) / 2, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CommentBox* outer = std::exchange(g_current, this);
  ShowModal();
  g_current = outer;
  Unload();
  return answer_;
}

LRESULT CommentBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The text is what the box is for: it has the focus whenever the box is activated.
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && edit_) {
    SetFocus(edit_);
    return 0;
  }
  return Form::WndProc(message, wParam, lParam);
}

void CommentBox::Finish(bool accepted) {
  if (accepted) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit_)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(edit_, text.data(), static_cast<int>(text.size()))));
    answer_ = std::move(text);
  }
  Unload();
}

void CommentBox::OnCommand(int id, int code, HWND /*control*/) {
  if (id == IDOK && code == BN_CLICKED) {
    // Enter on Cancel presses Cancel; anywhere else it is OK.
    return Finish(GetFocus() != cancel_);
  }
  if (id == IDCANCEL && code == BN_CLICKED) Finish(false);
}

std::optional<std::string> AskForComment(HWND owner, const std::string& current) {
  if (g_answer) return g_answer(current);
  CommentBox box;
  return box.Ask(owner, current);
}

void SetCommentAnswerForTesting(std::function<std::optional<std::string>(const std::string& current)> answer) {
  g_answer = std::move(answer);
}

}  // namespace tw::options
