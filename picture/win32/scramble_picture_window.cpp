#include "picture/win32/scramble_picture_window.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "docking/win32/docking.h"
#include "resources/resource_ids.h"
#include "storage/win32/settings.h"
#include "toolkit/win32/gdi_objects.h"

namespace tw {

namespace {

constexpr const char* kCaption = "Twistwatch | Scramble";
constexpr COLORREF kBackColor = RGB(255, 255, 255);
constexpr COLORREF kOutlineColor = RGB(40, 40, 40);
constexpr COLORREF kTextColor = RGB(96, 96, 96);
const FontSpec kTextFont{"Tahoma", 900, FW_NORMAL};
constexpr int kMarginTwips = 120;
constexpr int kCaptionLineTwips = 300;  // room for "1 of 5" under the picture

constexpr const char* kWaitingNote = "Preparing a scramble...";
constexpr const char* kNoScrambleNote = "No scramble is shown: tick \"Show scramble\" in the Setup panel (F1).";
constexpr const char* kUnreadableNote = "This scramble cannot be drawn.";

FormDesign PictureDesign() {
  return FormDesign{kCaption,
                    settings::kScramblePictureDefaultWidthTwips,
                    settings::kScramblePictureDefaultHeightTwips,
                    WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX,
                    0,
                    kBackColor,
                    kTextFont,
                    IDI_TWISTWATCH,
                    false};
}

COLORREF ToColorRef(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

ScramblePictureWindow::ScramblePictureWindow()
    : CompanionWindow(PictureDesign(), VK_F4, settings::kScramblePictureWindow),
      note_(kNoScrambleNote) {}

ScramblePictureWindow::~ScramblePictureWindow() { Unload(); }

void ScramblePictureWindow::Show(scramble::Event event, const scramble::EventScramble& scramble) {
  drawing_ = {};
  note_.clear();
  if (scramble.text.empty()) {
    // The row under the digits is off, or its next scramble is on its way.
    note_ = settings::Read(settings::kShowScramble, settings::Reader::kTimer) == settings::Switch::kEnabled
                ? kWaitingNote
                : kNoScrambleNote;
  } else {
    drawing_ = picture::DrawPuzzle(event, scramble.state);
    if (drawing_.Empty()) note_ = kUnreadableNote;
  }
  if (IsLoaded() && Visible()) InvalidateRect(Handle(), nullptr, FALSE);
}

bool ScramblePictureWindow::OnLoad() {
  docking::ActivateDocking(Handle());
  ApplyStoredPlace();
  return true;
}

void ScramblePictureWindow::OnUnload() {
  docking::DeactivateDocking(Handle());
  back_buffer_.Release();
}

LRESULT ScramblePictureWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    Paint();
    return 0;
  }
  return CompanionWindow::WndProc(message, wParam, lParam);
}

// The drawing scaled to the client area, whole and centred, with the same scale both
// ways; a note in its place when there is nothing to draw.
void ScramblePictureWindow::Paint() {
  back_buffer_.Paint(Handle(), kBackColor, [this](HDC dc, const RECT& client, const RECT&) {
    const int margin = Px(kMarginTwips);
    Selection font(dc, FontFor(kTextFont));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTextColor);
    RECT area{client.left + margin, client.top + margin, client.right - margin, client.bottom - margin};
    if (drawing_.Empty() || drawing_.width <= 0 || drawing_.height <= 0) {
      DrawTextA(dc, note_.c_str(), static_cast<int>(note_.size()), &area, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
      return;
    }
    if (!drawing_.caption.empty()) {
      RECT line{area.left, area.bottom - Px(kCaptionLineTwips), area.right, area.bottom};
      DrawTextA(dc, drawing_.caption.c_str(), static_cast<int>(drawing_.caption.size()), &line,
                DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      area.bottom = line.top;
    }
    const double scale = std::min((area.right - area.left) / drawing_.width, (area.bottom - area.top) / drawing_.height);
    if (scale <= 0) return;
    const double left = area.left + ((area.right - area.left) - drawing_.width * scale) / 2;
    const double top = area.top + ((area.bottom - area.top) - drawing_.height * scale) / 2;
    GdiObject<HPEN> outline(CreatePen(PS_SOLID, std::max(1, Px(15)), kOutlineColor));
    std::vector<POINT> points;
    for (const picture::NetShape& shape : drawing_.shapes) {
      points.clear();
      for (const picture::NetPoint& p : shape.points) {
        points.push_back(POINT{static_cast<LONG>(left + p.x * scale + 0.5), static_cast<LONG>(top + p.y * scale + 0.5)});
      }
      GdiObject<HBRUSH> fill(CreateSolidBrush(ToColorRef(shape.rgb)));
      Selection brush(dc, fill.get());
      Selection pen(dc, shape.outlined ? static_cast<HGDIOBJ>(outline.get()) : GetStockObject(NULL_PEN));
      Polygon(dc, points.data(), static_cast<int>(points.size()));
    }
  });
}

}  // namespace tw
