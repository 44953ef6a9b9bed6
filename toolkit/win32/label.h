#pragma once
#include <windows.h>

#include <string>

namespace tw {

class Form;

struct FontSpec {
  const char* face;
  int centiPoints;  // 9975 is 99.75 pt
  int weight;       // 400 regular, 700 bold
  bool underline = false;
};

enum class TextAlign { Left, Center, Right };

// A painted label's state at creation; lengths in twips from the client area's corner.
struct LabelDesign {
  const char* name;
  const char* text;
  int left, top, width, height;
  bool visible;
  FontSpec font;
  COLORREF foreColor;
  COLORREF backColor;
  bool opaque;  // false: transparent background
  TextAlign align;
  bool border;  // thin single-line border
};

// A windowless label painted by its form in z-order. Every change invalidates
// only the label's own rectangle, and only when something really changed.
class Label {
 public:
  Label(Form& owner, const LabelDesign& design);
  ~Label();
  Label(const Label&) = delete;
  Label& operator=(const Label&) = delete;

  const char* Name() const { return name_; }
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  int Left() const { return left_; }
  void SetLeft(int twips);
  int Top() const { return top_; }
  void SetTop(int twips);
  int Width() const { return width_; }
  void SetWidth(int twips);
  int Height() const { return height_; }
  void SetHeight(int twips);
  // Whether the text breaks into lines at its '\n's and where it is wider than the
  // label (off: one line, as every label of the layout tables is).
  void SetWrap(bool wrap);
  // The height in twips the text takes at the label's width, as it is painted.
  int TextHeight() const;
  bool Bold() const { return font_.weight >= FW_BOLD; }
  void SetBold(bool bold);
  COLORREF ForeColor() const { return fore_; }
  void SetForeColor(COLORREF color);
  bool Underline() const { return font_.underline; }
  void SetUnderline(bool underline);
  const FontSpec& Font() const { return font_; }
  // The face the platform really uses for this label's font (a substitute's
  // name when the face asked for is not installed).
  std::string FontFaceUsed() const;

  // Painting, called by the form with its back-buffer DC.
  void Paint(HDC dc) const;
  RECT PixelRect() const;
  // Drops the cached font, e.g. after a DPI change.
  void ResetFont();

 private:
  HFONT FontHandle() const;
  UINT TextFormat() const;
  void Invalidate() const;

  Form& owner_;
  const char* name_;
  std::string text_;
  int left_, top_, width_, height_;
  bool visible_;
  FontSpec font_;
  COLORREF fore_, back_;
  bool opaque_;
  TextAlign align_;
  bool border_;
  bool wrap_ = false;
  mutable HFONT font_handle_ = nullptr;
  mutable int font_dpi_ = 0;
};

}  // namespace tw
