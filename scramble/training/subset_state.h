#pragma once
// Uniformly random cubes within a subset: some slots' pieces scattered among those
// slots, each arrangement the cube allows equally likely, the other pieces in place.
#include <cstdint>
#include <random>
#include <vector>

#include "scramble/cube333/cube_state.h"

namespace tw::scramble::training {

struct Subset {
  std::vector<std::uint8_t> corners;  // the corner slots whose pieces are scattered
  std::vector<std::uint8_t> edges;    // the edge slots likewise
  bool twisted = true;                // whether those corners come twisted
  bool flipped = true;                // whether those edges come flipped
};

// Any reachable state that leaves every other piece in place, turned as solved, is
// equally likely; when the permutations could not otherwise agree in parity (corners
// or edges alone), only even ones come.
CubeState DrawSubset(std::mt19937_64& rng, const Subset& subset);

// The U layer's slots, and the D layer's and middle layer's.
inline const std::vector<std::uint8_t> kUCorners = {corner::URF, corner::UFL, corner::ULB, corner::UBR};
inline const std::vector<std::uint8_t> kUEdges = {edge::UR, edge::UF, edge::UL, edge::UB};

}  // namespace tw::scramble::training
