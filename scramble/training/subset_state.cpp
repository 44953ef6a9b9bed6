#include "scramble/training/subset_state.h"

#include <span>
#include <utility>

#include "scramble/cube333/random_state.h"

namespace tw::scramble::training {
namespace {

// Fisher-Yates over the pieces in `slots`: each of their orders equally likely.
template <std::size_t N>
void Shuffle(std::mt19937_64& rng, std::array<std::uint8_t, N>& pieces, const std::vector<std::uint8_t>& slots) {
  for (std::size_t i = slots.size(); i > 1; --i) {
    std::swap(pieces[slots[i - 1]], pieces[slots[UniformBelow(rng, i)]]);
  }
}

// Every value 0..modulus-1 for each slot but the last, which makes the sum a multiple
// of the modulus: uniform over the orientations the cube allows.
template <std::size_t N>
void Orient(std::mt19937_64& rng, std::array<std::uint8_t, N>& turns, const std::vector<std::uint8_t>& slots,
            int modulus) {
  if (slots.empty()) return;
  int sum = 0;
  for (std::size_t i = 0; i + 1 < slots.size(); ++i) {
    turns[slots[i]] = static_cast<std::uint8_t>(UniformBelow(rng, static_cast<std::uint64_t>(modulus)));
    sum += turns[slots[i]];
  }
  turns[slots.back()] = static_cast<std::uint8_t>((modulus - sum % modulus) % modulus);
}

}  // namespace

CubeState DrawSubset(std::mt19937_64& rng, const Subset& subset) {
  CubeState state = CubeState::Solved();
  Shuffle(rng, state.cornerPiece, subset.corners);
  Shuffle(rng, state.edgePiece, subset.edges);
  // Swapping two pieces maps the orders of one parity one-to-one onto the other, so the
  // orders stay uniform among those whose parities agree.
  if (IsOddPermutation(state.cornerPiece) != IsOddPermutation(state.edgePiece)) {
    if (subset.edges.size() >= 2) {
      std::swap(state.edgePiece[subset.edges[0]], state.edgePiece[subset.edges[1]]);
    } else {
      std::swap(state.cornerPiece[subset.corners[0]], state.cornerPiece[subset.corners[1]]);
    }
  }
  if (subset.twisted) Orient(rng, state.cornerTwist, subset.corners, kCornerTwists);
  if (subset.flipped) Orient(rng, state.edgeFlip, subset.edges, kEdgeFlips);
  return state;
}

}  // namespace tw::scramble::training
