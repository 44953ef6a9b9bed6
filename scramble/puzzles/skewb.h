#pragma once
// The Skewb, held as the WCA scrambles it: U on top, F to the front-left and R to the
// front-right, so the corner URF points at the scrambler and never moves. R, U, L and B
// turn the half of the puzzle about the corners DRB, UBL, DFL and DBL, clockwise as
// seen looking at that corner, "'" the other way.
//
// The state is its 30 stickers: faces U R F D L B (oriented as the cube's), five each:
// the centre, then the corners top-left, top-right, bottom-left, bottom-right.
//
// The corners reach only 8748 arrangements, listed at build time, and the centres every
// even order of 360, independently of the corners; a random state picks one of each.
#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "scramble/puzzles/coordinate_solver.h"
#include "scramble/puzzles/sticker_puzzle.h"

namespace tw::scramble {

inline constexpr int kSkewbCorners = 8;
inline constexpr int kSkewbCentres = 6;

struct SkewbState {
  int corners = 0;  // which of the reachable corner arrangements
  std::array<std::uint8_t, kSkewbCentres> centre{};  // the centre in each face's place
  bool operator==(const SkewbState&) const = default;
};

struct SkewbMove {
  int corner = 0;  // R, U, L, B
  int turns = 1;   // 1 clockwise, 2 back
  bool operator==(const SkewbMove&) const = default;
};

std::string FormatSkewbMoves(const std::vector<SkewbMove>& moves);
std::optional<std::vector<SkewbMove>> ParseSkewbMoves(std::string_view text);

class Skewb {
 public:
  // Without tables it only turns notation (StateAfter) and paints states.
  explicit Skewb(bool withTables = true);
  Skewb(const Skewb&) = delete;
  Skewb& operator=(const Skewb&) = delete;

  std::string Solved() const { return puzzle_.Solved(); }
  std::optional<std::string> StateAfter(std::string_view text) const;
  std::string Stickers(const SkewbState& state) const;

  SkewbState Random(std::mt19937_64& rng) const;
  // A shortest scramble that makes the state from solved.
  std::vector<SkewbMove> MovesReaching(const SkewbState& state) const;

  std::size_t TableBytes() const;

 private:
  struct Corners {
    std::array<std::uint8_t, kSkewbCorners> piece{};
    std::array<std::uint8_t, kSkewbCorners> twist{};
    auto operator<=>(const Corners&) const = default;
  };

  StickerPuzzle puzzle_;
  PieceSlots cornerSlots_;
  PieceSlots centreSlots_;
  std::array<std::array<StickerMove, 2>, 4> moves_;  // [corner][turns - 1]
  std::vector<Corners> reachable_;                   // sorted, so a position is found by bisection
  CoordinateSolver solver_;
};

}  // namespace tw::scramble
