#include "options/win32/result_list.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "results/result_book.h"
#include "storage/win32/wide_path.h"

namespace tw::options {

namespace {

int TopIndex(HWND listBox) { return static_cast<int>(SendMessageA(listBox, LB_GETTOPINDEX, 0, 0)); }

// A line is drawn one pixel in from the left; one more keeps its last glyph clear of the edge.
constexpr int kLineMargins = 2;

// The box's font selected into a DC of the box, for as long as it lives.
class FontDc {
 public:
  explicit FontDc(HWND box) : box_(box), dc_(GetDC(box)) {
    old_ = SelectObject(dc_, reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)));
  }
  ~FontDc() {
    SelectObject(dc_, old_);
    ReleaseDC(box_, dc_);
  }
  FontDc(const FontDc&) = delete;
  FontDc& operator=(const FontDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND box_;
  HDC dc_;
  HGDIOBJ old_;
};

// A line of the log (the ANSI code page's bytes) as UTF-16.
std::wstring WideLine(const storage::LineText& line) { return storage::Widen(line.View(), CP_ACP); }

bool FromKeyboard(LPARAM point) {
  return static_cast<short>(LOWORD(point)) == -1 && static_cast<short>(HIWORD(point)) == -1;
}

bool IsContextKey(UINT message, WPARAM key) {
  if (message == WM_KEYDOWN || message == WM_KEYUP) return key == VK_APPS;
  if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) return key == VK_F10 && GetKeyState(VK_SHIFT) < 0;
  return false;
}

}  // namespace

ResultList::~ResultList() {
  SetBook(nullptr);
  Unsubclass();
}

void ResultList::Attach(HWND listBox) {
  Unsubclass();
  hwnd_ = listBox;
  if (!hwnd_) return;
  // A box without text of its own answers LB_GETTEXT with nothing a reader can say;
  // this one answers with the book's line, as a list box with text would. Its procedure
  // is a Unicode one, and the style says it has strings (the box itself took its style
  // when it was made, so it stays a box without data): the system then hands a caller
  // of either character set the text in its own, converting for an ANSI caller as it
  // does for any list box with strings. Without the style it passes the buffer through
  // unconverted, and a Unicode reader (the accessibility proxy) gets the log's bytes.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ResultList::SubclassProc)));
  SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) | LBS_HASSTRINGS);
  FontChanged();
  ShowCount(-1, 0);
}

void ResultList::Unsubclass() {
  if (hwnd_ && IsWindow(hwnd_) && original_) {
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  }
  original_ = nullptr;
  hwnd_ = nullptr;
}

void ResultList::SetBook(results::ResultBook* book) {
  if (book == book_) return;
  const KeptWidth leaving = book_ && hwnd_ ? KeptWidth{book_, book_->Revision(), widest_} : KeptWidth{};
  if (book_) book_->RemoveWatcher(this);
  book_ = book;
  if (book_) book_->AddWatcher(this);
  ShowCount(-1, 0);
  if (book_ && hwnd_ && previousWidth_.book == book_ && previousWidth_.revision == book_->Revision()) {
    widest_ = previousWidth_.widest;
    ApplyExtent();
  } else {
    MeasureAll();
  }
  previousWidth_ = leaving;
}

int ResultList::Count() const {
  if (!hwnd_) return 0;
  return static_cast<int>(SendMessageA(hwnd_, LB_GETCOUNT, 0, 0));
}

std::string ResultList::TextAt(int index) const {
  if (!book_ || index < 0 || static_cast<std::size_t>(index) >= book_->Size()) return {};
  return std::string(book_->Line(static_cast<std::size_t>(index)));
}

std::vector<std::string> ResultList::Items() const {
  std::vector<std::string> items;
  const int count = Count();
  items.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) items.push_back(TextAt(i));
  return items;
}

int ResultList::SelectedIndex() const {
  if (!hwnd_) return -1;
  const auto selected = static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0));
  return selected == LB_ERR ? -1 : selected;
}

