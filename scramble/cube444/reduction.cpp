#include "scramble/cube444/reduction.h"

#include <algorithm>
#include <array>
#include <bit>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <cstdio>

namespace tw::scramble::cube444 {
namespace {

constexpr std::uint8_t kUnknown = 0xFF;
constexpr int kMaskBits = 24;
constexpr int kHalf = 12;
constexpr std::uint32_t kHalfMask = (1u << kHalf) - 1;
// Upright dedge slots are 8..11 (see Cube); their wings are 8..11 and 20..23.
constexpr int kUpright = 8;
constexpr int kUprightCount = kDedges - kUpright;
constexpr std::uint32_t kUprightWings = 0xF00u | (0xF00u << kHalf);
constexpr int kAxisCentres = 8;
constexpr int kAxisHalves = 70;  // 8 choose 4
constexpr int kUprightOrders = 24;
constexpr int kFlatOrders = 40320;
// Longest searches tried; far beyond any phase's need, they only bound a fault.
constexpr int kLongest[4] = {12, 16, 14, 22};
constexpr int kCancelCheck = 1024;

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

// The rank of a set among the sets of its size.
std::uint32_t RankSet(std::uint32_t mask) {
  std::uint32_t rank = 0;
  int seen = 0;
  while (mask != 0) {
    const int bit = std::countr_zero(mask);
    rank += Choose(bit, ++seen);
    mask &= mask - 1;
  }
  return rank;
}

std::uint32_t RankPermutation(const std::uint8_t* order, int n) {
  std::uint32_t rank = 0;
  for (int i = 0; i < n; ++i) {
    int smaller = 0;
    for (int j = i + 1; j < n; ++j) smaller += order[j] < order[i];
    rank = rank * static_cast<std::uint32_t>(n - i) + static_cast<std::uint32_t>(smaller);
  }
  return rank;
}

void UnrankPermutation(std::uint32_t rank, std::uint8_t* order, int n) {
  std::array<int, kAxisCentres> digits{};
  for (int i = n - 1; i >= 0; --i) {
    digits[i] = static_cast<int>(rank % static_cast<std::uint32_t>(n - i));
    rank /= static_cast<std::uint32_t>(n - i);
  }
  std::array<bool, kAxisCentres> used{};
  for (int i = 0; i < n; ++i) {
    int left = digits[i];
    for (int v = 0; v < n; ++v) {
      if (used[v]) continue;
      if (left-- == 0) {
        order[i] = static_cast<std::uint8_t>(v);
        used[v] = true;
        break;
      }
    }
  }
}

// A 24-slot set moved by a turn, a byte at a time.
struct SetMoves {
  std::array<std::array<std::array<std::uint32_t, 256>, 3>, kTurns> byte{};
  void Fill(Turn turn, const std::array<std::uint8_t, kMaskBits>& to) {
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
  std::uint32_t Move(std::uint32_t mask, Turn turn) const {
    const auto& t = byte[turn];
    return t[0][mask & 0xFF] | t[1][mask >> 8 & 0xFF] | t[2][mask >> 16];
  }
};

// Breadth-first distances from the goals over states numbered 0..size-1.
template <typename Neighbours>
std::vector<std::uint8_t> Distances(std::size_t size, const std::vector<std::uint32_t>& goals, Neighbours neighbours) {
  std::vector<std::uint8_t> distance(size, kUnknown);
  std::vector<std::uint32_t> frontier = goals;
  for (const std::uint32_t g : goals) distance[g] = 0;
  std::vector<std::uint32_t> next;
  for (std::uint8_t depth = 0; !frontier.empty(); ++depth) {
    next.clear();
    for (const std::uint32_t state : frontier) {
      neighbours(state, [&](std::uint32_t reached) {
        if (distance[reached] != kUnknown) return;
        distance[reached] = static_cast<std::uint8_t>(depth + 1);
        next.push_back(reached);
      });
    }
    frontier.swap(next);
  }
  return distance;
}

std::vector<Turn> TurnsWhere(bool (*keep)(Turn)) {
  std::vector<Turn> turns;
  for (int t = 0; t < kTurns; ++t) {
    if (keep(static_cast<Turn>(t))) turns.push_back(static_cast<Turn>(t));
  }
  return turns;
}

bool AnyTurn(Turn) { return true; }
// Keeps L and R centres on L and R: outer turns, Rw, and the other wide half turns.
bool KeepsPhase1(Turn t) { return !IsWide(t) || AxisOfKind(KindOf(t)) == 1 || QuarterTurnsOf(t) == 2; }
bool KeepsPhase2(Turn t) { return KeepsWingKinds(t); }
// U and D turns, and half turns of the rest.
bool KeepsPhase3(Turn t) { return KindOf(t) == 0 || KindOf(t) == 3 || QuarterTurnsOf(t) == 2; }

// An orientation set (the wing slots holding a wing of the other kind) as a number:
// as many in each half, so the sets of k and k are numbered together.
struct OrientationIndex {
  std::array<std::uint32_t, kHalf + 1> offset{};
  std::uint32_t size = 0;
  OrientationIndex() {
    for (int k = 0; k <= kHalf; ++k) {
      offset[k] = size;
      size += Choose(kHalf, k) * Choose(kHalf, k);
    }
  }
  std::uint32_t Of(std::uint32_t mask) const {
    const std::uint32_t low = mask & kHalfMask;
    const std::uint32_t high = mask >> kHalf;
    const int k = std::popcount(low);
    return offset[k] + RankSet(low) * Choose(kHalf, k) + RankSet(high);
  }
};

}  // namespace

struct Reducer::Tables {
  std::array<std::vector<Turn>, 4> turns;
  SetMoves centreSets;
  SetMoves wingSets;
  std::array<std::uint32_t, kTurns> kindSwaps{};  // wing slots whose kind differs from where their wing came from
  std::array<bool, kTurns> wingsOdd{};
  std::array<bool, kTurns> parityFlips{};         // of the upright-half wings' order against the corners'
  OrientationIndex orientation;
  std::uint32_t lrGoal = 0;
  std::uint32_t udGoal = 0;
  std::vector<std::uint8_t> phase1;       // L and R centres' places
  std::vector<std::uint8_t> phase2Ud;     // U and D centres' places
  std::vector<std::uint8_t> phase2Kinds;  // the wrong-kind wings
  std::vector<std::uint8_t> phase3;       // the upright wings' places
  // Phase 4: the three axes' centres, the dedges' pairing in two parts and the parity.
  std::array<std::array<std::uint8_t, kCentres>, 3> axisSlots{};  // each axis's centre slots, near face first
  std::array<std::uint8_t, 256> halfRank{};
  std::vector<std::array<std::uint8_t, kTurns>> axisMoves;  // [axis * 70 + rank][turn]
  std::vector<std::array<std::uint8_t, kTurns>> uprightMoves;
  std::vector<std::array<std::uint16_t, kTurns>> flatMoves;
  std::vector<std::uint8_t> phase4Centres;  // centres with the parity
  std::vector<std::uint8_t> phase4Pairs;    // upright pairing * 40320 + flat pairing

