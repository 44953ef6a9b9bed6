#pragma once
// Random-state scrambles: a uniformly random cube and the moves that reach it from
// solved (the inverse of a solution), at most 21 moves.
//
//   tw::scramble::Scrambler scrambler;  // builds the tables: do it on a worker thread
//   std::mt19937_64 rng(seed);
//   std::string text = scrambler.Next(rng);  // e.g. "R U2 F' ..."
#include <atomic>
#include <cstddef>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "scramble/cube333/cube_state.h"
#include "scramble/cube333/move.h"
#include "scramble/cube333/solver_tables.h"
#include "scramble/cube333/two_phase_solver.h"

namespace tw::scramble {

inline constexpr int kMaxScrambleLength = 21;

struct Scramble {
  CubeState state;          // the cube the moves reach from solved
  std::vector<Move> moves;  // follows MayFollow, at most kMaxScrambleLength long
};

class Scrambler {
 public:
  // Builds the move and pruning tables, a seventh of a second or so.
  Scrambler();
  Scrambler(const Scrambler&) = delete;
  Scrambler& operator=(const Scrambler&) = delete;

  // Const and free of shared state: several threads may ask at once. Once `cancel` is
  // true the answer comes soon but may not reach its state: throw it away.
  Scramble NextScramble(std::mt19937_64& rng, const std::atomic<bool>* cancel = nullptr) const;
  std::string Next(std::mt19937_64& rng, const std::atomic<bool>* cancel = nullptr) const;
  // The moves that reach `state` (which must be reachable) from solved. `accept`, when
  // set, turns down scrambles it does not want (the search then finds another).
  // `enough` is a length the search stops at once for (see SearchLimits::targetLength).
  std::vector<Move> MovesReaching(const CubeState& state, const std::atomic<bool>* cancel = nullptr,
                                  const std::function<bool(const std::vector<Move>& scramble)>& accept = {},
                                  int longest = kMaxScrambleLength, int enough = SearchLimits{}.targetLength) const;

  std::size_t TableBytes() const { return tables_.SizeBytes(); }

 private:
  SolverTables tables_;
  TwoPhaseSolver solver_;
};

}  // namespace tw::scramble
