#include "scramble/square1/square1_shapes.h"

#include <bit>
#include <stdexcept>

namespace tw::scramble::sq1 {
namespace {

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

}  // namespace

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

std::size_t ShapeIndex(const ShapeNode& n, bool withMiddle) {
  return (static_cast<std::size_t>(PairOf(n.top, n.bottom)) * 2 + static_cast<std::size_t>(n.parity)) *
             (withMiddle ? 2 : 1) +
         static_cast<std::size_t>(withMiddle ? n.middle : 0);
}

const std::array<int, 256>& ColouringRanks() {
  static const std::array<int, 256> ranks = [] {
    std::array<int, 256> r{};
    int next = 0;
    for (unsigned bits = 0; bits < r.size(); ++bits) r[bits] = std::popcount(bits) == 4 ? next++ : -1;
    return r;
  }();
  return ranks;
}

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

}  // namespace tw::scramble::sq1
