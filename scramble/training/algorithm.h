#pragma once
// A cuber's algorithm as the face turns it makes: besides the face turns it may hold
// wide turns ("r", "Rw"), slice turns (M, E, S) and turns of the whole cube (x, y, z).
// The cube model keeps its centres still, so a slice or wide turn is the opposite
// face's turn with the whole cube turned, and a turn of the whole cube only renames
// the faces the moves after it turn.
#include <optional>
#include <string_view>
#include <vector>

#include "scramble/cube333/move.h"

namespace tw::scramble::training {

// The face turns of `text`, or nothing when it holds a token of no such notation.
std::optional<std::vector<Move>> AlgorithmMoves(std::string_view text);

}  // namespace tw::scramble::training
