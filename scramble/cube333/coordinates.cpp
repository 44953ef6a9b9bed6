#include "scramble/cube333/coordinates.h"

namespace tw::scramble {
namespace {

constexpr int Choose(int n, int k) {
  if (k < 0 || k > n) return 0;
  int result = 1;
  for (int i = 1; i <= k; ++i) result = result * (n - k + i) / i;
  return result;
}

// Orientations as a number in base `base`, first slot most significant; the last slot
// is left out because the sum rule fixes it.
template <std::size_t N>
int OrientationOf(const std::array<std::uint8_t, N>& orientations, int base) {
  int value = 0;
  for (std::size_t slot = 0; slot + 1 < N; ++slot) value = value * base + orientations[slot];
  return value;
}

template <std::size_t N>
void SetOrientation(std::array<std::uint8_t, N>& orientations, int value, int base) {
  int sum = 0;
  for (std::size_t slot = N - 1; slot-- > 0;) {
    orientations[slot] = static_cast<std::uint8_t>(value % base);
    sum += orientations[slot];
    value /= base;
  }
  orientations[N - 1] = static_cast<std::uint8_t>((base - sum % base) % base);
}

// Combinatorial number of the slots holding the last `marked` pieces, counted from the
// last slot, so that the solved places (the last slots) are 0.
int CombinationOf(std::span<const std::uint8_t> pieces, int marked) {
  const int count = static_cast<int>(pieces.size());
  int value = 0;
  int found = 0;
  for (int slot = count - 1; slot >= 0; --slot) {
    if (pieces[slot] < count - marked) continue;
    value += Choose(count - 1 - slot, found + 1);
    ++found;
  }
  return value;
}

// The inverse, the marked pieces and the others each in increasing order.
void SetCombination(std::span<std::uint8_t> pieces, int marked, int value) {
  const int count = static_cast<int>(pieces.size());
  int left = marked;
  int nextMarked = count - marked;
  int nextOther = 0;
  for (int slot = 0; slot < count; ++slot) {
    const int step = Choose(count - 1 - slot, left);
    if (left > 0 && value >= step) {
      pieces[slot] = static_cast<std::uint8_t>(nextMarked++);
      value -= step;
      --left;
    } else {
      pieces[slot] = static_cast<std::uint8_t>(nextOther++);
    }
  }
}

}  // namespace

int TwistOf(const CubeState& state) { return OrientationOf(state.cornerTwist, kCornerTwists); }
int FlipOf(const CubeState& state) { return OrientationOf(state.edgeFlip, kEdgeFlips); }
void SetTwist(CubeState& state, int twist) { SetOrientation(state.cornerTwist, twist, kCornerTwists); }
void SetFlip(CubeState& state, int flip) { SetOrientation(state.edgeFlip, flip, kEdgeFlips); }

int SliceOf(const CubeState& state) { return CombinationOf(state.edgePiece, kSliceEdgeCount); }
void SetSlice(CubeState& state, int slice) { SetCombination(state.edgePiece, kSliceEdgeCount, slice); }
int SliceFlipOf(const CubeState& state) {
  int flips = 0;
  for (int slot = 0; slot < kEdgeCount; ++slot) {
    if (state.edgePiece[slot] >= kUdEdgeCount) flips = flips << 1 | state.edgeFlip[slot];
  }
  return SliceOf(state) << kSliceFlipBits | flips;
}

void SetSliceFlip(CubeState& state, int sliceFlip) {
  SetSlice(state, SliceOfSliceFlip(sliceFlip));
  int shift = kSliceFlipBits;
  for (int slot = 0; slot < kEdgeCount; ++slot) {
    const bool sliceEdge = state.edgePiece[slot] >= kUdEdgeCount;
    if (sliceEdge) --shift;
    state.edgeFlip[slot] = static_cast<std::uint8_t>(sliceEdge ? sliceFlip >> shift & 1 : 0);
  }
}

int DCornersOf(const CubeState& state) { return CombinationOf(state.cornerPiece, kDCornerCount); }
void SetDCorners(CubeState& state, int places) { SetCombination(state.cornerPiece, kDCornerCount, places); }

int CornerOrderOf(const CubeState& state) { return PermutationRank(state.cornerPiece); }

int UdEdgeOrderOf(const CubeState& state) {
  return PermutationRank(std::span<const std::uint8_t>(state.edgePiece.data(), kUdEdgeCount));
}

int SliceOrderOf(const CubeState& state) {
  std::array<std::uint8_t, kSliceEdgeCount> order{};
  for (int i = 0; i < kSliceEdgeCount; ++i) {
    order[i] = static_cast<std::uint8_t>(state.edgePiece[kUdEdgeCount + i] - kUdEdgeCount);
  }
  return PermutationRank(order);
}

// Lehmer code: each place counts the later pieces smaller than its own.
int PermutationRank(std::span<const std::uint8_t> pieces) {
  int rank = 0;
  const std::size_t n = pieces.size();
  for (std::size_t i = 0; i < n; ++i) {
    int smaller = 0;
    for (std::size_t j = i + 1; j < n; ++j) smaller += pieces[j] < pieces[i] ? 1 : 0;
    rank = rank * static_cast<int>(n - i) + smaller;
  }
  return rank;
}

void PermutationFromRank(int rank, std::span<std::uint8_t> pieces) {
  const int n = static_cast<int>(pieces.size());
  std::array<int, kEdgeCount> digits{};
  for (int i = n - 1; i >= 0; --i) {
    digits[i] = rank % (n - i);
    rank /= (n - i);
  }
  // Place i takes the digits[i]-th piece not yet placed.
  unsigned used = 0;
  for (int i = 0; i < n; ++i) {
    int piece = 0;
    for (int unusedSeen = -1;; ++piece) {
      if ((used >> piece & 1U) == 0 && ++unusedSeen == digits[i]) break;
    }
    pieces[i] = static_cast<std::uint8_t>(piece);
    used |= 1U << piece;
  }
}

}  // namespace tw::scramble
