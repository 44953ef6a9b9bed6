#pragma once
#include <windows.h>

#include "toolkit/win32/form.h"

namespace tw::options {

// A small modal box of the options window: a few fields over OK and Cancel at its
// bottom right. Enter is OK (Cancel when Cancel has the focus) and Escape is Cancel,
// as in any dialog, and a prompt's access key moves the focus to the field after it;
// the box stands centred over the window it was asked from, as a message box does,
// and closing it any way gives the keys back to that window. It opens with the focus
// on the field it is for, and has the focus back where it was when activated again.
class SmallBox : public Form {
 public:
  HWND OkButton() const { return ok_; }
  HWND CancelButton() const { return cancel_; }

 protected:
  SmallBox(const char* caption, int clientWidth, int clientHeight);

  // OK and Cancel with their tops at `top` (twips); called from OnCreate after the fields,
  // so the tab order ends with them.
  void AddButtons(int top);
  // Shows the loaded box over `owner` until it is closed, then unloads it.
  void RunModal(HWND owner);
  // OK was pressed: the box reads its fields and closes, or says what is missing and stays.
  virtual void OnOk() = 0;
  // Any other control's notification.
  virtual void OnFieldCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
  // The field the box is for, which has the focus when it opens.
  virtual HWND FirstFocus() const = 0;

  void OnCommand(int id, int code, HWND control) final;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int clientWidth_;
  HWND savedFocus_ = nullptr;
  HWND ok_ = nullptr;
  HWND cancel_ = nullptr;
};

}  // namespace tw::options
