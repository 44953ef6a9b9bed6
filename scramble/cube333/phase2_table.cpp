#include "scramble/cube333/phase2_table.h"

#include <algorithm>
#include <span>

#include "scramble/cube333/distance_fill.h"

namespace tw::scramble {
namespace {

std::span<std::uint8_t> Pieces(Phase2Table::Pieces pieces, CubeState& cube) {
  if (pieces == Phase2Table::Pieces::Corners) return cube.cornerPiece;
  return {cube.edgePiece.data(), static_cast<std::size_t>(kUdEdgeCount)};
}

int OrderOf(Phase2Table::Pieces pieces, const CubeState& cube) {
  return pieces == Phase2Table::Pieces::Corners ? CornerOrderOf(cube) : UdEdgeOrderOf(cube);
}

CubeState CubeWithOrder(Phase2Table::Pieces pieces, int order) {
  CubeState cube = CubeState::Solved();
  PermutationFromRank(order, Pieces(pieces, cube));
  return cube;
}

int IndexOfPhase2Move(Move move) {
  return static_cast<int>(std::find(kPhase2Moves.begin(), kPhase2Moves.end(), move) - kPhase2Moves.begin());
}

// How moves act on (family, a small coordinate seen from the representative): the
// slice edges' order or the D corners' places.
template <typename ColumnMove, typename ColumnConjugate>
class Phase2Space {
 public:
  struct RowStep {
    int row;
    int symmetry;
  };

  Phase2Space(const SymmetryClasses& families, const std::vector<std::uint16_t>& familyMoves, ColumnMove move,
              ColumnConjugate conjugate)
      : families_(families), familyMoves_(familyMoves), move_(move), conjugate_(conjugate) {}

  RowStep Step(int row, int move) const {
    const int packed = familyMoves_[row * kPhase2MoveCount + move];
    return {packed >> kSymmetryBits, packed & (kSymmetryCount - 1)};
  }
  int Column(int column, int move, int symmetry) const { return conjugate_(move_(column, move), symmetry); }
  unsigned Stabilizer(int row) const { return families_.Stabilizer(row); }
  int ConjugateColumn(int column, int symmetry) const { return conjugate_(column, symmetry); }

 private:
  const SymmetryClasses& families_;
  const std::vector<std::uint16_t>& familyMoves_;
  ColumnMove move_;
  ColumnConjugate conjugate_;
};

}  // namespace

Phase2Table::Phase2Table(Pieces pieces, const MoveTables& moves)
    : moves_(moves),
      families_(kCornerOrderCount, kSymmetryCount,
                [pieces](int order, int s) { return OrderOf(pieces, Conjugate(CubeWithOrder(pieces, order), s)); }),
      familyMoves_(static_cast<std::size_t>(families_.Count()) * kPhase2MoveCount),
      distances_(families_.Count(), kSliceOrderCount),
      dCornerDistances_(pieces == Pieces::UdEdges ? families_.Count() : 0, kDCornerPlacesCount) {
  static_assert(kCornerOrderCount == kUdEdgeOrderCount);
  for (int family = 0; family < families_.Count(); ++family) {
    const CubeState representative = CubeWithOrder(pieces, families_.Representative(family));
    for (int m = 0; m < kPhase2MoveCount; ++m) {
      const SymmetryClasses::Member member = families_.MemberOf(OrderOf(pieces, representative.Apply(kPhase2Moves[m])));
      familyMoves_[family * kPhase2MoveCount + m] =
          static_cast<std::uint16_t>(member.family << kSymmetryBits | member.symmetry);
    }
  }
  for (int m = 0; m < kPhase2MoveCount; ++m) {
    for (int s = 0; s < kSymmetryCount; ++s) {
      conjugateMove_[m * kSymmetryCount + s] =
          static_cast<std::uint8_t>(IndexOfPhase2Move(ConjugateMove(kPhase2Moves[m], s)));
    }
  }
  for (int a = 0; a < kSymmetryCount; ++a) {
    for (int b = 0; b < kSymmetryCount; ++b)
      product_[a * kSymmetryCount + b] = static_cast<std::uint8_t>(SymmetryProduct(a, b));
  }
  FillDistances(distances_,
                Phase2Space(
                    families_, familyMoves_, [&moves](int order, int m) { return moves.SliceOrder(order, m); },
                    [&moves](int order, int s) { return moves.ConjugateSliceOrder(order, s); }),
                kPhase2MoveCount);
  if (pieces != Pieces::UdEdges) return;
  FillDistances(dCornerDistances_,
                Phase2Space(
                    families_, familyMoves_, [&moves](int places, int m) { return moves.DCorners(places, m); },
                    [&moves](int places, int s) { return moves.ConjugateDCorners(places, s); }),
                kPhase2MoveCount);
}

std::size_t Phase2Table::SizeBytes() const {
  return families_.SizeBytes() + familyMoves_.size() * sizeof(std::uint16_t) + sizeof(conjugateMove_) +
         sizeof(product_) + distances_.SizeBytes() + dCornerDistances_.SizeBytes();
}

}  // namespace tw::scramble
