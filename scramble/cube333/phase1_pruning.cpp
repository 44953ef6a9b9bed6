#include "scramble/cube333/phase1_pruning.h"

#include <algorithm>

#include "scramble/cube333/distance_fill.h"

namespace tw::scramble {
namespace {

template <typename Decode, typename Encode>
std::vector<std::uint16_t> ConjugateTable(int count, int symmetryCount, Decode decode, Encode encode) {
  std::vector<std::uint16_t> table(static_cast<std::size_t>(count) * static_cast<std::size_t>(symmetryCount));
  CubeState cube = CubeState::Solved();
  for (int value = 0; value < count; ++value) {
    decode(cube, value);
    for (int s = 0; s < symmetryCount; ++s) {
      table[static_cast<std::size_t>(value) * symmetryCount + s] =
          static_cast<std::uint16_t>(encode(Conjugate(cube, s)));
    }
  }
  return table;
}

// The flip-keeping symmetries, then each of them followed by the mirror: all their own
// inverses.
constexpr int kMirroredSymmetryCount = 2 * kFlipKeepingSymmetryCount;
int Itself(int symmetry) { return symmetry; }

std::vector<std::uint16_t> FlipConjugateTable() {
  std::vector<std::uint16_t> table(static_cast<std::size_t>(kFlipCount) * kSymmetryCount);
  CubeState cube = CubeState::Solved();
  for (int flip = 0; flip < kFlipCount; ++flip) {
    SetFlip(cube, flip);
    for (int s = 0; s < kFlipKeepingSymmetryCount; ++s) {
      const int turned = FlipOf(Conjugate(cube, s));
      table[flip * kSymmetryCount + s] = static_cast<std::uint16_t>(turned);
      table[flip * kSymmetryCount + kFlipKeepingSymmetryCount + s] = static_cast<std::uint16_t>(MirrorFlip(turned));
    }
  }
  return table;
}

int ConjugateSlice(int slice, int symmetry) {
  CubeState cube = CubeState::Solved();
  SetSlice(cube, slice);
  return SliceOf(Conjugate(cube, symmetry));
}

// The symmetries keep the slice a slice, so its edges stay the slice edges.
int ConjugateSliceFlip(int sliceFlip, int symmetry) {
  CubeState cube = CubeState::Solved();
  SetSliceFlip(cube, sliceFlip);
  return SliceFlipOf(Conjugate(cube, symmetry));
}

// How moves act on (slice family, twist or flip seen from the family's representative);
// the slice coordinate is the places, or the places and flips, as `rowMove` moves it.
template <typename RowMove>
class Phase1Space {
 public:
  struct RowStep {
    int row;
    int symmetry;
  };

  Phase1Space(const MoveTables& moves, const SymmetryClasses& slices, RowMove rowMove,
              const std::vector<std::uint16_t>& conjugate, bool flips)
      : moves_(moves), slices_(slices), rowMove_(rowMove), conjugate_(conjugate), flips_(flips) {}

  RowStep Step(int row, int move) const {
    const SymmetryClasses::Member member = slices_.MemberOf(rowMove_(slices_.Representative(row), static_cast<Move>(move)));
    return {member.family, member.symmetry};
  }
  int Column(int column, int move, int symmetry) const {
    const auto m = static_cast<Move>(move);
    return ConjugateColumn(flips_ ? moves_.Flip(column, m) : moves_.Twist(column, m), symmetry);
  }
  unsigned Stabilizer(int row) const { return slices_.Stabilizer(row); }
  int ConjugateColumn(int column, int symmetry) const { return conjugate_[column * kSymmetryCount + symmetry]; }

 private:
  const MoveTables& moves_;
  const SymmetryClasses& slices_;
  RowMove rowMove_;
  const std::vector<std::uint16_t>& conjugate_;  // column * kSymmetryCount + symmetry
  bool flips_;
};

class TwistFlipSpace {
 public:
  struct RowStep {
    int row;
    int symmetry;
  };

  TwistFlipSpace(const MoveTables& moves, const SymmetryClasses& twists, const std::vector<std::uint16_t>& conjugate)
      : moves_(moves), twists_(twists), conjugate_(conjugate) {}

  RowStep Step(int row, int move) const {
    const SymmetryClasses::Member member =
        twists_.MemberOf(moves_.Twist(twists_.Representative(row), static_cast<Move>(move)));
    return {member.family, member.symmetry};
  }
  int Column(int column, int move, int symmetry) const {
    return ConjugateColumn(moves_.Flip(column, static_cast<Move>(move)), symmetry);
  }
  unsigned Stabilizer(int row) const { return twists_.Stabilizer(row); }
  int ConjugateColumn(int column, int symmetry) const { return conjugate_[column * kSymmetryCount + symmetry]; }

 private:
  const MoveTables& moves_;
  const SymmetryClasses& twists_;
  const std::vector<std::uint16_t>& conjugate_;
};

}  // namespace

Phase1Pruning::Phase1Pruning(const MoveTables& moves)
    : sliceFlipsForTwist_(kSliceFlipCount, kSymmetryCount, ConjugateSliceFlip),
      slicesForFlip_(kSliceCount, kFlipKeepingSymmetryCount, ConjugateSlice),
      twistConjugate_(ConjugateTable(kTwistCount, kSymmetryCount, SetTwist, TwistOf)),
      flipConjugate_(FlipConjugateTable()),
      twistsForFlip_(
          kTwistCount, kMirroredSymmetryCount,
          [this](int twist, int s) {
            const int turned = twistConjugate_[twist * kSymmetryCount + s % kFlipKeepingSymmetryCount];
            return s < kFlipKeepingSymmetryCount ? turned : MirrorTwist(turned);
          },
          Itself),
      twistSliceFlip_(sliceFlipsForTwist_.Count(), kTwistCount),
      flipSlice_(slicesForFlip_.Count(), kFlipCount),
      twistFlip_(twistsForFlip_.Count(), kFlipCount) {
  const auto sliceFlipMove = [&moves](int sliceFlip, Move move) { return moves.SliceFlip(sliceFlip, move); };
  FillDistances(twistSliceFlip_, Phase1Space(moves, sliceFlipsForTwist_, sliceFlipMove, twistConjugate_, false),
                kMoveCount);
  const auto sliceMove = [&moves](int slice, Move move) { return moves.Slice(slice, move); };
  FillDistances(flipSlice_, Phase1Space(moves, slicesForFlip_, sliceMove, flipConjugate_, true), kMoveCount);
  FillDistances(twistFlip_, TwistFlipSpace(moves, twistsForFlip_, flipConjugate_), kMoveCount);
}

int Phase1Pruning::TwistSliceDistance(int twist, int slice) const {
  int nearest = NibbleGrid::kUnknown;
  for (int flips = 0; flips < 1 << kSliceFlipBits; ++flips) {
    nearest = std::min(nearest, TwistSliceFlipDistance(twist, slice << kSliceFlipBits | flips));
  }
  return nearest;
}

std::size_t Phase1Pruning::SizeBytes() const {
  return sliceFlipsForTwist_.SizeBytes() + slicesForFlip_.SizeBytes() + twistsForFlip_.SizeBytes() +
         twistFlip_.SizeBytes() + (twistConjugate_.size() + flipConjugate_.size()) * sizeof(std::uint16_t) +
         twistSliceFlip_.SizeBytes() + flipSlice_.SizeBytes();
}

}  // namespace tw::scramble
