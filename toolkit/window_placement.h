#pragma once
// Where a window beside the timer (the statistics, the scramble picture) goes when it
// has no place of its own yet (or its stored place is lost): beside the timer's
// window, never over its digits if the screen has room for both. Rectangles in screen
// pixels; the platform side brings the monitors and frames.

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

}  // namespace tw::placement
