#pragma once
// The 18 face turns in WCA notation and the rule that keeps a move sequence free of
// needless pairs: no face twice in a row, and opposite faces only in one fixed order,
// so "R L" may appear but "L R", and with it the sandwich "R L R", may not.
#include <cstdint>
#include <span>
#include <utility>

namespace tw::scramble {

// Faces in the facelet-string order U R F D L B; a face and its opposite differ by 3.
enum class Face : std::uint8_t { U, R, F, D, L, B };
inline constexpr int kFaceCount = 6;
inline constexpr int kTurnsPerFace = 3;  // quarter turn, half turn, quarter turn back

// face * 3 + (quarter turns - 1): U U2 U' R R2 R' F F2 F' D D2 D' L L2 L' B B2 B'.
using Move = std::uint8_t;
inline constexpr int kMoveCount = kFaceCount * kTurnsPerFace;
// Stands for "no move yet" wherever a previous move is asked for.
inline constexpr Move kNoMove = kMoveCount;

constexpr Move MakeMove(Face face, int quarterTurns) {
  return static_cast<Move>(static_cast<int>(face) * kTurnsPerFace + quarterTurns - 1);
}
constexpr Face FaceOf(Move move) { return static_cast<Face>(move / kTurnsPerFace); }
constexpr int QuarterTurnsOf(Move move) { return move % kTurnsPerFace + 1; }
constexpr Move InverseOf(Move move) {
  return static_cast<Move>(move - move % kTurnsPerFace + (kTurnsPerFace - 1 - move % kTurnsPerFace));
}
// U and D share axis 0, R and L axis 1, F and B axis 2.
constexpr int AxisOf(Face face) { return static_cast<int>(face) % 3; }

// Whether `next` may come right after `previous` (kNoMove: at the start).
constexpr bool MayFollow(Move previous, Move next) {
  if (previous == kNoMove) return true;
  const Face before = FaceOf(previous);
  const Face after = FaceOf(next);
  if (before == after) return false;
  // Of two opposite faces the one named first in U R F D L B comes first.
  return AxisOf(before) != AxisOf(after) || before < after;
}

// Turns of opposite faces commute; puts each such pair in the order MayFollow wants. A
// sequence that never turns one face twice or one axis three times in a row follows
// MayFollow afterwards.
inline void PutOppositeFacesInOrder(std::span<Move> moves) {
  for (std::size_t i = 1; i < moves.size(); ++i) {
    if (!MayFollow(moves[i - 1], moves[i]) && FaceOf(moves[i - 1]) != FaceOf(moves[i])) {
      std::swap(moves[i - 1], moves[i]);
    }
  }
}

}  // namespace tw::scramble
