#include "scramble/cube444/reduction_tables.h"

#include <atomic>
#include <bit>
#include <numeric>
#include <stdexcept>

namespace tw::scramble::cube444 {
namespace {

constexpr int kMaskBits = 24;
constexpr std::uint32_t kKindMask = (1u << kKindSlots) - 1;
constexpr std::uint32_t kMiddleMask = 0xF00;  // dedge slots 8..11
constexpr int kAxisCentres = 8;
constexpr int kFreeCentres = 16;

struct Binomials {
  std::array<std::array<std::uint32_t, kMaskBits + 1>, kMaskBits + 1> c{};
  Binomials() {
    for (int n = 0; n <= kMaskBits; ++n) {
      c[n][0] = 1;
      for (int k = 1; k <= n; ++k) c[n][k] = c[n - 1][k - 1] + (k <= n - 1 ? c[n - 1][k] : 0);
    }
  }
};
const Binomials kBinomials;

std::uint32_t Choose(int n, int k) { return k < 0 || k > n ? 0 : kBinomials.c[n][k]; }

// The bits of `mask` at the places `within` marks, packed together.
std::uint32_t Packed(std::uint32_t mask, std::uint32_t within) {
  std::uint32_t packed = 0;
  for (int at = 0; within != 0; ++at, within &= within - 1) {
    if (mask & within & (~within + 1)) packed |= 1u << at;
  }
  return packed;
}

// Breadth-first distances from the goals over states numbered 0..size-1.
// `neighbours(state, reach)` calls reach on each state one turn away and stops when it
// returns true. The early layers spread forward from the states just reached; once
// the layer is larger than what is left, each state not yet reached looks for a
// neighbour in the layer instead and stops at the first: far fewer reads. Both give
// the same distances because every turn set here holds each turn's inverse.
// Once `cancel` is true it stops between layers by throwing TablesCancelled.
template <typename Neighbours>
std::vector<std::uint8_t> Distances(const std::atomic<bool>* cancel, std::size_t size, const std::vector<std::uint32_t>& goals,
                                    Neighbours neighbours) {
  std::vector<std::uint8_t> distance(size, kUnreached);
  std::vector<std::uint32_t> frontier;
  for (const std::uint32_t g : goals) {
    if (distance[g] == 0) continue;
    distance[g] = 0;
    frontier.push_back(g);
  }
  std::size_t left = size - frontier.size();
  std::size_t layer = frontier.size();
  std::vector<std::uint32_t> next;
  for (std::uint8_t depth = 0; layer != 0 && left != 0; ++depth) {
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) throw TablesCancelled();
    const auto reached = static_cast<std::uint8_t>(depth + 1);
    next.clear();
    if (layer < left) {
      for (const std::uint32_t state : frontier) {
        neighbours(state, [&](std::uint32_t near) {
          if (distance[near] == kUnreached) {
            distance[near] = reached;
            next.push_back(near);
          }
          return false;
        });
      }
    } else {
      for (std::uint32_t state = 0; state < size; ++state) {
        if (distance[state] != kUnreached) continue;
        neighbours(state, [&](std::uint32_t near) {
          if (distance[near] != depth) return false;
          next.push_back(state);
          return true;
        });
      }
      for (const std::uint32_t state : next) distance[state] = reached;
    }
    layer = next.size();
    left -= layer;
    frontier.swap(next);
  }
  return distance;
}

bool AnyTurn(Turn) { return true; }
bool KeepsLeftRight(Turn t) { return !IsWide(t) || AxisOfKind(KindOf(t)) == 1 || QuarterTurnsOf(t) == 2; }
// U and D turns and half turns but those of R, L, F and B quarter: the middle layer's
// dedge slots keep to themselves, and so do the U and D layers'.
bool KeepsLayers(Turn t) { return QuarterTurnsOf(t) == 2 || KindOf(t) == 0 || KindOf(t) == 3; }
bool KeepsAxes(Turn t) { return !IsWide(t) || QuarterTurnsOf(t) == 2; }
bool KeepsLayersAndKinds(Turn t) { return KeepsWingKinds(t) && KeepsLayers(t); }

std::vector<Turn> TurnsWhere(bool (*keep)(Turn)) {
  std::vector<Turn> turns;
  for (int t = 0; t < kTurns; ++t) {
    if (KindOf(static_cast<Turn>(t)) < kHeldCornerKinds && keep(static_cast<Turn>(t))) turns.push_back(static_cast<Turn>(t));
  }
  return turns;
}

template <std::size_t N>
bool IsOddOrder(const std::array<std::uint8_t, N>& order) {
  bool odd = false;
  for (std::size_t i = 0; i < N; ++i) {
    for (std::size_t j = i + 1; j < N; ++j) odd ^= order[i] > order[j];
  }
  return odd;
}

// An orientation set (the wing slots holding a wing of the other kind) as a number:
// as many in each half, so the sets of k and k are numbered together.
struct OrientationIndex {
  std::array<std::uint32_t, kKindSlots + 1> offset{};
  std::uint32_t size = 0;
  OrientationIndex() {
    for (int k = 0; k <= kKindSlots; ++k) {
      offset[k] = size;
      size += Choose(kKindSlots, k) * Choose(kKindSlots, k);
    }
  }
  std::uint32_t Of(std::uint32_t mask) const {
    const std::uint32_t low = mask & kKindMask;
    const int k = std::popcount(low);
    return offset[k] + RankSet(low) * Choose(kKindSlots, k) + RankSet(mask >> kKindSlots);
  }
};
const OrientationIndex kOrientation;

// A set's rank a byte at a time: each byte's share given the bits below it.
struct SetRanks {
  std::array<std::array<std::array<std::uint32_t, kMaskBits + 1>, 256>, 3> share{};
  SetRanks() {
    for (int b = 0; b < 3; ++b) {
      for (std::uint32_t value = 0; value < 256; ++value) {
        for (int below = 0; below + std::popcount(value) <= kMaskBits; ++below) {
          std::uint32_t rank = 0;
          int seen = below;
          for (std::uint32_t m = value; m != 0; m &= m - 1) rank += Choose(8 * b + std::countr_zero(m), ++seen);
          share[b][value][below] = rank;
        }
      }
    }
  }
};
// Built on first use, by the first tables built: a program with no 4x4x4 session
// never pays for it.
const SetRanks& Ranks() {
  static const SetRanks ranks;
  return ranks;
}

}  // namespace

