#include "docking/snap_geometry.h"

#include <algorithm>
#include <limits>

namespace tw::docking {
namespace {

// Coordinates are 32-bit, but a difference of two of them is not: the arithmetic runs
// in 64 bits and results are pinned to the 32-bit range, so no rectangle overflows.
using Wide = std::int64_t;

std::int32_t Narrow(Wide value) {
  return static_cast<std::int32_t>(std::clamp<Wide>(value, std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max()));
}

Wide Distance(Wide a, Wide b) { return a > b ? a - b : b - a; }

using Edge = std::int32_t Rect::*;

// One axis of a rectangle: its leading (left or top) and trailing (right or bottom) edge.
struct Axis {
  Edge lead;
  Edge trail;
};
constexpr Axis Horizontal{&Rect::left, &Rect::right};
constexpr Axis Vertical{&Rect::top, &Rect::bottom};

// A target can pull on one axis only when it lies within reach on the other axis:
// overlapping it, or leaving a gap of less than SnapDistance.
bool WithinReach(const Rect& target, const Rect& dragged, const Axis& across) {
  return Wide{target.*across.lead} < Wide{dragged.*across.trail} + SnapDistance &&
         Wide{target.*across.trail} > Wide{dragged.*across.lead} - SnapDistance;
}

struct AxisSnap {
  Wide best = SnapDistance;
  bool snapped = false;
};

void Shift(Rect& rect, const Axis& axis, Wide delta) {
  rect.*axis.lead = Narrow(rect.*axis.lead + delta);
  rect.*axis.trail = Narrow(rect.*axis.trail + delta);
}

// While an axis is snapped the window no longer sits where the cursor holds it; the
// drift puts it back there, so the user can pull it free. Unsnapped, the offset follows.
void Drift(Rect& rect, const Axis& axis, bool snapped, std::int32_t cursor, std::int32_t& offset) {
  const Wide held = Wide{cursor} - rect.*axis.lead;
  if (snapped) {
    Shift(rect, axis, held - offset);
  } else {
    offset = Narrow(held);
  }
}

// Tries the four pairings of one axis against one target in their fixed order; the
// first that comes strictly nearer than the best so far places the window and ends it.
// Against the work area only the inner alignments apply, keeping the window inside it.
void SnapMoveAxis(const Axis& axis, const Rect& dragged, const Rect& target, bool targetIsWindow,
                  Wide extent, AxisSnap& snap, Rect& out) {
  struct Pairing {
    Edge moving;
    Edge onto;
    bool windowsOnly;
  };
  const Pairing pairings[] = {{axis.lead, axis.lead, false},
                              {axis.lead, axis.trail, true},
                              {axis.trail, axis.lead, true},
                              {axis.trail, axis.trail, false}};
  for (const Pairing& pairing : pairings) {
    if (pairing.windowsOnly && !targetIsWindow) continue;
    const std::int32_t edge = target.*pairing.onto;
    const Wide distance = Distance(dragged.*pairing.moving, edge);
    if (distance >= snap.best) continue;
    if (pairing.moving == axis.lead) {
      out.*axis.lead = edge;
      out.*axis.trail = Narrow(edge + extent);
    } else {
      out.*axis.trail = edge;
      out.*axis.lead = Narrow(edge - extent);
    }
    snap = {distance, true};
    return;
  }
}

void SnapMove(DockState& state, const DockPlatform& platform, Rect& rect, std::int32_t& offsetX,
              std::int32_t& offsetY) {
  const Point cursor = platform.CursorPos();
  Drift(rect, Horizontal, state.SnappedX, cursor.x, offsetX);
  Drift(rect, Vertical, state.SnappedY, cursor.y, offsetY);

  // Every test measures the unsnapped position, never the partly corrected output.
  const Rect dragged = rect;
  const Wide width = Wide{dragged.right} - dragged.left;
  const Wide height = Wide{dragged.bottom} - dragged.top;
  AxisSnap x;
  AxisSnap y;
  for (std::size_t i = 0; i < state.DockRects.size(); ++i) {
    const Rect& target = state.DockRects[i];
    const bool targetIsWindow = i > 0;
    if (WithinReach(target, dragged, Vertical)) {
      SnapMoveAxis(Horizontal, dragged, target, targetIsWindow, width, x, rect);
    }
    if (WithinReach(target, dragged, Horizontal)) {
      SnapMoveAxis(Vertical, dragged, target, targetIsWindow, height, y, rect);
    }
  }
  state.SnappedX = x.snapped;
  state.SnappedY = y.snapped;
}

bool MovesLeftEdge(int sizingEdge) {
  return sizingEdge == SizingEdge::Left || sizingEdge == SizingEdge::TopLeft ||
         sizingEdge == SizingEdge::BottomLeft;
}

bool MovesTopEdge(int sizingEdge) {
  return sizingEdge == SizingEdge::Top || sizingEdge == SizingEdge::TopLeft ||
         sizingEdge == SizingEdge::TopRight;
}

// A moving edge is drawn to either edge of a target, the work area's included.
void SnapSizeEdge(std::int32_t moving, const Rect& target, const Axis& axis, AxisSnap& snap,
                  std::int32_t& out) {
  for (Edge onto : {axis.lead, axis.trail}) {
    const Wide distance = Distance(moving, target.*onto);
    if (distance < snap.best) {
      out = target.*onto;
      snap = {distance, true};
      return;
    }
  }
}

// Only the moving edges are pulled. A pure side or top/bottom drag still tries the other
// axis, through its right or bottom edge, which then snaps like any other.
void SnapSize(const DockState& state, Rect& rect, int sizingEdge) {
  const Rect proposed = rect;
  const Edge movingX = MovesLeftEdge(sizingEdge) ? &Rect::left : &Rect::right;
  const Edge movingY = MovesTopEdge(sizingEdge) ? &Rect::top : &Rect::bottom;
  std::int32_t nx = proposed.*movingX;
  std::int32_t ny = proposed.*movingY;
  AxisSnap x;
  AxisSnap y;
  for (const Rect& target : state.DockRects) {
    if (WithinReach(target, proposed, Vertical)) {
      SnapSizeEdge(proposed.*movingX, target, Horizontal, x, nx);
    }
    if (WithinReach(target, proposed, Horizontal)) {
      SnapSizeEdge(proposed.*movingY, target, Vertical, y, ny);
    }
  }
  rect.*movingX = nx;
  rect.*movingY = ny;
}

}  // namespace

void CollectDockRects(DockState& state, const DockPlatform& platform, WindowId dragged) {
  state.DockRects.assign(1, platform.WorkArea());
  for (WindowId window : platform.LoadedWindows()) {
    if (window == dragged || !platform.IsVisible(window)) continue;
    state.DockRects.push_back(platform.WindowRect(window));
  }
}

void BeginDockDrag(DockState& state, const DockPlatform& platform, WindowId window) {
  const Rect placed = platform.WindowRect(window);
  const Point cursor = platform.CursorPos();
  state.CursorOffsetX = Narrow(Wide{cursor.x} - placed.left);
  state.CursorOffsetY = Narrow(Wide{cursor.y} - placed.top);
  CollectDockRects(state, platform, window);
}

void SnapRect(DockState& state, const DockPlatform& platform, SnapMode mode, Rect& rect,
              int sizingEdge, std::int32_t& offsetX, std::int32_t& offsetY) {
  switch (mode) {
    case SnapMode::Move:
      SnapMove(state, platform, rect, offsetX, offsetY);
      return;
    case SnapMode::Size:
      SnapSize(state, rect, sizingEdge);
      return;
  }
}

}  // namespace tw::docking
