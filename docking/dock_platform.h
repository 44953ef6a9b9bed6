#pragma once
// What the docking geometry needs from the windowing system, kept apart from it so
// the geometry runs and is tested on any machine.
#include <cstdint>
#include <vector>

namespace tw::docking {

// Screen pixels; right and bottom lie one past the last pixel, as in the platform's RECT.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// A window handle as an opaque number; the Win32 binding stores HWND values here.
using WindowId = std::uintptr_t;

class DockPlatform {
 public:
  virtual ~DockPlatform() = default;
  // The primary screen less the task bar and other docked bars.
  virtual Rect WorkArea() const = 0;
  // Every loaded window of the program, visible or not, in the order they were loaded.
  virtual std::vector<WindowId> LoadedWindows() const = 0;
  virtual bool IsVisible(WindowId window) const = 0;
  // The window's outer rectangle, frame included.
  virtual Rect WindowRect(WindowId window) const = 0;
  virtual Point CursorPos() const = 0;
};

}  // namespace tw::docking