std::uint32_t RankSet(std::uint32_t mask) {
  const std::uint32_t low = mask & 0xFF;
  const std::uint32_t mid = mask >> 8 & 0xFF;
  const int lowBits = std::popcount(low);
  const SetRanks& ranks = Ranks();
  return ranks.share[0][low][0] + ranks.share[1][mid][lowBits] + ranks.share[2][mask >> 16][lowBits + std::popcount(mid)];
}

std::uint32_t KindsRank(std::uint32_t mask) { return kOrientation.Of(mask); }

int RankOrder(const std::uint8_t* order, int n) {
  int rank = 0;
  for (int i = 0; i < n; ++i) {
    int smaller = 0;
    for (int j = i + 1; j < n; ++j) smaller += order[j] < order[i];
    rank = rank * (n - i) + smaller;
  }
  return rank;
}

void UnrankOrder(int rank, int n, std::uint8_t* order) {
  std::array<int, 8> digit{};
  for (int i = n - 1; i >= 0; --i) {
    digit[static_cast<std::size_t>(i)] = rank % (n - i);
    rank /= n - i;
  }
  std::uint32_t unused = (1u << n) - 1;
  for (int i = 0; i < n; ++i) {
    std::uint32_t pick = unused;
    for (int k = 0; k < digit[static_cast<std::size_t>(i)]; ++k) pick &= pick - 1;
    const int item = std::countr_zero(pick);
    order[i] = static_cast<std::uint8_t>(item);
    unused &= ~(1u << item);
  }
}

void ReductionTables::SetMoves::Fill(Turn turn, const std::array<std::uint8_t, 24>& to) {
  for (int b = 0; b < 3; ++b) {
    for (int value = 0; value < 256; ++value) {
      std::uint32_t moved = 0;
      for (int bit = 0; bit < 8; ++bit) {
        if (value >> bit & 1) moved |= 1u << to[static_cast<std::size_t>(b * 8 + bit)];
      }
      byte[turn][b][value] = moved;
    }
  }
}

ReductionTables::ReductionTables(const Model& model, const std::atomic<bool>* cancel) : cancel_(cancel) {
  turns = {TurnsWhere(AnyTurn), TurnsWhere(KeepsLeftRight), TurnsWhere(KeepsAxes), TurnsWhere(KeepsWingKinds),
           TurnsWhere(KeepsLayersAndKinds)};
  BuildMoves(model);
  BuildLeftRight();
  BuildKinds();
  BuildCentresHome(model);
  BuildCentresOnAxes();
  BuildAxesHomeable();
  BuildMiddleSets();
  BuildPairing();
}