void ResultList::SetSelectedIndex(int index) {
  if (!hwnd_) return;
  if (index >= Count()) index = -1;
  SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int ResultList::LineHeight(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return metrics.tmHeight;
}

void ResultList::FontChanged() {
  if (!hwnd_) return;
  const auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
  SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, MAKELPARAM(LineHeight(font), 0));
  MeasureFont();
  previousWidth_ = {};
  MeasureAll();
}

void ResultList::MeasureFont() {
  const FontDc dc(hwnd_);
  std::array<INT, 256> widths{};
  if (!GetCharWidth32A(dc.get(), 0, 255, widths.data())) widths.fill(0);
  for (std::size_t i = 0; i < widths.size(); ++i) advance_[i] = widths[i];
  CPINFO info{};
  doubleByte_ = GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
}

int ResultList::LineWidth(HDC dc, std::string_view line) const {
  int width = 0;
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (doubleByte_ && byte >= 0x80) {
      SIZE size{};
      GetTextExtentPoint32A(dc, line.data(), static_cast<int>(line.size()), &size);
      return size.cx;
    }
    width += advance_[byte];
  }
  return width;
}

void ResultList::MeasureAll() {
  widest_ = 0;
  if (hwnd_ && book_) {
    const FontDc dc(hwnd_);
    book_->Lines().ForEach([&](std::string_view line) { widest_ = std::max(widest_, LineWidth(dc.get(), line)); });
  }
  ApplyExtent();
}

// A line that grew may widen the box's reach; one that shrank or went leaves it as it
// is until the book is read whole again.
void ResultList::Measure(std::size_t index) {
  if (!hwnd_ || !book_ || index >= book_->Size()) return;
  const FontDc dc(hwnd_);
  const storage::LineText line = book_->Line(index);
  const int width = LineWidth(dc.get(), line);
  if (width <= widest_) return;
  widest_ = width;
  ApplyExtent();
}

int ResultList::HorizontalExtent() const { return widest_ > 0 ? widest_ + kLineMargins : 0; }

void ResultList::ApplyExtent() {
  if (hwnd_) SendMessageA(hwnd_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(HorizontalExtent()), 0);
}

void ResultList::ShowCount(int selected, int top) {
  if (!hwnd_) return;
  const int count = book_ ? static_cast<int>(book_->Size()) : 0;
  SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(hwnd_, LB_SETCOUNT, static_cast<WPARAM>(count), 0);
  SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(selected < count ? selected : -1), 0);
  if (top > 0 && top < count) SendMessageA(hwnd_, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ResultList::OnAppended(const results::ResultBook& book) {
  if (!hwnd_) return;
  ShowCount(SelectedIndex(), TopIndex(hwnd_));
  if (book.Size() > 0) Measure(book.Size() - 1);
}

// As a list box deletes one of its lines: the selection goes with the line it was
// on, and everything below moves up.
void ResultList::OnRemoved(const results::ResultBook&, std::size_t index) {
  if (!hwnd_) return;
  const auto removed = static_cast<int>(index);
  int selected = SelectedIndex();
  if (selected == removed) selected = -1;
  if (selected > removed) --selected;
  int top = TopIndex(hwnd_);
  if (top > removed) --top;
  ShowCount(selected, top);
}

void ResultList::OnReplaced(const results::ResultBook&, std::size_t index) {
  if (!hwnd_) return;
  Measure(index);
  RECT line;
  if (SendMessageA(hwnd_, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&line)) != LB_ERR) {
    InvalidateRect(hwnd_, &line, TRUE);
  }
}

// Which line was selected cannot be told after the book was read again.
void ResultList::OnReloaded(const results::ResultBook&) {
  if (!hwnd_) return;
  ShowCount(-1, TopIndex(hwnd_));
  MeasureAll();
}

void ResultList::OnSaveStateChanged(const results::ResultBook& book) {
  if (onSaveStateChanged) onSaveStateChanged(book);
}

