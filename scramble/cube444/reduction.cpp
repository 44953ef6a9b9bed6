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
constexpr int kLongest[kStages] = {12, 14, 14, 16, 24};
constexpr int kCancelCheck = 1024;
// Stage 1 weighs this many of its solutions, up to this many turns longer than its
// shortest, by what they leave stage 2.
constexpr std::size_t kLeftRightTried = 64;
// How many of them go on through stage 2.
constexpr std::size_t kCentresTried = 8;
constexpr int kLeftRightLonger = 1;
// How many foursomes of dedges stage 4 aims at in one search (a divisor of 495), the
// positions it may visit at first, and how many solutions it weighs.
constexpr std::size_t kFoursomesAimedAt = 9;
constexpr std::int64_t kMiddleBudget = 20000;
constexpr std::size_t kMiddleTried = 12;
// The positions stage 5 may visit at first for each of them.
constexpr std::int64_t kPairingBudget = 30000;

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

struct CentresStage {
  const ReductionTables& t;
  struct Node {
    std::uint32_t ud;  // the slots holding U and D centres
    bool odd;          // the wings' order
  };
  int Bound(const Node& n) const { return t.centresOnAxes[t.CentresIndex(n.ud) * 2 + (n.odd ? 1 : 0)]; }
  Node Next(const Node& n, Turn turn) const { return {t.centreSets.Move(n.ud, turn), n.odd != t.wingsOdd[turn]}; }
  bool IsGoal(const Node& n) const { return Bound(n) == 0; }
};

template <std::size_t N>
bool IsOddOrder(const std::uint8_t* order) {
  bool odd = false;
  for (std::size_t i = 0; i < N; ++i) {
    for (std::size_t j = i + 1; j < N; ++j) odd ^= order[i] > order[j];
  }
  return odd;
}

struct KindsStage {
  const ReductionTables& t;
  struct Node {
    std::uint32_t kinds;   // the wing slots holding a wing of the other kind
    std::uint32_t places;  // the centres' places by axis, see ReductionTables::axesHomeable
    std::array<std::uint8_t, kWings> wing;
    bool cornersOdd;
  };
  int Bound(const Node& n) const { return std::max(t.kinds[KindsRank(n.kinds)], t.axesHomeable[n.places]); }
  Node Next(const Node& n, Turn turn) const {
    Node next{t.wingSets.Move(n.kinds, turn) ^ t.kindSwaps[turn], t.MovePlaces(n.places, turn), {},
              n.cornersOdd != Model::SwapsCornerParity(turn)};
    for (int w = 0; w < kWings; ++w) next.wing[t.wingTo[turn][w]] = n.wing[w];
    return next;
  }
  // The centres where the next stages can bring them home with the parity the wings
  // and corners now have.
  bool IsGoal(const Node& n) const {
    if (Bound(n) != 0) return false;
    const bool parity = IsOddOrder<kKindSlots>(n.wing.data()) != n.cornersOdd;
    return t.centresHomeable[n.places * 2 + (parity ? 1 : 0)] != kUnreached;
  }
};

std::uint32_t SlotsHolding(const std::array<std::uint8_t, kCentres>& centre, int face, int opposite) {
  std::uint32_t mask = 0;
  for (int c = 0; c < kCentres; ++c) {
    if (centre[c] == face || centre[c] == opposite) mask |= 1u << c;
  }
  return mask;
}

CentresStage::Node CentresNodeOf(const Cube& c) { return {SlotsHolding(c.centre, 0, 3), IsOddOrder(c.wing)}; }

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

// Stage 4 aims at a few foursomes of dedges at once, those nearest the middle layer;
// it is done when one of them is there with its wings in an order stage 5 can pair.
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
  // The middle layer holds four whole dedges whose partner order stage 5 reaches: none
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

KindsStage::Node KindsNodeOf(const ReductionTables& t, const Model& model, const Cube& c) {
  std::uint32_t kinds = 0;
  for (int w = 0; w < kWings; ++w) {
    if ((w < kKindSlots) != (c.wing[w] < kKindSlots)) kinds |= 1u << w;
  }
  return {kinds, AxesOf(t, model, c) >> 1, c.wing, model.CornersOdd(c)};
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

// Every foursome of dedges, nearest the middle layer first.
std::vector<std::array<std::uint8_t, 4>> FoursomesByNearness(const ReductionTables& t, const WingPlaces& places) {
  const MiddleStage stage{t, {}};
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
  std::vector<std::array<std::uint8_t, 4>> sorted;
  for (const auto& [bound, dedges] : all) sorted.push_back(dedges);
  return sorted;
}

}  // namespace

