#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "picture/puzzle_net.h"
#include "scramble/event_scrambler.h"

namespace tw::picture {
namespace {

using scramble::Event;

NetPoint Middle(const NetShape& shape) {
  NetPoint m;
  for (const NetPoint& p : shape.points) {
    m.x += p.x / static_cast<double>(shape.points.size());
    m.y += p.y / static_cast<double>(shape.points.size());
  }
  return m;
}

NetDrawing Drawn(Event event, std::string_view moves) {
  const auto state = scramble::StateAfter(event, moves);
  if (!state) {
    ADD_FAILURE() << scramble::IdOf(event) << " does not read " << moves;
    return {};
  }
  return DrawPuzzle(event, *state);
}

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
      {Event::kClock, 2 + 9 * 4 * 2, 7},  // per dial its circle, the 12 mark, the hand and its hub
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

// Solved, every face is drawn in one colour of its own: the faces' stickers come in
// runs of the face's size, in as many colours as the puzzle has faces.
TEST(PuzzleNet, ASolvedPuzzleShowsEachFaceInOneColourOfItsOwn) {
  const struct {
    Event event;
    std::size_t faces;
    std::size_t stickersPerFace;
  } cases[] = {
      {Event::k333, 6, 9},    {Event::k222, 6, 4},     {Event::k444, 6, 16},   {Event::k555, 6, 25},
      {Event::k666, 6, 36},   {Event::k777, 6, 49},    {Event::k333bf, 6, 9},  {Event::k444bf, 6, 16},
      {Event::k555bf, 6, 25}, {Event::kPyram, 4, 9},   {Event::kSkewb, 6, 5},  {Event::kMinx, 12, 11},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(scramble::IdOf(c.event)));
    const NetDrawing net = Drawn(c.event, "");
    ASSERT_EQ(net.shapes.size(), c.faces * c.stickersPerFace);
    std::set<std::uint32_t> faceColours;
    for (std::size_t f = 0; f < c.faces; ++f) {
      const std::uint32_t colour = net.shapes[f * c.stickersPerFace].rgb;
      faceColours.insert(colour);
      for (std::size_t s = 0; s < c.stickersPerFace; ++s) {
        EXPECT_EQ(net.shapes[f * c.stickersPerFace + s].rgb, colour) << "face " << f << " sticker " << s;
      }
    }
    EXPECT_EQ(faceColours.size(), c.faces);
  }
}

// The faces lie where the net shows them: after R, U's right column shows the front's
// green and F's right column the bottom's yellow; the rest of U stays white.
TEST(PuzzleNet, ACubeTurnColoursExactlyTheStickersItMoves) {
  const NetDrawing net = Drawn(Event::k333, "R");
  ASSERT_EQ(net.shapes.size(), 54u);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(net.shapes[static_cast<std::size_t>(i)].rgb, i % 3 == 2 ? kGreen : kWhite) << "U " << i;
    EXPECT_EQ(net.shapes[static_cast<std::size_t>(18 + i)].rgb, i % 3 == 2 ? kYellow : kGreen) << "F " << i;
  }
  // U above F, R to its right, D under it, L to its left.
  const NetPoint u = Middle(net.shapes[4]), r = Middle(net.shapes[13]), f = Middle(net.shapes[22]),
                 d = Middle(net.shapes[31]), l = Middle(net.shapes[40]);
  EXPECT_LT(u.y, f.y);
  EXPECT_DOUBLE_EQ(u.x, f.x);
  EXPECT_GT(r.x, f.x);
  EXPECT_GT(d.y, f.y);
  EXPECT_LT(l.x, f.x);
  // A third column right of F's: the turned stickers are the rightmost of U and F.
  EXPECT_GT(Middle(net.shapes[2]).x, Middle(net.shapes[1]).x);
}

