#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "scramble/cube333/coordinates.h"
#include "scramble/cube333/cube_state.h"
#include "scramble/cube333/random_state.h"
#include "scramble/scramble_text.h"
#include "scramble/cube333/symmetry.h"
#include "tests/host/scramble_sticker_cube.h"

namespace tw::scramble {
namespace {

constexpr char kSolvedFacelets[] = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";

// Twist, flip, slice places, corner order, U and D edge order, slice order.
using Coordinates = std::array<int, 6>;
constexpr const char* kCoordinateNames[] = {"twist", "flip", "slice", "corner order", "U/D edge order", "slice order"};

Coordinates CoordinatesOf(const CubeState& state) {
  return {TwistOf(state),       FlipOf(state),        SliceOf(state),
          CornerOrderOf(state), UdEdgeOrderOf(state), SliceOrderOf(state)};
}

CubeState Repeat(const std::string& text, int times) {
  const auto moves = ParseMoves(text);
  EXPECT_TRUE(moves.has_value()) << text;
  CubeState state = CubeState::Solved();
  for (int i = 0; i < times; ++i) state = state.Apply(*moves);
  return state;
}

// A column a row does not check, such as the U and D edge order outside the subgroup,
// where it means nothing.
constexpr int kUndefined = -1;

TEST(CubeModel, GroupFactsAndKnownPositions) {
  struct Case {
    std::string moves;
    int times;
    Coordinates expected;
    std::string facelets;  // empty: not checked
  };
  const Coordinates solved{0, 0, 0, 0, 0, 0};
  std::vector<Case> cases;
  for (const char* face : {"U", "R", "F", "D", "L", "B"}) {
    cases.push_back({face, 4, solved, kSolvedFacelets});
    for (const char* turn : {"", "2", "'"}) {
      const std::string move = std::string(face) + turn;
      const std::string back = std::string(face) + (turn == std::string("")    ? "'"
                                                    : turn == std::string("'") ? ""
                                                                               : "2");
      cases.push_back({move + " " + back, 1, solved, kSolvedFacelets});
    }
  }
  cases.push_back({"R U R' U'", 6, solved, kSolvedFacelets});
  // Stickers worked out by hand from a real cube.
  cases.push_back(
      {"U", 1, {0, 0, 0, kUndefined, kUndefined, 0}, "UUUUUUUUUBBBRRRRRRRRRFFFFFFDDDDDDDDDFFFLLLLLLLLLBBBBBB"});
  cases.push_back({"R",
                   1,
                   {1494, 0, 367, kUndefined, kUndefined, kUndefined},
                   "UUFUUFUUFRRRRRRRRRFFDFFDFFDDDBDDBDDBLLLLLLLLLUBBUBBUBB"});
  cases.push_back({"F",
                   1,
                   {1236, 550, kUndefined, kUndefined, kUndefined, kUndefined},
                   "UUUUUULLLURRURRURRFFFFFFFFFRRRDDDDDDLLDLLDLLDBBBBBBBBB"});
  // Superflip: every edge flipped in its own slot, nothing else changed.
  cases.push_back({"U R2 F B R B2 R U2 L B2 R U' D' R2 F R' L B2 U2 F2",
                   1,
                   {0, 2047, 0, 0, 0, 0},
                   "UBULURUFU"
                   "RURFRBRDR"
                   "FUFLFRFDF"
                   "DFDLDRDBD"
                   "LULBLFLDL"
                   "BUBRBLBDB"});
  // Two half turns: the subgroup's coordinates move, phase 1's stay at zero.
  cases.push_back({"R2 U2", 1, {0, 0, 0, kUndefined, kUndefined, kUndefined}, ""});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.moves + " x" + std::to_string(c.times));
    const CubeState state = Repeat(c.moves, c.times);
    EXPECT_TRUE(state.IsReachable());
    const Coordinates actual = CoordinatesOf(state);
    for (std::size_t i = 0; i < actual.size(); ++i) {
      if (c.expected[i] == kUndefined) continue;
      EXPECT_EQ(actual[i], c.expected[i]) << kCoordinateNames[i];
    }
    if (c.expected == solved) {
      EXPECT_EQ(state, CubeState::Solved());
    }
    if (!c.facelets.empty()) {
      EXPECT_EQ(state.Facelets(), c.facelets);
      // The sticker cube is held to the same hand-made positions.
      std::string stickers(stickers::kSolved);
      for (int i = 0; i < c.times; ++i) stickers = stickers::Turned(stickers, *stickers::Read(c.moves));
      EXPECT_EQ(stickers, c.facelets) << "sticker cube";
    }
  }
  // Six is the order of R U R' U', not a multiple of it.
  EXPECT_NE(Repeat("R U R' U'", 2), CubeState::Solved());
  EXPECT_NE(Repeat("R U R' U'", 3), CubeState::Solved());
}

