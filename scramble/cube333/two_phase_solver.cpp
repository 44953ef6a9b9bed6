#include "scramble/cube333/two_phase_solver.h"

#include <algorithm>
#include <array>

namespace tw::scramble {
namespace {

// Longer than any solution asked for, with room for phase 2 after a long phase 1.
constexpr int kMaxPath = 40;
// A phase-2 search deeper than this costs more than trying the next phase-1 sequence.
constexpr int kPhase2MaxLength = 11;
// A sequence that leaves the subgroup and comes back into it with a quarter turn of
// R, L, F or B takes at least this many moves; a phase-1 branch in the subgroup with
// fewer moves left cannot end in a new phase-1 solution.
constexpr int kMinDetourFromSubgroup = 5;
// The cube is searched as it is and seen from the two other axes, each both forwards
// and inverted: one of the six is often much easier than the others.
constexpr int kAxes = 3;
constexpr int kDirections = kAxes * 2;

constexpr bool IsPhase2Move(Move move) {
  return std::find(kPhase2Moves.begin(), kPhase2Moves.end(), move) != kPhase2Moves.end();
}

// The cube seen with another axis as U-D: conjugated by a third or two thirds of a
// turn about the URF-DBL diagonal, and how its moves read on the cube as it is.
struct AxisView {
  CubeState turn;
  CubeState back;
  std::array<Move, kMoveCount> moveOnCube{};
};

std::array<AxisView, kAxes> BuildAxisViews() {
  std::array<AxisView, kAxes> views;
  CubeState turn = CubeState::Solved();
  for (AxisView& view : views) {
    view.turn = turn;
    view.back = turn.Inverse();
    // A move n of the seen cube is turn * n * back on the cube itself.
    for (int n = 0; n < kMoveCount; ++n) {
      const CubeState onCube = turn.Then(FaceTurn(static_cast<Move>(n))).Then(view.back);
      for (int m = 0; m < kMoveCount; ++m) {
        if (FaceTurn(static_cast<Move>(m)) == onCube) view.moveOnCube[n] = static_cast<Move>(m);
      }
    }
    turn = turn.Then(DiagonalTurn());
  }
  return views;
}

const std::array<AxisView, kAxes>& AxisViews() {
  static const std::array<AxisView, kAxes> views = BuildAxisViews();
  return views;
}

struct Direction {
  int axis = 0;
  bool inverted = false;
  CubeState cube;
  int twist = 0;
  int flip = 0;
  int sliceFlip = 0;
  int bound = 0;
};

// Where phase 2 stands: the corners' and the U and D edges' order by family, the slice
// edges' order and the D corners' places.
struct Phase2Position {
  SymmetricCoordinate corners;
  SymmetricCoordinate edges;
  int slice;
  int dCorners;
};

// A phase-1 position one move on. Left uninitialised: a node fills only the children
// it uses, and clearing a whole array at every node is measurable.
struct Phase1Child {
  Move move;
  int twist;
  int flip;
  int sliceFlip;
  int bound;
};

// A phase-2 position one move on, with the bound the tables give.
struct Phase2Child {
  Move move;
  Phase2Position position;
  int bound;
};

// One solve: the six directions, the path under construction in the current one, the
// cubes along it and the best solution so far.
//
// Each node reads all its children's table entries before going into any of them: the
// reads do not wait for one another, so their cache misses overlap instead of adding up.
class Search {
 public:
  Search(const SolverTables& tables, const CubeState& start, const SearchLimits& limits)
      : tables_(tables), limits_(limits), bestLength_(std::min(limits.maxLength, kMaxPath - 1) + 1) {
    const CubeState inverse = start.Inverse();
    for (int d = 0; d < kDirections; ++d) {
      Direction& direction = directions_[d];
      direction.axis = d / 2;
      direction.inverted = d % 2 == 1;
      const AxisView& view = AxisViews()[direction.axis];
      direction.cube = view.back.Then(direction.inverted ? inverse : start).Then(view.turn);
      direction.twist = TwistOf(direction.cube);
      direction.flip = FlipOf(direction.cube);
      direction.sliceFlip = SliceFlipOf(direction.cube);
      direction.bound = tables_.phase1.Bound(direction.twist, direction.flip, direction.sliceFlip);
    }
  }

