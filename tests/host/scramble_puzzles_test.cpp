// The puzzle models that turn each event's notation, checked against what the puzzles
// do in the hand: the 3x3x3's stickers as the separate sticker cube turns them, which
// face's colours a turn carries where, and what a slash, a pin or a Megaminx move moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "scramble/event_scrambler.h"
#include "scramble/events.h"
#include "scramble/square1/square1.h"
#include "tests/host/scramble_sticker_cube.h"

namespace tw::scramble {
namespace {

std::string After(Event event, const std::string& text) { return StateAfter(event, text).value_or("unreadable: " + text); }

// One face of a state: `count` stickers starting at face * count.
std::string Face(const std::string& state, int face, int count) {
  return state.substr(static_cast<std::size_t>(face * count), static_cast<std::size_t>(count));
}

TEST(CubeModel, TurnsOuterLayersAsTheStickerCubeDoes) {
  std::mt19937_64 rng(11);
  for (int i = 0; i < 200; ++i) {
    std::string text;
    for (int k = 0; k < 25; ++k) {
      if (!text.empty()) text += ' ';
      text += "URFDLB"[rng() % 6];
      text += std::string_view("\0'2", 3)[rng() % 3];
      if (text.back() == '\0') text.pop_back();
    }
    ASSERT_EQ(After(Event::k333, text), stickers::Turned(text)) << text;
  }
}

// Wide turns: Rw on 3x3x3 turns R with the middle slice, so a 3x3x3 turned Rw then L'
// shows every face as one colour, the whole cube turned as by R (F's colour on U).
// On 4x4x4 Rw Lw' turns the whole cube the same way, and 3Rw takes all but L.
TEST(CubeModel, WideTurnsTakeTheirLayers) {
  const auto wholeTurnedLikeR = [](const std::string& state, int perFace) {
    // U shows F, F shows D, D shows B, B shows U; R and L stay.
    const std::string expected = std::string(perFace, 'F') + std::string(perFace, 'R') + std::string(perFace, 'D') +
                                 std::string(perFace, 'B') + std::string(perFace, 'L') + std::string(perFace, 'U');
    return state == expected;
  };
  EXPECT_TRUE(wholeTurnedLikeR(After(Event::k333bf, "Rw L'"), 9)) << After(Event::k333bf, "Rw L'");
  EXPECT_TRUE(wholeTurnedLikeR(After(Event::k444, "Rw Lw'"), 16)) << After(Event::k444, "Rw Lw'");
  EXPECT_TRUE(wholeTurnedLikeR(After(Event::k444bf, "3Rw L'"), 16));
  EXPECT_EQ(After(Event::k444, "2Rw"), After(Event::k444, "Rw"));
  // On 5x5x5, Rw moves the two columns on R's side of U to B: U's rows read UUUFF.
  const std::string u = Face(After(Event::k555, "Rw"), 0, 25);
  for (int row = 0; row < 5; ++row) EXPECT_EQ(u.substr(static_cast<std::size_t>(row * 5), 5), "UUUFF");
  // The 2x2x2 is the 3x3x3's corners.
  const std::string text = "R U2 F' R' U F2";
  const std::string big = stickers::Turned(text);
  std::string corners;
  for (std::size_t face = 0; face < 6; ++face) {
    for (const std::size_t place : {0u, 2u, 6u, 8u}) corners += big[face * 9 + place];
  }
  EXPECT_EQ(After(Event::k222, text), corners);
}

// Pyraminx faces F, L, R, D (nine stickers each). Seen from above, U clockwise carries
// the front to the left; about the front-left vertex L carries F to D, D to the left
// face and that back to F; about the front-right vertex R carries F to the right face,
// that to D and D back to F. Each carries the top two rows of the three faces it turns
// and leaves the fourth face alone; a tip carries one sticker of each.
TEST(PyraminxModel, TurnsCarryFacesAsInTheHand) {
  const auto face = [](const std::string& state, int f) { return Face(state, f, 9); };
  enum { F, L, R, D };
  const std::string u = After(Event::kPyram, "U");
  EXPECT_EQ(face(u, F).substr(0, 4), "RRRR");
  EXPECT_EQ(face(u, L).substr(0, 4), "FFFF");
  EXPECT_EQ(face(u, R).substr(0, 4), "LLLL");
  EXPECT_EQ(face(u, D), "DDDDDDDDD");
  EXPECT_EQ(face(u, F).substr(4), "FFFFF");
  const auto shows = [&](const std::string& state, int f, char colour) {
    const std::string stickers = face(state, f);
    return std::count(stickers.begin(), stickers.end(), colour);
  };
  const std::string l = After(Event::kPyram, "L");
  EXPECT_EQ(shows(l, D, 'F'), 4);
  EXPECT_EQ(shows(l, L, 'D'), 4);
  EXPECT_EQ(shows(l, F, 'L'), 4);
  EXPECT_EQ(face(l, R), "RRRRRRRRR");
  const std::string r = After(Event::kPyram, "R");
  EXPECT_EQ(shows(r, R, 'F'), 4);
  EXPECT_EQ(shows(r, D, 'R'), 4);
  EXPECT_EQ(shows(r, F, 'D'), 4);
  EXPECT_EQ(face(r, L), "LLLLLLLLL");
  const std::string tip = After(Event::kPyram, "u");
  EXPECT_EQ(face(tip, F), "RFFFFFFFF");
  EXPECT_EQ(After(Event::kPyram, "B B B"), After(Event::kPyram, ""));
  EXPECT_EQ(After(Event::kPyram, "r r'"), After(Event::kPyram, ""));
}

// Skewb faces U R F D L B (centre first, five stickers each). Each turn carries three
// centres round its corner, clockwise as seen looking at that corner: R (corner DRB)
// carries R to B, B to D, D to R; U (UBL) carries U to L, L to B, B to U; L (DFL) D to
// L, L to F, F to D; B (DBL) D to B, B to L, L to D.
TEST(SkewbModel, TurnsCarryCentresRoundTheirCorner) {
  struct Case {
    const char* move;
    const char* centres;  // the centre colour on U R F D L B afterwards
  };
  const Case cases[] = {{"R", "UDFBLR"}, {"U", "BRFDUL"}, {"L", "URLFDB"}, {"B", "URFLBD"}};
  for (const Case& c : cases) {
    const std::string state = After(Event::kSkewb, c.move);
    std::string centres;
    for (std::size_t face = 0; face < 6; ++face) centres += state[face * 5];
    EXPECT_EQ(centres, c.centres) << c.move;
    // The corner nearest the scrambler, URF, never moves: U's bottom-right, R's
    // top-left, F's top-right stickers.
    EXPECT_EQ(std::string({state[4], state[5 + 1], state[10 + 2]}), "URF") << c.move;
  }
  EXPECT_EQ(After(Event::kSkewb, "R' R"), After(Event::kSkewb, ""));
}

// Square-1: the slash swaps the right halves, so from solved each layer gets two edges
// side by side where the halves meet; a second slash puts them back.
TEST(Square1Model, SlashSwapsTheRightHalves) {
  EXPECT_EQ(After(Event::kSq1, ""), "001223445667899abbcddeff-");
  EXPECT_EQ(After(Event::kSq1, "/"), "001223899abb445667cddeff/");
  EXPECT_EQ(After(Event::kSq1, "/ /"), After(Event::kSq1, ""));
  EXPECT_EQ(After(Event::kSq1, "(6,6) (6,6)"), After(Event::kSq1, ""));
  // A turn moves the top clockwise as seen from above: piece 7 (the edge before the
  // cut) comes to twelfth 0.
  EXPECT_EQ(After(Event::kSq1, "(1,0)").substr(0, 12), "700122344566");
  EXPECT_EQ(After(Event::kSq1, "(0,-1)").substr(12, 12), "99abbcddeff8");
  // A slash across a corner cannot be made.
  EXPECT_EQ(StateAfter(Event::kSq1, "(1,1)/"), std::nullopt);
}

TEST(Square1Model, DistanceFromSolvedCountsTurnsAndSlashes) {
  const Square1 puzzle;
  EXPECT_TRUE(puzzle.SolvedWithin(Sq1State::Solved(), 1));
  const Sq1State slashed = *Sq1After("/");
  EXPECT_FALSE(puzzle.SolvedWithin(slashed, 1));
  EXPECT_TRUE(puzzle.SolvedWithin(slashed, 2));
  // Ten moves from solved are within eleven (and no fewer); a scramble never is.
  const std::optional<Sq1State> ten = Sq1After("(1,0)/ (-1,2)/ (3,0)/ (0,-3)/ (3,3)/");
  ASSERT_TRUE(ten.has_value());
  EXPECT_TRUE(puzzle.SolvedWithin(*ten, 11));
  EXPECT_FALSE(puzzle.SolvedWithin(*ten, 10));
  EventScrambler scrambler(Event::kSq1, 3);
  for (int i = 0; i < 30; ++i) {
    const Sq1State state = *Sq1After(scrambler.Next().text);
    EXPECT_FALSE(puzzle.SolvedWithin(state, 11)) << Sq1Text(state);
  }
}

// Clock: the front's nine dials, then the back's nine as the back sees them. A pin up
// turns the four dials about it; a front corner turned turns the back's twin corner (the
// other column, seen from behind) the other way.
TEST(ClockModel, PinsTurnTheDialsAboutThem) {
  EXPECT_EQ(After(Event::kClock, "UR2-"), "0aa0aa000" "200000000");
  EXPECT_EQ(After(Event::kClock, "ALL1+"), "111111111" "b0b000b0b");
  EXPECT_EQ(After(Event::kClock, "U3+"), "333333000" "909000000");
  EXPECT_EQ(After(Event::kClock, "y2 UR1+"), "b00000000" "011011000");
  EXPECT_EQ(After(Event::kClock, "DL6+ DL6+"), After(Event::kClock, ""));
}

// Megaminx faces U F R BR BL L D DR DBR B DBL DL (A to L), eleven stickers each.
TEST(MegaminxModel, MovesKeepTheTopLeftPiecesAndComeBackAfterFive) {
  const std::string solved = After(Event::kMinx, "");
  EXPECT_EQ(After(Event::kMinx, "R++ R++ R++ R++ R++"), solved);
  EXPECT_EQ(After(Event::kMinx, "D++ D--"), solved);
  EXPECT_EQ(After(Event::kMinx, "U U U U U"), solved);
  EXPECT_EQ(After(Event::kMinx, "U U'"), solved);
  // R++ leaves the face L as it is, D++ the face U.
  EXPECT_EQ(Face(After(Event::kMinx, "R++"), 5, 11), std::string(11, 'F'));
  EXPECT_EQ(Face(After(Event::kMinx, "D++"), 0, 11), std::string(11, 'A'));
  // U clockwise as seen from above carries R's top to F.
  EXPECT_EQ(Face(After(Event::kMinx, "U"), 1, 11).substr(0, 4), "BCCB");
  // The three pieces U and L share stay through any R and D moves: U's stickers 2 to 4.
  std::mt19937_64 rng(5);
  std::string text;
  for (int k = 0; k < 40; ++k) text += std::string(k % 2 == 0 ? "R" : "D") + (rng() % 2 ? "++ " : "-- ");
  text.pop_back();
  EXPECT_EQ(Face(After(Event::kMinx, text), 0, 11).substr(2, 3), "AAA") << text;
}

// Whole states after short sequences, each worked out on the puzzle in the hand (the
// layout of each state string is in the model's header). Every sticker is checked,
// so a turn the wrong way, a wrong layer or a face read in the wrong order shows.
TEST(PuzzleModels, ShortSequencesGiveTheStatesWorkedOutByHand) {
  struct Case {
    Event event;
    const char* moves;
    std::string state;
  };
  const auto rows = [](std::initializer_list<std::pair<int, const char*>> runs) {
    std::string state;
    for (const auto& [count, row] : runs) {
      for (int i = 0; i < count; ++i) state += row;
    }
    return state;
  };
  const Case cases[] = {
      // Skewb, faces U R F D L B: R carries the centres R to B, B to D, D to R and the
      // corners DRF to URB, URB to DLB, DLB to DRF; U carries U to L, L to B, B to U and
      // ULF to DLB, DLB to URB, URB to ULF.
      {Event::kSkewb, "R U", "RBRRU" "DRBDD" "FDFFL" "BDBFB" "UUFUL" "LULRL"},
      // Pyraminx, faces F L R D: U carries the front's top to L; R (front-right vertex)
      // carries F to the right face, that to D, D to F; l' turns the front-left tip back.
      {Event::kPyram, "U R l'", "RRRDDFDDD" "FFFFLLLLF" "LFLLFFRRR" "LDRRRDDLD"},
      // 6x6x6: three layers from R bring F's colour up; two from U turned back carry the
      // top two rows of each side face one face to the right.
      {Event::k666, "3Rw Uw'",
       rows({{3, "FFFFFF"}, {3, "UUUUUU"}}) + rows({{2, "FFFDDD"}, {4, "RRRRRR"}}) +
           rows({{2, "LLLLLL"}, {4, "FFFDDD"}}) + rows({{6, "DDDBBB"}}) + rows({{2, "UUUBBB"}, {4, "LLLLLL"}}) +
           rows({{2, "RRRRRR"}, {4, "UUUBBB"}})},
      // 7x7x7: three layers from B turned back carry U's back rows to R's back columns,
      // R's to D's back rows, D's to L's back columns and L's to U.
      {Event::k777, "3Bw'",
       rows({{3, "LLLLLLL"}, {4, "UUUUUUU"}}) + rows({{7, "RRRRUUU"}}) + rows({{7, "FFFFFFF"}}) +
           rows({{4, "DDDDDDD"}, {3, "RRRRRRR"}}) + rows({{7, "DDDLLLL"}}) + rows({{7, "BBBBBBB"}})},
      // Megaminx, faces A to L: R++ turns all but L's layer about the face opposite L
      // (D to R, DR to BR, R to B, BR to D, B to DR; U to DBL, BL to DL, DBL to F, DL to
      // U, F to BL), then D++ all but U's layer (F to BR, R to BL, BR to L, BL to F, L to
      // R; DR to B, DBR to DBL, B to DL, DBL to DR, DL to DBR).
      {Event::kMinx, "R++ D++",
       "LLAAALLLLLL" "BKKEEBBBBBB" "FGGFFFFFFFG" "KHHKKKKKBBH" "GBEGGGGGGGB" "HFFHHHHHHHF"
       "DDDDDDDDDDD" "AAAAAAKKKAA" "EEEELLLEEEE" "JJJJJJJJJJJ" "IIIIIIIIIII" "CCCCCCCCCCC"},
      // Square-1: the top a twelfth clockwise, a slash, the bottom a twelfth back, a slash.
      {Event::kSq1, "(1,0)/ (0,-1)/", "70012244566c" "899abbddeff3" "-"},
      // Clock: UR's four dials two hours back and the back's twin corner two forward;
      // then every front dial an hour on, the back's corners an hour back.
      {Event::kClock, "UR2- ALL1+", "1bb1bb111" "10b000b0b"},
  };
  for (const Case& c : cases) EXPECT_EQ(After(c.event, c.moves), c.state) << IdOf(c.event) << ": " << c.moves;
}

}  // namespace
}  // namespace tw::scramble
