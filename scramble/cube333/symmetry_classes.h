#pragma once
// The values of a coordinate sorted into families of look-alikes: values that turn into
// one another when the cube is conjugated by a symmetry. Each family is kept as its
// smallest value, its representative, numbered in increasing order, so value 0 (the
// solved one) is the representative of family 0.
#include <cstdint>
#include <vector>

#include "scramble/cube333/symmetry.h"

namespace tw::scramble {

class SymmetryClasses {
 public:
  // Which family a value is in, and the symmetry that turns it into the family's
  // representative.
  struct Member {
    int family;
    int symmetry;
  };

  // `conjugate(value, s)` gives the value conjugated by symmetry s, s < symmetryCount.
  // The symmetries must form a group, whose inverses SymmetryInverse gives, or
  // `inverse(s)` for another group.
  template <typename Conjugate>
  SymmetryClasses(int count, int symmetryCount, Conjugate conjugate)
      : SymmetryClasses(count, symmetryCount, conjugate, SymmetryInverse) {}

  template <typename Conjugate, typename Inverse>
  SymmetryClasses(int count, int symmetryCount, Conjugate conjugate, Inverse inverse)
      : memberOf_(static_cast<std::size_t>(count)) {
    std::vector<bool> placed(static_cast<std::size_t>(count), false);
    for (int value = 0; value < count; ++value) {
      if (placed[value]) continue;
      const auto family = static_cast<int>(representatives_.size());
      representatives_.push_back(value);
      unsigned stabilizer = 0;
      for (int s = 0; s < symmetryCount; ++s) {
        const int lookAlike = conjugate(value, s);
        if (lookAlike == value) stabilizer |= 1U << s;
        if (placed[lookAlike]) continue;
        placed[lookAlike] = true;
        memberOf_[lookAlike] = static_cast<std::uint16_t>(family << kSymmetryBits | inverse(s));
      }
      stabilizers_.push_back(static_cast<std::uint8_t>(stabilizer));
    }
  }

  Member MemberOf(int value) const {
    const int packed = memberOf_[value];
    return {packed >> kSymmetryBits, packed & (kSymmetryCount - 1)};
  }
  int Representative(int family) const { return representatives_[family]; }
  int Count() const { return static_cast<int>(representatives_.size()); }
  // Bit s is set when conjugating the family's representative by s leaves it as it is.
  unsigned Stabilizer(int family) const { return stabilizers_[family]; }

  std::size_t SizeBytes() const {
    return memberOf_.size() * sizeof(std::uint16_t) + representatives_.size() * sizeof(int) + stabilizers_.size();
  }

 private:
  std::vector<std::uint16_t> memberOf_;  // family << kSymmetryBits | symmetry
  std::vector<int> representatives_;
  std::vector<std::uint8_t> stabilizers_;
};

}  // namespace tw::scramble