// The model's pieces against a cube of stickers turned by hand-written cycles, for
// random sequences of any of the 18 turns (a face twice in a row included).
TEST(CubeModel, TurnsLikeAStickerCube) {
  std::mt19937 random(54);
  std::uniform_int_distribution<int> length(1, 30), move(0, kMoveCount - 1);
  for (int i = 0; i < 2000; ++i) {
    std::vector<Move> moves(static_cast<std::size_t>(length(random)));
    for (Move& m : moves) m = static_cast<Move>(move(random));
    const std::string text = FormatMoves(moves);
    ASSERT_EQ(CubeState::Solved().Apply(moves).Facelets(), stickers::Turned(text)) << text;
  }
}

TEST(CubeModel, CoordinatesComeBackFromTheirWholeRange) {
  CubeState state = CubeState::Solved();
  for (int twist = 0; twist < kTwistCount; ++twist) {
    SetTwist(state, twist);
    ASSERT_EQ(TwistOf(state), twist);
    ASSERT_TRUE(state.IsReachable());
  }
  for (int flip = 0; flip < kFlipCount; ++flip) {
    SetFlip(state, flip);
    ASSERT_EQ(FlipOf(state), flip);
    ASSERT_TRUE(state.IsReachable());
  }
  state = CubeState::Solved();
  for (int slice = 0; slice < kSliceCount; ++slice) {
    SetSlice(state, slice);
    ASSERT_EQ(SliceOf(state), slice);
  }
  for (int places = 0; places < kDCornerPlacesCount; ++places) {
    SetDCorners(state, places);
    ASSERT_EQ(DCornersOf(state), places);
  }
  std::array<std::uint8_t, 8> pieces{};
  for (int rank = 0; rank < kCornerOrderCount; ++rank) {
    PermutationFromRank(rank, pieces);
    ASSERT_EQ(PermutationRank(pieces), rank);
  }
}

TEST(CubeModel, RefusesStatesNoMovesReach) {
  const CubeState solved = CubeState::Solved();
  CubeState twisted = solved;
  twisted.cornerTwist[0] = 1;
  CubeState flipped = solved;
  flipped.edgeFlip[3] = 1;
  CubeState swapped = solved;
  std::swap(swapped.edgePiece[0], swapped.edgePiece[1]);
  CubeState doubled = solved;
  doubled.cornerPiece[1] = 0;
  CubeState bothSwapped = swapped;
  std::swap(bothSwapped.cornerPiece[2], bothSwapped.cornerPiece[5]);
  EXPECT_FALSE(twisted.IsReachable());
  EXPECT_FALSE(flipped.IsReachable());
  EXPECT_FALSE(swapped.IsReachable());
  EXPECT_FALSE(doubled.IsReachable());
  EXPECT_TRUE(bothSwapped.IsReachable());
}

