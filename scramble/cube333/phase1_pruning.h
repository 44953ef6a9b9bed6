#pragma once
// Exact move counts to the subgroup for the pairs (twist, slice edges' places and
// flips), (flip, slice places) and (twist, flip). The largest of the three is a lower
// bound on the moves phase 1 still needs, which is what lets the search skip almost
// every branch. The slice edges' flips cost a sixteen-fold table, a megabyte, and cut
// the positions the search visits by more than half against the twist with the slice
// places alone. Each table keeps one value of its first coordinate for each family of
// look-alikes and the second seen from it, an eighth or a quarter of the full table.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scramble/cube333/coordinates.h"
#include "scramble/cube333/move_tables.h"
#include "scramble/cube333/nibble_grid.h"
#include "scramble/cube333/symmetry_classes.h"

namespace tw::scramble {

class Phase1Pruning {
 public:
  explicit Phase1Pruning(const MoveTables& moves);

  int TwistSliceFlipDistance(int twist, int sliceFlip) const {
    const SymmetryClasses::Member member = sliceFlipsForTwist_.MemberOf(sliceFlip);
    return twistSliceFlip_.Get(member.family, twistConjugate_[twist * kSymmetryCount + member.symmetry]);
  }
  // With the slice edges' flips left free: the nearest of their sixteen ways, since
  // the moves that bring twist and places home bring the slice edges home with some
  // flips, from which the same moves backwards reach the position with those flips.
  int TwistSliceDistance(int twist, int slice) const;
  int FlipSliceDistance(int flip, int slice) const {
    const SymmetryClasses::Member member = slicesForFlip_.MemberOf(slice);
    return flipSlice_.Get(member.family, flipConjugate_[flip * kSymmetryCount + member.symmetry]);
  }
  int TwistFlipDistance(int twist, int flip) const {
    const SymmetryClasses::Member member = twistsForFlip_.MemberOf(twist);
    return twistFlip_.Get(member.family, flipConjugate_[flip * kSymmetryCount + member.symmetry]);
  }
  // All three are read every time: a branch on the first would cost more, mispredicted,
  // than the reads it saves.
  int Bound(int twist, int flip, int sliceFlip) const {
    const int byOrientation = TwistFlipDistance(twist, flip);
    const int byTwist = TwistSliceFlipDistance(twist, sliceFlip);
    const int byFlip = FlipSliceDistance(flip, SliceOfSliceFlip(sliceFlip));
    const int bySlice = byTwist > byFlip ? byTwist : byFlip;
    return bySlice > byOrientation ? bySlice : byOrientation;
  }

  std::size_t SizeBytes() const;

 private:
  // The flip's frame turns with the quarter turns about U-D, so its look-alikes come
  // from the four symmetries that keep it, and for (twist, flip) from those four each
  // with and without the mirror (see MirrorTwist).
  SymmetryClasses sliceFlipsForTwist_;
  SymmetryClasses slicesForFlip_;
  std::vector<std::uint16_t> twistConjugate_;  // twist * kSymmetryCount + symmetry
  // flip * kSymmetryCount + s: s < 4 a flip-keeping symmetry, s >= 4 the same then the mirror.
  std::vector<std::uint16_t> flipConjugate_;
  SymmetryClasses twistsForFlip_;  // after twistConjugate_, which it is built from
  NibbleGrid twistSliceFlip_;
  NibbleGrid flipSlice_;
  NibbleGrid twistFlip_;
};

}  // namespace tw::scramble
