#pragma once
// The scrambled puzzle as a flat picture: the state a scramble leaves, drawn as filled
// polygons in the WCA colour scheme (white on top, green in front), in a space of its
// own that the window scales to fit:
//
//   tw::picture::NetDrawing net = tw::picture::DrawPuzzle(Event::k333, scramble.state);
//   for (const tw::picture::NetShape& shape : net.shapes) ...  // x right, y down, within width x height
//
// The cubes are unfolded as a cross (U above F; L, F, R, B in a row; D under F), the
// Skewb likewise, Pyraminx as its four triangles (D under F), the Megaminx as two
// halves each seen from outside (U with its ring, then D with its ring), Square-1 as
// its top and bottom layers each seen from its own side with the front down, and the
// Clock as its front and its back. A state that is not the event's draws nothing.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scramble/events.h"

namespace tw::picture {

struct NetPoint {
  double x = 0;
  double y = 0;
};

struct NetShape {
  std::vector<NetPoint> points;  // a closed polygon
  std::uint32_t rgb = 0;         // 0xRRGGBB
  bool outlined = true;          // drawn with a thin dark border
};

struct NetDrawing {
  double width = 0;
  double height = 0;
  std::vector<NetShape> shapes;  // painted in order
  std::string caption;           // a line under the picture ("1 of 5" for Multi-Blind), or ""
  bool Empty() const { return shapes.empty(); }
};

NetDrawing DrawPuzzle(scramble::Event event, std::string_view state);

// The colours of the WCA scheme, by the letter a state gives a sticker.
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kYellow = 0xFFD500;
inline constexpr std::uint32_t kGreen = 0x009B48;
inline constexpr std::uint32_t kBlue = 0x0046AD;
inline constexpr std::uint32_t kRed = 0xB71234;
inline constexpr std::uint32_t kOrange = 0xFF5800;

}  // namespace tw::picture
