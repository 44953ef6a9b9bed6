#include "toolkit/win32/form.h"

#include <algorithm>
#include <utility>

#include "toolkit/units.h"
#include "toolkit/win32/form_accessible.h"
#include "toolkit/win32/messages.h"
#include "toolkit/win32/services.h"

namespace tw {

namespace {

constexpr const char* kWindowClass = "TwistwatchForm";
std::vector<Form*> g_loaded_forms;
void (*g_place_observer)(HWND) = nullptr;

bool SameFont(const FontSpec& a, const FontSpec& b) {
  return lstrcmpA(a.face, b.face) == 0 && a.centiPoints == b.centiPoints && a.weight == b.weight &&
         a.underline == b.underline;
}

int ShiftState() {
  int shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftMask;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}

}  // namespace

Form::Form(const FormDesign& design)
    : design_(design), client_width_(design.clientWidth), client_height_(design.clientHeight) {}

Form::~Form() {
  if (hwnd_) {
    EndModal();
    g_loaded_forms.erase(std::remove(g_loaded_forms.begin(), g_loaded_forms.end(), this), g_loaded_forms.end());
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
  for (auto& f : fonts_) DeleteObject(f.font);
}

void Form::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &Form::StaticWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  RegisterClassExA(&wc);
}

bool Form::Load(HWND owner) {
  if (hwnd_) return true;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterWindowClass(instance);
  CreateWindowExA(design_.exStyle, kWindowClass, design_.caption, design_.style | WS_CLIPCHILDREN, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, this);
  if (!hwnd_) return false;
  dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
  if (dpi_ <= 0) dpi_ = USER_DEFAULT_SCREEN_DPI;
  ApplyClientSize();
  if (design_.iconId != 0) {
    auto big = LoadImageA(instance, MAKEINTRESOURCEA(design_.iconId), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                          GetSystemMetrics(SM_CYICON), LR_SHARED);
    auto small = LoadImageA(instance, MAKEINTRESOURCEA(design_.iconId), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                            GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    if (big) SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (small) SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  }
  g_loaded_forms.push_back(this);
  shown_once_ = false;
  OnCreate();
  if (OnLoad()) return true;
  if (hwnd_) {
    // A refused load ends the window without its unload handler.
    for (Timer* t : timers_) t->SetEnabled(false);
    g_loaded_forms.erase(std::remove(g_loaded_forms.begin(), g_loaded_forms.end(), this), g_loaded_forms.end());
    HWND hwnd = hwnd_;
    DestroyWindow(hwnd);
    hwnd_ = nullptr;
  }
  return false;
}

void Form::Unload() {
  if (!hwnd_ || unloading_) return;
  unloading_ = true;
  OnUnload();
  for (Timer* t : timers_) t->SetEnabled(false);
  g_loaded_forms.erase(std::remove(g_loaded_forms.begin(), g_loaded_forms.end(), this), g_loaded_forms.end());
  EndModal();
  HWND hwnd = hwnd_;
  DestroyWindow(hwnd);
  hwnd_ = nullptr;
  controls_.clear();
  unloading_ = false;
}

void Form::Show() {
  if (!hwnd_) return;
  if (!shown_once_ && design_.centerAtStart) CenterOnScreen();
  shown_once_ = true;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void Form::Hide() {
  if (!hwnd_) return;
  EndModal();
  ShowWindow(hwnd_, SW_HIDE);
}

bool Form::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

void Form::ShowModal() {
  if (!hwnd_) return;
  for (Form* f : g_loaded_forms) {
    if (f != this && IsWindowEnabled(f->hwnd_)) {
      EnableWindow(f->hwnd_, FALSE);
      modal_disabled_.push_back(f->hwnd_);
    }
  }
  Show();
  MSG msg;
  while (hwnd_ && IsWindowVisible(hwnd_)) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (hwnd_ && IsDialogMessageA(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // The loop may also end on the program's quit message, with the form still up.
  EndModal();
}

// As the dialog manager ends a dialog: the disabled forms take input again while this
// one is still on the screen, and its owner is activated before it goes. A window that
// goes while its owner is still disabled hands the activation to whatever the system
// finds next: another program's window on Windows, no window at all under Wine, and
// the timer's keys then go nowhere.
void Form::EndModal() {
  if (modal_disabled_.empty()) return;
  const std::vector<HWND> disabled = std::exchange(modal_disabled_, {});
  for (HWND h : disabled) {
    if (IsWindow(h)) EnableWindow(h, TRUE);
  }
  HWND owner = hwnd_ ? GetWindow(hwnd_, GW_OWNER) : nullptr;
  if (owner && hwnd_ == GetActiveWindow() && IsWindowEnabled(owner) && IsWindowVisible(owner)) {
    SetForegroundWindow(owner);
  }
}

int Form::Px(int twips) const { return TwipsToPixels(twips, dpi_); }
int Form::Twips(int pixels) const { return PixelsToTwips(pixels, dpi_); }

void Form::SetCaption(const std::string& caption) {
  if (hwnd_) SetWindowTextA(hwnd_, caption.c_str());
}

std::string Form::Caption() const {
  if (!hwnd_) return design_.caption;
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd_)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()))));
  return text;
}

