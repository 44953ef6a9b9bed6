#include "scramble/square1.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <stdexcept>

#include "scramble/coordinates.h"
#include "scramble/cube_state.h"
#include "scramble/random_state.h"

namespace tw::scramble {
namespace {

// A layer's shape: bit i set where a piece starts at twelfth i (a corner fills i and
// i+1). The cut runs before twelfths 0 and 6; a layer the slash can turn starts pieces
// at both.
using Mask = unsigned;
constexpr Mask kAllSlots = (1U << kSq1Slots) - 1;
constexpr int kHalf = kSq1Slots / 2;
constexpr Mask kLeftHalf = (1U << kHalf) - 1;  // twelfths 0..5
constexpr Mask kCut = 1U | 1U << kHalf;
// Corners at 0, 3, 6 and 9, edges at 2, 5, 8 and 11: the top when solved, and both
// layers of the cube shape the slash keeps.
constexpr Mask kCubeMask = 0xB6D;
constexpr int kCornersPerShape = 8;
constexpr int kTwistableLayers = 169;  // 13 ways to fill each half
constexpr int kShapes = 3678;

constexpr std::uint8_t kUnknown = 0xFF;
constexpr int kOrderCount = 40320;  // 8!
constexpr int kQuarter = 3;         // a quarter turn is three twelfths
constexpr int kQuarters = 4;
// Phase 2 turns the cube shape by quarters: its eight corner places (and edge places)
// are top 0, 3, 6, 9 twelfths then bottom 0, 3, 6, 9; the slash swaps top 2, 3 with
// bottom 4, 5.
constexpr std::array<int, 8> kTopQuarter = {1, 2, 3, 0, 4, 5, 6, 7};
constexpr std::array<int, 8> kBottomQuarter = {0, 1, 2, 3, 5, 6, 7, 4};
constexpr std::array<int, 8> kSlashPlaces = {0, 1, 4, 5, 2, 3, 6, 7};

// Search limits: no phase needs more than these (the tables' longest counts), and the
// search stops at a solution this short or after this many positions with any.
constexpr int kPhase1Longest = 16;
constexpr int kPhase2Longest = 28;
constexpr int kTargetLength = 24;
constexpr std::int64_t kBudget = 300000;
constexpr int kCancelCheckEvery = 1024;

constexpr std::size_t Index(int i) { return static_cast<std::size_t>(i); }

bool IsCorner(int piece) { return piece < 8 ? piece % 2 == 0 : piece % 2 == 1; }

Mask Rotated(Mask mask, int by) { return by == 0 ? mask : ((mask << by) | (mask >> (kSq1Slots - by))) & kAllSlots; }
bool Twistable(Mask mask) { return (mask & kCut) == kCut; }
int Pieces(Mask mask) { return std::popcount(mask); }
int CornersOf(Mask mask) { return kSq1Slots - Pieces(mask); }

// Whether turning a layer by `by` changes the parity of the pieces' order read from
// twelfth 0: the pieces that pass twelfth 11 move from the end to the front.
int TurnParity(Mask mask, int by) {
  const int wrapped = by == 0 ? 0 : std::popcount(mask >> (kSq1Slots - by));
  return wrapped * (Pieces(mask) - wrapped) & 1;
}

Mask MaskOf(const std::array<std::uint8_t, kSq1Slots>& layer) {
  Mask mask = 0;
  for (int i = 0; i < kSq1Slots; ++i) {
    const int before = (i + kSq1Slots - 1) % kSq1Slots;
    if (!(IsCorner(layer[static_cast<std::size_t>(i)]) && layer[static_cast<std::size_t>(before)] == layer[static_cast<std::size_t>(i)])) mask |= 1U << i;
  }
  return mask;
}

// The pieces in reading order (top from twelfth 0, then bottom), each once.
int ParityOf(const Sq1State& state) {
  std::array<std::uint8_t, kSq1Pieces> order{};
  std::size_t n = 0;
  for (const auto* layer : {&state.top, &state.bottom}) {
    const Mask mask = MaskOf(*layer);
    for (int i = 0; i < kSq1Slots; ++i) {
      if ((mask >> i & 1U) != 0) order[n++] = (*layer)[static_cast<std::size_t>(i)];
    }
  }
  return IsOddPermutation(order) ? 1 : 0;
}

struct Shapes {
  std::array<std::int16_t, 1U << kSq1Slots> layerIndex{};  // -1 for layers the slash cannot turn
  std::vector<Mask> layers;
  std::vector<std::vector<int>> turns;  // per layer: the turns that keep it twistable
  std::vector<std::int16_t> pairIndex;  // [top * 169 + bottom], -1 if not eight corners
  std::vector<std::pair<int, int>> pairs;
};

// The ways to fill six twelfths with edges and corners: a piece starts at the first,
// and every twelfth no piece starts at is the second half of a corner starting just
// before it.
std::vector<Mask> HalfFillings() {
  std::vector<Mask> halves;
  for (Mask mask = 0; mask <= kLeftHalf; ++mask) {
    if ((mask & 1U) != 0 && ((mask | mask << 1) & kLeftHalf) == kLeftHalf) halves.push_back(mask);
  }
  return halves;
}

const Shapes& TheShapes() {
  static const Shapes shapes = [] {
    Shapes s;
    s.layerIndex.fill(-1);
    const std::vector<Mask> halves = HalfFillings();
    for (const Mask left : halves) {
      for (const Mask right : halves) {
        s.layerIndex[left | right << kHalf] = static_cast<std::int16_t>(s.layers.size());
        s.layers.push_back(left | right << kHalf);
      }
    }
    for (const Mask layer : s.layers) {
      std::vector<int> turns;
      for (int by = 0; by < kSq1Slots; ++by) {
        if (Twistable(Rotated(layer, by))) turns.push_back(by);
      }
      s.turns.push_back(std::move(turns));
    }
    s.pairIndex.assign(s.layers.size() * s.layers.size(), -1);
    for (std::size_t t = 0; t < s.layers.size(); ++t) {
      for (std::size_t b = 0; b < s.layers.size(); ++b) {
        if (CornersOf(s.layers[t]) + CornersOf(s.layers[b]) != kCornersPerShape) continue;
        s.pairIndex[t * s.layers.size() + b] = static_cast<std::int16_t>(s.pairs.size());
        s.pairs.emplace_back(static_cast<int>(t), static_cast<int>(b));
      }
    }
    if (static_cast<int>(s.layers.size()) != kTwistableLayers || static_cast<int>(s.pairs.size()) != kShapes) {
      throw std::logic_error("Square-1 shapes miscounted");
    }
    return s;
  }();
  return shapes;
}

int PairOf(Mask top, Mask bottom) {
  const Shapes& s = TheShapes();
  const int t = s.layerIndex[top];
  const int b = s.layerIndex[bottom];
  if (t < 0 || b < 0) return -1;
  return s.pairIndex[static_cast<std::size_t>(t) * s.layers.size() + static_cast<std::size_t>(b)];
}

// A shape, its pieces' parity and the middle: what phase 1 and the bound follow.
struct ShapeNode {
  Mask top;
  Mask bottom;
  int parity;
  int middle;
};

ShapeNode Turned(const ShapeNode& n, int top, int bottom) {
  return {Rotated(n.top, top), Rotated(n.bottom, bottom), n.parity ^ TurnParity(n.top, top) ^ TurnParity(n.bottom, bottom),
          n.middle};
}

ShapeNode Slashed(const ShapeNode& n) {
  // Top = left half, right half; bottom = right half, left half. The slash swaps the
  // two right halves, blocks of pieces next to each other in reading order.
  const Mask top = (n.top & kLeftHalf) | (n.bottom & kLeftHalf) << kHalf;
  const Mask bottom = n.top >> kHalf | (n.bottom & ~kLeftHalf & kAllSlots);
  const int swapped = Pieces(n.top >> kHalf) * Pieces(n.bottom & kLeftHalf);
  return {top, bottom, n.parity ^ (swapped & 1), n.middle ^ 1};
}

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

std::size_t ShapeIndex(const ShapeNode& n, bool withMiddle) {
  return (static_cast<std::size_t>(PairOf(n.top, n.bottom)) * 2 + static_cast<std::size_t>(n.parity)) *
             (withMiddle ? 2 : 1) +
         static_cast<std::size_t>(withMiddle ? n.middle : 0);
}

// Colours: which of the eight corners (or edges), read from twelfth 0 of the top then
// of the bottom, are top pieces, as one of the 70 ways to choose four.
constexpr int kColourings = 70;

// Where corners start (a piece starts there and the next twelfth is its second half)
// or edges do, in a layer with no corner across twelfth 0.
Mask CornerStarts(Mask mask) { return mask & ~((mask >> 1) | (mask << (kSq1Slots - 1))) & kAllSlots; }
Mask EdgeStarts(Mask mask) { return mask & ~CornerStarts(mask); }

const std::array<int, 256>& ColouringRanks() {
  static const std::array<int, 256> ranks = [] {
    std::array<int, 256> r{};
    int next = 0;
    for (unsigned bits = 0; bits < r.size(); ++bits) r[bits] = std::popcount(bits) == 4 ? next++ : -1;
    return r;
  }();
  return ranks;
}

// A list of `count` bits whose last `wrapped` come to the front.
unsigned RotatedList(unsigned bits, int count, int wrapped) {
  if (wrapped == 0 || count == 0) return bits;
  return ((bits >> (count - wrapped)) | (bits << wrapped)) & ((1U << count) - 1);
}

template <typename Starts>
unsigned TurnedColours(unsigned colours, Mask top, Mask bottom, int byTop, int byBottom, Starts starts) {
  const int inTop = std::popcount(starts(top));
  const int inBottom = std::popcount(starts(bottom));
  const auto wrapped = [](Mask s, int by) { return by == 0 ? 0 : std::popcount(s >> (kSq1Slots - by)); };
  const unsigned topBits = RotatedList(colours & ((1U << inTop) - 1), inTop, wrapped(starts(top), byTop));
  const unsigned bottomBits = RotatedList(colours >> inTop, inBottom, wrapped(starts(bottom), byBottom));
  return topBits | bottomBits << inTop;
}

template <typename Starts>
unsigned SlashedColours(unsigned colours, Mask top, Mask bottom, Starts starts) {
  // Top left, top right, bottom right, bottom left become top left, bottom right, top
  // right, bottom left.
  const int a = std::popcount(starts(top) & kLeftHalf);
  const int b = std::popcount(starts(top)) - a;
  const int c = std::popcount(starts(bottom) & kLeftHalf);
  const auto part = [&](int from, int count) { return (colours >> from) & ((1U << count) - 1); };
  return part(0, a) | part(a + b, c) << a | part(a, b) << (a + c) | (colours >> (a + b + c)) << (a + b + c);
}

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

ColourMoves BuildColourMoves() {
  const Shapes& s = TheShapes();
  ColourMoves all;
  std::array<unsigned, kColourings> colourings{};
  for (unsigned bits = 0; bits < 256; ++bits) {
    if (ColouringRanks()[bits] >= 0) colourings[static_cast<std::size_t>(ColouringRanks()[bits])] = bits;
  }
  // A reordering depends only on how many of the pieces lie in each part of the layers
  // (for a turn: in the top, and how many pass twelfth 11 in each layer; for the slash:
  // in each half), so it is made once per such count.
  constexpr int kCounts = 9;
  std::vector<std::int16_t> made(std::size_t{2} * kCounts * kCounts * kCounts, -1);
  const auto reorderingOf = [&](int key, const auto& apply) {
    std::int16_t& index = made[static_cast<std::size_t>(key)];
    if (index < 0) {
      std::array<std::uint8_t, kColourings> table{};
      for (int rank = 0; rank < kColourings; ++rank) {
        table[static_cast<std::size_t>(rank)] =
            static_cast<std::uint8_t>(ColouringRanks()[apply(colourings[static_cast<std::size_t>(rank)])]);
      }
      index = static_cast<std::int16_t>(all.reorderings.size());
      all.reorderings.push_back(table);
    }
    return static_cast<std::uint16_t>(index);
  };
  const auto wrapped = [](Mask starts, int by) { return by == 0 ? 0 : std::popcount(starts >> (kSq1Slots - by)); };
  const auto turnKey = [&](Mask top, Mask bottom, int byTop, int byBottom) {
    return (std::popcount(top) * kCounts + wrapped(top, byTop)) * kCounts + wrapped(bottom, byBottom);
  };
  const auto slashKey = [&](Mask top, Mask bottom) {
    const int a = std::popcount(top & kLeftHalf);
    return kCounts * kCounts * kCounts + (a * kCounts + std::popcount(top) - a) * kCounts + std::popcount(bottom & kLeftHalf);
  };
  for (const auto& [t, b] : s.pairs) {
    all.first.push_back(static_cast<std::uint32_t>(all.moves.size()));
    const Mask top = s.layers[static_cast<std::size_t>(t)];
    const Mask bottom = s.layers[static_cast<std::size_t>(b)];
    const Mask topCorners = CornerStarts(top), bottomCorners = CornerStarts(bottom);
    const Mask topEdges = EdgeStarts(top), bottomEdges = EdgeStarts(bottom);
    const ShapeNode slashed = Slashed({top, bottom, 0, 0});
    all.moves.push_back(
        {static_cast<std::uint16_t>(PairOf(slashed.top, slashed.bottom)),
         reorderingOf(slashKey(topCorners, bottomCorners),
                      [&](unsigned c) { return SlashedColours(c, top, bottom, CornerStarts); }),
         reorderingOf(slashKey(topEdges, bottomEdges), [&](unsigned c) { return SlashedColours(c, top, bottom, EdgeStarts); })});
    for (const int byTop : s.turns[static_cast<std::size_t>(t)]) {
      for (const int byBottom : s.turns[static_cast<std::size_t>(b)]) {
        if (byTop == 0 && byBottom == 0) continue;
        all.moves.push_back(
            {static_cast<std::uint16_t>(PairOf(Rotated(top, byTop), Rotated(bottom, byBottom))),
             reorderingOf(turnKey(topCorners, bottomCorners, byTop, byBottom),
                          [&](unsigned c) { return TurnedColours(c, top, bottom, byTop, byBottom, CornerStarts); }),
             reorderingOf(turnKey(topEdges, bottomEdges, byTop, byBottom),
                          [&](unsigned c) { return TurnedColours(c, top, bottom, byTop, byBottom, EdgeStarts); })});
      }
    }
  }
  all.first.push_back(static_cast<std::uint32_t>(all.moves.size()));
  return all;
}

// Breadth-first move counts to solved over shapes and colours.
std::vector<std::uint8_t> ColourDistances(const ColourMoves& all, bool corners) {
  std::vector<std::uint8_t> distances(static_cast<std::size_t>(kShapes) * kColourings, kUnknown);
  const Sq1State solved = Sq1State::Solved();
  const int pair = PairOf(MaskOf(solved.top), MaskOf(solved.bottom));
  const unsigned colours = corners ? ColoursOf(solved, CornerStarts) : ColoursOf(solved, EdgeStarts);
  std::vector<std::uint32_t> layer{static_cast<std::uint32_t>(pair * kColourings + ColouringRanks()[colours])};
  distances[layer.front()] = 0;
  for (int distance = 1; !layer.empty(); ++distance) {
    std::vector<std::uint32_t> next;
    for (const std::uint32_t cell : layer) {
      const std::uint32_t from = cell / kColourings;
      const std::uint32_t rank = cell % kColourings;
      for (std::uint32_t m = all.first[from]; m < all.first[from + 1]; ++m) {
        const ColourMoves::Move& move = all.moves[m];
        const std::uint32_t to = move.pair * static_cast<std::uint32_t>(kColourings) +
                                 all.reorderings[corners ? move.corners : move.edges][rank];
        if (distances[to] != kUnknown) continue;
        distances[to] = static_cast<std::uint8_t>(distance);
        next.push_back(to);
      }
    }
    layer = std::move(next);
  }
  return distances;
}

ShapeNode NodeOf(const Sq1State& state) {
  return {MaskOf(state.top), MaskOf(state.bottom), ParityOf(state), state.middleTurned ? 1 : 0};
}

// Where phase 2 ends: solved with the bottom a twelfth back, so both layers have the
// shape the slash keeps; a last turn of the bottom solves it.
Sq1State Phase2End() { return Sq1Apply(Sq1State::Solved(), {false, 0, kSq1Slots - 1}); }

// The cube shape the slash keeps comes in two alignments: both layers with corners at
// 0, 3, 6, 9 (alignment 0), or both turned a twelfth on (alignment 1). Phase 2 numbers
// each layer's corners from the first at or after twelfth 0, and its edges likewise,
// so the slash swaps places 2, 3 of the top with places 0, 1 of the bottom in both.
constexpr int kAlignments = 2;
constexpr int FirstCorner(int alignment) { return alignment; }
constexpr int FirstEdge(int alignment) { return (alignment + 2) % kQuarter; }

int AlignmentOf(const Sq1State& state) { return MaskOf(state.top) == kCubeMask ? 0 : 1; }

// Phase 2's labels: each piece by the place it has at the phase's end.
struct Phase2Labels {
  std::array<std::uint8_t, kSq1Pieces> label{};
};

const Phase2Labels& Labels() {
  static const Phase2Labels labels = [] {
    Phase2Labels l;
    const Sq1State end = Phase2End();
    for (int k = 0; k < kQuarters; ++k) {
      for (const int first : {FirstCorner(0), FirstEdge(0)}) {
        l.label[end.top[Index(kQuarter * k + first)]] = static_cast<std::uint8_t>(k);
        l.label[end.bottom[Index(kQuarter * k + first)]] = static_cast<std::uint8_t>(kQuarters + k);
      }
    }
    return l;
  }();
  return labels;
}

// The corners' or edges' order (the label at each place) in a cube-shaped state the
// slash keeps.
std::array<std::uint8_t, 8> Phase2Order(const Sq1State& state, bool corners) {
  const int alignment = AlignmentOf(state);
  const int first = corners ? FirstCorner(alignment) : FirstEdge(alignment);
  std::array<std::uint8_t, 8> order{};
  for (int k = 0; k < kQuarters; ++k) {
    order[Index(k)] = Labels().label[state.top[Index(kQuarter * k + first)]];
    order[Index(kQuarters + k)] = Labels().label[state.bottom[Index(kQuarter * k + first)]];
  }
  return order;
}

// A phase-2 turn: how far (in quarters) it moves the corner places and the edge places
// of each layer, and the alignment it leaves.
struct Phase2Turn {
  Sq1Move move;
  int cornerTop, cornerBottom, edgeTop, edgeBottom;
  int alignment;
};

// The places a layer's pieces move on when it turns `by` from `alignment` to `after`.
int PlaceShift(int first, int firstAfter, int by) { return (first + by - firstAfter) / kQuarter % kQuarters; }

const std::array<std::vector<Phase2Turn>, kAlignments>& Phase2Turns() {
  static const std::array<std::vector<Phase2Turn>, kAlignments> all = [] {
  std::array<std::vector<Phase2Turn>, kAlignments> turns;
  for (int alignment = 0; alignment < kAlignments; ++alignment) {
    for (int top = 0; top < kSq1Slots; ++top) {
      for (int bottom = 0; bottom < kSq1Slots; ++bottom) {
        const int after = (alignment + top) % kQuarter;
        if ((top == 0 && bottom == 0) || after >= kAlignments || (alignment + bottom) % kQuarter != after) continue;
        turns[static_cast<std::size_t>(alignment)].push_back(
            {{false, top, bottom},
             PlaceShift(FirstCorner(alignment), FirstCorner(after), top),
             PlaceShift(FirstCorner(alignment), FirstCorner(after), bottom),
             PlaceShift(FirstEdge(alignment), FirstEdge(after), top),
             PlaceShift(FirstEdge(alignment), FirstEdge(after), bottom),
             after});
      }
    }
  }
  return turns;
  }();
  return all;
}

// A relative order d (edge place -> corner place) after the corners move by `corners`
// and the edges by `edges`: d'(edges(p)) = corners(d(p)).
std::vector<std::uint16_t> PairsTable(const std::array<int, 8>& corners, const std::array<int, 8>& edges) {
  std::vector<std::uint16_t> table(kOrderCount);
  std::array<std::uint8_t, 8> d{};
  std::array<std::uint8_t, 8> moved{};
  for (int rank = 0; rank < kOrderCount; ++rank) {
    PermutationFromRank(rank, d);
    for (std::size_t p = 0; p < d.size(); ++p) {
      moved[static_cast<std::size_t>(edges[p])] = static_cast<std::uint8_t>(corners[d[p]]);
    }
    table[static_cast<std::size_t>(rank)] = static_cast<std::uint16_t>(PermutationRank(moved));
  }
  return table;
}

constexpr std::array<int, 8> kStay = {0, 1, 2, 3, 4, 5, 6, 7};

// The relative order of a cube-shaped state: for each edge place, the place of the
// corner whose label matches the edge's.
int PairsOf(const std::array<std::uint8_t, 8>& corners, const std::array<std::uint8_t, 8>& edges) {
  std::array<std::uint8_t, 8> placeOf{};
  for (std::size_t p = 0; p < corners.size(); ++p) placeOf[corners[p]] = static_cast<std::uint8_t>(p);
  std::array<std::uint8_t, 8> d{};
  for (std::size_t p = 0; p < edges.size(); ++p) d[p] = placeOf[edges[p]];
  return PermutationRank(d);
}

std::vector<std::uint16_t> PlaceTable(const std::array<int, 8>& to) {
  std::vector<std::uint16_t> table(kOrderCount);
  std::array<std::uint8_t, 8> order{};
  std::array<std::uint8_t, 8> moved{};
  for (int rank = 0; rank < kOrderCount; ++rank) {
    PermutationFromRank(rank, order);
    for (std::size_t p = 0; p < order.size(); ++p) moved[static_cast<std::size_t>(to[p])] = order[p];
    table[static_cast<std::size_t>(rank)] = static_cast<std::uint16_t>(PermutationRank(moved));
  }
  return table;
}

int NormalTurn(int twelfths) { return ((twelfths % kSq1Slots) + kSq1Slots) % kSq1Slots; }

// Turns and slashes with neighbouring turns merged and empty turns dropped.
std::vector<Sq1Move> Merged(const std::vector<Sq1Move>& moves) {
  std::vector<Sq1Move> merged;
  for (const Sq1Move& move : moves) {
    if (!move.slash && !merged.empty() && !merged.back().slash) {
      merged.back().top = NormalTurn(merged.back().top + move.top);
      merged.back().bottom = NormalTurn(merged.back().bottom + move.bottom);
      if (merged.back().top == 0 && merged.back().bottom == 0) merged.pop_back();
    } else if (move.slash && !merged.empty() && merged.back().slash) {
      merged.pop_back();
    } else if (move.slash || move.top != 0 || move.bottom != 0) {
      merged.push_back(move);
    }
  }
  return merged;
}

}  // namespace

Sq1State Sq1State::Solved() {
  return {{0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 6, 7}, {8, 9, 9, 10, 11, 11, 12, 13, 13, 14, 15, 15}, false};
}

bool Sq1State::Twistable() const { return tw::scramble::Twistable(MaskOf(top)) && tw::scramble::Twistable(MaskOf(bottom)); }

Sq1State Sq1Apply(const Sq1State& state, const Sq1Move& move) {
  Sq1State next = state;
  if (!move.slash) {
    for (int i = 0; i < kSq1Slots; ++i) {
      next.top[static_cast<std::size_t>((i + move.top) % kSq1Slots)] = state.top[static_cast<std::size_t>(i)];
      next.bottom[static_cast<std::size_t>((i + move.bottom) % kSq1Slots)] = state.bottom[static_cast<std::size_t>(i)];
    }
    return next;
  }
  if (!state.Twistable()) return state;
  // The right half turns over: top twelfths 6..11 become bottom 0..5 and back, in the
  // same order (both layers count clockwise as seen from their own side).
  for (int i = 0; i < kHalf; ++i) {
    next.top[Index(kHalf + i)] = state.bottom[Index(i)];
    next.bottom[Index(i)] = state.top[Index(kHalf + i)];
  }
  next.middleTurned = !state.middleTurned;
  return next;
}

std::string Sq1Text(const Sq1State& state) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string text;
  for (const std::uint8_t piece : state.top) text += kDigits[piece];
  for (const std::uint8_t piece : state.bottom) text += kDigits[piece];
  text += state.middleTurned ? '/' : '-';
  return text;
}