std::size_t ReductionTables::Bytes() const {
  return sizeof(*this) + leftRight.size() + centresOnAxes.size() + kinds.size() + axisMoves.size() * sizeof(axisMoves[0]) +
         centresHome.size() + centresHomeable.size() + fourMoves.size() * sizeof(fourMoves[0]) + middleSets.size() +
         middleOrderMoves.size() * sizeof(middleOrderMoves[0]) + outerOrderMoves.size() * sizeof(outerOrderMoves[0]) +
         pairing.size();
}

void ReductionTables::BuildMoves(const Model& model) {
  for (int f = 0; f < kCentres; ++f) {
    if (model.CentreFace(f) == 1 || model.CentreFace(f) == 4) lrGoal |= 1u << f;
    if (model.CentreFace(f) == 0 || model.CentreFace(f) == 3) udGoal |= 1u << f;
  }
  freeSlots = ~lrGoal & ((1u << kMaskBits) - 1);
  for (int b = 0; b < 3; ++b) {
    for (std::uint32_t value = 0; value < 256; ++value) {
      packFree_[b][value] = static_cast<std::uint16_t>(Packed(value << 8 * b, freeSlots));
    }
  }
  for (int t = 0; t < kTurns; ++t) {
    const auto turn = static_cast<Turn>(t);
    centreSets.Fill(turn, model.CentreTo(turn));
    wingSets.Fill(turn, model.WingTo(turn));
    wingTo[t] = model.WingTo(turn);
    std::array<std::uint8_t, kWings> order{};
    for (int w = 0; w < kWings; ++w) {
      const int to = model.WingTo(turn)[w];
      order[to] = static_cast<std::uint8_t>(w);
      if ((w < kKindSlots) != (to < kKindSlots)) kindSwaps[t] |= 1u << to;
    }
    if (KeepsWingKinds(turn) && kindSwaps[t] != 0) throw std::logic_error("a turn mixes the wings' kinds");
    wingsOdd[t] = IsOddOrder(order);
    if (!KeepsWingKinds(turn)) continue;
    std::array<std::uint8_t, kKindSlots> firstKind{};
    for (int w = 0; w < kKindSlots; ++w) {
      firstTo[t][w] = model.WingTo(turn)[w];
      secondTo[t][w] = static_cast<std::uint8_t>(model.WingTo(turn)[kKindSlots + w] - kKindSlots);
      firstKind[firstTo[t][w]] = static_cast<std::uint8_t>(w);
    }
    parityFlips[t] = IsOddOrder(firstKind) != Model::SwapsCornerParity(turn);
  }
  for (int axis = 0; axis < 3; ++axis) {
    int n = 0;
    for (const int face : {axis, axis + 3}) {
      for (int c = 0; c < kCentres; ++c) {
        if (model.CentreFace(c) == face) axisSlots[axis][n++] = static_cast<std::uint8_t>(c);
      }
    }
  }
  for (int mask = 0, r = 0; mask < 256; ++mask) {
    if (std::popcount(static_cast<unsigned>(mask)) != 4) continue;
    halfRank[mask] = static_cast<std::uint8_t>(r);
    halfOfRank[r++] = static_cast<std::uint8_t>(mask);
  }
  for (std::uint32_t mask = 0; mask < 4096; ++mask) {
    if (std::popcount(mask) != 4) continue;
    fourRank[mask] = static_cast<std::uint16_t>(RankSet(mask));
    fourOfRank[fourRank[mask]] = static_cast<std::uint16_t>(mask);
  }
}

void ReductionTables::BuildLeftRight() {
  std::vector<std::uint32_t> byRank(Choose(kMaskBits, 8));
  // The sets of 8 in increasing order, one after another (the next larger number with
  // as many bits).
  for (std::uint32_t mask = 0xFF; mask < (1u << kMaskBits);) {
    byRank[RankSet(mask)] = mask;
    const std::uint32_t low = mask & (~mask + 1);
    const std::uint32_t carried = mask + low;
    mask = carried | (((mask ^ carried) >> 2) / low);
  }
  leftRight = Distances(cancel_, byRank.size(), {RankSet(lrGoal)}, [&](std::uint32_t state, auto reach) {
    for (const Turn t : turns[kAnyTurn]) {
      if (reach(RankSet(centreSets.Move(byRank[state], t)))) return;
    }
  });
}

