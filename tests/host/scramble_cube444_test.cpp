#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "scramble/puzzles/big_cube.h"
#include "scramble/cube444/cube444_model.h"
#include "scramble/cube333/cube_state.h"
#include "scramble/scramble_text.h"

namespace tw::scramble {
namespace {

std::string Rows(const std::vector<std::string>& rows) {
  std::string face;
  for (const std::string& row : rows) face += row;
  return face;
}

std::string Same(char letter) { return std::string(16, letter); }

// Single turns of a solved 4x4x4 worked out on a real cube, face by face (U R F D L B,
// each read row by row from outside: U with B above it, D with F above it, the sides
// with U above). A side's row 0 is its top row; U's row 0 its back row, D's its front
// row; R's column 0 is at the front, L's at the back, B's at the right.
TEST(Cube444Model, SingleTurnsMoveWhatACubeMoves) {
  struct Case {
    const char* turns;
    std::array<std::string, 6> faces;
  };
  const Case cases[] = {
      {"U",
       {Same('U'), Rows({"BBBB", "RRRR", "RRRR", "RRRR"}), Rows({"RRRR", "FFFF", "FFFF", "FFFF"}), Same('D'),
        Rows({"FFFF", "LLLL", "LLLL", "LLLL"}), Rows({"LLLL", "BBBB", "BBBB", "BBBB"})}},
      {"Uw",
       {Same('U'), Rows({"BBBB", "BBBB", "RRRR", "RRRR"}), Rows({"RRRR", "RRRR", "FFFF", "FFFF"}), Same('D'),
        Rows({"FFFF", "FFFF", "LLLL", "LLLL"}), Rows({"LLLL", "LLLL", "BBBB", "BBBB"})}},
      {"D2",
       {Same('U'), Rows({"RRRR", "RRRR", "RRRR", "LLLL"}), Rows({"FFFF", "FFFF", "FFFF", "BBBB"}), Same('D'),
        Rows({"LLLL", "LLLL", "LLLL", "RRRR"}), Rows({"BBBB", "BBBB", "BBBB", "FFFF"})}},
      // Rw takes the front's right half up onto U, U's onto the back, the back's down.
      {"Rw",
       {Rows({"UUFF", "UUFF", "UUFF", "UUFF"}), Same('R'), Rows({"FFDD", "FFDD", "FFDD", "FFDD"}),
        Rows({"DDBB", "DDBB", "DDBB", "DDBB"}), Same('L'), Rows({"UUBB", "UUBB", "UUBB", "UUBB"})}},
      // Fw' takes R's front half up onto U, U's front half onto L, L's down onto D.
      {"Fw'",
       {Rows({"UUUU", "UUUU", "RRRR", "RRRR"}), Rows({"DDRR", "DDRR", "DDRR", "DDRR"}), Same('F'),
        Rows({"LLLL", "LLLL", "DDDD", "DDDD"}), Rows({"LLUU", "LLUU", "LLUU", "LLUU"}), Same('B')}},
      // U after Rw: U's turned stripes lie across it, and each side's top row carries its
      // neighbour's stripes along.
      {"Rw U",
       {Rows({"UUUU", "UUUU", "FFFF", "FFFF"}), Rows({"UUBB", "RRRR", "RRRR", "RRRR"}),
        Rows({"RRRR", "FFDD", "FFDD", "FFDD"}), Rows({"DDBB", "DDBB", "DDBB", "DDBB"}),
        Rows({"FFDD", "LLLL", "LLLL", "LLLL"}), Rows({"LLLL", "UUBB", "UUBB", "UUBB"})}},
  };
  const BigCube cube(4);
  const cube444::Model model;
  for (const Case& c : cases) {
    std::string expected;
    for (const std::string& face : c.faces) expected += face;
    EXPECT_EQ(cube.StateAfter(c.turns), expected) << c.turns;
    // The reduction's own model turns alike.
    std::string stickers = model.Solved();
    const auto moves = ParseCubeMoves(c.turns, 4);
    ASSERT_TRUE(moves.has_value()) << c.turns;
    for (const CubeMove& move : *moves) {
      const int kind = static_cast<int>(move.face) + (move.width == 2 ? 6 : 0);
      model.Apply(cube444::MakeTurn(kind, move.quarterTurns), stickers);
    }
    EXPECT_EQ(stickers, expected) << c.turns;
  }
}

TEST(Cube444Model, EveryTurnAsTheStickerCubeTurnsIt) {
  const BigCube cube(4);
  const cube444::Model model;
  std::mt19937_64 rng(7);
  for (int t = 0; t < cube444::kTurns; ++t) {
    const auto turn = static_cast<cube444::Turn>(t);
    const cube444::Cube start = model.Random(rng);
    std::string expected = model.Stickers(start);
    ASSERT_TRUE(cube.StateAfter(cube444::TurnText(turn)).has_value()) << cube444::TurnText(turn);
    const int kind = cube444::KindOf(turn);
    cube.Apply({static_cast<Face>(kind % 6), kind < 6 ? 1 : 2, cube444::QuarterTurnsOf(turn)}, expected);
    EXPECT_EQ(model.Stickers(model.Apply(start, turn)), expected) << cube444::TurnText(turn);
    EXPECT_EQ(model.FromStickers(expected), model.Apply(start, turn)) << cube444::TurnText(turn);
  }
}

// A 4x4x4 turned only by outer turns is the 3x3x3 those turns make.
TEST(Cube444Model, OuterTurnsReduceToTheThreeByThreeTheyMake) {
  const cube444::Model model;
  std::mt19937_64 rng(11);
  for (int run = 0; run < 20; ++run) {
    std::vector<Move> moves;
    cube444::Cube cube = model.FromStickers(model.Solved());
    for (int i = 0; i < 30; ++i) {
      const auto move = static_cast<Move>(rng() % kMoveCount);
      moves.push_back(move);
      cube = model.Apply(cube, move);  // the outer turns share the 3x3x3's numbers
    }
    const CubeState expected = CubeState::Solved().Apply(moves);
    const cube444::ThreeByThree reduced = model.Reduced(cube);
    EXPECT_EQ(reduced.cornerPiece, expected.cornerPiece) << FormatMoves(moves);
    EXPECT_EQ(reduced.cornerTwist, expected.cornerTwist) << FormatMoves(moves);
    EXPECT_EQ(reduced.edgePiece, expected.edgePiece) << FormatMoves(moves);
    EXPECT_EQ(reduced.edgeFlip, expected.edgeFlip) << FormatMoves(moves);
  }
}

double ChiSquare(const std::vector<int>& counts) {
  double total = 0;
  for (const int c : counts) total += c;
  const double expected = total / static_cast<double>(counts.size());
  double chi = 0;
  for (const int c : counts) chi += (c - expected) * (c - expected) / expected;
  return chi;
}

// Random states: the down-back-left corner always home, and the pieces found in a few
// slots spread evenly over a seeded run (chi-square below its 0.1% point), both wing
// orders about equally often.
TEST(Cube444Model, RandomStatesAreUniformWithTheHeldCornerHome) {
  const cube444::Model model;
  const BigCube cube(4);
  std::mt19937_64 rng(20261211);
  constexpr int kDraws = 12000;
  std::vector<int> wingInFirstSlot(cube444::kWings);
  std::vector<int> colourInFirstCentre(6);
  std::vector<int> stickerAtUrfU(6);
  int oddWings = 0;
  const std::string solved = model.Solved();
  for (int i = 0; i < kDraws; ++i) {
    const cube444::Cube state = model.Random(rng);
    const std::string stickers = model.Stickers(state);
    // D's row 3 column 0, L's row 3 column 0 and B's row 3 column 3 hold the corner.
    ASSERT_EQ(stickers.substr(3 * 16 + 12, 1) + stickers.substr(4 * 16 + 12, 1) + stickers.substr(5 * 16 + 15, 1), "DLB");
    ++wingInFirstSlot[state.wing[0]];
    ++colourInFirstCentre[state.centre[0]];
    ++stickerAtUrfU[std::string("URFDLB").find(stickers[15])];
    oddWings += IsOddPermutation(state.wing) ? 1 : 0;
    EXPECT_EQ(model.FromStickers(stickers), state);
  }
  EXPECT_LT(ChiSquare(wingInFirstSlot), 49.7);  // 23 degrees of freedom
  EXPECT_LT(ChiSquare(colourInFirstCentre), 20.5);  // 5
  // The sticker on U at the URF corner: each of the 7 corners that move shows each of
  // its 3 colours there equally often, and U, R and F lie on 4 of them, D, L and B on 3.
  const double counts[6] = {4, 4, 4, 3, 3, 3};
  double chi = 0;
  for (int f = 0; f < 6; ++f) {
    const double expected = kDraws * counts[f] / 21.0;
    chi += (stickerAtUrfU[f] - expected) * (stickerAtUrfU[f] - expected) / expected;
  }
  EXPECT_LT(chi, 20.5);
  EXPECT_NEAR(oddWings, kDraws / 2, 4 * std::sqrt(kDraws / 4.0));
}

}  // namespace
}  // namespace tw::scramble
