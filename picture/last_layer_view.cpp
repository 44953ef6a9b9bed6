#include "picture/last_layer_view.h"

#include <array>

#include "picture/net_parts.h"

namespace tw::picture {

namespace {

constexpr std::size_t kStickers = 54;
constexpr double kStrip = 0.4;  // a side sticker's depth, in U stickers
constexpr double kGap = 0.1;
constexpr double kFace = kStrip + kGap;  // where the U face begins

// The sides' top rows as they border the U face seen from above, each in the order it
// is drawn (left to right along the top and bottom, top to bottom down the sides).
constexpr std::array<std::size_t, 3> kBack = {47, 46, 45};
constexpr std::array<std::size_t, 3> kRight = {11, 10, 9};
constexpr std::array<std::size_t, 3> kFront = {18, 19, 20};
constexpr std::array<std::size_t, 3> kLeft = {36, 37, 38};

bool Colour(char face, bool upOnly, std::uint32_t& rgb) {
  if (!parts::CubeColour(face, rgb)) return false;
  if (upOnly && face != 'U') rgb = kNotUp;
  return true;
}

std::string_view ColourName(char face, bool upOnly) {
  if (upOnly) return face == 'U' ? "up" : "-";
  switch (face) {
    case 'U': return "white";
    case 'D': return "yellow";
    case 'F': return "green";
    case 'B': return "blue";
    case 'R': return "red";
    case 'L': return "orange";
    default: return "?";
  }
}

}  // namespace

std::string DescribeLastLayer(std::string_view facelets, bool upOnly) {
  if (facelets.size() != kStickers) return {};
  struct Row {
    std::string_view name;
    std::size_t first;
  };
  // Each side's top row as the facelets read it: left to right seen from outside.
  constexpr std::array<Row, 5> kRows = {{{"front", 18}, {"right", 9}, {"back", 45}, {"left", 36}, {"top", 0}}};
  std::string text;
  for (const Row& row : kRows) {
    if (!text.empty()) text += "; ";
    text += row.name;
    text += ':';
    const std::size_t count = row.name == "top" ? 9 : 3;
    for (std::size_t i = 0; i < count; ++i) {
      text += ' ';
      text += ColourName(facelets[row.first + i], upOnly);
    }
  }
  return text;
}

NetDrawing DrawLastLayer(std::string_view facelets, bool upOnly) {
  if (facelets.size() != kStickers) return {};
  NetDrawing view;
  view.width = 3 + 2 * kFace;
  view.height = view.width;
  std::uint32_t rgb = 0;
  for (std::size_t i = 0; i < 9; ++i) {
    if (!Colour(facelets[i], upOnly, rgb)) return {};
    view.shapes.push_back(parts::Quad(kFace + static_cast<double>(i % 3), kFace + static_cast<double>(i / 3), 1, 1, rgb));
  }
  const double far = kFace + 3 + kGap;
  for (std::size_t n = 0; n < 3; ++n) {
    const double along = kFace + static_cast<double>(n);
    const std::array<NetShape, 4> strips = {
        parts::Quad(along, 0, 1, kStrip, 0), parts::Quad(far, along, kStrip, 1, 0),
        parts::Quad(along, far, 1, kStrip, 0), parts::Quad(0, along, kStrip, 1, 0)};
    const std::array<std::size_t, 4> stickers = {kBack[n], kRight[n], kFront[n], kLeft[n]};
    for (std::size_t side = 0; side < strips.size(); ++side) {
      if (!Colour(facelets[stickers[side]], upOnly, rgb)) return {};
      NetShape strip = strips[side];
      strip.rgb = rgb;
      view.shapes.push_back(strip);
    }
  }
  return view;
}

}  // namespace tw::picture
