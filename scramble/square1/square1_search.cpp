#include <algorithm>
#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "scramble/cube333/coordinates.h"
#include "scramble/square1/square1.h"
#include "scramble/square1/square1_cube_shape.h"
#include "scramble/square1/square1_layers.h"
#include "scramble/square1/square1_shapes.h"

namespace tw::scramble {

using namespace sq1;

namespace {

// Search limits: no phase needs more than these (the tables' longest counts), and the
// search stops at a solution this short or after this many positions with any.
constexpr int kPhase1Longest = 16;
constexpr int kPhase2Longest = 28;
constexpr int kTargetLength = 24;
constexpr std::int64_t kBudget = 300000;
constexpr int kCancelCheckEvery = 1024;

}  // namespace

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