// Pyraminx's U turns the top of F, L and R the way the cube's U does: F's top shows R's
// blue, L's top F's green, and R's top L's red; D stays yellow.
TEST(PuzzleNet, APyraminxTurnMovesTheTopsOfTheSideFaces) {
  const NetDrawing net = Drawn(Event::kPyram, "U");
  ASSERT_EQ(net.shapes.size(), 36u);
  // Drawn left to right: L, F, R, then D under F.
  const std::uint32_t expectedTops[] = {kGreen, kBlue, kRed};
  const std::uint32_t rests[] = {kRed, kGreen, kBlue};
  for (std::size_t face = 0; face < 3; ++face) {
    for (std::size_t s = 0; s < 9; ++s) {
      EXPECT_EQ(net.shapes[face * 9 + s].rgb, s < 4 ? expectedTops[face] : rests[face]) << face << " " << s;
    }
  }
  for (std::size_t s = 27; s < 36; ++s) EXPECT_EQ(net.shapes[s].rgb, kYellow);
  EXPECT_LT(Middle(net.shapes[0]).x, Middle(net.shapes[9]).x);   // L left of F
  EXPECT_GT(Middle(net.shapes[18]).x, Middle(net.shapes[9]).x);  // R right of F
  // D's front edge meets F's bottom: its first row lies nearer F than its point.
  EXPECT_LT(Middle(net.shapes[27]).y, Middle(net.shapes[35]).y);

  // The tip l turns the three stickers at the front left vertex: F's bottom left, L's
  // bottom right and D's top left, where they meet in the net.
  const NetDrawing solved = Drawn(Event::kPyram, "");
  const NetDrawing tip = Drawn(Event::kPyram, "l");
  ASSERT_EQ(tip.shapes.size(), 36u);
  std::vector<std::size_t> changed;
  for (std::size_t s = 0; s < 36; ++s) {
    if (tip.shapes[s].rgb != solved.shapes[s].rgb) changed.push_back(s);
  }
  ASSERT_EQ(changed, (std::vector<std::size_t>{8, 9 + 4, 27}));
  EXPECT_LT(Middle(tip.shapes[27]).x, Middle(tip.shapes[35]).x);
  EXPECT_LT(Middle(tip.shapes[27]).x, Middle(tip.shapes[9]).x);
}

// Each Megaminx flower is seen from outside: on U's, F below, L lower left, R lower
// right; on D's (turned over), B below, DBL lower left, DL upper left, DR upper right.
// A U turn brings R's colour to the three stickers of F next to U.
TEST(PuzzleNet, MegaminxFlowersAreSeenFromOutside) {
  // Where a face of the state is drawn: the middle of the one face shown in another colour.
  const auto centre = [](std::size_t face) {
    std::string state(132, 'A');
    state.replace(face * 11, 11, 11, face == 0 ? 'B' : static_cast<char>('A' + face));
    const NetDrawing net = DrawPuzzle(Event::kMinx, state);
    const std::uint32_t white = DrawPuzzle(Event::kMinx, std::string(132, 'A')).shapes[0].rgb;
    std::size_t found = 0;
    NetPoint middle;
    for (std::size_t s = 0; s < net.shapes.size(); ++s) {
      if (net.shapes[s].rgb == white) continue;
      EXPECT_EQ(s % 11, found % 11) << "face " << face;  // one face's eleven stickers
      if (found++ == 0) middle = Middle(net.shapes[s]);
    }
    EXPECT_EQ(found, 11u) << "face " << face;
    return middle;
  };
  // The state's order: U F R BR BL L, D DR DBR B DBL DL.
  const NetPoint u = centre(0), f = centre(1), r = centre(2), br = centre(3), bl = centre(4), l = centre(5);
  EXPECT_GT(f.y, u.y);
  EXPECT_NEAR(f.x, u.x, 1e-9);
  EXPECT_LT(l.x, u.x);
  EXPECT_GT(l.y, u.y);
  EXPECT_LT(bl.y, u.y);
  EXPECT_LT(bl.x, u.x);
  EXPECT_LT(br.y, u.y);
  EXPECT_GT(br.x, u.x);
  EXPECT_GT(r.x, u.x);
  EXPECT_GT(r.y, u.y);
  const NetPoint d = centre(6), dr = centre(7), dbr = centre(8), b = centre(9), dbl = centre(10), dl = centre(11);
  EXPECT_GT(d.x, r.x);
  EXPECT_GT(b.y, d.y);
  EXPECT_NEAR(b.x, d.x, 1e-9);
  EXPECT_LT(dbl.x, d.x);
  EXPECT_GT(dbl.y, d.y);
  EXPECT_LT(dl.x, d.x);
  EXPECT_LT(dl.y, d.y);
  EXPECT_GT(dr.x, d.x);
  EXPECT_LT(dr.y, d.y);
  EXPECT_GT(dbr.x, d.x);
  EXPECT_GT(dbr.y, d.y);

  const NetDrawing solved = Drawn(Event::kMinx, "");
  const NetDrawing turned = Drawn(Event::kMinx, "U");
  ASSERT_EQ(turned.shapes.size(), 132u);
  // Drawn in the order U, F, L, BL, BR, R: F's stickers follow U's.
  const std::uint32_t green = solved.shapes[11].rgb, red = solved.shapes[55].rgb;
  for (std::size_t s = 0; s < 11; ++s) {
    const NetShape& sticker = turned.shapes[11 + s];
    const bool nextToU = s == 1 || s == 2 || s == 10;
    EXPECT_EQ(sticker.rgb, nextToU ? red : green) << "F " << s;
    if (nextToU) {
      EXPECT_LT(Middle(sticker).y, f.y) << "F " << s;  // the side that meets U
    }
  }
  // The corner after the first edge, clockwise from outside: F's top right (U, F, R).
  EXPECT_GT(Middle(turned.shapes[11 + 2]).x, f.x);
}

