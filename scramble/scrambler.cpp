#include "scramble/scrambler.h"

#include "scramble/cube333/random_state.h"
#include "scramble/scramble_text.h"

namespace tw::scramble {

Scrambler::Scrambler() : solver_(tables_) {}

std::vector<Move> Scrambler::MovesReaching(const CubeState& state, const std::atomic<bool>* cancel,
                                            const std::function<bool(const std::vector<Move>& scramble)>& accept,
                                            int longest, int enough) const {
  SearchLimits limits;
  limits.maxLength = longest;
  limits.targetLength = enough;
  limits.cancel = cancel;
  if (accept) {
    limits.accept = [&accept](const std::vector<Move>& solution) { return accept(InverseSequence(solution)); };
  }
  return InverseSequence(solver_.Solve(state, limits));
}

Scramble Scrambler::NextScramble(std::mt19937_64& rng, const std::atomic<bool>* cancel) const {
  Scramble scramble;
  scramble.state = RandomState(rng);
  scramble.moves = MovesReaching(scramble.state, cancel);
  return scramble;
}

std::string Scrambler::Next(std::mt19937_64& rng, const std::atomic<bool>* cancel) const {
  return FormatMoves(NextScramble(rng, cancel).moves);
}

}  // namespace tw::scramble
