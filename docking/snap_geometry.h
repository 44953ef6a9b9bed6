#pragma once
// Pulls the edges of a window being moved or resized onto the edges of the work area
// and of the program's other visible windows when they come closer than SnapDistance.
#include <cstdint>
#include <vector>

#include "docking/dock_platform.h"

namespace tw::docking {

inline constexpr std::int32_t SnapDistance = 15;

enum class SnapMode : int { Move = 1, Size = 2 };

// The wParam of WM_SIZING: which edge or corner of the window is being dragged.
struct SizingEdge {
  static constexpr int Left = 1;
  static constexpr int Right = 2;
  static constexpr int Top = 3;
  static constexpr int TopLeft = 4;
  static constexpr int TopRight = 5;
  static constexpr int Bottom = 6;
  static constexpr int BottomLeft = 7;
  static constexpr int BottomRight = 8;
};

// The drag state shared by all docked windows; only one window is dragged at a time.
// Nothing here is cleared when a drag ends: the next drag overwrites it.
struct DockState {
  // Index 0 is the work area, then the other visible windows in load order.
  std::vector<Rect> DockRects;
  // Whether the previous move message snapped the window on that axis.
  bool SnappedX = false;
  bool SnappedY = false;
  // Cursor position minus the dragged window's left and top edges.
  std::int32_t CursorOffsetX = 0;
  std::int32_t CursorOffsetY = 0;
};

// Rebuilds the targets for a drag of `dragged`: the work area, then every visible
// loaded window but the dragged one.
void CollectDockRects(DockState& state, const DockPlatform& platform, WindowId dragged);

// The start of a move or resize: captures where the cursor holds the window, then the targets.
void BeginDockDrag(DockState& state, const DockPlatform& platform, WindowId window);

// Corrects the rectangle proposed for the dragged window in place. `sizingEdge` is read
// in mode Size only; `offsetX` and `offsetY` are read and rewritten in mode Move only.
void SnapRect(DockState& state, const DockPlatform& platform, SnapMode mode, Rect& rect,
              int sizingEdge, std::int32_t& offsetX, std::int32_t& offsetY);

}  // namespace tw::docking
