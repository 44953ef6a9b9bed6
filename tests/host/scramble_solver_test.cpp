#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <limits>
#include <memory>
#include <random>
#include <thread>
#include <string>
#include <vector>

#include "scramble/cube333/coordinates.h"
#include "scramble/cube333/cube_state.h"
#include "scramble/cube333/random_state.h"
#include "scramble/scramble_text.h"
#include "scramble/scrambler.h"
#include "scramble/cube333/solver_tables.h"
#include "scramble/cube333/two_phase_solver.h"
#include "tests/host/scramble_sticker_cube.h"

namespace tw::scramble {
namespace {

constexpr std::uint64_t kSeed = 0x5eed;
constexpr int kStates = 1000;
constexpr int kSampledPositions = 20000;

// Built once for the whole suite: the tables take a tenth of a second.
const Scrambler& SharedScrambler() {
  static const Scrambler scrambler;
  return scrambler;
}
const SolverTables& SharedTables() {
  static const SolverTables tables;
  return tables;
}

TEST(Scrambler, ReachesEachRandomStateWithinTheRules) {
  const Scrambler& scrambler = SharedScrambler();
  std::mt19937_64 rng(kSeed);
  int longest = 0;
  for (int i = 0; i < kStates; ++i) {
    const Scramble scramble = scrambler.NextScramble(rng);
    ASSERT_TRUE(scramble.state.IsReachable());
    ASSERT_EQ(CubeState::Solved().Apply(scramble.moves), scramble.state) << i << ": " << FormatMoves(scramble.moves);
    ASSERT_TRUE(FollowsMoveRules(scramble.moves)) << i;
    // The text, turned on a cube of stickers, makes the state it was drawn for.
    const std::string text = FormatMoves(scramble.moves);
    ASSERT_TRUE(stickers::IsFairScramble(text, kMaxScrambleLength)) << i;
    ASSERT_EQ(stickers::Turned(text), scramble.state.Facelets()) << i << ": " << text;
    ASSERT_EQ(ParseMoves(text), scramble.moves) << text;
    longest = std::max(longest, static_cast<int>(scramble.moves.size()));
  }
  // Random states need 18 moves or more nearly always; a solver that stopped early
  // would show here.
  EXPECT_GE(longest, 18);
}

TEST(Scrambler, SameSeedSameScrambles) {
  std::mt19937_64 first(kSeed);
  std::mt19937_64 second(kSeed);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(SharedScrambler().Next(first), SharedScrambler().Next(second));
}

TEST(Scrambler, HandlesStatesNearSolved) {
  // The scramble need not be the shortest, only short enough: a state a few moves from
  // solved may get a longer one.
  for (const char* reaching : {"R", "U2 D'", "R U R' U'", "F B' U2 D2 F B'"}) {
    const CubeState state = CubeState::Solved().Apply(*ParseMoves(reaching));
    const std::vector<Move> moves = SharedScrambler().MovesReaching(state);
    EXPECT_EQ(CubeState::Solved().Apply(moves), state) << reaching;
    EXPECT_GE(moves.size(), 1u) << reaching;
    EXPECT_LE(static_cast<int>(moves.size()), kMaxScrambleLength) << reaching << " -> " << FormatMoves(moves);
    EXPECT_TRUE(stickers::IsFairScramble(FormatMoves(moves), kMaxScrambleLength)) << reaching;
    EXPECT_EQ(stickers::Turned(FormatMoves(moves)), stickers::Turned(reaching)) << reaching;
  }
  EXPECT_EQ(SharedScrambler().MovesReaching(CubeState::Solved()), std::vector<Move>{});
}

// A search nothing else would end (no length is short enough, no budget runs out) stops
// soon once its cancel flag is set from another thread, as a closing program sets it.
TEST(TwoPhaseSolver, GivesUpSoonOnceCancelled) {
  struct Shared {
    std::atomic<bool> cancel{false};
    std::promise<void> returned;
  };
  auto shared = std::make_shared<Shared>();
  std::future<void> returned = shared->returned.get_future();
  std::mt19937_64 rng(kSeed);
  // Its own tables: a search that never stops must not outlive the ones the suite shares.
  std::thread([shared, tables = std::make_shared<const SolverTables>(), cube = RandomState(rng)] {
    SearchLimits endless;
    endless.targetLength = 0;
    endless.nearBudget = endless.budget = std::numeric_limits<std::int64_t>::max();
    endless.cancel = &shared->cancel;
    TwoPhaseSolver(*tables).Solve(cube, endless);
    shared->returned.set_value();
  }).detach();
  EXPECT_EQ(returned.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout) << "ended by itself";
  shared->cancel = true;
  EXPECT_EQ(returned.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "went on searching";
}

// A table of exact distances satisfies: 0 only at the goal, neighbours at most one
// apart, and a neighbour one nearer everywhere else; only true distances do. Checked on
// positions made from random cubes, with the moves applied to the cubes themselves, so
// the symmetry folding inside the tables is checked against plain cubes.
template <typename Distance, typename Goal, typename Moves>
void ExpectExactDistances(const char* name, std::mt19937_64& rng, Distance distance, Goal isGoal, Moves moves,
                          CubeState (*randomCube)(std::mt19937_64&)) {
  SCOPED_TRACE(name);
  int failures = 0;
  for (int i = 0; i < kSampledPositions && failures < 5; ++i) {
    const CubeState cube = randomCube(rng);
    const int here = distance(cube);
    if ((here == 0) != isGoal(cube)) {
      ADD_FAILURE() << "distance " << here << " where goal is " << isGoal(cube);
      ++failures;
    }
    bool nearer = here == 0;
    for (const Move move : moves) {
      const int there = distance(cube.Apply(move));
      if (there < here - 1 || there > here + 1) {
        ADD_FAILURE() << "neighbours " << here << " and " << there;
        ++failures;
      }
      nearer = nearer || there == here - 1;
    }
    if (!nearer) {
      ADD_FAILURE() << "no neighbour nearer than " << here;
      ++failures;
    }
  }
}

CubeState AnyCube(std::mt19937_64& rng) { return RandomState(rng); }

// A random cube in the subgroup: any corners, any edges within their layers, parities
// matching.
CubeState SubgroupCube(std::mt19937_64& rng) {
  CubeState cube = CubeState::Solved();
  std::shuffle(cube.cornerPiece.begin(), cube.cornerPiece.end(), rng);
  std::shuffle(cube.edgePiece.begin(), cube.edgePiece.begin() + kUdEdgeCount, rng);
  std::shuffle(cube.edgePiece.begin() + kUdEdgeCount, cube.edgePiece.end(), rng);
  if (IsOddPermutation(cube.cornerPiece) != IsOddPermutation(cube.edgePiece)) {
    std::swap(cube.edgePiece[kEdgeCount - 1], cube.edgePiece[kEdgeCount - 2]);
  }
  return cube;
}

std::vector<Move> AllMoves() {
  std::vector<Move> moves;
  for (int m = 0; m < kMoveCount; ++m) moves.push_back(static_cast<Move>(m));
  return moves;
}

TEST(SolverTables, HoldExactDistances) {
  const SolverTables& tables = SharedTables();
  std::mt19937_64 rng(kSeed);
  const Phase1Pruning& phase1 = tables.phase1;
  const std::vector<Move> all = AllMoves();
  const std::vector<Move> phase2(kPhase2Moves.begin(), kPhase2Moves.end());
  const auto solvedSlice = [](const CubeState& c) { return SliceOf(c) == 0; };
  ExpectExactDistances(
      "twist and slice", rng, [&](const CubeState& c) { return phase1.TwistSliceDistance(TwistOf(c), SliceOf(c)); },
      [&](const CubeState& c) { return TwistOf(c) == 0 && solvedSlice(c); }, all, AnyCube);
  ExpectExactDistances(
      "flip and slice", rng, [&](const CubeState& c) { return phase1.FlipSliceDistance(FlipOf(c), SliceOf(c)); },
      [&](const CubeState& c) { return FlipOf(c) == 0 && solvedSlice(c); }, all, AnyCube);
  ExpectExactDistances(
      "twist and flip", rng, [&](const CubeState& c) { return phase1.TwistFlipDistance(TwistOf(c), FlipOf(c)); },
      [](const CubeState& c) { return TwistOf(c) == 0 && FlipOf(c) == 0; }, all, AnyCube);
  ExpectExactDistances(
      "corners and slice order", rng,
      [&](const CubeState& c) {
        return tables.corners.Distance(tables.corners.Find(CornerOrderOf(c)), SliceOrderOf(c));
      },
      [](const CubeState& c) { return CornerOrderOf(c) == 0 && SliceOrderOf(c) == 0; }, phase2, SubgroupCube);
  ExpectExactDistances(
      "U and D edges and slice order", rng,
      [&](const CubeState& c) {
        return tables.udEdges.Distance(tables.udEdges.Find(UdEdgeOrderOf(c)), SliceOrderOf(c));
      },
      [](const CubeState& c) { return UdEdgeOrderOf(c) == 0 && SliceOrderOf(c) == 0; }, phase2, SubgroupCube);
  ExpectExactDistances(
      "U and D edges and D corners' places", rng,
      [&](const CubeState& c) {
        return tables.udEdges.DistanceWithDCorners(tables.udEdges.Find(UdEdgeOrderOf(c)), DCornersOf(c));
      },
      [](const CubeState& c) { return UdEdgeOrderOf(c) == 0 && DCornersOf(c) == 0; }, phase2, SubgroupCube);
}

// The slice edges' places and flips move as a coordinate of their own: the move table,
// built from one cube for each value, agrees with every cube of that value, and the
// distances on it are exact like the others.
TEST(SolverTables, FollowTheSliceEdgesFlipsLikeTheCube) {
  const SolverTables& tables = SharedTables();
  CubeState cube = CubeState::Solved();
  for (int sliceFlip = 0; sliceFlip < kSliceFlipCount; ++sliceFlip) {
    SetSliceFlip(cube, sliceFlip);
    ASSERT_EQ(SliceFlipOf(cube), sliceFlip);
  }
  std::mt19937_64 rng(kSeed);
  for (int i = 0; i < kSampledPositions / 10; ++i) {
    cube = RandomState(rng);
    const int sliceFlip = SliceFlipOf(cube);
    ASSERT_EQ(SliceOfSliceFlip(sliceFlip), SliceOf(cube));
    for (const Move move : AllMoves()) ASSERT_EQ(tables.moves.SliceFlip(sliceFlip, move), SliceFlipOf(cube.Apply(move)));
  }
  ExpectExactDistances(
      "twist and slice edges' places and flips", rng,
      [&](const CubeState& c) { return tables.phase1.TwistSliceFlipDistance(TwistOf(c), SliceFlipOf(c)); },
      [](const CubeState& c) { return TwistOf(c) == 0 && SliceFlipOf(c) == 0; }, AllMoves(), AnyCube);
}

// The search follows positions by their family and symmetry alone; that must land on
// the family and distance of the cube the moves really make.
TEST(SolverTables, FollowPhase2MovesLikeTheCube) {
  const SolverTables& tables = SharedTables();
  std::mt19937_64 rng(kSeed);
  for (int i = 0; i < kSampledPositions / 10; ++i) {
    const CubeState cube = SubgroupCube(rng);
    SymmetricCoordinate corners = tables.corners.Find(CornerOrderOf(cube));
    SymmetricCoordinate edges = tables.udEdges.Find(UdEdgeOrderOf(cube));
    CubeState moved = cube;
    for (int step = 0; step < 12; ++step) {
      const auto index = static_cast<int>(std::uniform_int_distribution<int>(0, kPhase2MoveCount - 1)(rng));
      moved = moved.Apply(kPhase2Moves[index]);
      corners = tables.corners.Next(corners, index);
      edges = tables.udEdges.Next(edges, index);
      const SymmetricCoordinate cornersOfCube = tables.corners.Find(CornerOrderOf(moved));
      const SymmetricCoordinate edgesOfCube = tables.udEdges.Find(UdEdgeOrderOf(moved));
      ASSERT_EQ(corners.family, cornersOfCube.family);
      ASSERT_EQ(edges.family, edgesOfCube.family);
      ASSERT_EQ(tables.corners.Distance(corners, SliceOrderOf(moved)),
                tables.corners.Distance(cornersOfCube, SliceOrderOf(moved)));
      ASSERT_EQ(tables.udEdges.Distance(edges, SliceOrderOf(moved)),
                tables.udEdges.Distance(edgesOfCube, SliceOrderOf(moved)));
      ASSERT_EQ(tables.udEdges.DistanceWithDCorners(edges, DCornersOf(moved)),
                tables.udEdges.DistanceWithDCorners(edgesOfCube, DCornersOf(moved)));
    }
  }
}

}  // namespace
}  // namespace tw::scramble
