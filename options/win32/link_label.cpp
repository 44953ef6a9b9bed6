#include "options/win32/link_label.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

namespace tw::options {

namespace {

constexpr UINT_PTR kSubclassId = 0x4C4E4B;  // "LNK"

void NotifyClicked(HWND label) {
  SendMessageA(GetParent(label), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(label), STN_CLICKED),
               reinterpret_cast<LPARAM>(label));
}

LRESULT CALLBACK LinkProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* owns = reinterpret_cast<PointOwner*>(data);
  switch (message) {
    case WM_NCHITTEST:
      // The system then tries the sibling beneath, as it does for any transparent hit.
      if (owns && *owns && !(*owns)(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) return HTTRANSPARENT;
      break;
    case WM_GETDLGCODE: {
      // Enter would otherwise go to the dialog manager as the window's default button.
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
      return DefSubclassProc(label, message, wParam, lParam);
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_SPACE) {
        if ((lParam & (1 << 30)) == 0) NotifyClicked(label);
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(label, nullptr, TRUE);
      break;
    case WM_PAINT: {
      const LRESULT result = DefSubclassProc(label, message, wParam, lParam);
      if (GetFocus() == label) {
        HDC dc = GetDC(label);
        RECT rect;
        GetClientRect(label, &rect);
        DrawFocusRect(dc, &rect);
        ReleaseDC(label, dc);
      }
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(label, &LinkProc, kSubclassId);
      delete owns;
      break;
    default:
      break;
  }
  return DefSubclassProc(label, message, wParam, lParam);
}

}  // namespace

void MakeKeyboardLink(HWND label, PointOwner owns) {
  auto* held = owns ? new PointOwner(std::move(owns)) : nullptr;
  if (!SetWindowSubclass(label, &LinkProc, kSubclassId, reinterpret_cast<DWORD_PTR>(held))) delete held;
}

}  // namespace tw::options