RECT Form::OuterRectFor(int clientWidthPx, int clientHeightPx) const {
  RECT r{0, 0, clientWidthPx, clientHeightPx};
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE));
  AdjustWindowRectExForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi_));
  return r;
}

void Form::SetClientSize(int widthTwips, int heightTwips) {
  client_width_ = widthTwips;
  client_height_ = heightTwips;
  ApplyClientSize();
}

void Form::ApplyClientSize() {
  if (!hwnd_) return;
  const RECT r = OuterRectFor(Px(client_width_), Px(client_height_));
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::OuterWidth() const {
  if (!hwnd_) return client_width_;
  RECT r;
  GetWindowRect(hwnd_, &r);
  return Twips(r.right - r.left);
}

int Form::OuterHeight() const {
  if (!hwnd_) return client_height_;
  RECT r;
  GetWindowRect(hwnd_, &r);
  return Twips(r.bottom - r.top);
}

int Form::Left() const {
  RECT r{};
  if (hwnd_) GetWindowRect(hwnd_, &r);
  return Twips(r.left);
}

int Form::Top() const {
  RECT r{};
  if (hwnd_) GetWindowRect(hwnd_, &r);
  return Twips(r.top);
}

void Form::SetLeft(int twips) {
  if (!hwnd_) return;
  RECT r;
  GetWindowRect(hwnd_, &r);
  SetWindowPos(hwnd_, nullptr, Px(twips), r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetTop(int twips) {
  if (!hwnd_) return;
  RECT r;
  GetWindowRect(hwnd_, &r);
  SetWindowPos(hwnd_, nullptr, r.left, Px(twips), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::CenterOnScreen() {
  if (!hwnd_) return;
  RECT r;
  GetWindowRect(hwnd_, &r);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::CenterHorizontally() {
  // Half the screen less half the window, in twips and single precision.
  const float left = static_cast<float>(ScreenWidthTwips(dpi_)) / 2.0f - static_cast<float>(OuterWidth()) / 2.0f;
  SetLeft(static_cast<int>(left));
}

Label& Form::AddLabel(const LabelDesign& design) {
  labels_.push_back(std::make_unique<Label>(*this, design));
  return *labels_.back();
}

void Form::InvalidatePixels(const RECT& rect) {
  if (hwnd_) InvalidateRect(hwnd_, &rect, FALSE);
}

HFONT Form::FontFor(const FontSpec& wanted) {
  for (auto& f : fonts_) {
    if (f.dpi == dpi_ && SameFont(f.request, wanted)) return f.font;
  }
  HFONT font = CreateFontA(-MulDiv(wanted.centiPoints, dpi_, 7200), 0, 0, 0, wanted.weight, FALSE, wanted.underline,
                           FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                           DEFAULT_PITCH, wanted.face);
  fonts_.push_back(CachedFont{wanted, dpi_, font});
  return font;
}

HWND Form::AddControl(const char* className, const char* text, DWORD style, DWORD exStyle, int id, int left,
                      int top, int width, int height, const FontSpec* font) {
  if (!hwnd_) return nullptr;
  HWND control = CreateWindowExA(exStyle, className, text, style | WS_CHILD, Px(left), Px(top), Px(width),
                                 Px(height), hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
  if (!control) return nullptr;
  controls_.push_back(Control{control, left, top, width, height, font ? *font : design_.controlFont});
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(controls_.back().font)), FALSE);
  return control;
}

void Form::MoveControl(HWND control, int left, int top, int width, int height) {
  for (auto& c : controls_) {
    if (c.hwnd != control) continue;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    MoveWindow(control, Px(left), Px(top), Px(width), Px(height), TRUE);
  }
}

void Form::SetControlTop(HWND control, int top) {
  for (auto& c : controls_) {
    if (c.hwnd == control) MoveControl(control, c.left, top, c.width, c.height);
  }
}

int Form::ControlTop(HWND control) const {
  for (const auto& c : controls_) {
    if (c.hwnd == control) return c.top;
  }
  return 0;
}

const std::vector<Form*>& Form::LoadedForms() { return g_loaded_forms; }

void Form::SetPlaceObserver(void (*observer)(HWND window)) { g_place_observer = observer; }

std::vector<HWND> Form::LoadedWindowHandles() {
  std::vector<HWND> handles;
  for (Form* f : g_loaded_forms) handles.push_back(f->hwnd_);
  return handles;
}

void Form::HandleDpiChanged(int dpi, const RECT* suggested) {
  dpi_ = dpi;
  for (auto& label : labels_) label->ResetFont();
  for (auto& c : controls_) {
    SendMessageA(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font)), FALSE);
    MoveWindow(c.hwnd, Px(c.left), Px(c.top), Px(c.width), Px(c.height), FALSE);
  }
  const RECT r = OuterRectFor(Px(client_width_), Px(client_height_));
  const int x = suggested ? suggested->left : 0;
  const int y = suggested ? suggested->top : 0;
  SetWindowPos(hwnd_, nullptr, x, y, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE));
  OnDpiChanged();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form::Paint() {
  back_buffer_.Paint(hwnd_, design_.backColor, [this](HDC dc, const RECT&, const RECT& invalid) {
    // Back to front, so the first label lies on top.
    for (auto it = labels_.rbegin(); it != labels_.rend(); ++it) {
      RECT r = (*it)->PixelRect();
      RECT hit;
      if ((*it)->Visible() && IntersectRect(&hit, &r, &invalid)) (*it)->Paint(dc);
    }
  });
}

LRESULT CALLBACK Form::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* form = static_cast<Form*>(create->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->hwnd_ = hwnd;
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    if (form->hwnd_ == hwnd) form->hwnd_ = nullptr;
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return form->SafeWndProc(message, wParam, lParam);
}

LRESULT Form::SafeWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = hwnd_;
  try {
    return WndProc(message, wParam, lParam);
  } catch (...) {
    // A handler's failure must never unwind through the system's message dispatch.
    return hwnd ? DefWindowProcA(hwnd, message, wParam, lParam) : 0;
  }
}

LRESULT Form::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_KEYDOWN:
      OnKeyDown(static_cast<int>(wParam), ShiftState(), (lParam & (1 << 30)) != 0);
      return 0;
    case WM_SYSKEYDOWN:
      OnKeyDown(static_cast<int>(wParam), ShiftState(), (lParam & (1 << 30)) != 0);
      if (wParam == VK_SPACE && design_.altSpaceIsSpace) return 0;
      break;
    case WM_KEYUP:
      OnKeyUp(static_cast<int>(wParam), ShiftState());
      return 0;
    case WM_SYSKEYUP:
      OnKeyUp(static_cast<int>(wParam), ShiftState());
      if (wParam == VK_SPACE && design_.altSpaceIsSpace) return 0;
      break;
    case WM_SYSCHAR:
      // A focused control hands Alt+Space on to its window as this character.
      if (wParam == ' ' && design_.altSpaceIsSpace) return 0;
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_GETOBJECT:
      // Named by its caption, its client area valued by AccessibleValue.
      if (const LRESULT answer = AnswerAccessibleObject(hwnd_, wParam, lParam, kAccessibleValueMessage)) return answer;
      break;
    case kAccessibleValueMessage:
      *reinterpret_cast<std::optional<std::wstring>*>(lParam) = AccessibleValue();
      return 0;
    case WM_TIMER:
    case kPreciseTickMessage:
      for (Timer* t : timers_) {
        if (t->Id() == wParam) {
          t->Dispatch();
          return 0;
        }
      }
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_DPICHANGED:
      HandleDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_WINDOWPOSCHANGED: {
      const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
      const bool placeChanged = (position->flags & SWP_NOMOVE) == 0 || (position->flags & SWP_NOSIZE) == 0;
      if (placeChanged && g_place_observer) g_place_observer(hwnd_);
      break;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void MoveFocusForDialogManager(HWND window, WPARAM wParam, LPARAM lParam) {
  if (LOWORD(lParam)) {
    SetFocus(reinterpret_cast<HWND>(wParam));
  } else {
    SetFocus(GetNextDlgTabItem(window, GetFocus(), wParam != 0));
  }
}

}  // namespace tw
