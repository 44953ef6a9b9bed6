#include <gtest/gtest.h>

#include <set>
#include <string>

#include "picture/puzzle_net.h"
#include "scramble/event_scrambler.h"

namespace tw::picture {
namespace {

using scramble::Event;

// Every event's scramble draws every sticker of its state inside the drawing, in the
// colours of its scheme only.
TEST(PuzzleNet, EveryEventsScrambleDrawsEachStickerInsideThePicture) {
  struct Case {
    Event event;
    std::size_t shapes;
    std::size_t colours;  // at most this many colours, at least 2
  };
  const Case cases[] = {
      {Event::k333, 54, 6},     {Event::k222, 24, 6},    {Event::k444, 96, 6},    {Event::k555, 150, 6},
      {Event::k666, 216, 6},    {Event::k777, 294, 6},   {Event::k333bf, 54, 6},  {Event::k333oh, 54, 6},
      {Event::k333fm, 54, 6},   {Event::k333mbf, 54, 6}, {Event::k444bf, 96, 6},  {Event::k555bf, 150, 6},
      {Event::kPyram, 36, 4},   {Event::kSkewb, 30, 6},  {Event::kMinx, 132, 12},
      {Event::kSq1, 16 + 24 + 2, 6},  // each piece, its side colours, the middle layer
      {Event::kClock, 2 + 9 * 3 * 2, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(scramble::IdOf(c.event)));
    scramble::EventScrambler scrambler(c.event, 7, 3);
    const scramble::EventScramble next = scrambler.Next();
    const NetDrawing net = DrawPuzzle(c.event, next.state);
    ASSERT_EQ(net.shapes.size(), c.shapes) << next.state;
    std::set<std::uint32_t> colours;
    for (const NetShape& shape : net.shapes) {
      colours.insert(shape.rgb);
      ASSERT_GE(shape.points.size(), 3u);
      for (const NetPoint& p : shape.points) {
        EXPECT_GE(p.x, -1e-9);
        EXPECT_GE(p.y, -1e-9);
        EXPECT_LE(p.x, net.width + 1e-9);
        EXPECT_LE(p.y, net.height + 1e-9);
      }
    }
    EXPECT_GE(colours.size(), 2u);
    EXPECT_LE(colours.size(), c.colours);
    EXPECT_EQ(net.caption, c.event == Event::k333mbf ? "1 of 3" : "");
  }
}

// The faces lie where the net shows them: after R, U's right column shows the front's
// green and F's right column the bottom's yellow; the rest of U stays white.
TEST(PuzzleNet, ATurnColoursExactlyTheStickersItMoves) {
  const auto state = scramble::StateAfter(Event::k333, "R");
  ASSERT_TRUE(state);
  const NetDrawing net = DrawPuzzle(Event::k333, *state);
  ASSERT_EQ(net.shapes.size(), 54u);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(net.shapes[static_cast<std::size_t>(i)].rgb, i % 3 == 2 ? kGreen : kWhite) << "U " << i;
    EXPECT_EQ(net.shapes[static_cast<std::size_t>(18 + i)].rgb, i % 3 == 2 ? kYellow : kGreen) << "F " << i;
  }
  // U is drawn above F: its stickers' middle lies above F's.
  EXPECT_LT(net.shapes[4].points[0].y, net.shapes[22].points[0].y);
  EXPECT_EQ(net.shapes[4].points[0].x, net.shapes[22].points[0].x);

  // Pyraminx's U turns the top of F, L and R: F's apex shows R's blue.
  const auto pyraminx = scramble::StateAfter(Event::kPyram, "U");
  ASSERT_TRUE(pyraminx);
  const NetDrawing pyramid = DrawPuzzle(Event::kPyram, *pyraminx);
  ASSERT_EQ(pyramid.shapes.size(), 36u);
  std::set<std::uint32_t> topOfF;
  for (std::size_t i = 9; i < 9 + 4; ++i) topOfF.insert(pyramid.shapes[i].rgb);  // F's first rows
  EXPECT_EQ(topOfF.size(), 1u);
  EXPECT_NE(*topOfF.begin(), kGreen);
}

TEST(PuzzleNet, AStateThatIsNotTheEventsDrawsNothing) {
  const struct {
    Event event;
    std::string state;
  } cases[] = {
      {Event::k333, ""},
      {Event::k333, std::string(53, 'U')},
      {Event::k333, std::string(53, 'U') + "X"},
      {Event::k222, std::string(54, 'U')},  // a 3x3x3's state is drawn as the 3x3x3 it is
      {Event::kPyram, std::string(36, 'U')},
      {Event::kSkewb, std::string(29, 'U')},
      {Event::kMinx, std::string(132, 'Z')},
      {Event::kSq1, std::string(24, '0') + "-"},  // a corner filling one twelfth
      {Event::kSq1, "0012234456678991bbcddeff?"},
      {Event::kClock, std::string(18, 'c')},
  };
  for (const auto& c : cases) {
    const NetDrawing net = DrawPuzzle(c.event, c.state);
    if (c.event == Event::k222 && c.state.size() == 54) {
      EXPECT_EQ(net.shapes.size(), 54u);
      continue;
    }
    EXPECT_TRUE(net.Empty()) << scramble::IdOf(c.event) << " " << c.state;
  }
}

}  // namespace
}  // namespace tw::picture
