#include "scramble/cube333/cube_state.h"

#include <algorithm>
#include <numeric>

namespace tw::scramble {
namespace {

constexpr int kStickersPerFace = 9;
constexpr int kFaceletCount = kFaceCount * kStickersPerFace;
constexpr char kFaceLetters[] = "URFDLB";

// A sticker's index in the facelet string: face, then 1..9 row by row.
constexpr std::uint8_t Sticker(Face face, int number) {
  return static_cast<std::uint8_t>(static_cast<int>(face) * kStickersPerFace + number - 1);
}

using enum Face;

// The stickers of each corner slot, starting with its U or D sticker and going clockwise.
constexpr std::uint8_t kCornerStickers[kCornerCount][kCornerTwists] = {
    {Sticker(U, 9), Sticker(R, 1), Sticker(F, 3)}, {Sticker(U, 7), Sticker(F, 1), Sticker(L, 3)},
    {Sticker(U, 1), Sticker(L, 1), Sticker(B, 3)}, {Sticker(U, 3), Sticker(B, 1), Sticker(R, 3)},
    {Sticker(D, 3), Sticker(F, 9), Sticker(R, 7)}, {Sticker(D, 1), Sticker(L, 9), Sticker(F, 7)},
    {Sticker(D, 7), Sticker(B, 9), Sticker(L, 7)}, {Sticker(D, 9), Sticker(R, 9), Sticker(B, 7)},
};
constexpr Face kCornerColours[kCornerCount][kCornerTwists] = {
    {U, R, F}, {U, F, L}, {U, L, B}, {U, B, R}, {D, F, R}, {D, L, F}, {D, B, L}, {D, R, B},
};
// The stickers of each edge slot, its U/D (or, in the slice, F/B) sticker first.
constexpr std::uint8_t kEdgeStickers[kEdgeCount][kEdgeFlips] = {
    {Sticker(U, 6), Sticker(R, 2)}, {Sticker(U, 8), Sticker(F, 2)}, {Sticker(U, 4), Sticker(L, 2)},
    {Sticker(U, 2), Sticker(B, 2)}, {Sticker(D, 6), Sticker(R, 8)}, {Sticker(D, 2), Sticker(F, 8)},
    {Sticker(D, 4), Sticker(L, 8)}, {Sticker(D, 8), Sticker(B, 8)}, {Sticker(F, 6), Sticker(R, 4)},
    {Sticker(F, 4), Sticker(L, 6)}, {Sticker(B, 6), Sticker(L, 4)}, {Sticker(B, 4), Sticker(R, 6)},
};
constexpr Face kEdgeColours[kEdgeCount][kEdgeFlips] = {
    {U, R}, {U, F}, {U, L}, {U, B}, {D, R}, {D, F}, {D, L}, {D, B}, {F, R}, {F, L}, {B, L}, {B, R},
};

// The six quarter turns as "which piece each slot receives" and how it arrives turned.
constexpr CubeState kQuarterTurns[kFaceCount] = {
    // U
    {{corner::UBR, corner::URF, corner::UFL, corner::ULB, corner::DFR, corner::DLF, corner::DBL, corner::DRB},
     {0, 0, 0, 0, 0, 0, 0, 0},
     {edge::UB, edge::UR, edge::UF, edge::UL, edge::DR, edge::DF, edge::DL, edge::DB, edge::FR, edge::FL, edge::BL,
      edge::BR},
     {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    // R
    {{corner::DFR, corner::UFL, corner::ULB, corner::URF, corner::DRB, corner::DLF, corner::DBL, corner::UBR},
     {2, 0, 0, 1, 1, 0, 0, 2},
     {edge::FR, edge::UF, edge::UL, edge::UB, edge::BR, edge::DF, edge::DL, edge::DB, edge::DR, edge::FL, edge::BL,
      edge::UR},
     {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    // F
    {{corner::UFL, corner::DLF, corner::ULB, corner::UBR, corner::URF, corner::DFR, corner::DBL, corner::DRB},
     {1, 2, 0, 0, 2, 1, 0, 0},
     {edge::UR, edge::FL, edge::UL, edge::UB, edge::DR, edge::FR, edge::DL, edge::DB, edge::UF, edge::DF, edge::BL,
      edge::BR},
     {0, 1, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0}},
    // D
    {{corner::URF, corner::UFL, corner::ULB, corner::UBR, corner::DLF, corner::DBL, corner::DRB, corner::DFR},
     {0, 0, 0, 0, 0, 0, 0, 0},
     {edge::UR, edge::UF, edge::UL, edge::UB, edge::DF, edge::DL, edge::DB, edge::DR, edge::FR, edge::FL, edge::BL,
      edge::BR},
     {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    // L
    {{corner::URF, corner::ULB, corner::DBL, corner::UBR, corner::DFR, corner::UFL, corner::DLF, corner::DRB},
     {0, 1, 2, 0, 0, 2, 1, 0},
     {edge::UR, edge::UF, edge::BL, edge::UB, edge::DR, edge::DF, edge::FL, edge::DB, edge::FR, edge::UL, edge::DL,
      edge::BR},
     {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    // B
    {{corner::URF, corner::UFL, corner::UBR, corner::DRB, corner::DFR, corner::DLF, corner::ULB, corner::DBL},
     {0, 0, 1, 2, 0, 0, 2, 1},
     {edge::UR, edge::UF, edge::UL, edge::BR, edge::DR, edge::DF, edge::DL, edge::BL, edge::FR, edge::FL, edge::UB,
      edge::DB},
     {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 1}},
};

// Each slot receives the piece the turn brings there; orientations are counted against
// the slot's U or D sticker, which the turn carries onto a side face.
constexpr CubeState kDiagonalTurn = {
    {corner::URF, corner::DFR, corner::DLF, corner::UFL, corner::UBR, corner::DRB, corner::DBL, corner::ULB},
    {1, 2, 1, 2, 2, 1, 2, 1},
    {edge::UF, edge::FR, edge::DF, edge::FL, edge::UB, edge::BR, edge::DB, edge::BL, edge::UR, edge::DR, edge::DL,
     edge::UL},
    {1, 0, 1, 0, 1, 0, 1, 0, 1, 1, 1, 1}};

std::array<CubeState, kMoveCount> BuildFaceTurns() {
  std::array<CubeState, kMoveCount> turns;
  for (int face = 0; face < kFaceCount; ++face) {
    CubeState state = CubeState::Solved();
    for (int quarter = 1; quarter <= kTurnsPerFace; ++quarter) {
      state = state.Then(kQuarterTurns[face]);
      turns[MakeMove(static_cast<Face>(face), quarter)] = state;
    }
  }
  return turns;
}

template <std::size_t N>
bool IsPermutation(const std::array<std::uint8_t, N>& pieces) {
  std::array<std::uint8_t, N> sorted = pieces;
  std::sort(sorted.begin(), sorted.end());
  for (std::size_t i = 0; i < N; ++i) {
    if (sorted[i] != i) return false;
  }
  return true;
}

template <std::size_t N>
int SumOf(const std::array<std::uint8_t, N>& values) {
  return std::accumulate(values.begin(), values.end(), 0);
}

}  // namespace

CubeState CubeState::Solved() {
  CubeState state;
  std::iota(state.cornerPiece.begin(), state.cornerPiece.end(), std::uint8_t{0});
  std::iota(state.edgePiece.begin(), state.edgePiece.end(), std::uint8_t{0});
  return state;
}

CubeState CubeState::Then(const CubeState& next) const {
  CubeState result;
  for (int slot = 0; slot < kCornerCount; ++slot) {
    const int from = next.cornerPiece[slot];
    result.cornerPiece[slot] = cornerPiece[from];
    result.cornerTwist[slot] = static_cast<std::uint8_t>((cornerTwist[from] + next.cornerTwist[slot]) % kCornerTwists);
  }
  for (int slot = 0; slot < kEdgeCount; ++slot) {
    const int from = next.edgePiece[slot];
    result.edgePiece[slot] = edgePiece[from];
    result.edgeFlip[slot] = static_cast<std::uint8_t>((edgeFlip[from] + next.edgeFlip[slot]) % kEdgeFlips);
  }
  return result;
}

CubeState CubeState::Inverse() const {
  CubeState result;
  for (int slot = 0; slot < kCornerCount; ++slot) {
    const int piece = cornerPiece[slot];
    result.cornerPiece[piece] = static_cast<std::uint8_t>(slot);
    result.cornerTwist[piece] = static_cast<std::uint8_t>((kCornerTwists - cornerTwist[slot]) % kCornerTwists);
  }
  for (int slot = 0; slot < kEdgeCount; ++slot) {
    const int piece = edgePiece[slot];
    result.edgePiece[piece] = static_cast<std::uint8_t>(slot);
    result.edgeFlip[piece] = edgeFlip[slot];
  }
  return result;
}

CubeState CubeState::Apply(Move move) const { return Then(FaceTurn(move)); }

CubeState CubeState::Apply(std::span<const Move> moves) const {
  CubeState state = *this;
  for (const Move move : moves) state = state.Apply(move);
  return state;
}

bool CubeState::IsReachable() const {
  if (!IsPermutation(cornerPiece) || !IsPermutation(edgePiece)) return false;
  const auto inRange = [](const auto& values, int limit) {
    return std::all_of(values.begin(), values.end(), [limit](std::uint8_t v) { return v < limit; });
  };
  if (!inRange(cornerTwist, kCornerTwists) || !inRange(edgeFlip, kEdgeFlips)) return false;
  return SumOf(cornerTwist) % kCornerTwists == 0 && SumOf(edgeFlip) % kEdgeFlips == 0 &&
         IsOddPermutation(cornerPiece) == IsOddPermutation(edgePiece);
}

std::string CubeState::Facelets() const {
  std::string stickers(kFaceletCount, '?');
  for (int face = 0; face < kFaceCount; ++face) stickers[Sticker(static_cast<Face>(face), 5)] = kFaceLetters[face];
  for (int slot = 0; slot < kCornerCount; ++slot) {
    for (int n = 0; n < kCornerTwists; ++n) {
      const Face colour = kCornerColours[cornerPiece[slot]][n];
      stickers[kCornerStickers[slot][(n + cornerTwist[slot]) % kCornerTwists]] = kFaceLetters[static_cast<int>(colour)];
    }
  }
  for (int slot = 0; slot < kEdgeCount; ++slot) {
    for (int n = 0; n < kEdgeFlips; ++n) {
      const Face colour = kEdgeColours[edgePiece[slot]][n];
      stickers[kEdgeStickers[slot][(n + edgeFlip[slot]) % kEdgeFlips]] = kFaceLetters[static_cast<int>(colour)];
    }
  }
  return stickers;
}

const CubeState& FaceTurn(Move move) {
  static const std::array<CubeState, kMoveCount> turns = BuildFaceTurns();
  return turns[move];
}

const CubeState& DiagonalTurn() { return kDiagonalTurn; }

bool IsOddPermutation(std::span<const std::uint8_t> pieces) {
  bool odd = false;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    for (std::size_t j = i + 1; j < pieces.size(); ++j) {
      if (pieces[i] > pieces[j]) odd = !odd;
    }
  }
  return odd;
}

}  // namespace tw::scramble
