#pragma once
// The Megaminx in the WCA's scrambling notation. It is held with the face U on top and
// F to the front; the face L is the upper face to the left of F. R++ turns everything
// but the layer of L two fifths clockwise as seen from the right (the side opposite
// L), D++ everything but the layer of U two fifths clockwise as seen from below, so the
// three pieces U and L share (top left) never move; R-- and D-- turn back, U and U'
// turn the top layer a fifth.
//
// A scramble is seven lines of ten moves, R and D by turns with a random direction each,
// and every line ends with U or U', at random.
//
// The state is its 132 stickers: the faces U F R BR BL L (the top and the upper ring,
// going right from F), D DR DBR B DBL DL (the bottom and the lower ring, DR below
// between F and R, B opposite F), eleven each: the centre, then an edge and the corner
// after it clockwise, five times, starting at the edge shared with U (for the upper
// ring), F (for U), D (for the lower ring) or B (for D). Each sticker is the letter of
// its face's place in that order, A for U to L for DL.
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "scramble/puzzles/sticker_puzzle.h"

namespace tw::scramble {

inline constexpr int kMegaminxLines = 7;
inline constexpr int kMegaminxMovesPerLine = 10;

class Megaminx {
 public:
  Megaminx();

  std::string Solved() const { return puzzle_.Solved(); }
  // The stickers the moves make from solved, lines apart by line breaks or blanks; or
  // nothing for other text.
  std::optional<std::string> StateAfter(std::string_view text) const;
  // Seven lines, one a line.
  std::vector<std::string> RandomLines(std::mt19937_64& rng) const;

 private:
  StickerPuzzle puzzle_;
  StickerMove rightTwice_;  // R++
  StickerMove downTwice_;   // D++
  StickerMove up_;          // U
};

}  // namespace tw::scramble