std::string FormatSq1Moves(const std::vector<Sq1Move>& moves) {
  const auto shown = [](int twelfths) { return std::to_string(twelfths > kHalf ? twelfths - kSq1Slots : twelfths); };
  std::string text;
  for (const Sq1Move& move : moves) {
    if (move.slash) {
      if (!text.empty() && text.back() == ')') {
        text += '/';
      } else {
        if (!text.empty()) text += ' ';
        text += '/';
      }
      continue;
    }
    if (!text.empty()) text += ' ';
    text += '(';
    text += shown(move.top);
    text += ',';
    text += shown(move.bottom);
    text += ')';
  }
  return text;
}

std::optional<std::vector<Sq1Move>> ParseSq1Moves(std::string_view text) {
  std::vector<Sq1Move> moves;
  if (text.empty()) return moves;
  const auto number = [](std::string_view digits, int& value) {
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() && value >= 1 - kHalf && value <= kHalf;
  };
  for (;;) {
    const std::size_t blank = text.find(' ');
    std::string_view word = text.substr(0, blank);
    if (word != "/") {
      const bool slash = !word.empty() && word.back() == '/';
      if (slash) word.remove_suffix(1);
      const std::size_t comma = word.find(',');
      if (word.size() < 5 || word.front() != '(' || word.back() != ')' || comma == std::string_view::npos) return std::nullopt;
      int top = 0, bottom = 0;
      if (!number(word.substr(1, comma - 1), top) || !number(word.substr(comma + 1, word.size() - comma - 2), bottom)) {
        return std::nullopt;
      }
      if (top == 0 && bottom == 0) return std::nullopt;
      moves.push_back({false, NormalTurn(top), NormalTurn(bottom)});
      if (slash) moves.push_back({true, 0, 0});
    } else {
      moves.push_back({true, 0, 0});
    }
    if (blank == std::string_view::npos) return moves;
    text.remove_prefix(blank + 1);
  }
}

