#pragma once
// Cubes of any size (2x2x2 to 7x7x7) as stickers, in WCA notation: outer turns "R",
// wide turns "Rw" (two layers) and "3Rw" (three), each plain, "2" or "'". The state is
// the 6 N^2 stickers in the order U R F D L B, each face read row by row as seen from
// outside: U with B above it, D with F above it, the four sides with U above, as the
// 3x3x3 facelets are read.
//
// Random-move scrambles follow two rules: no face is turned twice in a row (whatever
// the width), and within a run of turns about one axis no face turns the same width
// twice and the run never adds up to turning the whole cube (Rw Lw' on 4x4x4).
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "scramble/cube333/move.h"
#include "scramble/puzzles/sticker_puzzle.h"

namespace tw::scramble {

inline constexpr int kSmallestCube = 2;
inline constexpr int kLargestCube = 7;

struct CubeMove {
  Face face = Face::U;
  int width = 1;         // layers turned, counted from the face
  int quarterTurns = 1;  // 1, 2 or 3 clockwise quarter turns as seen from the face
  bool operator==(const CubeMove&) const = default;
};

std::string FormatCubeMoves(const std::vector<CubeMove>& moves);
// The moves of notation a cube of `size` accepts (widths 1..size-1), or nothing.
std::optional<std::vector<CubeMove>> ParseCubeMoves(std::string_view text, int size);

class BigCube {
 public:
  explicit BigCube(int size);

  int Size() const { return size_; }
  std::string Solved() const { return puzzle_.Solved(); }
  const StickerPuzzle& Puzzle() const { return puzzle_; }

  void Apply(const CubeMove& move, std::string& state) const;
  void Apply(const std::vector<CubeMove>& moves, std::string& state) const;
  // The stickers `text` makes from solved, or nothing for text that is not this
  // cube's notation.
  std::optional<std::string> StateAfter(std::string_view text) const;

  // `count` random moves with widths up to half the cube, following the rules above.
  std::vector<CubeMove> RandomMoves(int count, std::mt19937_64& rng) const;
  // Turns that leave the cube in one of its 24 orientations, each equally likely: a
  // wide x or z turn (or none) bringing some face up, then a wide y turn (or none). The
  // wide turns take enough layers to carry the centres: Rw on 3x3x3, 3Rw on 4x4x4 and
  // 5x5x5.
  std::vector<CubeMove> RandomOrientation(std::mt19937_64& rng) const;

  // Whether `next` may follow `run`, the turns about one axis made just before it.
  bool MayExtendRun(const std::vector<CubeMove>& run, const CubeMove& next) const;

 private:
  int size_;
  StickerPuzzle puzzle_;
  // quarterTurns[face][width - 1][turns - 1]
  std::vector<std::vector<std::vector<StickerMove>>> turns_;
};

// A face's frame as seen from outside, shared by the cube-shaped puzzles: the face's
// outward normal, the direction to its right and the direction down it.
struct CubeFaceFrame {
  char letter;
  Point3 normal;
  Point3 right;
  Point3 down;
};
const CubeFaceFrame& FrameOf(Face face);

}  // namespace tw::scramble
