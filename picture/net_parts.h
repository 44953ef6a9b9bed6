#pragma once
// What the nets of the puzzles share: the colour of a face letter and small geometry.
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "picture/puzzle_net.h"

namespace tw::picture::parts {

inline constexpr double kPi = 3.14159265358979323846;

// The cube's letters (also the Skewb's, Square-1's and Clock's sides): U R F D L B.
// Anything else is no sticker of these puzzles.
inline bool CubeColour(char face, std::uint32_t& rgb) {
  switch (face) {
    case 'U': rgb = kWhite; return true;
    case 'D': rgb = kYellow; return true;
    case 'F': rgb = kGreen; return true;
    case 'B': rgb = kBlue; return true;
    case 'R': rgb = kRed; return true;
    case 'L': rgb = kOrange; return true;
    default: return false;
  }
}

inline NetShape Quad(double x, double y, double w, double h, std::uint32_t rgb) {
  return NetShape{{{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, rgb};
}

// A point `radius` from `centre` at `degrees` on the screen (0 right, 90 down).
inline NetPoint Polar(NetPoint centre, double radius, double degrees) {
  const double a = degrees * kPi / 180.0;
  return {centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)};
}

inline NetPoint Lerp(NetPoint a, NetPoint b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

NetDrawing MegaminxNet(std::string_view state);
NetDrawing Square1Net(std::string_view state);
NetDrawing ClockNet(std::string_view state);

}  // namespace tw::picture::parts
