#include "toolkit/win32/label.h"

#include "toolkit/win32/form.h"

namespace tw {

Label::Label(Form& owner, const LabelDesign& design)
    : owner_(owner),
      name_(design.name),
      text_(design.text),
      left_(design.left),
      top_(design.top),
      width_(design.width),
      height_(design.height),
      visible_(design.visible),
      font_(design.font),
      fore_(design.foreColor),
      back_(design.backColor),
      opaque_(design.opaque),
      align_(design.align),
      border_(design.border) {}

Label::~Label() { ResetFont(); }

void Label::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  Invalidate();
}

void Label::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Invalidate();
}

void Label::SetForeColor(COLORREF color) {
  if (color == fore_) return;
  fore_ = color;
  Invalidate();
}

void Label::SetLeft(int twips) {
  if (twips == left_) return;
  Invalidate();
  left_ = twips;
  Invalidate();
}

void Label::SetTop(int twips) {
  if (twips == top_) return;
  Invalidate();
  top_ = twips;
  Invalidate();
}

void Label::SetWidth(int twips) {
  if (twips == width_) return;
  Invalidate();
  width_ = twips;
  Invalidate();
}

void Label::SetHeight(int twips) {
  if (twips == height_) return;
  Invalidate();
  height_ = twips;
  Invalidate();
}

void Label::SetWrap(bool wrap) {
  if (wrap == wrap_) return;
  wrap_ = wrap;
  Invalidate();
}

UINT Label::TextFormat() const {
  UINT format = (wrap_ ? DT_WORDBREAK : DT_SINGLELINE) | DT_NOPREFIX | DT_TOP;
  return format | (align_ == TextAlign::Center ? DT_CENTER : align_ == TextAlign::Right ? DT_RIGHT : DT_LEFT);
}

int Label::TextHeight() const {
  RECT rect = PixelRect();
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontHandle());
  DrawTextA(dc, text_.c_str(), static_cast<int>(text_.size()), &rect, TextFormat() | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return owner_.Twips(rect.bottom - rect.top);
}

void Label::SetBold(bool bold) {
  const int weight = bold ? FW_BOLD : FW_NORMAL;
  if (weight == font_.weight) return;
  font_.weight = weight;
  ResetFont();
  Invalidate();
}

void Label::SetUnderline(bool underline) {
  if (underline == font_.underline) return;
  font_.underline = underline;
  ResetFont();
  Invalidate();
}

void Label::ResetFont() {
  if (font_handle_) DeleteObject(font_handle_);
  font_handle_ = nullptr;
  font_dpi_ = 0;
}

HFONT Label::FontHandle() const {
  if (font_handle_ && font_dpi_ == owner_.Dpi()) return font_handle_;
  if (font_handle_) DeleteObject(font_handle_);
  font_dpi_ = owner_.Dpi();
  const int height = -MulDiv(font_.centiPoints, font_dpi_, 7200);
  font_handle_ = CreateFontA(height, 0, 0, 0, font_.weight, FALSE, font_.underline, FALSE, ANSI_CHARSET,
                             OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, font_.face);
  return font_handle_;
}

std::string Label::FontFaceUsed() const {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontHandle());
  char face[LF_FACESIZE] = {};
  const int n = GetTextFaceA(dc, LF_FACESIZE, face);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return n > 0 ? std::string(face) : std::string();
}

RECT Label::PixelRect() const {
  return RECT{owner_.Px(left_), owner_.Px(top_), owner_.Px(left_ + width_), owner_.Px(top_ + height_)};
}

void Label::Invalidate() const {
  if (owner_.Handle()) owner_.InvalidatePixels(PixelRect());
}

void Label::Paint(HDC dc) const {
  if (!visible_) return;
  RECT rect = PixelRect();
  if (opaque_) {
    HBRUSH brush = CreateSolidBrush(back_);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }
  HGDIOBJ old = SelectObject(dc, FontHandle());
  SetTextColor(dc, fore_);
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text_.c_str(), static_cast<int>(text_.size()), &rect, TextFormat());
  SelectObject(dc, old);
  if (border_) FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

}  // namespace tw