std::optional<Sq1State> Sq1After(std::string_view text) {
  const auto moves = ParseSq1Moves(text);
  if (!moves) return std::nullopt;
  Sq1State state = Sq1State::Solved();
  for (const Sq1Move& move : *moves) {
    if (move.slash && !state.Twistable()) return std::nullopt;
    state = Sq1Apply(state, move);
  }
  return state;
}

int Square1::ShapeCount() { return kShapes; }

int Square1::ShapeOf(const Sq1State& state) { return PairOf(MaskOf(state.top), MaskOf(state.bottom)); }

Square1::Square1()
    : topQuarter_(PlaceTable(kTopQuarter)),
      bottomQuarter_(PlaceTable(kBottomQuarter)),
      slash_(PlaceTable(kSlashPlaces)),
      pairsCornerTop_(PairsTable(kTopQuarter, kStay)),
      pairsCornerBottom_(PairsTable(kBottomQuarter, kStay)),
      pairsEdgeTop_(PairsTable(kStay, kTopQuarter)),
      pairsEdgeBottom_(PairsTable(kStay, kBottomQuarter)),
      pairsSlash_(PairsTable(kSlashPlaces, kSlashPlaces)) {
  // Phase 1 ends in either alignment, with the parity of phase 2's end seen there.
  const Sq1State end = Phase2End();
  const ShapeNode ends[kAlignments] = {NodeOf(end), NodeOf(Sq1Apply(end, {false, 1, 1}))};
  toCube_ = ShapeDistances(false, [&](const ShapeNode& n) {
    return std::any_of(std::begin(ends), std::end(ends), [&](const ShapeNode& e) {
      return n.top == e.top && n.bottom == e.bottom && n.parity == e.parity;
    });
  });
  const ShapeNode solved = NodeOf(Sq1State::Solved());
  toSolved_ = ShapeDistances(true, [&](const ShapeNode& n) {
    return n.top == solved.top && n.bottom == solved.bottom && n.parity == 0 && n.middle == 0;
  });
  const ColourMoves colourMoves = BuildColourMoves();
  cornerColours_ = ColourDistances(colourMoves, true);
  edgeColours_ = ColourDistances(colourMoves, false);
  // Phase 2: every order and middle, breadth-first from the phase's end.
  phase2_.assign(static_cast<std::size_t>(kOrderCount) * 2, kUnknown);
  phase2_[0] = 0;
  std::vector<int> layer{0};
  for (int distance = 1; !layer.empty(); ++distance) {
    std::vector<int> next;
    const auto reach = [&](int rank, int middle) {
      std::uint8_t& d = phase2_[static_cast<std::size_t>(rank) * 2 + static_cast<std::size_t>(middle)];
      if (d != kUnknown) return;
      d = static_cast<std::uint8_t>(distance);
      next.push_back(rank * 2 + middle);
    };
    for (const int cell : layer) {
      const int rank = cell / 2;
      const int middle = cell % 2;
      reach(slash_[static_cast<std::size_t>(rank)], middle ^ 1);
      int topTurned = rank;
      for (int a = 0; a < kQuarters; ++a) {
        int turned = topTurned;
        for (int b = 0; b < kQuarters; ++b) {
          if (a != 0 || b != 0) reach(turned, middle);
          turned = bottomQuarter_[static_cast<std::size_t>(turned)];
        }
        topTurned = topQuarter_[static_cast<std::size_t>(topTurned)];
      }
    }
    layer = std::move(next);
  }
  // The relative order in each alignment, breadth-first from as solved in alignment 0.
  pairs_.assign(static_cast<std::size_t>(kOrderCount) * kAlignments, kUnknown);
  pairs_[0] = 0;
  layer = {0};
  const auto shifted = [](const std::vector<std::uint16_t>& top, const std::vector<std::uint16_t>& bottom, int order,
                          int topQuarters, int bottomQuarters) {
    for (int k = 0; k < topQuarters; ++k) order = top[static_cast<std::size_t>(order)];
    for (int k = 0; k < bottomQuarters; ++k) order = bottom[static_cast<std::size_t>(order)];
    return order;
  };
  for (int distance = 1; !layer.empty(); ++distance) {
    std::vector<int> next;
    const auto reach = [&](int pairs, int alignment) {
      std::uint8_t& d = pairs_[static_cast<std::size_t>(pairs) * kAlignments + static_cast<std::size_t>(alignment)];
      if (d != kUnknown) return;
      d = static_cast<std::uint8_t>(distance);
      next.push_back(pairs * kAlignments + alignment);
    };
    for (const int cell : layer) {
      const int pairs = cell / kAlignments;
      const int alignment = cell % kAlignments;
      reach(pairsSlash_[static_cast<std::size_t>(pairs)], alignment);
      for (const Phase2Turn& turn : Phase2Turns()[static_cast<std::size_t>(alignment)]) {
        const int byCorners = shifted(pairsCornerTop_, pairsCornerBottom_, pairs, turn.cornerTop, turn.cornerBottom);
        reach(shifted(pairsEdgeTop_, pairsEdgeBottom_, byCorners, turn.edgeTop, turn.edgeBottom), turn.alignment);
      }
    }
    layer = std::move(next);
  }
}