  std::vector<Move> Run() {
    RunPhase1(kPhase2MaxLength);
    if (bestLength_ > limits_.maxLength && !done_) {
      // Not seen in practice: no solution within the length with short phase-2
      // searches. Searching again without that shortcut is slow but cannot miss.
      RunPhase1(kMaxPath);
    }
    return best_;
  }

 private:
  void RunPhase1(int phase2MaxLength) {
    phase2MaxLength_ = phase2MaxLength;
    for (int phase1Length = 0; phase1Length < bestLength_ && !done_; ++phase1Length) {
      for (const Direction& direction : directions_) {
        if (done_ || direction.bound > phase1Length) continue;
        direction_ = &direction;
        cubeAt_[0] = direction.cube;
        cubesKnown_ = 0;
        Phase1(direction.twist, direction.flip, direction.sliceFlip, 0, phase1Length);
      }
    }
  }

  Move PreviousMove(int depth) const { return depth == 0 ? kNoMove : path_[depth - 1]; }

  void Visit(int depth, Move move) {
    path_[depth] = move;
    cubesKnown_ = std::min(cubesKnown_, depth);
    ++visited_;
  }

  void Phase1(int twist, int flip, int sliceFlip, int depth, int togo) {
    if (togo == 0) {  // only a cube that starts in the subgroup
      Phase2From(depth);
      return;
    }
    const MoveTables& moves = tables_.moves;
    const Move previous = PreviousMove(depth);
    if (togo == 1) {
      // The last move lands in the subgroup, where all three coordinates are 0: no
      // distance to look up. It is not one of the subgroup's own moves, or the sequence
      // one shorter already reached the subgroup and was tried in an earlier round.
      for (int m = 0; m < kMoveCount && !done_; ++m) {
        const auto move = static_cast<Move>(m);
        if (!MayFollow(previous, move) || IsPhase2Move(move)) continue;
        if (moves.Twist(twist, move) != 0 || moves.Flip(flip, move) != 0 || SliceOfSliceFlip(moves.SliceFlip(sliceFlip, move)) != 0) {
          continue;
        }
        Visit(depth, move);
        Phase2From(depth + 1);
      }
      return;
    }
    Phase1Child children[kMoveCount];
    int count = 0;
    for (int m = 0; m < kMoveCount; ++m) {
      const auto move = static_cast<Move>(m);
      if (!MayFollow(previous, move)) {
        m += kTurnsPerFace - 1;  // nor may the face's other turns
        continue;
      }
      Phase1Child& child = children[count];
      child.move = move;
      child.twist = moves.Twist(twist, move);
      child.flip = moves.Flip(flip, move);
      child.sliceFlip = moves.SliceFlip(sliceFlip, move);
      child.bound = tables_.phase1.Bound(child.twist, child.flip, child.sliceFlip);
      // A further turn of the same face moves the bound by one at most: when the
      // quarter turn is two too far, so are the half turn and the turn back.
      if (QuarterTurnsOf(move) == 1 && child.bound > togo) {
        m += kTurnsPerFace - 1;
        continue;
      }
      ++count;
    }
    for (int i = 0; i < count && !done_; ++i) {
      const Phase1Child& child = children[i];
      if (child.bound >= togo) continue;
      if (child.bound == 0 && togo - 1 > 0 && togo - 1 < kMinDetourFromSubgroup) continue;
      Visit(depth, child.move);
      Phase1(child.twist, child.flip, child.sliceFlip, depth + 1, togo - 1);
    }
    if (GoodEnough()) done_ = true;
  }

