#pragma once
#include <windows.h>

#include <functional>

#include "toolkit/win32/gdi_objects.h"

namespace tw {

// Paints a window through an off-screen bitmap the size of its client area, so a
// paint never shows half drawn. The bitmap is kept from paint to paint and made
// again only when the client area changes size.
class BackBuffer {
 public:
  // Handles one WM_PAINT: `paint` draws into a memory DC whose invalid rectangle is
  // already filled with `background` and clipped to; that rectangle then goes to
  // the screen in one copy.
  using Painter = std::function<void(HDC dc, const RECT& client, const RECT& invalid)>;
  void Paint(HWND window, COLORREF background, const Painter& paint);
  // Gives the bitmap back (the window is going away).
  void Release();

 private:
  GdiObject<HBITMAP> bitmap_;
  SIZE size_{0, 0};
};

}  // namespace tw
