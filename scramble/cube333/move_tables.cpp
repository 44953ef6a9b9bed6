#include "scramble/cube333/move_tables.h"

#include <span>

namespace tw::scramble {
namespace {

// One table row per coordinate value, one column per move of `moves`. Only the first
// move of each face in the list is computed on a cube; a later power of that face is
// the earlier power followed by the first, two table look-ups instead of a cube.
template <typename Decode, typename Encode>
std::vector<std::uint16_t> BuildMoveTable(int count, std::span<const Move> moves, Decode decode, Encode encode) {
  const std::size_t width = moves.size();
  std::vector<std::uint16_t> table(static_cast<std::size_t>(count) * width);
  std::vector<int> firstOfFace(width);
  for (std::size_t i = 0; i < width; ++i) {
    const bool continuesFace = i > 0 && FaceOf(moves[i - 1]) == FaceOf(moves[i]);
    firstOfFace[i] = continuesFace ? firstOfFace[i - 1] : static_cast<int>(i);
  }
  CubeState state = CubeState::Solved();
  for (int value = 0; value < count; ++value) {
    decode(value, state);
    for (std::size_t i = 0; i < width; ++i) {
      if (firstOfFace[i] == static_cast<int>(i)) {
        table[value * width + i] = static_cast<std::uint16_t>(encode(state.Then(FaceTurn(moves[i]))));
      }
    }
  }
  for (int value = 0; value < count; ++value) {
    for (std::size_t i = 0; i < width; ++i) {
      const auto first = static_cast<std::size_t>(firstOfFace[i]);
      if (first == i) continue;
      table[value * width + i] = table[table[value * width + i - 1] * width + first];
    }
  }
  return table;
}

void SetSliceOrder(int order, CubeState& cube) {
  const std::span<std::uint8_t> slice(cube.edgePiece.data() + kUdEdgeCount, kSliceEdgeCount);
  PermutationFromRank(order, slice);
  for (std::uint8_t& piece : slice) piece = static_cast<std::uint8_t>(piece + kUdEdgeCount);
}

// The coordinate of the cube conjugated by each symmetry, for a coordinate below 256.
template <typename Decode, typename Encode>
std::vector<std::uint8_t> ConjugateTable(int count, Decode decode, Encode encode) {
  std::vector<std::uint8_t> table(static_cast<std::size_t>(count) * kSymmetryCount);
  CubeState cube = CubeState::Solved();
  for (int value = 0; value < count; ++value) {
    decode(value, cube);
    for (int s = 0; s < kSymmetryCount; ++s) {
      table[value * kSymmetryCount + s] = static_cast<std::uint8_t>(encode(Conjugate(cube, s)));
    }
  }
  return table;
}

std::array<Move, kMoveCount> AllMoves() {
  std::array<Move, kMoveCount> moves{};
  for (int m = 0; m < kMoveCount; ++m) moves[m] = static_cast<Move>(m);
  return moves;
}

template <typename Vector>
std::size_t BytesOf(const Vector& table) {
  return table.size() * sizeof(typename Vector::value_type);
}

}  // namespace

MoveTables::MoveTables() {
  const auto all = AllMoves();
  twist_ = BuildMoveTable(
      kTwistCount, all, [](int v, CubeState& s) { SetTwist(s, v); }, TwistOf);
  flip_ = BuildMoveTable(
      kFlipCount, all, [](int v, CubeState& s) { SetFlip(s, v); }, FlipOf);
  slice_ = BuildMoveTable(
      kSliceCount, all, [](int v, CubeState& s) { SetSlice(s, v); }, SliceOf);
  sliceFlip_ = BuildMoveTable(
      kSliceFlipCount, all, [](int v, CubeState& s) { SetSliceFlip(s, v); }, SliceFlipOf);
  sliceOrder_ = BuildMoveTable(kSliceOrderCount, kPhase2Moves, SetSliceOrder, SliceOrderOf);
  sliceOrderConjugate_ = ConjugateTable(kSliceOrderCount, SetSliceOrder, SliceOrderOf);
  const auto setDCorners = [](int places, CubeState& cube) { SetDCorners(cube, places); };
  dCorners_ = BuildMoveTable(kDCornerPlacesCount, kPhase2Moves, setDCorners, DCornersOf);
  dCornersConjugate_ = ConjugateTable(kDCornerPlacesCount, setDCorners, DCornersOf);
}

std::size_t MoveTables::SizeBytes() const {
  return BytesOf(twist_) + BytesOf(flip_) + BytesOf(slice_) + BytesOf(sliceFlip_) + BytesOf(sliceOrder_) + BytesOf(sliceOrderConjugate_) +
         BytesOf(dCorners_) + BytesOf(dCornersConjugate_);
}

}  // namespace tw::scramble
