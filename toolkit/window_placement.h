#pragma once
// Where the windows beside the timer (the statistics, the scramble picture) go: when
// one has no place of its own yet (or its stored place is lost), beside the timer's
// window, never over its digits or another of them if the screen has room; when the
// timer grows or moves, with it. Rectangles in screen pixels; the platform side brings
// the monitors and frames.
#include <vector>

namespace tw::placement {

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  friend constexpr bool operator==(const Box&, const Box&) = default;
};

// The area two boxes share, 0 when they do not meet.
long long OverlapArea(const Box& a, const Box& b);

// The window's outer box beside `timer` on the work area `work`, for a window of
// `width` x `height` that may shrink to `minimumWidth` x `minimumHeight`:
//  - whole, under the timer, else over it, else to its right, else to its left,
//    centred on the timer along that side;
//  - else shrunk across the side with the most room, as far as its minimum allows;
//  - else at its minimum, against the edge of the work area where it covers the
//    least of the timer (which stays on top of it).
// It always lies within the work area, as far as its size allows.
Box PlaceBeside(const Box& timer, const Box& work, int width, int height, int minimumWidth, int minimumHeight);

// The same, clear of `taken` (the other windows beside the timer) as well: whole, on
// the first side in PlaceBeside's order where it covers neither the timer nor a taken
// box, touching the timer where it can, else touching the outside of a taken box on
// that side, and as near the timer's middle along the side as it can be. Where no side
// has such a place, PlaceBeside's place.
Box PlaceClear(const Box& timer, const Box& work, int width, int height, int minimumWidth, int minimumHeight,
               const std::vector<Box>& taken);

// A window beside the timer: its outer box and the smallest it may be.
struct Companion {
  Box box;
  int minimumWidth = 0, minimumHeight = 0;
};

// Where the windows beside the timer go when its box changes from `before` to `after`
// (it grew with a long scramble, or was moved), in the order given:
//  - one docked to the timer (touching an edge, overlapping it along that edge) keeps
//    its side and its offset along it; one docked to a window that moves, moves with it;
//  - then one that would cover the timer or a window placed before it, or that left the
//    work area it lay in, is placed clear of them all (PlaceClear).
// The others stay where they are.
std::vector<Box> FollowTimer(const Box& before, const Box& after, const Box& work,
                             const std::vector<Companion>& companions);

// A stored place brought into the work area: moved in, and shrunk to the work area
// where it is larger (never below its minimum), so a
// place kept at one DPI never runs off the screen at another.
Box ClampTo(const Box& box, const Box& work, int minimumWidth, int minimumHeight);

}  // namespace tw::placement
