#pragma once
// One phase-2 coordinate of eight pieces (the corners' order, or the U and D edges'
// order) kept as families of look-alikes: where each phase-2 move takes a family's
// representative, and the exact move count to solved for each family paired with the
// slice edges' order seen from the representative; for the edges also paired with the
// D corners' places, a third bound that cuts most of the deep phase-2 searches that
// cannot succeed. Some hundred kilobytes instead of megabytes, so the search finds
// them in cache.
//
// A position is tracked as (family, symmetry): its order conjugated by the symmetry is
// the family's representative.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scramble/cube333/coordinates.h"
#include "scramble/cube333/move_tables.h"
#include "scramble/cube333/nibble_grid.h"
#include "scramble/cube333/symmetry_classes.h"

namespace tw::scramble {

struct SymmetricCoordinate {
  int family;
  int symmetry;
};

class Phase2Table {
 public:
  enum class Pieces { Corners, UdEdges };

  Phase2Table(Pieces pieces, const MoveTables& moves);

  SymmetricCoordinate Find(int order) const {
    const SymmetryClasses::Member member = families_.MemberOf(order);
    return {member.family, member.symmetry};
  }
  // Seen from the representative the move is another phase-2 move; its result is a
  // family and the symmetry from it to that family's representative, which follows the
  // symmetry the position already had.
  SymmetricCoordinate Next(SymmetricCoordinate at, int phase2Move) const {
    const int seen = conjugateMove_[phase2Move * kSymmetryCount + at.symmetry];
    const int packed = familyMoves_[at.family * kPhase2MoveCount + seen];
    return {packed >> kSymmetryBits, product_[at.symmetry * kSymmetryCount + (packed & (kSymmetryCount - 1))]};
  }
  int Distance(SymmetricCoordinate at, int sliceOrder) const {
    return distances_.Get(at.family, moves_.ConjugateSliceOrder(sliceOrder, at.symmetry));
  }
  // U and D edges only.
  int DistanceWithDCorners(SymmetricCoordinate at, int dCorners) const {
    return dCornerDistances_.Get(at.family, moves_.ConjugateDCorners(dCorners, at.symmetry));
  }
  static bool IsSolved(SymmetricCoordinate at) { return at.family == 0; }

  std::size_t SizeBytes() const;

 private:
  const MoveTables& moves_;
  SymmetryClasses families_;
  // family * kPhase2MoveCount + move: family << kSymmetryBits | symmetry of the result.
  std::vector<std::uint16_t> familyMoves_;
  std::array<std::uint8_t, kPhase2MoveCount * kSymmetryCount> conjugateMove_{};
  std::array<std::uint8_t, kSymmetryCount * kSymmetryCount> product_{};
  NibbleGrid distances_;
  NibbleGrid dCornerDistances_;  // no rows for the corners
};

}  // namespace tw::scramble
