#include "scramble/cube333/random_state.h"

#include <limits>
#include <numeric>
#include <span>
#include <utility>

#include "scramble/cube333/coordinates.h"

namespace tw::scramble {
namespace {

// Fisher-Yates: each of the n! orders equally likely.
void Shuffle(std::mt19937_64& rng, std::span<std::uint8_t> pieces) {
  for (std::size_t i = pieces.size(); i > 1; --i) {
    std::swap(pieces[i - 1], pieces[UniformBelow(rng, i)]);
  }
}

}  // namespace

std::uint64_t UniformBelow(std::mt19937_64& rng, std::uint64_t bound) {
  // Draws from the largest multiple of `bound` are spread evenly; the rest are redrawn.
  const std::uint64_t limit =
      std::numeric_limits<std::uint64_t>::max() - std::numeric_limits<std::uint64_t>::max() % bound;
  std::uint64_t draw = rng();
  while (draw >= limit) draw = rng();
  return draw % bound;
}

CubeState RandomState(std::mt19937_64& rng) {
  CubeState state = CubeState::Solved();
  Shuffle(rng, state.cornerPiece);
  Shuffle(rng, state.edgePiece);
  // Swapping two edges maps the orders of one parity one-to-one onto the other, so the
  // edges stay uniform among the orders whose parity matches the corners'.
  if (IsOddPermutation(state.cornerPiece) != IsOddPermutation(state.edgePiece)) {
    std::swap(state.edgePiece[kEdgeCount - 2], state.edgePiece[kEdgeCount - 1]);
  }
  SetTwist(state, static_cast<int>(UniformBelow(rng, kTwistCount)));
  SetFlip(state, static_cast<int>(UniformBelow(rng, kFlipCount)));
  return state;
}

}  // namespace tw::scramble