void ReductionTables::BuildKinds() {
  std::vector<std::uint32_t> byIndex(kOrientation.size);
  std::array<std::vector<std::uint32_t>, kKindSlots + 1> halves;
  for (std::uint32_t half = 0; half <= kKindMask; ++half) halves[std::popcount(half)].push_back(half);
  for (const auto& sets : halves) {
    for (const std::uint32_t low : sets) {
      for (const std::uint32_t high : sets) {
        const std::uint32_t mask = low | high << kKindSlots;
        byIndex[kOrientation.Of(mask)] = mask;
      }
    }
  }
  kinds = Distances(cancel_, kOrientation.size, {0}, [&](std::uint32_t state, auto reach) {
    for (const Turn t : turns[kAxesKept]) {
      if (reach(kOrientation.Of(wingSets.Move(byIndex[state], t) ^ kindSwaps[t]))) return;
    }
  });
}

std::uint32_t ReductionTables::MoveAxes(std::uint32_t index, Turn turn) const {
  const bool parity = (index & 1) != 0;
  std::uint32_t rest = index >> 1;
  const std::uint32_t fb = rest % kAxisHalves;
  rest /= kAxisHalves;
  const std::uint32_t lr = rest % kAxisHalves;
  const std::uint32_t ud = rest / kAxisHalves;
  return AxisIndex(axisMoves[ud][turn], axisMoves[kAxisHalves + lr][turn], axisMoves[2 * kAxisHalves + fb][turn],
                   parity != parityFlips[turn]);
}

std::uint32_t ReductionTables::MovePlaces(std::uint32_t places, Turn turn) const {
  const std::uint32_t fb = places % kAxisHalves;
  const std::uint32_t lr = places / kAxisHalves % kAxisHalves;
  const std::uint32_t ud = places / kAxisHalves / kAxisHalves;
  return (axisMoves[ud][turn] * kAxisHalves + axisMoves[kAxisHalves + lr][turn]) * kAxisHalves +
         axisMoves[2 * kAxisHalves + fb][turn];
}

void ReductionTables::BuildAxesHomeable() {
  std::vector<std::uint32_t> goals;
  for (std::uint32_t places = 0; places < centresHomeable.size() / 2; ++places) {
    if (centresHomeable[places * 2] != kUnreached || centresHomeable[places * 2 + 1] != kUnreached) goals.push_back(places);
  }
  axesHomeable = Distances(cancel_, centresHomeable.size() / 2, goals, [&](std::uint32_t state, auto reach) {
    for (const Turn t : turns[kAxesKept]) {
      if (reach(MovePlaces(state, t))) return;
    }
  });
}

void ReductionTables::BuildCentresHome(const Model& model) {
  axisMoves.resize(3 * kAxisHalves);
  for (const Turn t : turns[kAxesKept]) {
    for (int axis = 0; axis < 3; ++axis) {
      std::array<int, kCentres> indexOf{};
      for (int i = 0; i < kAxisCentres; ++i) indexOf[axisSlots[axis][i]] = i;
      for (int r = 0; r < kAxisHalves; ++r) {
        int moved = 0;
        for (int i = 0; i < kAxisCentres; ++i) {
          if (halfOfRank[r] >> i & 1) moved |= 1 << indexOf[model.CentreTo(t)[axisSlots[axis][i]]];
        }
        axisMoves[axis * kAxisHalves + r][t] = halfRank[moved];
      }
    }
  }
  const std::uint32_t solved = halfRank[0x0F];
  const std::size_t size = 2u * kAxisHalves * kAxisHalves * kAxisHalves;
  centresHome = Distances(cancel_, size, {AxisIndex(solved, solved, solved, false)}, [&](std::uint32_t state, auto reach) {
    for (const Turn t : turns[kLayersKept]) {
      if (reach(MoveAxes(state, t))) return;
    }
  });
  std::vector<std::uint32_t> homeable;
  for (std::uint32_t i = 0; i < size; ++i) {
    if (centresHome[i] != kUnreached) homeable.push_back(i);
  }
  centresHomeable = Distances(cancel_, size, homeable, [&](std::uint32_t state, auto reach) {
    for (const Turn t : turns[kKindsKept]) {
      if (reach(MoveAxes(state, t))) return;
    }
  });
}

std::uint32_t ReductionTables::CentresIndex(std::uint32_t ud) const {
  return RankSet(packFree_[0][ud & 0xFF] | packFree_[1][ud >> 8 & 0xFF] | packFree_[2][ud >> 16]);
}

