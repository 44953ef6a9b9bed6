#include "scramble/puzzles/cube222.h"

#include <array>
#include <stdexcept>

#include "scramble/cube333/coordinates.h"
#include "scramble/cube333/random_state.h"

namespace tw::scramble {
namespace {

// U, R and F are the first three faces, so the 2x2x2's nine moves are the 3x3x3's
// moves 0..8.
constexpr int kMoves = 3 * kTurnsPerFace;
constexpr int kLongest = 11;  // no 2x2x2 state needs more in half-turn metric
constexpr int kMovingCorners = kCornerCount - 1;
constexpr int kOrderCount = 5040;  // 7!
constexpr int kTwistCount2 = 729;  // 3^6: the last moving corner's twist follows
constexpr int kFixed = corner::DBL;

// The seven slots R, U and F reach, in slot order.
constexpr std::array<std::uint8_t, kMovingCorners> kMovingSlots = {corner::URF, corner::UFL, corner::ULB, corner::UBR,
                                                                   corner::DFR, corner::DLF, corner::DRB};

int Compact(int piece) { return piece < kFixed ? piece : piece - 1; }
int Widen(int piece) { return piece < kFixed ? piece : piece + 1; }

int OrderOf(const CubeState& state) {
  std::array<std::uint8_t, kMovingCorners> order{};
  for (int i = 0; i < kMovingCorners; ++i) order[i] = static_cast<std::uint8_t>(Compact(state.cornerPiece[kMovingSlots[i]]));
  return PermutationRank(order);
}

void SetOrder(CubeState& state, int rank) {
  std::array<std::uint8_t, kMovingCorners> order{};
  PermutationFromRank(rank, order);
  for (int i = 0; i < kMovingCorners; ++i) state.cornerPiece[kMovingSlots[i]] = static_cast<std::uint8_t>(Widen(order[i]));
}

int TwistOf2(const CubeState& state) {
  int twist = 0;
  for (int i = 0; i + 1 < kMovingCorners; ++i) twist = twist * kCornerTwists + state.cornerTwist[kMovingSlots[i]];
  return twist;
}

void SetTwist2(CubeState& state, int twist) {
  int sum = 0;
  for (int i = kMovingCorners - 2; i >= 0; --i) {
    state.cornerTwist[kMovingSlots[i]] = static_cast<std::uint8_t>(twist % kCornerTwists);
    sum += twist % kCornerTwists;
    twist /= kCornerTwists;
  }
  state.cornerTwist[kMovingSlots[kMovingCorners - 1]] = static_cast<std::uint8_t>((kCornerTwists - sum % kCornerTwists) % kCornerTwists);
}

}  // namespace

CubeState RandomCube2(std::mt19937_64& rng) {
  CubeState state = CubeState::Solved();
  SetOrder(state, static_cast<int>(UniformBelow(rng, kOrderCount)));
  SetTwist2(state, static_cast<int>(UniformBelow(rng, kTwistCount2)));
  return state;
}

std::string Cube2Stickers(const CubeState& state) {
  // The corner stickers of the 3x3x3's facelets: places 1, 3, 7 and 9 of each face.
  constexpr std::array<int, kCube2StickersPerFace> kCornerPlaces = {0, 2, 6, 8};
  constexpr int kFaceletsPerFace = 9;
  const std::string facelets = state.Facelets();
  std::string stickers;
  for (int face = 0; face < kFaceCount; ++face) {
    for (const int place : kCornerPlaces) {
      stickers += facelets[static_cast<std::size_t>(face) * kFaceletsPerFace + static_cast<std::size_t>(place)];
    }
  }
  return stickers;
}

Cube2Solver::Cube2Solver() : solver_(kMoves, kTurnsPerFace) {
  const int order = solver_.AddCoordinate(kOrderCount, [](int value, int move) {
    CubeState state = CubeState::Solved();
    SetOrder(state, value);
    return OrderOf(state.Apply(static_cast<Move>(move)));
  });
  const int twist = solver_.AddCoordinate(kTwistCount2, [](int value, int move) {
    CubeState state = CubeState::Solved();
    SetTwist2(state, value);
    return TwistOf2(state.Apply(static_cast<Move>(move)));
  });
  solver_.AddDistances({order});
  solver_.AddDistances({twist});
}

std::vector<Move> Cube2Solver::Solve(const CubeState& state) const {
  if (state.cornerPiece[kFixed] != kFixed || state.cornerTwist[kFixed] != 0) {
    throw std::invalid_argument("the 2x2x2 keeps DBL in place");
  }
  const auto solution = solver_.Solve({OrderOf(state), TwistOf2(state)}, kLongest);
  if (!solution) throw std::logic_error("a 2x2x2 state without a solution");
  std::vector<Move> moves;
  for (const int m : *solution) moves.push_back(static_cast<Move>(m));
  return moves;
}

}  // namespace tw::scramble