std::size_t Square1::TableBytes() const {
  return toCube_.size() + toSolved_.size() + cornerColours_.size() + edgeColours_.size() + phase2_.size() +
         pairs_.size() +
         (topQuarter_.size() + bottomQuarter_.size() + slash_.size() + pairsCornerTop_.size() +
          pairsCornerBottom_.size() + pairsEdgeTop_.size() + pairsEdgeBottom_.size() + pairsSlash_.size()) *
             sizeof(std::uint16_t);
}

Sq1State Square1::Random(std::mt19937_64& rng) const {
  const Shapes& s = TheShapes();
  const auto& [t, b] = s.pairs[UniformBelow(rng, s.pairs.size())];
  std::array<std::uint8_t, 8> corners = {0, 2, 4, 6, 9, 11, 13, 15};
  std::array<std::uint8_t, 8> edges = {1, 3, 5, 7, 8, 10, 12, 14};
  for (auto* pieces : {&corners, &edges}) {
    for (std::size_t i = pieces->size(); i > 1; --i) std::swap((*pieces)[i - 1], (*pieces)[UniformBelow(rng, i)]);
  }
  Sq1State state;
  std::size_t corner = 0, edge = 0;
  const auto fill = [&](std::array<std::uint8_t, kSq1Slots>& layer, Mask mask) {
    for (int i = 0; i < kSq1Slots; ++i) {
      if ((mask >> i & 1U) == 0) continue;
      const bool isCorner = i + 1 < kSq1Slots && (mask >> (i + 1) & 1U) == 0;
      if (isCorner) {
        layer[Index(i)] = layer[Index(i + 1)] = corners[corner++];
      } else {
        layer[static_cast<std::size_t>(i)] = edges[edge++];
      }
    }
  };
  fill(state.top, s.layers[static_cast<std::size_t>(t)]);
  fill(state.bottom, s.layers[static_cast<std::size_t>(b)]);
  state.middleTurned = UniformBelow(rng, 2) == 1;
  return state;
}

