#pragma once
// The eight turns of the whole cube that keep the U-D axis where it is: quarter turns
// about that axis, each with or without a half turn about the F-B axis. Looking at a
// cube after such a turn changes none of its distances to the subgroup or to solved,
// so tables of distances need only one position of each family of look-alikes.
//
// Conjugating by s means looking at the cube turned by s: s⁻¹ · cube · s.
#include <cstdint>

#include "scramble/cube333/cube_state.h"
#include "scramble/cube333/move.h"

namespace tw::scramble {

inline constexpr int kSymmetryCount = 8;
inline constexpr int kSymmetryBits = 3;
// Symmetries 0..3 (no turn, and the three half turns about the axes) keep every axis in
// place and so keep each edge's flip; the quarter turns about U-D move the flip's frame.
inline constexpr int kFlipKeepingSymmetryCount = 4;

CubeState Conjugate(const CubeState& cube, int symmetry);
// Conjugating by `first`, then by `second`, is conjugating by the product.
int SymmetryProduct(int first, int second);
int SymmetryInverse(int symmetry);
// The move that does to the conjugated cube what `move` does to the cube.
Move ConjugateMove(Move move, int symmetry);

// The cube seen in a mirror standing between R and L, for the two coordinates it keeps
// meaningful: R and L swap, every turn goes the other way, each corner's twist is
// counted the other way round and each edge keeps its flip. Conjugating by the mirror
// commutes with the flip-keeping symmetries, and each of them is its own inverse.
int MirrorTwist(int twist);
int MirrorFlip(int flip);
Move MirrorMove(Move move);

}  // namespace tw::scramble