// The side colours of the Square-1's layers: the top seen from above (left on the
// left), the bottom from below (right on the left), the front down in both; under
// them the middle layer's front.
TEST(PuzzleNet, Square1LayersShowTheirSidesFromOutside) {
  const NetDrawing net = Drawn(Event::kSq1, "");
  ASSERT_EQ(net.shapes.size(), 42u);
  double layersBottom = 0;
  for (const NetShape& shape : net.shapes) {
    for (const NetPoint& p : shape.points) {
      if (shape.rgb == kWhite || shape.rgb == kYellow) layersBottom = std::max(layersBottom, p.y);
    }
  }
  const auto inMiddleLayer = [&](const NetShape& shape) {
    return std::all_of(shape.points.begin(), shape.points.end(), [&](const NetPoint& p) { return p.y > layersBottom; });
  };
  const double split = net.width / 2;
  for (const bool top : {true, false}) {
    SCOPED_TRACE(top ? "top" : "bottom");
    NetPoint centre{};
    int pieces = 0;
    std::vector<const NetShape*> bands;
    for (const NetShape& shape : net.shapes) {
      const NetPoint m = Middle(shape);
      if (inMiddleLayer(shape) || (m.x < split) != top) continue;
      if (shape.rgb == (top ? kWhite : kYellow)) {
        ++pieces;
        centre.x += m.x / 8;
        centre.y += m.y / 8;
      } else {
        bands.push_back(&shape);
      }
    }
    ASSERT_EQ(pieces, 8);
    ASSERT_EQ(bands.size(), 12u);
    // The band furthest each way shows that side's colour.
    const auto furthest = [&](double dx, double dy) {
      const NetShape* best = bands.front();
      for (const NetShape* band : bands) {
        const NetPoint m = Middle(*band), b = Middle(*best);
        if ((m.x - centre.x) * dx + (m.y - centre.y) * dy > (b.x - centre.x) * dx + (b.y - centre.y) * dy) best = band;
      }
      return best->rgb;
    };
    EXPECT_EQ(furthest(0, 1), kGreen);
    EXPECT_EQ(furthest(0, -1), kBlue);
    EXPECT_EQ(furthest(-1, 0), top ? kOrange : kRed);
    EXPECT_EQ(furthest(1, 0), top ? kRed : kOrange);
  }
  // Solved, the middle layer's front is green across; the slash turns its right part
  // over, and its back's blue shows right of the small part.
  const auto middleLayer = [&](const NetDrawing& drawn) {
    std::vector<std::uint32_t> colours;
    for (const NetShape& shape : drawn.shapes) {
      if (inMiddleLayer(shape)) colours.push_back(shape.rgb);
    }
    return colours;
  };
  EXPECT_EQ(middleLayer(net), (std::vector<std::uint32_t>{kGreen, kGreen}));
  EXPECT_EQ(middleLayer(Drawn(Event::kSq1, "/")), (std::vector<std::uint32_t>{kGreen, kBlue}));
}

