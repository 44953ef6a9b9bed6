#include "toolkit/window_placement.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

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

// Within two pixels counts as touching: frames and snapping round to whole pixels.
constexpr int kTouchSlack = 2;

bool Inside(const Box& box, const Box& work) {
  return box.left >= work.left && box.top >= work.top && box.right <= work.right && box.bottom <= work.bottom;
}

Box Moved(const Box& box, int dx, int dy) { return Box{box.left + dx, box.top + dy, box.right + dx, box.bottom + dy}; }

// The side of `anchor` that `box` is docked to, if any.
std::optional<Side> DockedSide(const Box& anchor, const Box& box) {
  const bool across = std::min(box.right, anchor.right) > std::max(box.left, anchor.left);
  const bool along = std::min(box.bottom, anchor.bottom) > std::max(box.top, anchor.top);
  if (across && std::abs(box.top - anchor.bottom) <= kTouchSlack) return Side::kBelow;
  if (across && std::abs(box.bottom - anchor.top) <= kTouchSlack) return Side::kAbove;
  if (along && std::abs(box.left - anchor.right) <= kTouchSlack) return Side::kRight;
  if (along && std::abs(box.right - anchor.left) <= kTouchSlack) return Side::kLeft;
  return std::nullopt;
}

// How a box docked on `side` moves when its anchor goes from `before` to `after`: with
// the edge it touches, and with the anchor's near end along that edge.
Box Follow(Side side, const Box& before, const Box& after, const Box& box) {
  switch (side) {
    case Side::kBelow:
      return Moved(box, after.left - before.left, after.bottom - before.bottom);
    case Side::kAbove:
      return Moved(box, after.left - before.left, after.top - before.top);
    case Side::kRight:
      return Moved(box, after.right - before.right, after.top - before.top);
    case Side::kLeft:
      return Moved(box, after.left - before.left, after.top - before.top);
  }
  return box;
}

// How far apart two boxes lie: the larger of the gaps across and down, 0 when they touch.
long long Gap(const Box& a, const Box& b) {
  const int across = std::max({0, a.left - b.right, b.left - a.right});
  const int down = std::max({0, a.top - b.bottom, b.top - a.bottom});
  return std::max(across, down);
}

bool Clear(const Box& box, const Box& timer, const std::vector<Box>& taken) {
  if (OverlapArea(box, timer) > 0) return false;
  return std::none_of(taken.begin(), taken.end(), [&box](const Box& t) { return OverlapArea(box, t) > 0; });
}

// The distances from the timer's edge a window on `side` may lie at: touching the
// timer, or touching the outer edge of a taken box on that side.
std::vector<int> Depths(Side side, const Box& timer, const std::vector<Box>& taken) {
  std::vector<int> depths{0};
  for (const Box& t : taken) {
    int depth = -1;
    switch (side) {
      case Side::kBelow:
        depth = t.bottom - timer.bottom;
        break;
      case Side::kAbove:
        depth = timer.top - t.top;
        break;
      case Side::kRight:
        depth = t.right - timer.right;
        break;
      case Side::kLeft:
        depth = timer.left - t.left;
        break;
    }
    if (depth > 0) depths.push_back(depth);
  }
  std::sort(depths.begin(), depths.end());
  return depths;
}

