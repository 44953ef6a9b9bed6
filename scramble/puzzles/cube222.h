#pragma once
// The 2x2x2 as the corners of the 3x3x3 model with the DBL corner never moved: scrambles
// turn only R, U and F, as the WCA writes them, and a solution of a random state is the
// shortest one.
#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "scramble/puzzles/coordinate_solver.h"
#include "scramble/cube333/cube_state.h"
#include "scramble/cube333/move.h"

namespace tw::scramble {

inline constexpr int kCube2StickersPerFace = 4;

// A uniformly random 2x2x2 state with DBL in place: the corners' places and twists of a
// CubeState whose edges stay solved.
CubeState RandomCube2(std::mt19937_64& rng);
// The 24 stickers in the order U R F D L B, each face read row by row as the 3x3x3's
// facelets are.
std::string Cube2Stickers(const CubeState& state);

class Cube2Solver {
 public:
  Cube2Solver();
  Cube2Solver(const Cube2Solver&) = delete;
  Cube2Solver& operator=(const Cube2Solver&) = delete;

  // A shortest sequence of U, R and F turns that solves `state` (DBL in place).
  std::vector<Move> Solve(const CubeState& state) const;
  std::size_t SizeBytes() const { return solver_.SizeBytes(); }

 private:
  CoordinateSolver solver_;
};

}  // namespace tw::scramble