  void Phase2From(int phase1Length) {
    for (auto d = static_cast<std::size_t>(cubesKnown_); d < static_cast<std::size_t>(phase1Length); ++d) {
      cubeAt_[d + 1] = cubeAt_[d].Apply(path_[d]);
    }
    cubesKnown_ = phase1Length;
    const CubeState& cube = cubeAt_[phase1Length];
    const Phase2Position start{tables_.corners.Find(CornerOrderOf(cube)), tables_.udEdges.Find(UdEdgeOrderOf(cube)),
                               SliceOrderOf(cube), DCornersOf(cube)};
    const int longest = std::min(bestLength_ - 1 - phase1Length, phase2MaxLength_);
    for (int length = Phase2Bound(start); length <= longest; ++length) {
      if (!Phase2(start, phase1Length, length)) continue;
      Keep(phase1Length + length);
      return;
    }
  }

  int Phase2Bound(const Phase2Position& at) const {
    const int byCorners = tables_.corners.Distance(at.corners, at.slice);
    const int byEdges = tables_.udEdges.Distance(at.edges, at.slice);
    const int byBoth = tables_.udEdges.DistanceWithDCorners(at.edges, at.dCorners);
    return std::max({byCorners, byEdges, byBoth});
  }

  bool Phase2(const Phase2Position& at, int depth, int togo) {
    if (togo == 0) return Phase2Table::IsSolved(at.corners) && Phase2Table::IsSolved(at.edges) && at.slice == 0;
    const Move previous = PreviousMove(depth);
    Phase2Child children[kPhase2MoveCount];
    int count = 0;
    for (int i = 0; i < kPhase2MoveCount; ++i) {
      const Move move = kPhase2Moves[i];
      if (!MayFollow(previous, move)) continue;
      Phase2Child& child = children[count++];
      child.move = move;
      child.position = {tables_.corners.Next(at.corners, i), tables_.udEdges.Next(at.edges, i),
                        tables_.moves.SliceOrder(at.slice, i), tables_.moves.DCorners(at.dCorners, i)};
      child.bound = Phase2Bound(child.position);
    }
    for (int i = 0; i < count; ++i) {
      const Phase2Child& child = children[i];
      if (child.bound >= togo) continue;
      Visit(depth, child.move);
      if (Phase2(child.position, depth + 1, togo - 1)) return true;
    }
    return false;
  }

  // Takes the path as the best solution, read on the cube as it is, unless the limits'
  // accept turns it down.
  void Keep(int length) {
    const AxisView& view = AxisViews()[direction_->axis];
    std::vector<Move> solution;
    solution.reserve(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) solution.push_back(view.moveOnCube[path_[i]]);
    if (direction_->inverted) {
      // The path solves the inverse cube, so it is the cube's own sequence; undone, it
      // solves the cube.
      std::reverse(solution.begin(), solution.end());
      std::transform(solution.begin(), solution.end(), solution.begin(), InverseOf);
    }
    PutOppositeFacesInOrder(solution);
    if (limits_.accept && !limits_.accept(solution)) return;
    best_ = std::move(solution);
    bestLength_ = length;
    if (GoodEnough()) done_ = true;
  }

  bool GoodEnough() const {
    if (bestLength_ <= limits_.targetLength) return true;
    if (limits_.cancel != nullptr && limits_.cancel->load(std::memory_order_relaxed)) return true;
    if (bestLength_ <= limits_.targetLength + 1 && visited_ >= limits_.nearBudget) return true;
    return bestLength_ <= limits_.maxLength && visited_ >= limits_.budget;
  }

  const SolverTables& tables_;
  const SearchLimits& limits_;
  std::array<Direction, kDirections> directions_;
  const Direction* direction_ = nullptr;
  std::array<Move, kMaxPath> path_{};
  // cubeAt_[d] is the direction's cube followed by path_[0..d-1], valid for d <= cubesKnown_.
  std::array<CubeState, kMaxPath + 1> cubeAt_{};
  int cubesKnown_ = 0;
  int phase2MaxLength_ = kPhase2MaxLength;
  std::vector<Move> best_;
  int bestLength_;
  std::int64_t visited_ = 0;
  bool done_ = false;
};

}  // namespace

std::vector<Move> TwoPhaseSolver::Solve(const CubeState& state, const SearchLimits& limits) const {
  return Search(tables_, state, limits).Run();
}

}  // namespace tw::scramble