// One solve in three phases, each with exact move counts: phase 1 brings the shape to
// the cube shape the slash keeps, phase 2 puts every edge back beside the corner it
// follows when solved (in alignment 0), and phase 3 solves from there with moves that
// keep corners and edges in pairs. Phase-1 sequences are tried in order of length, each
// continued by every shortest phase 2, and each such ending is scored by phase 3's
// count; the best goes on to phase 3 once the total is short enough or the budget is
// spent.
class Sq1Search {
 public:
  Sq1Search(const Square1& tables, const Sq1State& start, const std::atomic<bool>* cancel)
      : tables_(tables), start_(start), cancel_(cancel) {}

  std::vector<Sq1Move> Run() {
    const ShapeNode node = NodeOf(start_);
    for (int length = tables_.toCube_[ShapeIndex(node, false)]; length <= kPhase1Longest && !Done(); ++length) {
      if (length >= bestEstimate_) break;
      Phase1(node, false, false, length);
    }
    if (bestPrefix_.empty() && bestEstimate_ > kPhase1Longest + kPhase2Longest) return {};
    std::vector<Sq1Move> moves = bestPrefix_;
    Phase3(bestEnd_, moves);
    moves.push_back({false, 0, 1});  // phase 3 ends a twelfth of the bottom short of solved
    return Merged(moves);
  }

