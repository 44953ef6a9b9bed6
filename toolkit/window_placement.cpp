#include "toolkit/window_placement.h"

#include <algorithm>
#include <array>

namespace tw::placement {

namespace {

enum class Side { kBelow, kAbove, kRight, kLeft };
constexpr std::array<Side, 4> kSides = {Side::kBelow, Side::kAbove, Side::kRight, Side::kLeft};

bool Vertical(Side side) { return side == Side::kBelow || side == Side::kAbove; }

int Room(Side side, const Box& timer, const Box& work) {
  switch (side) {
    case Side::kBelow:
      return work.bottom - timer.bottom;
    case Side::kAbove:
      return timer.top - work.top;
    case Side::kRight:
      return work.right - timer.right;
    case Side::kLeft:
      return timer.left - work.left;
  }
  return 0;
}

// `start` moved so that [start, start + length) lies within [low, high) where it can;
// a length larger than the range starts at `low`.
int Within(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }

// Centred on the timer along the side, within the work area.
int Centred(Side side, const Box& timer, const Box& work, int length) {
  return Vertical(side) ? Within((timer.left + timer.right - length) / 2, length, work.left, work.right)
                        : Within((timer.top + timer.bottom - length) / 2, length, work.top, work.bottom);
}

// Touching the timer on `side` when `flush` is false; against the work area's edge
// on that side when it is.
Box OnSide(Side side, const Box& timer, const Box& work, int width, int height, bool flush) {
  Box box;
  switch (side) {
    case Side::kBelow:
      box.top = flush ? work.bottom - height : timer.bottom;
      break;
    case Side::kAbove:
      box.top = flush ? work.top : timer.top - height;
      break;
    case Side::kRight:
      box.left = flush ? work.right - width : timer.right;
      break;
    case Side::kLeft:
      box.left = flush ? work.left : timer.left - width;
      break;
  }
  if (Vertical(side)) {
    box.top = Within(box.top, height, work.top, work.bottom);
    box.left = Centred(side, timer, work, width);
  } else {
    box.left = Within(box.left, width, work.left, work.right);
    box.top = Centred(side, timer, work, height);
  }
  box.right = box.left + width;
  box.bottom = box.top + height;
  return box;
}

}  // namespace

long long OverlapArea(const Box& a, const Box& b) {
  const long long across = std::min(a.right, b.right) - std::max(a.left, b.left);
  const long long down = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return across > 0 && down > 0 ? across * down : 0;
}

Box PlaceBeside(const Box& timer, const Box& work, int width, int height, int minimumWidth, int minimumHeight) {
  width = std::min(width, work.Width());
  height = std::min(height, work.Height());
  minimumWidth = std::min(minimumWidth, width);
  minimumHeight = std::min(minimumHeight, height);

  for (Side side : kSides) {
    if (Room(side, timer, work) >= (Vertical(side) ? height : width)) {
      return OnSide(side, timer, work, width, height, false);
    }
  }

  // Shrunk across the side: the largest window that still meets its minimum.
  bool found = false;
  Box best;
  for (Side side : kSides) {
    const int room = Room(side, timer, work);
    if (room < (Vertical(side) ? minimumHeight : minimumWidth)) continue;
    const Box box = OnSide(side, timer, work, Vertical(side) ? width : room, Vertical(side) ? room : height, false);
    if (!found || static_cast<long long>(box.Width()) * box.Height() >
                      static_cast<long long>(best.Width()) * best.Height()) {
      best = box;
      found = true;
    }
  }
  if (found) return best;

  // No side has room: the smallest window, where it covers the least of the timer.
  for (Side side : kSides) {
    const Box box = OnSide(side, timer, work, Vertical(side) ? width : minimumWidth,
                           Vertical(side) ? minimumHeight : height, true);
    if (!found || OverlapArea(box, timer) < OverlapArea(best, timer)) {
      best = box;
      found = true;
    }
  }
  return best;
}

}  // namespace tw::placement
