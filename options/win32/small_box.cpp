#include "options/win32/small_box.h"

#include "resources/options_layout.h"

namespace tw::options {

namespace {

namespace sm = layout::options::small_box;
namespace lo = layout::options;

FormDesign SmallBoxDesign(const char* caption, int clientWidth, int clientHeight) {
  return FormDesign{caption,
                    clientWidth,
                    clientHeight,
                    WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                    GetSysColor(COLOR_BTNFACE),
                    FontSpec{lo::kFontFace, lo::kFontCentiPoints, lo::kRegular},
                    0,
                    // Placed over the window it was asked from, not on the screen's centre.
                    false,
                    false};
}

}  // namespace

SmallBox::SmallBox(const char* caption, int clientWidth, int clientHeight)
    : Form(SmallBoxDesign(caption, clientWidth, clientHeight)), clientWidth_(clientWidth) {}

void SmallBox::AddButtons(int top) {
  // They carry the dialog manager's ids, so Enter and Escape reach them.
  const int cancelLeft = clientWidth_ - sm::kMargin - sm::kButtonWidth;
  const int okLeft = cancelLeft - sm::kButtonGap - sm::kButtonWidth;
  ok_ = AddControl("BUTTON", "OK", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, IDOK, okLeft, top,
                   sm::kButtonWidth, sm::kButtonHeight);
  cancel_ = AddControl("BUTTON", "Cancel", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0, IDCANCEL,
                       cancelLeft, top, sm::kButtonWidth, sm::kButtonHeight);
}

void SmallBox::RunModal(HWND owner) {
  RECT over, mine;
  if (owner && GetWindowRect(owner, &over) && GetWindowRect(Handle(), &mine)) {
    const int width = mine.right - mine.left;
    const int height = mine.bottom - mine.top;
    SetWindowPos(Handle(), nullptr, (over.left + over.right - width) / 2, (over.top + over.bottom - height) / 2, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  savedFocus_ = nullptr;
  ShowModal();
  Unload();
}

LRESULT SmallBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) savedFocus_ = focus;
      } else if (HWND first = FirstFocus()) {
        SetFocus(savedFocus_ && IsChild(Handle(), savedFocus_) ? savedFocus_ : first);
      }
      return 0;
    case WM_NEXTDLGCTL:
      MoveFocusForDialogManager(Handle(), wParam, lParam);
      return 0;
    default:
      break;
  }
  return Form::WndProc(message, wParam, lParam);
}

void SmallBox::OnCommand(int id, int code, HWND control) {
  if (id == IDCANCEL && code == BN_CLICKED) return Unload();
  if (id != IDOK || code != BN_CLICKED) return OnFieldCommand(id, code, control);
  // Enter on Cancel presses Cancel; anywhere else it is OK.
  if (GetFocus() == cancel_) return Unload();
  OnOk();
}

}  // namespace tw::options
