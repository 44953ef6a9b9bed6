#include "scramble/cube444/cube444_scrambler.h"

namespace tw::scramble::cube444 {

std::string TurnsText(const std::vector<Turn>& turns) {
  std::string text;
  for (const Turn turn : turns) {
    if (!text.empty()) text += ' ';
    text += TurnText(turn);
  }
  return text;
}

Scrambler444::Scrambler444(ThreeByThreeFinish finish, const std::atomic<bool>* cancel)
    : finish_(std::move(finish)), reducer_(model_, cancel) {}

Scramble444 Scrambler444::Next(std::mt19937_64& rng, const std::atomic<bool>* cancel) const {
  return ScrambleOf(model_.Random(rng), cancel);
}

Scramble444 Scrambler444::ScrambleOf(const Cube& cube, const std::atomic<bool>* cancel) const {
  Scramble444 scramble;
  scramble.stickers = model_.Stickers(cube);
  const Reduction reduction = reducer_.Reduce(cube, cancel);
  const int avoid = reduction.turns.empty() ? -1 : KindOf(reduction.turns.back());
  const std::optional<std::vector<Turn>> finish =
      reduction.cancelled ? std::nullopt : finish_(model_.Reduced(reduction.reduced), avoid, cancel);
  if (!finish) {
    scramble.cancelled = true;
    return scramble;
  }
  // The cube is the reduced cube with the reduction undone: the turns reaching the
  // reduced cube from solved, then the reduction backwards.
  scramble.turns = *finish;
  for (auto turn = reduction.turns.rbegin(); turn != reduction.turns.rend(); ++turn) {
    scramble.turns.push_back(InverseOf(*turn));
  }
  scramble.text = TurnsText(scramble.turns);
  return scramble;
}

}  // namespace tw::scramble::cube444