  explicit Tables(const Model& model);
  std::size_t Bytes() const {
    return sizeof(*this) + phase1.size() + phase2Ud.size() + phase2Kinds.size() + phase3.size() +
           axisMoves.size() * sizeof(axisMoves[0]) + uprightMoves.size() * sizeof(uprightMoves[0]) +
           flatMoves.size() * sizeof(flatMoves[0]) + phase4Centres.size() + phase4Pairs.size();
  }
};

namespace {

// The pairing: for the wing of the first kind in each dedge slot, the slot holding the
// wing of the other kind that belongs with it.
std::array<std::uint8_t, kDedges> PairingOf(const Cube& cube) {
  std::array<std::uint8_t, kDedges> slotOfSecond{};
  for (int s = 0; s < kDedges; ++s) slotOfSecond[(cube.wing[kHalf + s] + kDedges) % kDedges] = static_cast<std::uint8_t>(s);
  std::array<std::uint8_t, kDedges> pairing{};
  for (int s = 0; s < kDedges; ++s) pairing[s] = slotOfSecond[cube.wing[s] % kDedges];
  return pairing;
}

template <std::size_t N>
bool IsOddOrder(const std::uint8_t* order) {
  bool odd = false;
  for (std::size_t i = 0; i < N; ++i) {
    for (std::size_t j = i + 1; j < N; ++j) odd ^= order[i] > order[j];
  }
  return odd;
}

// Where the pairing goes under a turn that keeps both kinds: the first-kind wing of
// slot s moves to firstTo[s], the second-kind wing of slot t to secondTo[t].
void MovePairing(const std::uint8_t* pairing, std::uint8_t* moved, const std::array<std::uint8_t, kWings>& to, int from,
                 int count) {
  for (int s = from; s < from + count; ++s) {
    moved[to[s] - from] = static_cast<std::uint8_t>(to[kHalf + pairing[s - from] + from] - kHalf - from);
  }
}

}  // namespace

Reducer::Tables::Tables(const Model& model) {
  turns = {TurnsWhere(AnyTurn), TurnsWhere(KeepsPhase1), TurnsWhere(KeepsPhase2), TurnsWhere(KeepsPhase3)};
  for (int f = 0; f < kCentres; ++f) {
    if (model.CentreFace(f) == 1 || model.CentreFace(f) == 4) lrGoal |= 1u << f;
    if (model.CentreFace(f) == 0 || model.CentreFace(f) == 3) udGoal |= 1u << f;
  }
  for (int t = 0; t < kTurns; ++t) {
    const auto turn = static_cast<Turn>(t);
    centreSets.Fill(turn, model.CentreTo(turn));
    wingSets.Fill(turn, model.WingTo(turn));
    std::array<std::uint8_t, kWings> order{};
    for (int w = 0; w < kWings; ++w) {
      const int to = model.WingTo(turn)[w];
      order[to] = static_cast<std::uint8_t>(w);
      if ((w < kHalf) != (to < kHalf)) kindSwaps[t] |= 1u << to;
    }
    if (KeepsWingKinds(turn) && kindSwaps[t] != 0) throw std::logic_error("a turn mixes the wings' kinds");
    wingsOdd[t] = IsOddOrder<kWings>(order.data());
    if (KeepsWingKinds(turn)) {
      std::array<std::uint8_t, kHalf> firstKind{};
      for (int w = 0; w < kHalf; ++w) firstKind[model.WingTo(turn)[w]] = static_cast<std::uint8_t>(w);
      parityFlips[t] = IsOddOrder<kHalf>(firstKind.data()) != Model::SwapsCornerParity(turn);
    }
  }
  const std::size_t sets8 = Choose(kMaskBits, 8);
  const auto setTable = [&](std::uint32_t goal, const std::vector<Turn>& moves, const SetMoves& sets) {
    std::vector<std::uint32_t> byRank(sets8);
    for (std::uint32_t mask = 0; mask < (1u << kMaskBits); ++mask) {
      if (std::popcount(mask) == 8) byRank[RankSet(mask)] = mask;
    }
    return Distances(sets8, {RankSet(goal)}, [&](std::uint32_t state, auto reach) {
      for (const Turn t : moves) reach(RankSet(sets.Move(byRank[state], t)));
    });
  };
  phase1 = setTable(lrGoal, turns[0], centreSets);
  phase2Ud = setTable(udGoal, turns[1], centreSets);
  phase3 = setTable(kUprightWings, turns[2], wingSets);
  {
    std::vector<std::uint32_t> byIndex(orientation.size);
    for (std::uint32_t mask = 0; mask < (1u << kMaskBits); ++mask) {
      if (std::popcount(mask & kHalfMask) == std::popcount(mask >> kHalf)) byIndex[orientation.Of(mask)] = mask;
    }
    phase2Kinds = Distances(orientation.size, {0}, [&](std::uint32_t state, auto reach) {
      for (const Turn t : turns[1]) reach(orientation.Of(wingSets.Move(byIndex[state], t) ^ kindSwaps[t]));
    });
  }
  // Phase 4's centres: each axis's eight slots, which of them hold the near face's colour.
  for (int axis = 0; axis < 3; ++axis) {
    int n = 0;
    for (const int face : {axis, axis + 3}) {
      for (int c = 0; c < kCentres; ++c) {
        if (model.CentreFace(c) == face) axisSlots[axis][n++] = static_cast<std::uint8_t>(c);
      }
    }
  }
  std::array<std::uint8_t, kAxisHalves> halfOfRank{};
  for (int mask = 0, r = 0; mask < 256; ++mask) {
    if (std::popcount(static_cast<unsigned>(mask)) != 4) continue;
    halfRank[mask] = static_cast<std::uint8_t>(r);
    halfOfRank[r++] = static_cast<std::uint8_t>(mask);
  }
  axisMoves.resize(3 * kAxisHalves);
  uprightMoves.resize(kUprightOrders);
  flatMoves.resize(kFlatOrders);
  for (const Turn t : turns[3]) {
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
    std::array<std::uint8_t, kAxisCentres> order{};
    std::array<std::uint8_t, kAxisCentres> moved{};
    for (std::uint32_t r = 0; r < kUprightOrders; ++r) {
      UnrankPermutation(r, order.data(), kUprightCount);
      MovePairing(order.data(), moved.data(), model.WingTo(t), kUpright, kUprightCount);
      uprightMoves[r][t] = static_cast<std::uint8_t>(RankPermutation(moved.data(), kUprightCount));
    }
    for (std::uint32_t r = 0; r < kFlatOrders; ++r) {
      UnrankPermutation(r, order.data(), kUpright);
      MovePairing(order.data(), moved.data(), model.WingTo(t), 0, kUpright);
      flatMoves[r][t] = static_cast<std::uint16_t>(RankPermutation(moved.data(), kUpright));
    }
  }
  const std::uint32_t solvedHalf = halfRank[0x0F];
  const std::uint32_t centresSolved = (solvedHalf * kAxisHalves + solvedHalf) * kAxisHalves + solvedHalf;
  phase4Centres = Distances(2 * kAxisHalves * kAxisHalves * kAxisHalves, {centresSolved * 2}, [&](std::uint32_t state, auto reach) {
    const std::uint32_t parity = state & 1;
    std::uint32_t rest = state >> 1;
    const std::uint32_t fb = rest % kAxisHalves;
    rest /= kAxisHalves;
    const std::uint32_t lr = rest % kAxisHalves;
    const std::uint32_t ud = rest / kAxisHalves;
    for (const Turn t : turns[3]) {
      const std::uint32_t moved = (axisMoves[ud][t] * kAxisHalves + axisMoves[kAxisHalves + lr][t]) * kAxisHalves +
                                  axisMoves[2 * kAxisHalves + fb][t];
      reach(moved * 2 + (parity ^ static_cast<std::uint32_t>(parityFlips[t])));
    }
  });
  phase4Pairs = Distances(kUprightOrders * kFlatOrders, {0}, [&](std::uint32_t state, auto reach) {
    const std::uint32_t upright = state / kFlatOrders;
    const std::uint32_t flat = state % kFlatOrders;
    for (const Turn t : turns[3]) reach(uprightMoves[upright][t] * kFlatOrders + flatMoves[flat][t]);
  });
  {
      int reached[2] = {0, 0};
      for (std::size_t i = 0; i < phase4Centres.size(); ++i) reached[i & 1] += phase4Centres[i] != kUnknown;
      int pairs = 0;
      for (auto v : phase4Pairs) pairs += v != kUnknown;
      fprintf(stderr, "reached even %d odd %d pairs %d\n", reached[0], reached[1], pairs);
  }
}

namespace {

// Iterative deepening over one phase: `Phase` gives Node, Bound, Next and IsGoal.
template <typename Phase>
class Ida {
 public:
  Ida(const Phase& phase, const std::vector<Turn>& turns, const std::atomic<bool>* cancel)
      : phase_(phase), turns_(turns), cancel_(cancel) {}