// Drawn as a list box with text draws its lines (the text one pixel in from the left,
// the line's whole box filled), in the box's font and the system's colours.
void ResultList::Draw(const DRAWITEMSTRUCT& item) const {
  const bool focusRect = (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT);
  if (item.itemAction == ODA_FOCUS) {
    if (!(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(item.hDC, &item.rcItem);
    return;
  }
  if (!book_ || item.itemID >= book_->Size()) return;
  const storage::LineText line = book_->Line(item.itemID);
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) || !IsWindowEnabled(item.hwndItem);
  HGDIOBJ oldFont =
      SelectObject(item.hDC, reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
  const COLORREF oldBack = SetBkColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const COLORREF oldText = SetTextColor(
      item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
  ExtTextOutA(item.hDC, item.rcItem.left + 1, item.rcItem.top, ETO_OPAQUE | ETO_CLIPPED, &item.rcItem, line.data(),
              static_cast<UINT>(line.size()), nullptr);
  if (focusRect) DrawFocusRect(item.hDC, &item.rcItem);
  SetTextColor(item.hDC, oldText);
  SetBkColor(item.hDC, oldBack);
  SelectObject(item.hDC, oldFont);
}

LRESULT CALLBACK ResultList::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ResultList*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->original_) return DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return self->OnListMessage(message, wParam, lParam);
  } catch (...) {
    return LB_ERR;
  }
}

LRESULT ResultList::OnListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const bool inBook = book_ && wParam < book_->Size();
  if (IsContextKey(message, wParam)) {
    // Shift+F10 and the menu key open the line's menu at once, from the key down; the
    // key up and the system's own menu request for them then go nowhere, so the menu
    // opens once however the system turns these keys into one.
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
      SendMessageA(GetParent(hwnd_), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(-1, -1));
    }
    return 0;
  }
  switch (message) {
    case WM_CONTEXTMENU:
      if (FromKeyboard(lParam)) return 0;
      break;
    case WM_KEYDOWN:
      if (wParam != VK_DELETE || !onDeleteKey) break;
      onDeleteKey();
      return 0;
    case WM_RBUTTONDOWN: {
      // A right click picks the line under the pointer first: the menu is for it. (The
      // box's own hit test answers in 16 bits, too few for a long log.)
      const int y = static_cast<short>(HIWORD(lParam));
      const auto lineHeight = static_cast<int>(SendMessageA(hwnd_, LB_GETITEMHEIGHT, 0, 0));
      const int line = lineHeight > 0 && y >= 0 ? TopIndex(hwnd_) + y / lineHeight : -1;
      if (line >= 0 && line < Count()) {
        SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
        SendMessageA(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(hwnd_));
      }
      SetFocus(hwnd_);
      break;
    }
    case LB_GETTEXTLEN:
      return inBook ? static_cast<LRESULT>(WideLine(book_->Line(wParam)).size()) : LB_ERR;
    case LB_GETTEXT: {
      if (!inBook || !lParam) return LB_ERR;
      // The caller's buffer holds LB_GETTEXTLEN characters and the terminating zero.
      const std::wstring line = WideLine(book_->Line(wParam));
      std::memcpy(reinterpret_cast<wchar_t*>(lParam), line.c_str(), (line.size() + 1) * sizeof(wchar_t));
      return static_cast<LRESULT>(line.size());
    }
    case WM_NCDESTROY: {
      // The box goes with its form: it lets go of this list on its way out.
      HWND box = hwnd_;
      const WNDPROC original = original_;
      SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      SetWindowLongPtrW(box, GWLP_USERDATA, 0);
      original_ = nullptr;
      hwnd_ = nullptr;
      return CallWindowProcW(original, box, message, wParam, lParam);
    }
    default:
      break;
  }
  return CallWindowProcW(original_, hwnd_, message, wParam, lParam);
}

}  // namespace tw::options
