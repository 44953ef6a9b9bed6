#include "scramble/square1/square1_cube_shape.h"

#include "scramble/cube333/coordinates.h"

namespace tw::scramble::sq1 {
namespace {

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

// The places a layer's pieces move on when it turns `by` from `alignment` to `after`.
int PlaceShift(int first, int firstAfter, int by) { return (first + by - firstAfter) / kQuarter % kQuarters; }

}  // namespace

Sq1State Phase2End() { return Sq1Apply(Sq1State::Solved(), {false, 0, kSq1Slots - 1}); }

int AlignmentOf(const Sq1State& state) { return MaskOf(state.top) == kCubeMask ? 0 : 1; }

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

}  // namespace tw::scramble::sq1
