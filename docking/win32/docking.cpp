#include "docking/win32/docking.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "docking/hook_table.h"
#include "docking/snap_geometry.h"

namespace tw::docking {
namespace {

HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
WindowId ToId(HWND window) { return reinterpret_cast<WindowId>(window); }

Rect ToRect(const RECT& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }
RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

class Win32DockPlatform final : public DockPlatform {
 public:
  Rect WorkArea() const override {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 1, &area, 0);
    return ToRect(area);
  }

  std::vector<WindowId> LoadedWindows() const override {
    if (!source_) return {};
    const std::vector<HWND> loaded = source_();
    std::vector<WindowId> windows(loaded.size());
    std::transform(loaded.begin(), loaded.end(), windows.begin(), ToId);
    return windows;
  }

  bool IsVisible(WindowId window) const override { return IsWindowVisible(ToHwnd(window)) != FALSE; }

  Rect WindowRect(WindowId window) const override {
    RECT placed{};
    GetWindowRect(ToHwnd(window), &placed);
    return ToRect(placed);
  }

  Point CursorPos() const override {
    POINT cursor{};
    GetCursorPos(&cursor);
    return {cursor.x, cursor.y};
  }

  void SetSource(std::function<std::vector<HWND>()> source) { source_ = std::move(source); }

 private:
  std::function<std::vector<HWND>()> source_;
};

// One user-interface thread owns every window, so the module state needs no lock.
struct Docking {
  HookTable<HWND, WNDPROC> hooks;
  DockState state;
  Win32DockPlatform platform;
};

Docking& Module() {
  static Docking docking;
  return docking;
}

WNDPROC InstallProc(HWND window, WNDPROC proc) {
  return reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

// The rectangle behind WM_MOVING and WM_SIZING is edited in place: the system takes it back.
void SnapMessageRect(SnapMode mode, WPARAM wParam, LPARAM lParam, std::int32_t& offsetX,
                     std::int32_t& offsetY) {
  auto* proposed = reinterpret_cast<RECT*>(lParam);
  if (proposed == nullptr) return;
  Rect rect = ToRect(*proposed);
  Docking& docking = Module();
  SnapRect(docking.state, docking.platform, mode, rect, static_cast<int>(wParam), offsetX, offsetY);
  *proposed = ToRECT(rect);
}

// No exception may cross into the system's dispatch: if the window source fails, the
// drag goes on with the targets collected so far, the work area at least.
void HandleEnterSizeMove(HWND hWnd) noexcept {
  Docking& docking = Module();
  try {
    BeginDockDrag(docking.state, docking.platform, ToId(hWnd));
  } catch (...) {
  }
}

void HandleMoving(LPARAM lParam) {
  DockState& state = Module().state;
  SnapMessageRect(SnapMode::Move, 0, lParam, state.CursorOffsetX, state.CursorOffsetY);
}

// A resize leaves the stored cursor offsets alone.
void HandleSizing(WPARAM wParam, LPARAM lParam) {
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  SnapMessageRect(SnapMode::Size, wParam, lParam, offsetX, offsetY);
}

}  // namespace

void ActivateDocking(HWND window) {
  Module().hooks.Register(window, [](HWND hooked) { return InstallProc(hooked, &DockingWindowProc); });
}

void DeactivateDocking(HWND window) {
  Module().hooks.Unregister(window, [](HWND hooked, WNDPROC previous) { InstallProc(hooked, previous); });
}

void SetDockWindowSource(std::function<std::vector<HWND>()> loadedWindowsInLoadOrder) {
  Module().platform.SetSource(std::move(loadedWindowsInLoadOrder));
}

LRESULT CALLBACK DockingWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // Held in a local: the window may be unhooked, and the table shifted, while a
  // forwarded message is still running in the previous procedure.
  const std::optional<WNDPROC> previous = Module().hooks.PreviousProc(hWnd);
  if (!previous) return 0;
  switch (message) {
    case WM_ENTERSIZEMOVE:
      HandleEnterSizeMove(hWnd);
      break;
    case WM_MOVING:
      HandleMoving(lParam);
      return TRUE;
    case WM_SIZING:
      HandleSizing(wParam, lParam);
      return TRUE;
    default:
      break;
  }
  return CallWindowProcA(*previous, hWnd, message, wParam, lParam);
}

}  // namespace tw::docking
