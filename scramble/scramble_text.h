#pragma once
// Move sequences as WCA notation: "R U2 F'", moves separated by single blanks.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scramble/cube333/move.h"

namespace tw::scramble {

std::string FormatMoves(std::span<const Move> moves);

// The moves of a text FormatMoves could have written, or nothing for any other text
// (unknown letters, doubled or trailing blanks).
std::optional<std::vector<Move>> ParseMoves(std::string_view text);

// Whether every move may follow the one before it (see MayFollow).
bool FollowsMoveRules(std::span<const Move> moves);

// The sequence that undoes `moves`: reversed, each move turned back. A sequence that
// follows the move rules gives one that follows them too.
std::vector<Move> InverseSequence(std::span<const Move> moves);

}  // namespace tw::scramble