  // The shortest turns from `start` to a goal, the first following `previous`.
  std::optional<std::vector<Turn>> Solve(const typename Phase::Node& start, Turn previous, int longest) {
    for (int depth = phase_.Bound(start); depth <= longest && !cancelled_; ++depth) {
      path_.assign(static_cast<std::size_t>(depth), kNoTurn);
      if (Search(start, 0, depth, previous)) return path_;
    }
    return std::nullopt;
  }
  bool Cancelled() const { return cancelled_; }

 private:
  bool Search(const typename Phase::Node& node, int depth, int togo, Turn previous) {
    if (togo == 0) return phase_.IsGoal(node, path_);
    if (++visited_ % kCancelCheck == 0 && cancel_ != nullptr && cancel_->load(std::memory_order_relaxed)) {
      cancelled_ = true;
    }
    if (cancelled_) return false;
    for (const Turn t : turns_) {
      if (depth == 0 ? previous != kNoTurn && KindOf(previous) == KindOf(t) : !MayFollow(previous, t)) continue;
      const typename Phase::Node child = phase_.Next(node, t);
      if (phase_.Bound(child) >= togo) continue;
      path_[static_cast<std::size_t>(depth)] = t;
      if (Search(child, depth + 1, togo - 1, t)) return true;
    }
    return false;
  }

