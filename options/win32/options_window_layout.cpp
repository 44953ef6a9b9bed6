// The options window built from its layout table: each row's native control made,
// fitted to its text at the window's DPI, shown and enabled as its panel frame and its
// own use say, right-aligned labels drawn, and the control under a point found by the
// table's stacking.
#include <algorithm>

#include "options/link_hover.h"
#include "options/win32/link_label.h"
#include "options/win32/options_window.h"
#include "resources/options_layout.h"

namespace tw {

namespace {

namespace lo = layout::options;

// Room past the right edge of right-aligned text for glyphs whose ink overhangs their
// advance (the face Wine substitutes for Tahoma does), so the flush lines are not cut.
constexpr int kInkMarginTwips = 45;
// Inside a frame without a caption the first free line lies this far below its top,
// and the last this far above its bottom.
constexpr int kFrameInnerTopTwips = 150;
constexpr int kFrameInnerBottomTwips = 45;
// A check box this high or higher holds two lines of its caption.
constexpr int kTwoLineHeightTwips = 400;
// A check box's caption starts this far right of its box's square.
constexpr int kCheckGapTwips = 90;
// Inside a frame the controls keep this far from its right edge.
constexpr int kFrameInnerSideTwips = 60;

const FontSpec kTitleFont{lo::kFontFace, lo::kTitleCentiPoints, lo::kBold};

const lo::ControlRow& RowAt(int index) { return lo::kAllControls[static_cast<std::size_t>(index)]; }

// The panel frame (a frame at window level) that holds a control, or -1.
int PanelFrameOf(int index) {
  int frame = -1;
  for (std::string_view container = RowAt(index).container; !container.empty();) {
    frame = lo::IndexOf(container);
    container = RowAt(frame).container;
  }
  return frame;
}

bool Contains(const lo::ControlRow& outer, const lo::ControlRow& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && inner.left + inner.width <= outer.left + outer.width &&
         inner.top + inner.height <= outer.top + outer.height;
}

struct ControlClass {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassFor(const lo::ControlRow& row) {
  const DWORD align = row.align == lo::Align::Center ? SS_CENTER : row.align == lo::Align::Right ? SS_RIGHT : SS_LEFT;
  switch (row.kind) {
    case lo::Kind::OptionButton:
      return {"BUTTON", BS_AUTORADIOBUTTON | BS_PUSHLIKE | WS_TABSTOP, 0};
    case lo::Kind::CommandButton:
      return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case lo::Kind::Frame:
      // Transparent, so the form's white shows through and the controls laid on the
      // frame are not painted over.
      return {"BUTTON", BS_GROUPBOX, WS_EX_TRANSPARENT};
    case lo::Kind::Label:
      // Right-aligned text is drawn by the form, inside the table's box of a wider window.
      if (row.align == lo::Align::Right) return {"STATIC", SS_OWNERDRAW, WS_EX_TRANSPARENT};
      return {"STATIC", align | SS_NOPREFIX, WS_EX_TRANSPARENT};
    case lo::Kind::LinkLabel:
      return {"STATIC", align | SS_NOPREFIX | SS_NOTIFY | WS_TABSTOP, 0};
    case lo::Kind::Picture:
      return {"STATIC", SS_BITMAP, 0};
    case lo::Kind::CheckBox:
      // Only a box two lines high in the layout table wraps its caption.
      return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | (row.height >= kTwoLineHeightTwips ? DWORD{BS_MULTILINE} : DWORD{0}), 0};
    case lo::Kind::ListBox:
      // Holds no lines: it is told their count and draws each from the book. It
      // scrolls sideways to the end of its widest line.
      return {"LISTBOX", LBS_NOTIFY | LBS_NODATA | LBS_OWNERDRAWFIXED | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
    case lo::Kind::FieldLabel:
      // Its access key moves the focus to the control created after it.
      return {"STATIC", SS_LEFT, WS_EX_TRANSPARENT};
    case lo::Kind::DropDownList:
      return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
  }
  return {"STATIC", 0, 0};
}

// The free room between a control's box and the bottom of the frame holding it.
int FrameRoomBelow(const lo::ControlRow& row) {
  const int frame = lo::IndexOf(row.container);
  if (frame < 0) return 0;
  const lo::ControlRow& holder = RowAt(frame);
  return std::max(0, holder.height - kFrameInnerBottomTwips - (row.top + row.height));
}

// The room a control may grow into inside the frame holding it, right and below.
struct FrameRoom {
  int right, below;
};

FrameRoom RoomInFrame(const lo::ControlRow& row) {
  const int frame = lo::IndexOf(row.container);
  if (frame < 0) return {0, 0};
  const lo::ControlRow& holder = RowAt(frame);
  return {std::max(0, holder.width - kFrameInnerSideTwips - (row.left + row.width)), FrameRoomBelow(row)};
}

// The size a text needs in a control's font: on one line, or wrapped at `wrapWidth` pixels.
SIZE TextSize(HWND control, const char* text, int wrapWidth) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT box{0, 0, wrapWidth, 0};
  DrawTextA(dc, text, -1, &box, DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return SIZE{box.right, box.bottom};
}

}  // namespace

int OptionsWindow::IndexOfHandle(HWND control) const {
  if (!control) return -1;
  for (int i = 0; i < lo::kAllControlCount; ++i) {
    if (hwnds_[static_cast<std::size_t>(i)] == control) return i;
  }
  return -1;
}

void OptionsWindow::CreateControl(int index) {
  const lo::ControlRow& row = RowAt(index);
  const ControlClass cls = ClassFor(row);
  const std::string_view name = row.name;
  // The three option buttons form one group; every other control starts its own.
  const DWORD group = name == "optResult" || name == "optAbout" ? 0 : WS_GROUP;
  const lo::Point at = lo::ClientOrigin(row);
  const bool ownerDrawn = (cls.style & SS_TYPEMASK) == SS_OWNERDRAW;
  const int width = ownerDrawn ? row.width + kInkMarginTwips : row.width;
  // A drawn label may use the free room of its frame above and below its box, for a
  // face whose wrapped lines need more height than the table's face's.
  const int roomAbove = ownerDrawn ? std::max(0, row.top - kFrameInnerTopTwips) : 0;
  const int roomBelow = ownerDrawn ? FrameRoomBelow(row) : 0;
  // Made hidden: ApplyFrames shows what the panel shows.
  HWND control = AddControl(cls.className, row.caption, cls.style | group, cls.exStyle,
                            kFirstControlId + index, at.x, at.y - roomAbove, width, row.height + roomAbove + roomBelow,
                            row.titleFont ? &kTitleFont : nullptr);
  hwnds_[static_cast<std::size_t>(index)] = control;
  if (!control) return;
  if (row.kind == lo::Kind::CheckBox && row.checked) SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
  FitToText(index);
  if (row.kind == lo::Kind::LinkLabel) {
    // lblURL1 is stacked in front of lblURL3 where they touch, but created after it
    // for the tab order: each link takes the pointer only where it is shown in front.
    options::MakeKeyboardLink(control, [this, index](POINT screen) {
      ScreenToClient(Handle(), &screen);
      return ControlAt(screen) == index;
    });
  }
}

// Shows each control when its panel frame is visible and not covered by a visible
// frame stacked in front of it; before a panel is chosen all three are visible and About shows.
void OptionsWindow::ApplyFrames() {
  std::array<bool, lo::kAllControlCount> onScreen{};
  for (int i = 0; i < lo::kAllControlCount; ++i) {
    const lo::ControlRow& row = RowAt(i);
    if (row.kind != lo::Kind::Frame || *row.container) continue;
    bool covered = false;
    for (int front = 0; front < i; ++front) {
      const lo::ControlRow& other = RowAt(front);
      if (onScreen[static_cast<std::size_t>(front)] && Contains(other, row)) covered = true;
    }
    onScreen[static_cast<std::size_t>(i)] = visible_[static_cast<std::size_t>(i)] && !covered;
  }
  for (int i = 0; i < lo::kAllControlCount; ++i) {
    HWND control = hwnds_[static_cast<std::size_t>(i)];
    if (!control) continue;
    const int frame = RowAt(i).kind == lo::Kind::Frame && !*RowAt(i).container ? i : PanelFrameOf(i);
    const bool shown = frame < 0 || onScreen[static_cast<std::size_t>(frame)];
    ApplyEnabled(i);
    ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
  }
}

void OptionsWindow::ApplyEnabled(int index) {
  HWND control = hwnds_[static_cast<std::size_t>(index)];
  if (!control) return;
  const int frame = RowAt(index).kind == lo::Kind::Frame && !*RowAt(index).container ? index : PanelFrameOf(index);
  const bool enabled = (frame < 0 || enabled_[static_cast<std::size_t>(frame)]) && usable_[static_cast<std::size_t>(index)];
  EnableWindow(control, enabled ? TRUE : FALSE);
}

int OptionsWindow::ControlAt(POINT clientPixels) const {
  return options::LayoutControlAt(Twips(clientPixels.x), Twips(clientPixels.y),
                                    [this](int i) { return visible_[static_cast<std::size_t>(i)]; });
}

void OptionsWindow::FitToText(int index) {
  HWND control = hwnds_[static_cast<std::size_t>(index)];
  const lo::ControlRow& row = RowAt(index);
  if (!control || (row.kind != lo::Kind::CheckBox && row.kind != lo::Kind::FieldLabel)) return;
  const lo::Point at = lo::ClientOrigin(row);
  const FrameRoom room = RoomInFrame(row);
  const int square = row.kind == lo::Kind::CheckBox
                         ? GetSystemMetricsForDpi(SM_CXMENUCHECK, static_cast<UINT>(Dpi())) + Px(kCheckGapTwips)
                         : 0;
  int width = row.width;
  int height = row.height;
  if (row.height < kTwoLineHeightTwips) {
    // One line: wider to the right when the caption needs it (there is room beside each).
    width = std::max(width, Twips(TextSize(control, row.caption, 0).cx + square) + 15);
  } else {
    // Wrapped: wider into the frame's room first, then taller, as the caption needs.
    const auto needed = [&](int w) { return Twips(TextSize(control, row.caption, Px(w) - square).cy); };
    if (needed(width) > height) width = row.width + room.right;
    if (needed(width) > height) height = std::min(needed(width), row.height + room.below);
  }
  MoveControl(control, at.x, at.y, width, height);
}

void OptionsWindow::DrawRightAlignedLabel(const DRAWITEMSTRUCT& item) {
  const int index = IndexOfHandle(item.hwndItem);
  const lo::ControlRow& row = RowAt(index);
  const int roomAbove = Px(std::max(0, row.top - kFrameInnerTopTwips));
  RECT box{item.rcItem.left, item.rcItem.top + roomAbove, item.rcItem.left + Px(row.width),
           item.rcItem.top + roomAbove + Px(row.height)};
  HGDIOBJ oldFont = SelectObject(item.hDC, reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
  constexpr UINT kFormat = DT_RIGHT | DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP;
  RECT needed = box;
  DrawTextA(item.hDC, row.caption, -1, &needed, kFormat | DT_CALCRECT);
  const LONG height = needed.bottom - needed.top;
  if (height > box.bottom - box.top) {
    // Taller than its box in this face: centred in all the room the frame gives.
    box.top = std::max(item.rcItem.top, (item.rcItem.top + item.rcItem.bottom - height) / 2);
    box.bottom = item.rcItem.bottom;
  }
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(IsWindowEnabled(item.hwndItem) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  DrawTextA(item.hDC, row.caption, -1, &box, kFormat);
  SelectObject(item.hDC, oldFont);
}

}  // namespace tw
