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

}  // namespace

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