void ReductionTables::BuildCentresOnAxes() {
  // U and D centres on the sixteen free slots.
  std::vector<std::uint32_t> freeSlot;
  for (int c = 0; c < kCentres; ++c) {
    if (freeSlots >> c & 1) freeSlot.push_back(static_cast<std::uint32_t>(c));
  }
  std::vector<std::uint32_t> udByRank(Choose(kFreeCentres, 8));
  for (std::uint32_t packed = 0; packed < (1u << kFreeCentres); ++packed) {
    if (std::popcount(packed) != 8) continue;
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < freeSlot.size(); ++i) {
      if (packed >> i & 1) mask |= 1u << freeSlot[i];
    }
    udByRank[RankSet(packed)] = mask;
  }
  centresOnAxes = Distances(cancel_, udByRank.size() * 2, {CentresIndex(udGoal) * 2}, [&](std::uint32_t state, auto reach) {
    const std::uint32_t odd = state & 1;
    for (const Turn t : turns[kLeftRightKept]) {
      if (reach(CentresIndex(centreSets.Move(udByRank[state >> 1], t)) * 2 + (odd ^ (wingsOdd[t] ? 1u : 0u)))) return;
    }
  });
}

void ReductionTables::BuildMiddleSets() {
  fourMoves.resize(2 * kFourSets);
  for (const Turn t : turns[kKindsKept]) {
    for (int r = 0; r < kFourSets; ++r) {
      std::uint32_t first = 0;
      std::uint32_t second = 0;
      for (int d = 0; d < kKindSlots; ++d) {
        if (!(fourOfRank[r] >> d & 1)) continue;
        first |= 1u << firstTo[t][d];
        second |= 1u << secondTo[t][d];
      }
      fourMoves[r][t] = fourRank[first];
      fourMoves[kFourSets + r][t] = fourRank[second];
    }
  }
  const std::uint32_t goal = fourRank[kMiddleMask];
  middleSets = Distances(cancel_, kFourSets * kFourSets, {goal * kFourSets + goal}, [&](std::uint32_t state, auto reach) {
    for (const Turn t : turns[kKindsKept]) {
      if (reach(fourMoves[state / kFourSets][t] * kFourSets + fourMoves[kFourSets + state % kFourSets][t])) return;
    }
  });
}

void ReductionTables::BuildPairing() {
  // The partner order s: s[d] is the slot of the second-kind wing belonging with the
  // first-kind wing in slot d. A turn sends it to s' with s'[first(d)] = second(s[d]).
  middleOrderMoves.resize(kMiddleOrders);
  outerOrderMoves.resize(kOuterOrders);
  for (const Turn t : turns[kLayersKept]) {
    for (int d = 0; d < kKindSlots; ++d) {
      if ((firstTo[t][d] >= kOuterSlots) != (d >= kOuterSlots) || (secondTo[t][d] >= kOuterSlots) != (d >= kOuterSlots)) {
        throw std::logic_error("a turn moves a wing between the middle and outer layers");
      }
    }
    for (int r = 0; r < kOuterOrders; ++r) {
      std::array<std::uint8_t, kOuterSlots> s{};
      std::array<std::uint8_t, kOuterSlots> moved{};
      UnrankOrder(r, kOuterSlots, s.data());
      for (int d = 0; d < kOuterSlots; ++d) moved[firstTo[t][d]] = secondTo[t][s[d]];
      outerOrderMoves[r][t] = static_cast<std::uint16_t>(RankOrder(moved.data(), kOuterSlots));
    }
    for (int r = 0; r < kMiddleOrders; ++r) {
      std::array<std::uint8_t, kMiddleSlots> s{};
      std::array<std::uint8_t, kMiddleSlots> moved{};
      UnrankOrder(r, kMiddleSlots, s.data());
      for (int d = 0; d < kMiddleSlots; ++d) {
        moved[firstTo[t][kOuterSlots + d] - kOuterSlots] = static_cast<std::uint8_t>(secondTo[t][kOuterSlots + s[d]] - kOuterSlots);
      }
      middleOrderMoves[r][t] = static_cast<std::uint8_t>(RankOrder(moved.data(), kMiddleSlots));
    }
  }
  pairing = Distances(cancel_, std::size_t{kMiddleOrders} * kOuterOrders * 2, {0}, [&](std::uint32_t state, auto reach) {
    const std::uint32_t parity = state & 1;
    const std::uint32_t outer = (state >> 1) % kOuterOrders;
    const std::uint32_t middle = (state >> 1) / kOuterOrders;
    for (const Turn t : turns[kLayersKept]) {
      const std::uint32_t near = (middleOrderMoves[middle][t] * kOuterOrders + outerOrderMoves[outer][t]) * 2;
      if (reach(near + (parity ^ (parityFlips[t] ? 1u : 0u)))) return;
    }
  });
}

}  // namespace tw::scramble::cube444
