#pragma once
// What each move does to each coordinate, looked up instead of computed during the
// search. Phase-1 coordinates take all 18 moves; phase-2 coordinates only the ten moves
// that stay within the subgroup.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scramble/cube333/coordinates.h"
#include "scramble/cube333/move.h"
#include "scramble/cube333/symmetry.h"

namespace tw::scramble {

// U U2 U' R2 F2 D D2 D' L2 B2, in move order.
inline constexpr std::array<Move, 10> kPhase2Moves = {
    MakeMove(Face::U, 1), MakeMove(Face::U, 2), MakeMove(Face::U, 3), MakeMove(Face::R, 2), MakeMove(Face::F, 2),
    MakeMove(Face::D, 1), MakeMove(Face::D, 2), MakeMove(Face::D, 3), MakeMove(Face::L, 2), MakeMove(Face::B, 2),
};
inline constexpr int kPhase2MoveCount = static_cast<int>(kPhase2Moves.size());

// The phase-1 coordinates, and the small phase-2 ones: the slice edges' order and the D
// corners' places.
class MoveTables {
 public:
  MoveTables();

  int Twist(int twist, Move move) const { return twist_[twist * kMoveCount + move]; }
  int Flip(int flip, Move move) const { return flip_[flip * kMoveCount + move]; }
  int Slice(int slice, Move move) const { return slice_[slice * kMoveCount + move]; }
  int SliceFlip(int sliceFlip, Move move) const { return sliceFlip_[sliceFlip * kMoveCount + move]; }
  // `phase2Move` indexes kPhase2Moves.
  int SliceOrder(int order, int phase2Move) const { return sliceOrder_[order * kPhase2MoveCount + phase2Move]; }
  int DCorners(int places, int phase2Move) const { return dCorners_[places * kPhase2MoveCount + phase2Move]; }
  // The coordinate of the cube conjugated by a symmetry.
  int ConjugateSliceOrder(int order, int symmetry) const {
    return sliceOrderConjugate_[order * kSymmetryCount + symmetry];
  }
  int ConjugateDCorners(int places, int symmetry) const {
    return dCornersConjugate_[places * kSymmetryCount + symmetry];
  }

  std::size_t SizeBytes() const;

 private:
  std::vector<std::uint16_t> twist_;
  std::vector<std::uint16_t> flip_;
  std::vector<std::uint16_t> slice_;
  std::vector<std::uint16_t> sliceFlip_;
  std::vector<std::uint16_t> sliceOrder_;
  std::vector<std::uint8_t> sliceOrderConjugate_;
  std::vector<std::uint16_t> dCorners_;
  std::vector<std::uint8_t> dCornersConjugate_;
};

}  // namespace tw::scramble
