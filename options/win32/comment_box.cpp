#include "options/win32/comment_box.h"

#include <utility>

#include "resources/options_layout.h"

namespace tw::options {

namespace {

namespace cb = layout::options::comment_box;

constexpr int kPromptId = 100;
constexpr int kEditId = 101;

CommentBox* g_current = nullptr;
std::function<std::optional<std::string>(const std::string&)> g_answer;

}  // namespace

CommentBox::CommentBox() : SmallBox(cb::kCaption, cb::kClientWidth, cb::kClientHeight) {}

CommentBox* CommentBox::Current() { return g_current; }

void CommentBox::OnCreate() {
  const int inner = cb::kClientWidth - 2 * cb::kMargin;
  AddControl("STATIC", cb::kPrompt, WS_VISIBLE, 0, kPromptId, cb::kMargin, cb::kPromptTop, inner, cb::kPromptHeight);
  edit_ = AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kEditId,
                     cb::kMargin, cb::kEditTop, inner, cb::kEditHeight);
  SendMessageA(edit_, EM_LIMITTEXT, cb::kMaxLength, 0);
  AddButtons(cb::kButtonTop);
}

std::optional<std::string> CommentBox::Ask(HWND owner, const std::string& current) {
  answer_.reset();
  if (!Load(owner)) return std::nullopt;
  SetWindowTextA(edit_, current.c_str());
  SendMessageA(edit_, EM_SETSEL, 0, -1);
  CommentBox* outer = std::exchange(g_current, this);
  RunModal(owner);
  g_current = outer;
  return answer_;
}

void CommentBox::OnOk() {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit_)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(edit_, text.data(), static_cast<int>(text.size()))));
  answer_ = std::move(text);
  Unload();
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
