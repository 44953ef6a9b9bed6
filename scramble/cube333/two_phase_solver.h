#pragma once
// Solves a cube in two phases: a search over phase-1 move sequences that bring it into
// the subgroup <U, D, R2, L2, F2, B2>, each continued by the shortest phase-2 sequence
// that solves it from there. Phase 1 keeps going to longer sequences, which often
// allow a much shorter phase 2, until the total is short enough.
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "scramble/cube333/cube_state.h"
#include "scramble/cube333/move.h"
#include "scramble/cube333/solver_tables.h"

namespace tw::scramble {

// When to stop: at once for a solution of targetLength or fewer moves; for one a move
// longer once nearBudget positions are visited; for any within maxLength once budget
// positions are. Positions, not time, so that a seed gives the same scrambles anywhere.
struct SearchLimits {
  int maxLength = 21;
  int targetLength = 19;
  std::int64_t nearBudget = 3000;
  std::int64_t budget = 40000;
  // When set and it becomes true, the search gives up soon and returns what it has,
  // possibly nothing: for a program that is closing.
  const std::atomic<bool>* cancel = nullptr;
  // When set, only solutions it accepts count (a scramble written between fixed moves
  // must not start or end where it would run into them).
  std::function<bool(const std::vector<Move>& solution)> accept;
};

class TwoPhaseSolver {
 public:
  // The tables must outlive the solver.
  explicit TwoPhaseSolver(const SolverTables& tables) : tables_(tables) {}

  // Moves that take `state` (which must be reachable) to solved, following MayFollow
  // throughout. The search goes on past the budgets until it has a solution within
  // maxLength, unless cancelled.
  std::vector<Move> Solve(const CubeState& state, const SearchLimits& limits = {}) const;

 private:
  const SolverTables& tables_;
};

}  // namespace tw::scramble
