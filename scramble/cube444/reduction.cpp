#include "scramble/cube444/reduction.h"

#include <algorithm>
#include <climits>
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>

#include "scramble/cube444/reduction_tables.h"

namespace tw::scramble::cube444 {
namespace {

// Longest searches tried; far beyond any stage's need, they only bound a fault.
constexpr int kLongest[kStages] = {12, 18, 16, 24};
constexpr int kCancelCheck = 1024;
// Stage 1 weighs this many of its solutions, up to this many turns longer than its
// shortest, by what they leave stage 2.
constexpr std::size_t kLeftRightTried = 64;
// Stage 2's first budget of positions for each start.
constexpr std::int64_t kAxesBudget = 2000;
constexpr int kLeftRightLonger = 1;
// How many foursomes of dedges stage 3 aims at.
constexpr int kFoursomesAimedAt = 8;

template <std::size_t N>
bool IsOddOrder(const std::array<std::uint8_t, N>& order) {
  bool odd = false;
  for (std::size_t i = 0; i < N; ++i) {
    for (std::size_t j = i + 1; j < N; ++j) odd ^= order[i] > order[j];
  }
  return odd;
}

// Iterative deepening over one stage: `Stage` gives Node, Bound, Next and IsGoal.
template <typename Stage>
class Ida {
 public:
  Ida(const Stage& stage, const std::vector<Turn>& turns, const std::atomic<bool>* cancel,
      std::int64_t budget = INT64_MAX)
      : stage_(stage), turns_(turns), cancel_(cancel), budget_(budget) {}

  // The shortest turns from `start` to a goal, the first about another axis than
  // `previous`, so that no run of turns about one axis spans two stages.
  std::optional<std::vector<Turn>> Solve(const typename Stage::Node& start, Turn previous, int longest) {
    std::optional<std::vector<Turn>> found;
    ForEach(start, previous, longest, 0, [&](const std::vector<Turn>& turns) {
      found = turns;
      return true;
    });
    return found;
  }

  // Calls `take` with each solution from the shortest's length to `more` turns longer,
  // shortest first, until it returns true.
  template <typename Take>
  void ForEach(const typename Stage::Node& start, Turn previous, int longest, int more, Take take) {
    int last = longest;
    for (int depth = stage_.Bound(start); depth <= last && !cancelled_ && visited_ <= budget_; ++depth) {
      path_.assign(static_cast<std::size_t>(depth), kNoTurn);
      const auto found = [&] {
        last = std::min(last, depth + more);
        return take(path_);
      };
      if (Search(start, 0, depth, previous, found)) return;
    }
  }
  bool Cancelled() const { return cancelled_; }

 private:
  template <typename Found>
  bool Search(const typename Stage::Node& node, int depth, int togo, Turn previous, Found& found) {
    if (togo == 0) return stage_.IsGoal(node) && found();
    if (++visited_ % kCancelCheck == 0 && cancel_ != nullptr && cancel_->load(std::memory_order_relaxed)) {
      cancelled_ = true;
    }
    if (cancelled_ || visited_ > budget_) return false;
    for (const Turn t : turns_) {
      const bool sameAxis = previous != kNoTurn && AxisOfKind(KindOf(previous)) == AxisOfKind(KindOf(t));
      if (depth == 0 ? sameAxis : !MayFollow(previous, t)) continue;
      const typename Stage::Node child = stage_.Next(node, t);
      if (stage_.Bound(child) >= togo) continue;
      path_[static_cast<std::size_t>(depth)] = t;
      if (Search(child, depth + 1, togo - 1, t, found)) return true;
    }
    return false;
  }