  // Whether a sequence of at most `longest` moves solves the state.
  bool Within(int longest) {
    for (int length = SolvedBound(start_); length <= longest; ++length) {
      if (Bounded(start_, false, false, length)) return true;
    }
    return false;
  }

 private:
  // Where phase 2 stands: the corners' and edges' orders, their relative order, the
  // middle and the alignment.
  struct Phase2Position {
    int corners;
    int edges;
    int pairs;
    int middle;
    int alignment;
  };

  bool Done() const {
    if (cancel_ != nullptr && cancel_->load(std::memory_order_relaxed)) return true;
    return bestEstimate_ <= kTargetLength || (!bestPrefix_.empty() && visited_ >= kBudget);
  }

  void Phase1(const ShapeNode& node, bool afterTurn, bool afterSlash, int togo) {
    if (++visited_ % kCancelCheckEvery == 0 && Done()) return;
    if (tables_.toCube_[ShapeIndex(node, false)] > togo) return;
    if (togo == 0) {
      Phase2From();
      return;
    }
    if (!afterSlash) {
      path_.push_back({true, 0, 0});
      Phase1(Slashed(node), false, true, togo - 1);
      path_.pop_back();
    }
    if (afterTurn) return;
    const Shapes& s = TheShapes();
    for (const int top : s.turns[static_cast<std::size_t>(s.layerIndex[node.top])]) {
      for (const int bottom : s.turns[static_cast<std::size_t>(s.layerIndex[node.bottom])]) {
        if (top == 0 && bottom == 0) continue;
        path_.push_back({false, top, bottom});
        Phase1(Turned(node, top, bottom), true, false, togo - 1);
        path_.pop_back();
        if (Done()) return;
      }
    }
  }

