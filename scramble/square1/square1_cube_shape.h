#pragma once
// Square-1 in the cube shape the slash keeps, where the last two phases of a solve
// work: the corners' and the edges' order as eight places each, the turns that keep the
// shape, and tables of what quarter turns and the slash do to the orders.
#include <array>
#include <cstdint>
#include <vector>

#include "scramble/square1/square1.h"
#include "scramble/square1/square1_layers.h"

namespace tw::scramble::sq1 {

// Where phase 2 ends: solved with the bottom a twelfth back, so both layers have the
// shape the slash keeps; a last turn of the bottom solves it.
Sq1State Phase2End();

// The cube shape the slash keeps comes in two alignments: both layers with corners at
// 0, 3, 6, 9 (alignment 0), or both turned a twelfth on (alignment 1). Phase 2 numbers
// each layer's corners from the first at or after twelfth 0, and its edges likewise,
// so the slash swaps places 2, 3 of the top with places 0, 1 of the bottom in both.
constexpr int kAlignments = 2;
constexpr int FirstCorner(int alignment) { return alignment; }
constexpr int FirstEdge(int alignment) { return (alignment + 2) % kQuarter; }

int AlignmentOf(const Sq1State& state);

// The corners' or edges' order (the label at each place) in a cube-shaped state the
// slash keeps.
std::array<std::uint8_t, 8> Phase2Order(const Sq1State& state, bool corners);

// A phase-2 turn: how far (in quarters) it moves the corner places and the edge places
// of each layer, and the alignment it leaves.
struct Phase2Turn {
  Sq1Move move;
  int cornerTop, cornerBottom, edgeTop, edgeBottom;
  int alignment;
};

const std::array<std::vector<Phase2Turn>, kAlignments>& Phase2Turns();

// A relative order d (edge place -> corner place) after the corners move by `corners`
// and the edges by `edges`: d'(edges(p)) = corners(d(p)).
std::vector<std::uint16_t> PairsTable(const std::array<int, 8>& corners, const std::array<int, 8>& edges);

constexpr std::array<int, 8> kStay = {0, 1, 2, 3, 4, 5, 6, 7};

// The relative order of a cube-shaped state: for each edge place, the place of the
// corner whose label matches the edge's.
int PairsOf(const std::array<std::uint8_t, 8>& corners, const std::array<std::uint8_t, 8>& edges);

// The order after each place's piece moves to place `to`.
std::vector<std::uint16_t> PlaceTable(const std::array<int, 8>& to);

}  // namespace tw::scramble::sq1