// The Clock's hands point at their hours, 12 straight up; the back is seen from the back.
TEST(PuzzleNet, ClockHandsPointAtTheirHours) {
  const auto hands = [](const NetDrawing& net) {
    std::vector<NetPoint> directions;  // from each dial's centre to its hand's tip
    for (const NetShape& shape : net.shapes) {
      if (shape.points.size() != 3) continue;
      const NetPoint base{(shape.points[0].x + shape.points[2].x) / 2, (shape.points[0].y + shape.points[2].y) / 2};
      directions.push_back({shape.points[1].x - base.x, shape.points[1].y - base.y});
    }
    return directions;
  };
  const std::vector<NetPoint> solved = hands(Drawn(Event::kClock, ""));
  ASSERT_EQ(solved.size(), 18u);
  for (const NetPoint& hand : solved) {
    EXPECT_NEAR(hand.x, 0, 1e-9);
    EXPECT_LT(hand.y, 0);
  }
  // UR1+ turns the front's top right four dials to 1 o'clock and the back's top left
  // (the same corner seen from behind) to 11.
  const std::vector<NetPoint> turned = hands(Drawn(Event::kClock, "UR1+"));
  ASSERT_EQ(turned.size(), 18u);
  for (std::size_t dial = 0; dial < 18; ++dial) {
    const bool one = dial == 1 || dial == 2 || dial == 4 || dial == 5;
    const bool eleven = dial == 9;
    const double expectedDegrees = one ? 30 : eleven ? -30 : 0;  // clockwise from 12
    const double degrees = std::atan2(turned[dial].x, -turned[dial].y) * 180 / 3.14159265358979323846;
    EXPECT_NEAR(degrees, expectedDegrees, 1e-6) << "dial " << dial;
  }
}

TEST(PuzzleNet, AStateThatIsNotTheEventsDrawsNothing) {
  const struct {
    Event event;
    std::string state;
  } cases[] = {
      {Event::k333, ""},
      {Event::k333, std::string(53, 'U')},
      {Event::k333, std::string(53, 'U') + "X"},
      {Event::k444, std::string(95, 'U')},
      {Event::k333mbf, "\n" + std::string(54, 'U')},
      {Event::kPyram, std::string(36, 'U')},
      {Event::kPyram, std::string(35, 'F')},
      {Event::kSkewb, std::string(29, 'U')},
      {Event::kMinx, std::string(132, 'Z')},
      {Event::kMinx, std::string(131, 'A')},
      {Event::kSq1, std::string(24, '0') + "-"},                 // a piece in every twelfth
      {Event::kSq1, "0012234456678991bbcddeff?"},                // no middle layer
      {Event::kSq1, "0122344566789901bbcddeff-"},                // a corner split across the bottom
      {Event::kClock, std::string(18, 'c')},
      {Event::kClock, std::string(17, '0')},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(DrawPuzzle(c.event, c.state).Empty()) << scramble::IdOf(c.event) << " " << c.state;
  }
  // A cube's state is drawn as the cube it is, whatever the session's cube event.
  EXPECT_EQ(DrawPuzzle(Event::k222, std::string(54, 'U')).shapes.size(), 54u);
}

}  // namespace
}  // namespace tw::picture
