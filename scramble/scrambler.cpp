#include "scramble/scrambler.h"

#include "scramble/random_state.h"
#include "scramble/scramble_text.h"

namespace tw::scramble {

Scrambler::Scrambler() : solver_(tables_) {}

std::vector<Move> Scrambler::MovesReaching(const CubeState& state) const {
  SearchLimits limits;
  limits.maxLength = kMaxScrambleLength;
  return InverseSequence(solver_.Solve(state, limits));
}

Scramble Scrambler::NextScramble(std::mt19937_64& rng) const {
  Scramble scramble;
  scramble.state = RandomState(rng);
  scramble.moves = MovesReaching(scramble.state);
  return scramble;
}

std::string Scrambler::Next(std::mt19937_64& rng) const { return FormatMoves(NextScramble(rng).moves); }

}  // namespace tw::scramble