// The starts along a side worth trying: centred on the timer, flush with either of its
// ends, and just past either end of each taken box.
std::vector<int> Starts(Side side, const Box& timer, const Box& work, const std::vector<Box>& taken, int length) {
  const bool vertical = Vertical(side);
  std::vector<int> starts{Centred(side, timer, work, length), vertical ? timer.left : timer.top,
                          (vertical ? timer.right : timer.bottom) - length};
  for (const Box& t : taken) {
    starts.push_back(vertical ? t.right : t.bottom);
    starts.push_back((vertical ? t.left : t.top) - length);
  }
  return starts;
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

namespace tw::placement {

Box PlaceClear(const Box& timer, const Box& work, int width, int height, int minimumWidth, int minimumHeight,
               const std::vector<Box>& taken) {
  const int w = std::min(width, work.Width());
  const int h = std::min(height, work.Height());
  // Ranked: touching the timer before touching only a taken box, nearer the timer,
  // the sides in their order, nearer the timer's middle along the side.
  using Rank = std::array<long long, 4>;
  std::optional<Box> best;
  Rank bestRank{};
  for (std::size_t sideIndex = 0; sideIndex < kSides.size(); ++sideIndex) {
    const Side side = kSides[sideIndex];
    const bool vertical = Vertical(side);
    const int middle = Centred(side, timer, work, vertical ? w : h);
    for (int depth : Depths(side, timer, taken)) {
      for (int start : Starts(side, timer, work, taken, vertical ? w : h)) {
        Box box;
        if (vertical) {
          box.left = start;
          box.top = side == Side::kBelow ? timer.bottom + depth : timer.top - depth - h;
        } else {
          box.top = start;
          box.left = side == Side::kRight ? timer.right + depth : timer.left - depth - w;
        }
        box.right = box.left + w;
        box.bottom = box.top + h;
        if (!Inside(box, work) || !Clear(box, timer, taken)) continue;
        const bool byTimer = DockedSide(timer, box).has_value();
        const bool byTaken =
            std::any_of(taken.begin(), taken.end(), [&box](const Box& t) { return DockedSide(t, box).has_value(); });
        if (!byTimer && !byTaken) continue;
        const Rank rank{byTimer ? 0 : 1, Gap(box, timer), static_cast<long long>(sideIndex),
                        std::abs((vertical ? box.left : box.top) - middle)};
        if (!best || rank < bestRank) {
          best = box;
          bestRank = rank;
        }
      }
    }
  }
  return best ? *best : PlaceBeside(timer, work, width, height, minimumWidth, minimumHeight);
}

std::vector<Box> FollowTimer(const Box& before, const Box& after, const Box& work,
                             const std::vector<Companion>& companions) {
  const std::size_t n = companions.size();
  std::vector<Box> boxes;
  for (const Companion& c : companions) boxes.push_back(c.box);
  std::vector<bool> moved(n, false);
  for (std::size_t i = 0; i < n; ++i) {
    if (const std::optional<Side> side = DockedSide(before, companions[i].box)) {
      boxes[i] = Follow(*side, before, after, companions[i].box);
      moved[i] = true;
    }
  }
  // A window docked to one that moved follows it, however long the chain.
  for (bool more = true; more;) {
    more = false;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n && !moved[i]; ++j) {
        if (!moved[j]) continue;
        if (const std::optional<Side> side = DockedSide(companions[j].box, companions[i].box)) {
          boxes[i] = Follow(*side, companions[j].box, boxes[j], companions[i].box);
          moved[i] = more = true;
        }
      }
    }
  }
  std::vector<Box> taken;
  for (std::size_t i = 0; i < n; ++i) {
    const bool leftTheWork = Inside(companions[i].box, work) && !Inside(boxes[i], work);
    if (leftTheWork || !Clear(boxes[i], after, taken)) {
      boxes[i] = PlaceClear(after, work, boxes[i].Width(), boxes[i].Height(), companions[i].minimumWidth,
                            companions[i].minimumHeight, taken);
    }
    taken.push_back(boxes[i]);
  }
  return boxes;
}

Box ClampTo(const Box& box, const Box& work, int minimumWidth, int minimumHeight) {
  const int width = std::min(box.Width(), std::max(work.Width(), std::min(minimumWidth, box.Width())));
  const int height = std::min(box.Height(), std::max(work.Height(), std::min(minimumHeight, box.Height())));
  Box clamped;
  clamped.left = Within(box.left, width, work.left, work.right);
  clamped.top = Within(box.top, height, work.top, work.bottom);
  clamped.right = clamped.left + width;
  clamped.bottom = clamped.top + height;
  return clamped;
}

}  // namespace tw::placement