  const Stage stage_;
  const std::vector<Turn>& turns_;
  const std::atomic<bool>* cancel_;
  std::vector<Turn> path_;
  std::int64_t budget_;  // nodes visited before the search gives up
  std::int64_t visited_ = 0;
  bool cancelled_ = false;
};

struct LeftRightStage {
  const ReductionTables& t;
  using Node = std::uint32_t;  // the slots holding L and R centres
  int Bound(Node n) const { return t.leftRight[RankSet(n)]; }
  Node Next(Node n, Turn turn) const { return t.centreSets.Move(n, turn); }
  bool IsGoal(Node n) const { return n == t.lrGoal; }
};

struct AxesStage {
  const ReductionTables& t;
  struct Node {
    std::uint32_t ud;     // the slots holding U and D centres
    std::uint32_t front;  // the slots holding F centres
    std::uint32_t kinds;  // the wing slots holding a wing of the other kind
    bool odd;             // the wings' order
  };
  int Bound(const Node& n) const {
    return std::max(t.centresOnAxes[t.CentresOnAxesIndex(n.ud, n.front)], t.kinds[KindsRank(n.kinds)]);
  }
  Node Next(const Node& n, Turn turn) const {
    return {t.centreSets.Move(n.ud, turn), t.centreSets.Move(n.front, turn),
            t.wingSets.Move(n.kinds, turn) ^ t.kindSwaps[turn], n.odd != t.wingsOdd[turn]};
  }
  bool IsGoal(const Node& n) const { return n.kinds == 0 && !n.odd && Bound(n) == 0; }
};

std::uint32_t SlotsHolding(const std::array<std::uint8_t, kCentres>& centre, int face, int opposite) {
  std::uint32_t mask = 0;
  for (int c = 0; c < kCentres; ++c) {
    if (centre[c] == face || centre[c] == opposite) mask |= 1u << c;
  }
  return mask;
}

AxesStage::Node AxesNodeOf(const Cube& c) {
  std::uint32_t kinds = 0;
  for (int w = 0; w < kWings; ++w) {
    if ((w < kKindSlots) != (c.wing[w] < kKindSlots)) kinds |= 1u << w;
  }
  return {SlotsHolding(c.centre, 0, 3), SlotsHolding(c.centre, 2, 2), kinds, IsOddOrder(c.wing)};
}

// The slot of each dedge's first-kind wing and of its second-kind wing.
struct WingPlaces {
  std::array<std::uint8_t, kKindSlots> first{};
  std::array<std::uint8_t, kKindSlots> second{};
};

WingPlaces WingPlacesOf(const Cube& c) {
  WingPlaces places;
  for (int s = 0; s < kKindSlots; ++s) {
    places.first[c.wing[s]] = static_cast<std::uint8_t>(s);
    places.second[c.wing[kKindSlots + s] - kKindSlots] = static_cast<std::uint8_t>(s);
  }
  return places;
}

// Stage 3 aims at a few foursomes of dedges at once, those nearest the middle layer;
// it is done when one of them is there with its wings in an order stage 4 can pair.
struct MiddleStage {
  const ReductionTables& t;
  std::vector<std::array<std::uint8_t, 4>> foursomes;
  struct Node {
    WingPlaces places;
    std::uint32_t axes;  // see ReductionTables::AxisIndex
  };
  int WingBound(const WingPlaces& p, const std::array<std::uint8_t, 4>& dedges) const {
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    for (const std::uint8_t d : dedges) {
      first |= 1u << p.first[d];
      second |= 1u << p.second[d];
    }
    return t.middleSets[t.fourRank[first] * kFourSets + t.fourRank[second]];
  }
  int Bound(const Node& n) const {
    int wings = kUnreached;
    for (const auto& dedges : foursomes) wings = std::min(wings, WingBound(n.places, dedges));
    return std::max<int>(wings, t.centresHomeable[n.axes]);
  }
  Node Next(const Node& n, Turn turn) const {
    Node next{{}, t.MoveAxes(n.axes, turn)};
    for (int d = 0; d < kKindSlots; ++d) {
      next.places.first[d] = t.firstTo[turn][n.places.first[d]];
      next.places.second[d] = t.secondTo[turn][n.places.second[d]];
    }
    return next;
  }
  // The middle layer holds four whole dedges whose partner order stage 4 reaches: none
  // or two pairs of its slots swapped.
  bool IsGoal(const Node& n) const {
    if (t.centresHomeable[n.axes] != 0) return false;
    std::array<int, kMiddleSlots> partner{};
    for (int d = 0; d < kKindSlots; ++d) {
      if ((n.places.first[d] >= kOuterSlots) != (n.places.second[d] >= kOuterSlots)) return false;
      if (n.places.first[d] >= kOuterSlots) partner[n.places.first[d] - kOuterSlots] = n.places.second[d] - kOuterSlots;
    }
    int fixed = 0;
    for (int i = 0; i < kMiddleSlots; ++i) {
      if (partner[partner[i]] != i) return false;
      fixed += partner[i] == i;
    }
    return fixed == 0 || fixed == kMiddleSlots;
  }
};

struct PairingStage {
  const ReductionTables& t;
  struct Node {
    std::uint8_t middle;  // the partner order of the middle slots
    std::uint16_t outer;  // and of the outer slots
    std::uint32_t axes;   // its last bit the parity
  };
  int Bound(const Node& n) const {
    const std::uint32_t pairing = (n.middle * std::uint32_t{kOuterOrders} + n.outer) * 2 + (n.axes & 1);
    return std::max(t.pairing[pairing], t.centresHome[n.axes]);
  }
  Node Next(const Node& n, Turn turn) const {
    return {t.middleOrderMoves[n.middle][turn], t.outerOrderMoves[n.outer][turn], t.MoveAxes(n.axes, turn)};
  }
  bool IsGoal(const Node& n) const { return Bound(n) == 0; }
};

// For a cube whose centres are on their axes and whose wings are in slots of their kind.
std::uint32_t AxesOf(const ReductionTables& t, const Model& model, const Cube& c) {
  std::array<std::uint32_t, 3> halves{};
  for (int axis = 0; axis < 3; ++axis) {
    int mask = 0;
    for (int i = 0; i < 8; ++i) mask |= (c.centre[t.axisSlots[axis][i]] == axis ? 1 : 0) << i;
    halves[axis] = t.halfRank[mask];
  }
  std::array<std::uint8_t, kKindSlots> firstKind{};
  for (int s = 0; s < kKindSlots; ++s) firstKind[s] = c.wing[s];
  return t.AxisIndex(halves[0], halves[1], halves[2], IsOddOrder(firstKind) != model.CornersOdd(c));
}

PairingStage::Node PairingNodeOf(const ReductionTables& t, const Model& model, const Cube& c) {
  const WingPlaces places = WingPlacesOf(c);
  std::array<std::uint8_t, kKindSlots> partner{};
  for (int d = 0; d < kKindSlots; ++d) partner[d] = places.second[c.wing[d]];
  std::array<std::uint8_t, kMiddleSlots> middle{};
  for (int d = 0; d < kMiddleSlots; ++d) {
    if (partner[kOuterSlots + d] < kOuterSlots) throw std::logic_error("a middle-layer wing paired outside it");
    middle[d] = static_cast<std::uint8_t>(partner[kOuterSlots + d] - kOuterSlots);
  }
  return {static_cast<std::uint8_t>(RankOrder(middle.data(), kMiddleSlots)),
          static_cast<std::uint16_t>(RankOrder(partner.data(), kOuterSlots)), AxesOf(t, model, c)};
}

// The foursomes of dedges nearest the middle layer.
MiddleStage MiddleStageFor(const ReductionTables& t, const WingPlaces& places) {
  MiddleStage stage{t, {}};
  std::vector<std::pair<int, std::array<std::uint8_t, 4>>> all;
  for (const std::uint16_t set : t.fourOfRank) {
    std::array<std::uint8_t, 4> dedges{};
    int n = 0;
    for (int d = 0; d < kKindSlots; ++d) {
      if (set >> d & 1) dedges[static_cast<std::size_t>(n++)] = static_cast<std::uint8_t>(d);
    }
    all.push_back({stage.WingBound(places, dedges), dedges});
  }
  std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (int i = 0; i < kFoursomesAimedAt; ++i) stage.foursomes.push_back(all[static_cast<std::size_t>(i)].second);
  return stage;
}

}  // namespace

Reducer::Reducer(const Model& model) : model_(model), tables_(std::make_unique<const ReductionTables>(model)) {}

Reducer::~Reducer() = default;

std::size_t Reducer::TableBytes() const { return tables_->Bytes(); }

Reduction Reducer::Reduce(const Cube& cube, const std::atomic<bool>* cancel) const {
  const ReductionTables& t = *tables_;
  Reduction reduction;
  reduction.reduced = cube;
  const auto previous = [&] { return reduction.turns.empty() ? kNoTurn : reduction.turns.back(); };
  const auto follow = [&](const std::optional<std::vector<Turn>>& turns, bool cancelled) {
    if (cancelled) {
      reduction.cancelled = true;
      return false;
    }
    if (!turns) throw std::logic_error("a reduction stage found no solution");
    for (const Turn turn : *turns) {
      reduction.reduced = model_.Apply(reduction.reduced, turn);
      reduction.turns.push_back(turn);
    }
    return true;
  };
  {
    // Stage 1's shortest solutions and those a turn longer, by what they leave stage 2
    // by its bound; stage 2 then tries them in that order, each for a while, and for
    // longer and longer until one finishes: some starts take it far longer than others.
    Ida<LeftRightStage> first(LeftRightStage{t}, t.turns[kAnyTurn], cancel);
    struct Start {
      int total;
      std::vector<Turn> turns;
      Cube after;
    };
    std::vector<Start> starts;
    first.ForEach(SlotsHolding(cube.centre, 1, 4), previous(), kLongest[kAnyTurn], kLeftRightLonger,
                  [&](const std::vector<Turn>& turns) {
                    Cube after = cube;
                    for (const Turn turn : turns) after = model_.Apply(after, turn);
                    const int total = static_cast<int>(turns.size()) + AxesStage{t}.Bound(AxesNodeOf(after));
                    starts.push_back({total, turns, after});
                    return starts.size() == kLeftRightTried;
                  });
    if (first.Cancelled()) return follow(std::nullopt, true), reduction;
    std::stable_sort(starts.begin(), starts.end(), [](const Start& a, const Start& b) { return a.total < b.total; });
    std::optional<std::vector<Turn>> second;
    const Start* chosen = nullptr;
    for (std::int64_t budget = kAxesBudget; !second; budget *= 4) {
      for (const Start& start : starts) {
        Ida<AxesStage> ida(AxesStage{t}, t.turns[kLeftRightKept], cancel, budget);
        second = ida.Solve(AxesNodeOf(start.after), start.turns.back(), kLongest[kLeftRightKept]);
        if (ida.Cancelled()) return follow(std::nullopt, true), reduction;
        if (second) {
          chosen = &start;
          break;
        }
      }
    }
    follow(chosen->turns, false);
    follow(second, false);
  }
  {
    const Cube& c = reduction.reduced;
    Ida<MiddleStage> ida(MiddleStageFor(t, WingPlacesOf(c)), t.turns[kKindsKept], cancel);
    const auto turns = ida.Solve({WingPlacesOf(c), AxesOf(t, model_, c)}, previous(), kLongest[kKindsKept]);
    if (!follow(turns, ida.Cancelled())) return reduction;
  }
  {
    Ida<PairingStage> ida(PairingStage{t}, t.turns[kLayersKept], cancel);
    const auto turns = ida.Solve(PairingNodeOf(t, model_, reduction.reduced), previous(), kLongest[kLayersKept]);
    if (!follow(turns, ida.Cancelled())) return reduction;
  }
  return reduction;
}

}  // namespace tw::scramble::cube444