  void Phase2From() {
    Sq1State state = start_;
    for (const Sq1Move& move : path_) state = Sq1Apply(state, move);
    const auto corners = Phase2Order(state, true);
    const auto edges = Phase2Order(state, false);
    const Phase2Position start{PermutationRank(corners), PermutationRank(edges), PairsOf(corners, edges),
                               state.middleTurned ? 1 : 0, AlignmentOf(state)};
    const bool afterTurn = !path_.empty() && !path_.back().slash;
    const bool afterSlash = !path_.empty() && path_.back().slash;
    const int shortest = Phase2Bound(start);
    if (static_cast<int>(path_.size()) + shortest >= bestEstimate_) return;
    Phase2(start, afterTurn, afterSlash, shortest);
  }

  int Phase2Bound(const Phase2Position& at) const {
    return tables_.pairs_[static_cast<std::size_t>(at.pairs) * kAlignments + static_cast<std::size_t>(at.alignment)];
  }

  static int Shifted(const std::vector<std::uint16_t>& top, const std::vector<std::uint16_t>& bottom, int order,
                     int topQuarters, int bottomQuarters) {
    for (int k = 0; k < topQuarters; ++k) order = top[static_cast<std::size_t>(order)];
    for (int k = 0; k < bottomQuarters; ++k) order = bottom[static_cast<std::size_t>(order)];
    return order;
  }

  Phase2Position Phase2Turned(const Phase2Position& at, const Phase2Turn& turn) const {
    const Square1& t = tables_;
    int pairs = Shifted(t.pairsCornerTop_, t.pairsCornerBottom_, at.pairs, turn.cornerTop, turn.cornerBottom);
    pairs = Shifted(t.pairsEdgeTop_, t.pairsEdgeBottom_, pairs, turn.edgeTop, turn.edgeBottom);
    return {Shifted(t.topQuarter_, t.bottomQuarter_, at.corners, turn.cornerTop, turn.cornerBottom),
            Shifted(t.topQuarter_, t.bottomQuarter_, at.edges, turn.edgeTop, turn.edgeBottom), pairs, at.middle,
            turn.alignment};
  }

  Phase2Position Phase2Slashed(const Phase2Position& at) const {
    return {tables_.slash_[static_cast<std::size_t>(at.corners)], tables_.slash_[static_cast<std::size_t>(at.edges)],
            tables_.pairsSlash_[static_cast<std::size_t>(at.pairs)], at.middle ^ 1, at.alignment};
  }

  // Every shortest phase 2 from here, each ending scored.
  void Phase2(const Phase2Position& at, bool afterTurn, bool afterSlash, int togo) {
    if (++visited_ % kCancelCheckEvery == 0 && Done()) return;
    if (Phase2Bound(at) > togo) return;
    if (togo == 0) {
      Score(at);
      return;
    }
    if (!afterSlash) {
      path_.push_back({true, 0, 0});
      Phase2(Phase2Slashed(at), false, true, togo - 1);
      path_.pop_back();
    }
    if (afterTurn) return;
    for (const Phase2Turn& turn : Phase2Turns()[static_cast<std::size_t>(at.alignment)]) {
      path_.push_back(turn.move);
      Phase2(Phase2Turned(at, turn), true, false, togo - 1);
      path_.pop_back();
      if (Done()) return;
    }
  }

