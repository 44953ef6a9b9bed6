#include "scramble/square1/square1.h"

#include <algorithm>
#include <iterator>

#include "scramble/cube333/random_state.h"
#include "scramble/square1/square1_cube_shape.h"
#include "scramble/square1/square1_layers.h"
#include "scramble/square1/square1_shapes.h"

namespace tw::scramble {

using namespace sq1;

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

}  // namespace tw::scramble