Reducer::Reducer(const Model& model, const std::atomic<bool>* cancel)
    : model_(model), tables_(std::make_unique<const ReductionTables>(model, cancel)) {}

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
    // by its bound; the best few go on through stage 2, and the one that leaves stage
    // 3 the least to do is kept.
    struct Start {
      int total;
      std::vector<Turn> turns;
      Cube after;
    };
    const auto apply = [&](Cube cube, const std::vector<Turn>& turns) {
      for (const Turn turn : turns) cube = model_.Apply(cube, turn);
      return cube;
    };
    std::vector<Start> starts;
    Ida<LeftRightStage> first(LeftRightStage{t}, t.turns[kAnyTurn], cancel);
    first.ForEach(SlotsHolding(cube.centre, 1, 4), previous(), kLongest[kAnyTurn], kLeftRightLonger,
                  [&](const std::vector<Turn>& turns) {
                    const Cube after = apply(cube, turns);
                    starts.push_back({static_cast<int>(turns.size()) + CentresStage{t}.Bound(CentresNodeOf(after)), turns, after});
                    return starts.size() == kLeftRightTried;
                  });
    if (first.Cancelled()) return follow(std::nullopt, true), reduction;
    std::stable_sort(starts.begin(), starts.end(), [](const Start& a, const Start& b) { return a.total < b.total; });
    std::optional<Start> best;
    std::vector<Turn> bestSecond;
    for (std::size_t i = 0; i < starts.size() && i < kCentresTried; ++i) {
      Ida<CentresStage> second(CentresStage{t}, t.turns[kLeftRightKept], cancel);
      const auto turns = second.Solve(CentresNodeOf(starts[i].after), starts[i].turns.back(), kLongest[kLeftRightKept]);
      if (second.Cancelled()) return follow(std::nullopt, true), reduction;
      if (!turns) throw std::logic_error("a reduction stage found no solution");
      const Cube after = apply(starts[i].after, *turns);
      const int total = static_cast<int>(starts[i].turns.size() + turns->size()) + KindsStage{t}.Bound(KindsNodeOf(t, model_, after));
      if (!best || total < best->total) {
        best = Start{total, starts[i].turns, after};
        bestSecond = *turns;
      }
    }
    follow(best->turns, false);
    follow(bestSecond, false);
  }
  {
    Ida<KindsStage> ida(KindsStage{t}, t.turns[kAxesKept], cancel);
    const auto turns = ida.Solve(KindsNodeOf(t, model_, reduction.reduced), previous(), kLongest[kAxesKept]);
    if (!follow(turns, ida.Cancelled())) return reduction;
  }
  {
    // Stage 4's shortest solutions and those a turn longer, by what they leave stage 5
    // by its bound. Some starts take far longer than others for the foursomes aimed
    // at: each search has a budget, and when it runs out the next foursomes are aimed
    // at, with a larger budget.
    const Cube& c = reduction.reduced;
    const WingPlaces places = WingPlacesOf(c);
    const std::vector<std::array<std::uint8_t, 4>> foursomes = FoursomesByNearness(t, places);
    MiddleStage stage{t, {}};
    struct Middle {
      int total;
      std::vector<Turn> turns;
      PairingStage::Node next;
    };
    std::vector<Middle> middles;
    std::int64_t budget = kMiddleBudget;
    for (std::size_t aimed = 0; middles.empty(); aimed = (aimed + kFoursomesAimedAt) % kFourSets, budget *= 2) {
      stage.foursomes.assign(foursomes.begin() + static_cast<std::ptrdiff_t>(aimed),
                             foursomes.begin() + static_cast<std::ptrdiff_t>(aimed + kFoursomesAimedAt));
      Ida<MiddleStage> ida(stage, t.turns[kKindsKept], cancel, budget);
      ida.ForEach({places, AxesOf(t, model_, c)}, previous(), kLongest[kKindsKept], 1, [&](const std::vector<Turn>& turns) {
        Cube after = c;
        for (const Turn turn : turns) after = model_.Apply(after, turn);
        const PairingStage::Node next = PairingNodeOf(t, model_, after);
        middles.push_back({static_cast<int>(turns.size()) + PairingStage{t}.Bound(next), turns, next});
        return middles.size() == kMiddleTried;
      });
      if (ida.Cancelled()) return follow(std::nullopt, true), reduction;
    }
    std::stable_sort(middles.begin(), middles.end(), [](const Middle& a, const Middle& b) { return a.total < b.total; });
    // Stage 5 likewise tries them in that order, each for a while, then for longer.
    for (budget = kPairingBudget;; budget *= 4) {
      for (const Middle& middle : middles) {
        Ida<PairingStage> ida(PairingStage{t}, t.turns[kLayersKept], cancel, budget);
        const auto turns = ida.Solve(middle.next, middle.turns.empty() ? previous() : middle.turns.back(), kLongest[kLayersKept]);
        if (ida.Cancelled()) return follow(std::nullopt, true), reduction;
        if (!turns) continue;
        follow(middle.turns, false);
        follow(turns, false);
        return reduction;
      }
    }
  }
}

}  // namespace tw::scramble::cube444
