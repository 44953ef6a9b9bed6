#include "scramble/scramble_text.h"

#include <algorithm>

namespace tw::scramble {
namespace {

constexpr std::string_view kFaceLetters = "URFDLB";
// After the face letter: nothing for a quarter turn, "2" for a half turn, "'" back.
constexpr std::string_view kTurnSuffixes[kTurnsPerFace] = {"", "2", "'"};

std::optional<Move> ParseMove(std::string_view word) {
  if (word.empty()) return std::nullopt;
  const std::size_t face = kFaceLetters.find(word.front());
  if (face == std::string_view::npos) return std::nullopt;
  for (int turns = 1; turns <= kTurnsPerFace; ++turns) {
    if (word.substr(1) == kTurnSuffixes[turns - 1]) return MakeMove(static_cast<Face>(face), turns);
  }
  return std::nullopt;
}

}  // namespace

std::string FormatMoves(std::span<const Move> moves) {
  std::string text;
  for (const Move move : moves) {
    if (!text.empty()) text += ' ';
    text += kFaceLetters[static_cast<int>(FaceOf(move))];
    text += kTurnSuffixes[QuarterTurnsOf(move) - 1];
  }
  return text;
}

std::optional<std::vector<Move>> ParseMoves(std::string_view text) {
  std::vector<Move> moves;
  if (text.empty()) return moves;
  for (;;) {
    const std::size_t blank = text.find(' ');
    const std::optional<Move> move = ParseMove(text.substr(0, blank));
    if (!move) return std::nullopt;
    moves.push_back(*move);
    if (blank == std::string_view::npos) return moves;
    text.remove_prefix(blank + 1);
  }
}

bool FollowsMoveRules(std::span<const Move> moves) {
  Move previous = kNoMove;
  for (const Move move : moves) {
    if (!MayFollow(previous, move)) return false;
    previous = move;
  }
  return true;
}

std::vector<Move> InverseSequence(std::span<const Move> moves) {
  std::vector<Move> inverse(moves.rbegin(), moves.rend());
  std::transform(inverse.begin(), inverse.end(), inverse.begin(), InverseOf);
  // Reversing turned each "U D" into "D' U'".
  PutOppositeFacesInOrder(inverse);
  return inverse;
}

}  // namespace tw::scramble