  const Phase phase_;
  const std::vector<Turn>& turns_;
  const std::atomic<bool>* cancel_;
  std::vector<Turn> path_;
  std::int64_t visited_ = 0;
  bool cancelled_ = false;
};

struct Phase1 {
  const Reducer::Tables& t;
  using Node = std::uint32_t;  // the slots holding L and R centres
  int Bound(Node n) const { return t.phase1[RankSet(n)]; }
  Node Next(Node n, Turn turn) const { return t.centreSets.Move(n, turn); }
  bool IsGoal(Node n, const std::vector<Turn>&) const { return n == t.lrGoal; }
};

struct Phase2 {
  const Reducer::Tables& t;
  struct Node {
    std::uint32_t ud;     // the slots holding U and D centres
    std::uint32_t kinds;  // the wing slots holding a wing of the other kind
    bool odd;             // the wings' order
  };
  int Bound(const Node& n) const {
    return std::max(t.phase2Ud[RankSet(n.ud)], t.phase2Kinds[t.orientation.Of(n.kinds)]);
  }
  Node Next(const Node& n, Turn turn) const {
    return {t.centreSets.Move(n.ud, turn), t.wingSets.Move(n.kinds, turn) ^ t.kindSwaps[turn], n.odd != t.wingsOdd[turn]};
  }
  bool IsGoal(const Node& n, const std::vector<Turn>&) const { return n.ud == t.udGoal && n.kinds == 0 && !n.odd; }
};

struct Phase4 {
  const Reducer::Tables& t;
  struct Node {
    std::uint8_t ud, lr, fb;
    bool parity;
    std::uint8_t upright;
    std::uint16_t flat;
  };
  int Bound(const Node& n) const {
    const std::uint32_t centres = (n.ud * kAxisHalves + n.lr) * kAxisHalves + n.fb;
    return std::max(t.phase4Centres[centres * 2 + n.parity], t.phase4Pairs[n.upright * kFlatOrders + n.flat]);
  }
  Node Next(const Node& n, Turn turn) const {
    return {t.axisMoves[n.ud][turn],
            t.axisMoves[kAxisHalves + n.lr][turn],
            t.axisMoves[2 * kAxisHalves + n.fb][turn],
            n.parity != t.parityFlips[turn],
            t.uprightMoves[n.upright][turn],
            t.flatMoves[n.flat][turn]};
  }
  bool IsGoal(const Node& n, const std::vector<Turn>&) const { return Bound(n) == 0; }
};

Phase4::Node Phase4NodeOf(const Reducer::Tables& t, const Model& model, const Cube& c) {
  Phase4::Node node{};
  std::array<std::uint8_t*, 3> halves = {&node.ud, &node.lr, &node.fb};
  for (int axis = 0; axis < 3; ++axis) {
    int mask = 0;
    for (int i = 0; i < kAxisCentres; ++i) mask |= (c.centre[t.axisSlots[axis][i]] == axis ? 1 : 0) << i;
    *halves[axis] = t.halfRank[mask];
  }
  const std::array<std::uint8_t, kDedges> pairing = PairingOf(c);
  std::array<std::uint8_t, kUprightCount> upright{};
  for (int i = 0; i < kUprightCount; ++i) upright[i] = static_cast<std::uint8_t>(pairing[kUpright + i] - kUpright);
  node.upright = static_cast<std::uint8_t>(RankPermutation(upright.data(), kUprightCount));
  node.flat = static_cast<std::uint16_t>(RankPermutation(pairing.data(), kUpright));
  std::array<std::uint8_t, kHalf> firstKind{};
  for (int s = 0; s < kHalf; ++s) firstKind[s] = c.wing[s];
  node.parity = IsOddOrder<kHalf>(firstKind.data()) != model.CornersOdd(c);
  return node;
}

struct Phase3 {
  const Reducer::Tables& t;
  const Model& model;
  const Cube& start;
  using Node = std::uint32_t;  // the slots holding upright wings
  int Bound(Node n) const { return t.phase3[RankSet(n)]; }
  Node Next(Node n, Turn turn) const { return t.wingSets.Move(n, turn); }
  bool IsGoal(Node n, const std::vector<Turn>& path) const {
    if (n != kUprightWings) return false;
    Cube cube = start;
    for (const Turn turn : path) cube = model.Apply(cube, turn);
    return Phase4{t}.Bound(Phase4NodeOf(t, model, cube)) != kUnknown;
  }
};

std::uint32_t SlotsHolding(const std::array<std::uint8_t, kCentres>& centre, int face, int opposite) {
  std::uint32_t mask = 0;
  for (int c = 0; c < kCentres; ++c) {
    if (centre[c] == face || centre[c] == opposite) mask |= 1u << c;
  }
  return mask;
}

}  // namespace

Reducer::Reducer(const Model& model) : model_(model), tables_(std::make_unique<const Tables>(model)) {}

Reducer::~Reducer() = default;

std::size_t Reducer::TableBytes() const { return tables_->Bytes(); }

Reduction Reducer::Reduce(const Cube& cube, const std::atomic<bool>* cancel) const {
  const Tables& t = *tables_;
  Reduction reduction;
  reduction.reduced = cube;
  Turn previous = kNoTurn;
  int phaseDbg = 0;
  const auto follow = [&](const std::optional<std::vector<Turn>>& turns, bool cancelled) {
    fprintf(stderr, "phase %d: %d\n", ++phaseDbg, turns ? (int)turns->size() : -1);
    if (cancelled || !turns) {
      if (!cancelled) throw std::logic_error("a reduction phase found no solution");
      reduction.cancelled = true;
      return false;
    }
    for (const Turn turn : *turns) {
      reduction.reduced = model_.Apply(reduction.reduced, turn);
      reduction.turns.push_back(turn);
      previous = turn;
    }
    return true;
  };
  {
    Ida<Phase1> ida(Phase1{t}, t.turns[0], cancel);
    const auto turns = ida.Solve(SlotsHolding(cube.centre, 1, 4), previous, kLongest[0]);
    if (!follow(turns, ida.Cancelled())) return reduction;
  }
  {
    const Cube& c = reduction.reduced;
    std::uint32_t kinds = 0;
    for (int w = 0; w < kWings; ++w) {
      if ((w < kHalf) != (c.wing[w] < kHalf)) kinds |= 1u << w;
    }
    Ida<Phase2> ida(Phase2{t}, t.turns[1], cancel);
    const auto turns = ida.Solve({SlotsHolding(c.centre, 0, 3), kinds, IsOddOrder<kWings>(c.wing.data())}, previous, kLongest[1]);
    if (!follow(turns, ida.Cancelled())) return reduction;
  }
  {
    const Cube start = reduction.reduced;
    std::uint32_t upright = 0;
    for (int w = 0; w < kWings; ++w) {
      if (kUprightWings >> start.wing[w] & 1) upright |= 1u << w;
    }
    Ida<Phase3> ida(Phase3{t, model_, start}, t.turns[2], cancel);
    const auto turns = ida.Solve(upright, previous, kLongest[2]);
    if (!follow(turns, ida.Cancelled())) return reduction;
  }
  {
    const Phase4::Node node = Phase4NodeOf(t, model_, reduction.reduced);
    {
      const std::uint32_t centres = (node.ud * kAxisHalves + node.lr) * kAxisHalves + node.fb;
      fprintf(stderr, "p4 centres %d pairs %d parity %d up %d flat %d\n", t.phase4Centres[centres * 2 + node.parity], t.phase4Pairs[node.upright * kFlatOrders + node.flat], node.parity, node.upright, node.flat);
      int reached[2] = {0, 0};
      for (std::size_t i = 0; i < t.phase4Centres.size(); ++i) reached[i & 1] += t.phase4Centres[i] != kUnknown;
      int pairs = 0;
      for (auto v : t.phase4Pairs) pairs += v != kUnknown;
      fprintf(stderr, "reached even %d odd %d pairs %d\n", reached[0], reached[1], pairs);
    }
    Ida<Phase4> ida(Phase4{t}, t.turns[3], cancel);
    const auto turns = ida.Solve(node, previous, kLongest[3]);
    if (!follow(turns, ida.Cancelled())) return reduction;
  }
  return reduction;
}

}  // namespace tw::scramble::cube444
