#pragma once
// Square-1's shapes: the 3678 ways both layers can hold their pieces with the cut
// clear, how turns and the slash move between them, and tables of move counts over
// shapes (with the pieces' parity and the middle) and over shapes with the colours of
// the corners or of the edges.
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "scramble/square1/square1.h"
#include "scramble/square1/square1_layers.h"

namespace tw::scramble::sq1 {

struct Shapes {
  std::array<std::int16_t, 1U << kSq1Slots> layerIndex{};  // -1 for layers the slash cannot turn
  std::vector<Mask> layers;
  std::vector<std::vector<int>> turns;  // per layer: the turns that keep it twistable
  std::vector<std::int16_t> pairIndex;  // [top * 169 + bottom], -1 if not eight corners
  std::vector<std::pair<int, int>> pairs;
};

const Shapes& TheShapes();
int PairOf(Mask top, Mask bottom);

// A shape, its pieces' parity and the middle: what phase 1 and the bound follow.
struct ShapeNode {
  Mask top;
  Mask bottom;
  int parity;
  int middle;
};

ShapeNode Turned(const ShapeNode& n, int top, int bottom);
ShapeNode Slashed(const ShapeNode& n);
ShapeNode NodeOf(const Sq1State& state);

// Breadth-first move counts over shapes, parities and (if `withMiddle`) middles, from
// the nodes `goal` accepts. Turns and slashes are each one move.
template <typename Goal>
std::vector<std::uint8_t> ShapeDistances(bool withMiddle, Goal goal) {
  const Shapes& s = TheShapes();
  const int middles = withMiddle ? 2 : 1;
  const auto indexOf = [&](const ShapeNode& n) {
    return (static_cast<std::size_t>(PairOf(n.top, n.bottom)) * 2 + static_cast<std::size_t>(n.parity)) * middles +
           static_cast<std::size_t>(withMiddle ? n.middle : 0);
  };
  std::vector<std::uint8_t> distances(static_cast<std::size_t>(kShapes) * 2 * middles, kUnknown);
  std::vector<ShapeNode> layer;
  for (const auto& [t, b] : s.pairs) {
    for (int parity = 0; parity < 2; ++parity) {
      for (int middle = 0; middle < middles; ++middle) {
        const ShapeNode n{s.layers[static_cast<std::size_t>(t)], s.layers[static_cast<std::size_t>(b)], parity, middle};
        if (goal(n)) {
          distances[indexOf(n)] = 0;
          layer.push_back(n);
        }
      }
    }
  }
  for (int distance = 1; !layer.empty(); ++distance) {
    std::vector<ShapeNode> next;
    const auto reach = [&](const ShapeNode& n) {
      std::uint8_t& d = distances[indexOf(n)];
      if (d != kUnknown) return;
      d = static_cast<std::uint8_t>(distance);
      next.push_back(n);
    };
    for (const ShapeNode& n : layer) {
      reach(Slashed(n));
      for (const int top : s.turns[static_cast<std::size_t>(s.layerIndex[n.top])]) {
        for (const int bottom : s.turns[static_cast<std::size_t>(s.layerIndex[n.bottom])]) {
          if (top != 0 || bottom != 0) reach(Turned(n, top, bottom));
        }
      }
    }
    layer = std::move(next);
  }
  return distances;
}

std::size_t ShapeIndex(const ShapeNode& n, bool withMiddle);

// Colours: which of the eight corners (or edges), read from twelfth 0 of the top then
// of the bottom, are top pieces, as one of the 70 ways to choose four.
constexpr int kColourings = 70;

// Where corners start (a piece starts there and the next twelfth is its second half)
// or edges do, in a layer with no corner across twelfth 0.
inline Mask CornerStarts(Mask mask) { return mask & ~((mask >> 1) | (mask << (kSq1Slots - 1))) & kAllSlots; }
inline Mask EdgeStarts(Mask mask) { return mask & ~CornerStarts(mask); }

const std::array<int, 256>& ColouringRanks();

template <typename Starts>
unsigned ColoursOf(const Sq1State& state, Starts starts) {
  unsigned colours = 0;
  int n = 0;
  for (const auto* layer : {&state.top, &state.bottom}) {
    const Mask s = starts(MaskOf(*layer));
    for (int i = 0; i < kSq1Slots; ++i) {
      if ((s >> i & 1U) == 0) continue;
      if ((*layer)[static_cast<std::size_t>(i)] < kSq1Pieces / 2) colours |= 1U << n;
      ++n;
    }
  }
  return colours;
}

// Each shape's moves (the slash and every turn that keeps the cut clear) with the shape
// each leads to and what it does to the corners' and the edges' colours: one of a few
// hundred reorderings of eight places, each kept as a table over the 70 colourings.
struct ColourMoves {
  struct Move {
    std::uint16_t pair;
    std::uint16_t corners;  // which reordering, for corners and for edges
    std::uint16_t edges;
  };
  std::vector<std::uint32_t> first;  // per shape, where its moves start in `moves`
  std::vector<Move> moves;
  std::vector<std::array<std::uint8_t, kColourings>> reorderings;
};

ColourMoves BuildColourMoves();
// Breadth-first move counts to solved over shapes and colours.
std::vector<std::uint8_t> ColourDistances(const ColourMoves& all, bool corners);

}  // namespace tw::scramble::sq1
