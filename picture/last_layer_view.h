#pragma once
// A last-layer case as cubers draw it: the U face seen from above (B at the top), with
// the top row of each side as a thin strip beside the face it borders:
//
//   tw::picture::NetDrawing view = tw::picture::DrawLastLayer(state.Facelets(), false);
//
// With `upOnly` the stickers of the U colour are drawn in it and all others grey, as
// OLL cases are shown; otherwise every sticker in its colour, as PLL cases are.
#include <string>
#include <string_view>

#include "picture/puzzle_net.h"

namespace tw::picture {

inline constexpr std::uint32_t kNotUp = 0x505050;

// `facelets` is the 3x3x3's 54 stickers (U R F D L B); anything else draws nothing.
NetDrawing DrawLastLayer(std::string_view facelets, bool upOnly);

// The same picture in words, for a screen reader: each side's top row from left to
// right as seen from outside, then the top face from the back row; colours by name, or
// with `upOnly` "up" for the top colour and "-" for any other. "" for anything but 54
// stickers.
std::string DescribeLastLayer(std::string_view facelets, bool upOnly);

}  // namespace tw::picture
