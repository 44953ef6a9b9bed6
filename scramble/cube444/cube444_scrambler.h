#pragma once
// Random-state 4x4x4 scrambles: a uniformly random state of the cube held by its
// down-back-left corner, reduced to a 3x3x3 (see reduction.h), the 3x3x3 finished by
// the solver the caller gives, and the whole solution written backwards in the WCA's
// 4x4x4 notation: U D L R F B Uw Rw Fw, each plain, "2" or "'", never one face twice
// in a row whatever the width.
//
//   tw::scramble::cube444::Scrambler444 scrambler(finish);  // builds tables: a worker thread
//   tw::scramble::cube444::Scramble444 s = scrambler.Next(rng);  // s.text "Uw2 R' Fw ...", s.stickers its state
#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "scramble/cube444/cube444_model.h"
#include "scramble/cube444/reduction.h"

namespace tw::scramble::cube444 {

struct Scramble444 {
  std::vector<Turn> turns;  // from solved to the state
  std::string text;
  std::string stickers;     // the state, as the sticker text
  bool cancelled = false;   // a cancelled search: throw the rest away
};

// Outer turns (kinds 0..5) that reach the reduced cube from solved, the last not about
// the axis of kind `avoidKind` (-1: any); nothing when cancelled.
using ThreeByThreeFinish =
    std::function<std::optional<std::vector<Turn>>(const ThreeByThree& cube, int avoidKind, const std::atomic<bool>* cancel)>;

class Scrambler444 {
 public:
  // Builds the reduction's tables (see Reducer); throws std::bad_alloc when memory
  // runs out, TablesCancelled soon after `cancel` becomes true.
  explicit Scrambler444(ThreeByThreeFinish finish, const std::atomic<bool>* cancel = nullptr);
  Scrambler444(const Scrambler444&) = delete;
  Scrambler444& operator=(const Scrambler444&) = delete;

  // Const and free of shared state: several threads may ask at once.
  Scramble444 Next(std::mt19937_64& rng, const std::atomic<bool>* cancel = nullptr) const;
  Scramble444 ScrambleOf(const Cube& cube, const std::atomic<bool>* cancel = nullptr) const;

  const Model& GetModel() const { return model_; }
  const Reducer& GetReducer() const { return reducer_; }
  std::size_t TableBytes() const { return reducer_.TableBytes() + sizeof(Model); }

 private:
  ThreeByThreeFinish finish_;
  Model model_;
  Reducer reducer_;
};

std::string TurnsText(const std::vector<Turn>& turns);

}  // namespace tw::scramble::cube444