// Turning the whole cube only renames faces: a face turn seen from another side is a face
// turn, of the same kind, and conjugations compose as the symmetries multiply.
TEST(CubeModel, WholeCubeTurnsRenameFaces) {
  std::mt19937_64 rng(1);
  const CubeState cube = RandomState(rng);
  for (int s = 0; s < kSymmetryCount; ++s) {
    for (int m = 0; m < kMoveCount; ++m) {
      const Move seen = ConjugateMove(static_cast<Move>(m), s);
      EXPECT_EQ(Conjugate(FaceTurn(static_cast<Move>(m)), s), FaceTurn(seen)) << s << " " << m;
      // The U-D axis stays the U-D axis.
      EXPECT_EQ(AxisOf(FaceOf(seen)) == 0, AxisOf(FaceOf(static_cast<Move>(m))) == 0);
    }
    for (int t = 0; t < kSymmetryCount; ++t) {
      EXPECT_EQ(Conjugate(Conjugate(cube, s), t), Conjugate(cube, SymmetryProduct(s, t)));
    }
    EXPECT_EQ(Conjugate(Conjugate(cube, s), SymmetryInverse(s)), cube);
  }
  // The mirror between R and L: turning a mirrored cube by the mirrored move gives the
  // mirror image of the turned cube, for every twist and flip and every move.
  for (int twist = 0; twist < kTwistCount; ++twist) {
    CubeState original = CubeState::Solved();
    CubeState mirrored = CubeState::Solved();
    SetTwist(original, twist);
    SetTwist(mirrored, MirrorTwist(twist));
    for (int m = 0; m < kMoveCount; ++m) {
      const auto move = static_cast<Move>(m);
      ASSERT_EQ(TwistOf(mirrored.Apply(MirrorMove(move))), MirrorTwist(TwistOf(original.Apply(move))));
    }
  }
  for (int flip = 0; flip < kFlipCount; ++flip) {
    CubeState original = CubeState::Solved();
    CubeState mirrored = CubeState::Solved();
    SetFlip(original, flip);
    SetFlip(mirrored, MirrorFlip(flip));
    for (int m = 0; m < kMoveCount; ++m) {
      const auto move = static_cast<Move>(m);
      ASSERT_EQ(FlipOf(mirrored.Apply(MirrorMove(move))), MirrorFlip(FlipOf(original.Apply(move))));
    }
  }
  // The diagonal turn takes U to R, R to F and F to U.
  const CubeState back = DiagonalTurn().Inverse();
  const auto seenFromDiagonal = [&](const char* move) {
    return back.Then(FaceTurn((*ParseMoves(move))[0])).Then(DiagonalTurn());
  };
  EXPECT_TRUE(seenFromDiagonal("U") == FaceTurn(MakeMove(Face::R, 1)) ||
              seenFromDiagonal("U") == FaceTurn(MakeMove(Face::F, 1)));
  EXPECT_NE(seenFromDiagonal("U"), FaceTurn(MakeMove(Face::U, 1)));
  EXPECT_EQ(DiagonalTurn().Then(DiagonalTurn()).Then(DiagonalTurn()), CubeState::Solved());
}

TEST(MoveText, ReadsOnlyWhatItWrites) {
  const auto moves = ParseMoves("U R2 F' D L2 B' U2 R' F2 D' L B2");
  ASSERT_TRUE(moves.has_value());
  EXPECT_EQ(moves->size(), 12u);
  EXPECT_EQ(FormatMoves(*moves), "U R2 F' D L2 B' U2 R' F2 D' L B2");
  EXPECT_EQ(ParseMoves(""), std::vector<Move>{});
  for (const char* bad : {" R", "R ", "R  U", "R3", "r", "R'2", "M", "R2'", "x", "R\tU"}) {
    EXPECT_FALSE(ParseMoves(bad).has_value()) << bad;
  }
}

TEST(MoveText, InverseUndoesAndKeepsTheRules) {
  const auto moves = ParseMoves("R L U D' F2 B R2 L'");
  ASSERT_TRUE(moves.has_value());
  ASSERT_TRUE(FollowsMoveRules(*moves));
  const std::vector<Move> inverse = InverseSequence(*moves);
  EXPECT_EQ(FormatMoves(inverse), "R2 L F2 B' U' D R' L'");
  EXPECT_TRUE(FollowsMoveRules(inverse));
  EXPECT_EQ(CubeState::Solved().Apply(*moves).Apply(inverse), CubeState::Solved());
  for (const char* broken : {"R R", "R R2", "L R", "R L R", "D U", "B F2"}) {
    EXPECT_FALSE(FollowsMoveRules(*ParseMoves(broken))) << broken;
  }
}

}  // namespace
}  // namespace tw::scramble