  // Phase 3's count from a paired position, and one more for the last turn.
  void Score(const Phase2Position& at) {
    const int estimate = static_cast<int>(path_.size()) +
                         tables_.phase2_[static_cast<std::size_t>(at.corners) * 2 + static_cast<std::size_t>(at.middle)] + 1;
    if (estimate >= bestEstimate_) return;
    bestEstimate_ = estimate;
    bestPrefix_ = path_;
    bestEnd_ = at;
  }

  // Phase 3 by its table: each move one closer, corners and edges turning together.
  void Phase3(Phase2Position at, std::vector<Sq1Move>& moves) const {
    const auto distance = [&](int order, int middle) {
      return tables_.phase2_[static_cast<std::size_t>(order) * 2 + static_cast<std::size_t>(middle)];
    };
    while (at.corners != 0 || at.middle != 0) {
      const int here = distance(at.corners, at.middle);
      const int slashed = tables_.slash_[static_cast<std::size_t>(at.corners)];
      if (distance(slashed, at.middle ^ 1) == here - 1) {
        moves.push_back({true, 0, 0});
        at.corners = slashed;
        at.middle ^= 1;
        continue;
      }
      bool moved = false;
      for (int a = 0; a < kQuarters && !moved; ++a) {
        for (int b = 0; b < kQuarters && !moved; ++b) {
          const int turned = Shifted(tables_.topQuarter_, tables_.bottomQuarter_, at.corners, a, b);
          if ((a == 0 && b == 0) || distance(turned, at.middle) != here - 1) continue;
          moves.push_back({false, kQuarter * a, kQuarter * b});
          at.corners = turned;
          moved = true;
        }
      }
      if (!moved) throw std::logic_error("the Square-1 phase-3 table has a gap");
    }
  }

  // A search on whole states bounded by the move counts to solved.
  int SolvedBound(const Sq1State& state) const {
    const int pair = Square1::ShapeOf(state);
    const auto colours = [&](const std::vector<std::uint8_t>& table, unsigned bits) {
      return table[static_cast<std::size_t>(pair) * kColourings + static_cast<std::size_t>(ColouringRanks()[bits])];
    };
    return std::max({tables_.toSolved_[ShapeIndex(NodeOf(state), true)],
                     colours(tables_.cornerColours_, ColoursOf(state, CornerStarts)),
                     colours(tables_.edgeColours_, ColoursOf(state, EdgeStarts))});
  }

  bool Bounded(const Sq1State& state, bool afterTurn, bool afterSlash, int togo) {
    if (SolvedBound(state) > togo) return false;
    if (state == Sq1State::Solved()) return true;
    if (togo == 0) return false;
    if (!afterSlash && Bounded(Sq1Apply(state, {true, 0, 0}), false, true, togo - 1)) return true;
    if (afterTurn) return false;
    const Shapes& s = TheShapes();
    const Mask top = MaskOf(state.top);
    const Mask bottom = MaskOf(state.bottom);
    for (const int t : s.turns[static_cast<std::size_t>(s.layerIndex[top])]) {
      for (const int b : s.turns[static_cast<std::size_t>(s.layerIndex[bottom])]) {
        if ((t != 0 || b != 0) && Bounded(Sq1Apply(state, {false, t, b}), true, false, togo - 1)) return true;
      }
    }
    return !afterTurn && OneTurnFromSolved(state);
  }

  // Whether one turn solves the state: the turn that brings the first piece of each
  // layer home.
  static bool OneTurnFromSolved(const Sq1State& state) {
    const Sq1State solved = Sq1State::Solved();
    const auto homeTurn = [](const std::array<std::uint8_t, kSq1Slots>& layer, std::uint8_t first) {
      for (int i = 0; i < kSq1Slots; ++i) {
        const int next = (i + 1) % kSq1Slots;
        if (layer[static_cast<std::size_t>(i)] == first && layer[static_cast<std::size_t>(next)] != first) {
          return IsCorner(first) ? NormalTurn(1 - i) : NormalTurn(-i);
        }
      }
      return 0;
    };
    return Sq1Apply(state, {false, homeTurn(state.top, solved.top[0]), homeTurn(state.bottom, solved.bottom[0])}) == solved;
  }

  const Square1& tables_;
  const Sq1State start_;
  const std::atomic<bool>* cancel_;
  std::vector<Sq1Move> path_;
  std::vector<Sq1Move> bestPrefix_;  // phases 1 and 2 of the best so far
  Phase2Position bestEnd_{};
  int bestEstimate_ = kPhase1Longest + kPhase2Longest + 1;
  std::int64_t visited_ = 0;
};

bool Square1::SolvedWithin(const Sq1State& state, int moves) const {
  if (!state.Twistable()) throw std::invalid_argument("a Square-1 state the slash cannot turn");
  return Sq1Search(*this, state, nullptr).Within(moves - 1);
}

std::vector<Sq1Move> Square1::MovesReaching(const Sq1State& state, const std::atomic<bool>* cancel) const {
  if (!state.Twistable()) throw std::invalid_argument("a Square-1 state the slash cannot turn");
  std::vector<Sq1Move> solution = Sq1Search(*this, state, cancel).Run();
  // Undone: last first, each turn the other way (a slash undoes itself).
  std::reverse(solution.begin(), solution.end());
  for (Sq1Move& move : solution) {
    move.top = NormalTurn(-move.top);
    move.bottom = NormalTurn(-move.bottom);
  }
  return solution;
}

}  // namespace tw::scramble
