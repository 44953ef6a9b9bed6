#pragma once
// A uniformly random reachable cube: every one of the 43,252,003,274,489,856,000
// states equally likely.
#include <cstdint>
#include <random>

#include "scramble/cube333/cube_state.h"

namespace tw::scramble {

CubeState RandomState(std::mt19937_64& rng);

// A number in 0..bound-1, each equally likely. Written out rather than taken from
// std::uniform_int_distribution so that a seed gives the same states with every
// standard library.
std::uint64_t UniformBelow(std::mt19937_64& rng, std::uint64_t bound);

}  // namespace tw::scramble
