#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/win32/back_buffer.h"
#include "toolkit/win32/label.h"
#include "toolkit/win32/timer.h"

namespace tw {

// A form's state at creation; lengths in twips. The size given is the client
// area: the outer size comes from the real frame at the window's DPI.
struct FormDesign {
  const char* caption;
  int clientWidth, clientHeight;
  DWORD style;
  DWORD exStyle;
  COLORREF backColor;
  FontSpec controlFont;  // font of native controls that name none of their own
  int iconId;            // resource id of the icon, 0 for none
  bool centerAtStart = true;  // centred on the screen when first shown
  // Alt+Space arrives as a Space key-down instead of opening the system menu: the rule
  // of a window worked by Space alone. A window with native controls keeps its menu.
  bool altSpaceIsSpace = true;
};

// Shift state bits passed to OnKeyDown.
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

// One top-level window of the program with its state at creation, painted labels,
// timers and native controls. Messages go to named virtual handlers; no
// exception leaves the window procedure.
class Form {
 public:
  explicit Form(const FormDesign& design);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window hidden and runs OnLoad. Returns false, with the window
  // gone, when OnLoad refused.
  bool Load(HWND owner = nullptr);
  bool IsLoaded() const { return hwnd_ != nullptr; }
  // Runs OnUnload, then destroys the window. Safe to call when not loaded.
  void Unload();
  void Show();
  void Hide();
  // Shows the form modally: the other forms take no input until it is unloaded
  // or hidden. Returns then. Timers of every form keep ticking meanwhile. However it
  // goes (Exit, the title bar's close, Alt+F4, a hide), the other forms are enabled
  // again before it leaves the screen and its owner takes the activation back.
  void ShowModal();
  bool Visible() const;
  HWND Handle() const { return hwnd_; }

  // Geometry in twips at the window's DPI.
  int Dpi() const { return dpi_; }
  int Px(int twips) const;
  int Twips(int pixels) const;
  void SetCaption(const std::string& caption);
  std::string Caption() const;
  void SetClientSize(int widthTwips, int heightTwips);
  int ClientWidth() const { return client_width_; }
  int ClientHeight() const { return client_height_; }
  int OuterWidth() const;   // real frame included
  int OuterHeight() const;  // real frame included
  int Left() const;
  int Top() const;
  void SetLeft(int twips);
  void SetTop(int twips);
  void CenterOnScreen();
  void CenterHorizontally();

  // Painted labels; the first added is drawn in front of the later ones.
  Label& AddLabel(const LabelDesign& design);
  void InvalidatePixels(const RECT& rect);

  // Native child controls, placed in twips and moved along with DPI changes.
  HWND AddControl(const char* className, const char* text, DWORD style, DWORD exStyle, int id,
                  int left, int top, int width, int height, const FontSpec* font = nullptr);
  void MoveControl(HWND control, int left, int top, int width, int height);
  void SetControlTop(HWND control, int top);
  int ControlTop(HWND control) const;
  HFONT FontFor(const FontSpec& wanted);

  // Every loaded form in load order.
  static const std::vector<Form*>& LoadedForms();
  static std::vector<HWND> LoadedWindowHandles();

  // Told after any form's window moved or changed size (the windows beside the timer
  // follow it); one observer for the program, nullptr for none.
  static void SetPlaceObserver(void (*observer)(HWND window));

  // Registers the window class; called once by WinMain and by tests.
  static void RegisterWindowClass(HINSTANCE instance);

 protected:
  // Creates the layout's controls; runs right after the window exists, before OnLoad.
  virtual void OnCreate() {}
  // Returns false to refuse the load; the window is then destroyed without OnUnload
  // (call Unload() first where the unload handler must run).
  virtual bool OnLoad() { return true; }
  virtual void OnUnload() {}
  // A key-down with its virtual-key code, shift state and whether it is a repeat.
  virtual void OnKeyDown(int /*vk*/, int /*shift*/, bool /*repeat*/) {}
  // A key-up with its virtual-key code and shift state.
  virtual void OnKeyUp(int /*vk*/, int /*shift*/) {}
  virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
  virtual void OnDpiChanged() {}
  // What a screen reader reads as the value of a form whose content is painted (the
  // timer's digits); nothing leaves the system's own answer. Every form is named by
  // its caption.
  virtual std::optional<std::wstring> AccessibleValue() const { return std::nullopt; }
  // Everything else; call Form::WndProc for the default handling.
  virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

  const FormDesign& Design() const { return design_; }

 private:
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Asks the form for AccessibleValue (lParam: a std::optional<std::wstring> to fill).
  static constexpr UINT kAccessibleValueMessage = WM_APP + 3;
  LRESULT SafeWndProc(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void ApplyClientSize();
  void HandleDpiChanged(int dpi, const RECT* suggested);
  void Destroyed();
  void EndModal();
  RECT OuterRectFor(int clientWidthPx, int clientHeightPx) const;

  struct Control {
    HWND hwnd;
    int left, top, width, height;
    FontSpec font;
  };
  struct CachedFont {
    FontSpec request;
    int dpi;
    HFONT font;
  };

  FormDesign design_;
  HWND hwnd_ = nullptr;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  int client_width_, client_height_;
  std::vector<std::unique_ptr<Label>> labels_;
  std::vector<Control> controls_;
  std::vector<CachedFont> fonts_;
  std::vector<Timer*> timers_;
  std::vector<HWND> modal_disabled_;  // the forms ShowModal disabled, until it ends
  BackBuffer back_buffer_;
  bool unloading_ = false;
  bool shown_once_ = false;
  friend class Timer;
};

// WM_NEXTDLGCTL as a dialog's own procedure answers it: the dialog manager sends it to
// move the focus (to a named control, or on or back from the focused one), as for a
// label's access key.
void MoveFocusForDialogManager(HWND window, WPARAM wParam, LPARAM lParam);

}  // namespace tw
