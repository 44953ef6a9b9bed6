#include "toolkit/win32/back_buffer.h"

#include <algorithm>

namespace tw {

void BackBuffer::Paint(HWND window, COLORREF background, const Painter& paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  const SIZE size{std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)};
  if (!bitmap_ || size_.cx != size.cx || size_.cy != size.cy) {
    bitmap_ = GdiObject<HBITMAP>(CreateCompatibleBitmap(dc, size.cx, size.cy));
    size_ = size;
  }
  {
    const MemoryDc memory(dc);
    const Selection useBitmap(memory.get(), bitmap_.get());
    // ExtTextOut with ETO_OPAQUE fills with the background colour and no brush to make.
    SetBkColor(memory.get(), background);
    ExtTextOutA(memory.get(), 0, 0, ETO_OPAQUE, &ps.rcPaint, nullptr, 0, nullptr);
    IntersectClipRect(memory.get(), ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
    paint(memory.get(), client, ps.rcPaint);
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, memory.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  }
  EndPaint(window, &ps);
}

void BackBuffer::Release() {
  bitmap_ = GdiObject<HBITMAP>();
  size_ = SIZE{0, 0};
}

}  // namespace tw
