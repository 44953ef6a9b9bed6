#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "options/win32/small_box.h"

namespace tw::options {

// A small modal box asking for one line of text: the comment of a result line. Enter
// is OK and Escape is Cancel, as in any dialog; closing it any way gives the keys back
// to the window it was asked from.
class CommentBox : public SmallBox {
 public:
  CommentBox();

  // The text with OK, nothing with Cancel, Escape or the title bar's close.
  std::optional<std::string> Ask(HWND owner, const std::string& current);

  HWND Edit() const { return edit_; }

  // The box being asked, while it is on the screen; null otherwise.
  static CommentBox* Current();

 protected:
  void OnCreate() override;
  void OnOk() override;
  HWND FirstFocus() const override { return edit_; }

 private:
  HWND edit_ = nullptr;
  std::optional<std::string> answer_;
};

// Asks through a CommentBox owned by `owner`, or through the answer a test gives.
std::optional<std::string> AskForComment(HWND owner, const std::string& current);
void SetCommentAnswerForTesting(std::function<std::optional<std::string>(const std::string& current)> answer);

}  // namespace tw::options
