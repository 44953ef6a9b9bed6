#pragma once
// The cube as its 20 movable pieces: which corner and edge sits in each slot and how
// it is turned there. Slots and pieces share one numbering, so the solved cube holds
// piece i in slot i with orientation 0.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "scramble/cube333/move.h"

namespace tw::scramble {

inline constexpr int kCornerCount = 8;
inline constexpr int kEdgeCount = 12;
inline constexpr int kCornerTwists = 3;
inline constexpr int kEdgeFlips = 2;

// Corner slots, named by the faces they touch.
namespace corner {
enum : std::uint8_t { URF, UFL, ULB, UBR, DFR, DLF, DBL, DRB };
}
// Edge slots; the last four (FR..BR) form the slice between U and D.
namespace edge {
enum : std::uint8_t { UR, UF, UL, UB, DR, DF, DL, DB, FR, FL, BL, BR };
}

struct CubeState {
  std::array<std::uint8_t, kCornerCount> cornerPiece{};  // the piece in each slot
  std::array<std::uint8_t, kCornerCount> cornerTwist{};  // 0..2, clockwise from its U/D sticker
  std::array<std::uint8_t, kEdgeCount> edgePiece{};
  std::array<std::uint8_t, kEdgeCount> edgeFlip{};  // 0..1

  static CubeState Solved();

  // This state followed by `next` (the state `next` reaches from solved).
  CubeState Then(const CubeState& next) const;
  CubeState Inverse() const;
  CubeState Apply(Move move) const;
  CubeState Apply(std::span<const Move> moves) const;

  // A state some move sequence reaches: both permutations are permutations with the
  // same parity, the twists sum to a multiple of 3 and the flips to a multiple of 2.
  bool IsReachable() const;

  // The 54 stickers in the order U R F D L B, nine per face read row by row as the face
  // is seen from outside, each named by the face whose centre it matches.
  std::string Facelets() const;

  bool operator==(const CubeState&) const = default;
};

// The state one face turn reaches from solved.
const CubeState& FaceTurn(Move move);

// The whole cube turned a third about the diagonal through the URF and DBL corners, so
// that U goes to R, R to F and F to U. Conjugating by it looks at a cube from another
// side: the same position, with other faces called U and D.
const CubeState& DiagonalTurn();

// Whether a permutation of 0..n-1 is odd.
bool IsOddPermutation(std::span<const std::uint8_t> pieces);

}  // namespace tw::scramble
