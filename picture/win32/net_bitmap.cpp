#include "picture/win32/net_bitmap.h"

#include <algorithm>
#include <vector>

namespace tw::picture {

namespace {

constexpr COLORREF kOutline = RGB(40, 40, 40);

COLORREF ToColorRef(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

GdiObject<HBITMAP> DrawNetBitmap(const NetDrawing& drawing, int size, COLORREF back) {
  HDC screen = GetDC(nullptr);
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, size, size));
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (!dc || !bitmap.get()) {
    if (dc) DeleteDC(dc);
    return bitmap;
  }
  {
    Selection into(dc, bitmap.get());
    RECT all{0, 0, size, size};
    GdiObject<HBRUSH> backBrush(CreateSolidBrush(back));
    FillRect(dc, &all, backBrush.get());
    if (!drawing.Empty() && drawing.width > 0 && drawing.height > 0) {
      const double scale = (size - 2) / std::max(drawing.width, drawing.height);
      const double left = (size - drawing.width * scale) / 2;
      const double top = (size - drawing.height * scale) / 2;
      GdiObject<HPEN> outline(CreatePen(PS_SOLID, 1, kOutline));
      std::vector<POINT> points;
      for (const NetShape& shape : drawing.shapes) {
        points.clear();
        for (const NetPoint& p : shape.points) {
          points.push_back(POINT{static_cast<LONG>(left + p.x * scale + 0.5), static_cast<LONG>(top + p.y * scale + 0.5)});
        }
        GdiObject<HBRUSH> fill(CreateSolidBrush(ToColorRef(shape.rgb)));
        Selection brush(dc, fill.get());
        Selection pen(dc, shape.outlined ? static_cast<HGDIOBJ>(outline.get()) : GetStockObject(NULL_PEN));
        Polygon(dc, points.data(), static_cast<int>(points.size()));
      }
    }
  }
  DeleteDC(dc);
  return bitmap;
}

}  // namespace tw::picture
