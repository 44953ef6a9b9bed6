// Scrambles of every WCA event: each makes exactly the state drawn for it, is written
// by the WCA's rules for the event, keeps its distance from solved, and random-state
// events are uniform on a small property of the state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <array>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "scramble/puzzles/big_cube.h"
#include "scramble/event_scrambler.h"
#include "scramble/events.h"
#include "tests/host/scramble_sticker_cube.h"

namespace tw::scramble {
namespace {

constexpr std::uint64_t kSeed = 20260519;

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Chi-square against expected shares; fails a uniform generator with probability 5e-5.
::testing::AssertionResult FitsShares(const std::vector<int>& counts, const std::vector<double>& shares, double bound) {
  int total = 0;
  for (const int c : counts) total += c;
  double chi = 0;
  std::ostringstream seen;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const double expected = shares[i] * total;
    chi += (counts[i] - expected) * (counts[i] - expected) / expected;
    seen << counts[i] << " ";
  }
  if (chi < bound) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "chi-square " << chi << " over " << bound << " for counts " << seen.str();
}

::testing::AssertionResult FitsUniform(const std::vector<int>& counts, double bound) {
  return FitsShares(counts, std::vector<double>(counts.size(), 1.0 / static_cast<double>(counts.size())), bound);
}

// Critical values at 5e-5 by degrees of freedom.
constexpr double kChi2 = 19.81;
constexpr double kChi5 = 27.29;
constexpr double kChi11 = 39.15;
constexpr double kChi23 = 59.19;

TEST(Events, EveryIdNamesOneEventAndBack) {
  std::set<std::string_view> names;
  for (const Event event : kAllEvents) {
    EXPECT_EQ(EventFromId(IdOf(event)), event);
    names.insert(NameOf(event));
  }
  EXPECT_EQ(names.size(), kAllEvents.size());
  EXPECT_EQ(NameOf(Event::kSq1), "Square-1");
  EXPECT_EQ(EventFromId("333ft"), std::nullopt);
  EXPECT_EQ(EventFromId(""), std::nullopt);
}

TEST(Events, EachRowIsFoundAgainByItsIdAndByTheOtherTimersNames) {
  std::set<std::string_view> ids;
  for (const EventRow& row : EventRows()) {
    SCOPED_TRACE(std::string(row.id));
    EXPECT_TRUE(ids.insert(row.id).second);
    EXPECT_EQ(FindEvent(row.id), &row);
    EXPECT_EQ(EventName(row.id), row.name);
    EXPECT_EQ(EventOfCsTimerType(row.csTimerType), row.id);
    if (!row.twistyPuzzle.empty()) {
      EXPECT_EQ(EventOfTwistyPuzzle(row.twistyPuzzle), row.id);
    }
    if (row.kind) {
      EXPECT_EQ(IdOf(*row.kind), row.id);
    }
    EXPECT_EQ(IsTrainingEvent(row.id), row.kind && IsTraining(*row.kind));
  }
  EXPECT_EQ(EventRows().front().id, kDefaultEventId);
  // What is not ours falls back to the default event, an unknown id shows itself.
  EXPECT_EQ(FindEvent("333ft")->name, "3x3x3 With Feet");
  EXPECT_EQ(EventName("666bf"), "666bf");
  EXPECT_EQ(CsTimerTypeOfEvent("666bf"), "333");
  EXPECT_EQ(EventOfCsTimerType("clko"), "clock");
  EXPECT_EQ(EventOfCsTimerType("unknown"), kDefaultEventId);
  EXPECT_EQ(EventOfTwistyPuzzle(""), kDefaultEventId);
}

// How many scrambles each event's checks take: the 3x3x3 solver's ~5 ms a scramble keeps
// its events' counts small.
int SampleOf(Event event) {
  switch (event) {
    case Event::k333:
    case Event::k333oh:
    case Event::k333fm:
    case Event::k333bf:
    case Event::k333mbf: return 12;
    case Event::k444:
    case Event::k444bf: return 4;  // a reduction each, tested further in scramble_cube444_scrambler_test
    case Event::kSq1: return 40;
    default: return 100;
  }
}

TEST(EventScrambler, EveryScrambleMakesTheStateDrawnForIt) {
  for (const Event event : kAllEvents) {
    EventScrambler scrambler(event, kSeed, 3);
    std::set<std::string> states;
    const int count = SampleOf(event);
    for (int i = 0; i < count; ++i) {
      const EventScramble scramble = scrambler.Next();
      ASSERT_EQ(StateAfter(event, scramble.text), scramble.state) << IdOf(event) << ": " << scramble.text;
      states.insert(scramble.state);
    }
    EXPECT_EQ(static_cast<int>(states.size()), count) << IdOf(event);
    // A seed gives the same scrambles again.
    EventScrambler again(event, kSeed, 3);
    EventScrambler first(event, kSeed, 3);
    EXPECT_EQ(again.Next(), first.Next()) << IdOf(event);
  }
}

TEST(EventScrambler, NotationThatIsNotTheEventsIsRefused) {
  const std::pair<Event, const char*> cases[] = {
      {Event::k333, "R U X"},     {Event::k333, "3Rw"},        {Event::k222, "Rw"},          {Event::k444, "4Rw"},
      {Event::k444, "1Rw"},       {Event::k555, "3R"},         {Event::kPyram, "U2"},        {Event::kPyram, "F"},
      {Event::kSkewb, "F"},       {Event::kSkewb, "R2"},       {Event::kSq1, "(0,0)/"},      {Event::kSq1, "(7,0)"},
      {Event::kSq1, "(1,1)/"},     {Event::kMinx, "R+ D--"},     {Event::kMinx, "L++"},
      {Event::kClock, "UR7+"},    {Event::kClock, "UX1+"},     {Event::kClock, "UR1"},       {Event::k333mbf, "R U"},
      {Event::k333, "R  U"},      {Event::k333, "R U "},
  };
  for (const auto& [event, text] : cases) EXPECT_EQ(StateAfter(event, text), std::nullopt) << IdOf(event) << ": " << text;
  // "(1,1)/" slashes across corners. Two slashes in a row are needless but can be
  // made, so they read.
  EXPECT_NE(StateAfter(Event::kSq1, "(1,0)/ /"), std::nullopt);
}

// The 3x3x3 events as a person checks them on a cube of stickers.
TEST(EventScrambler, ThreeByThreeEventsFollowTheirForms) {
  for (const Event event : {Event::k333, Event::k333oh}) {
    EventScrambler scrambler(event, kSeed);
    for (int i = 0; i < SampleOf(event); ++i) {
      const EventScramble scramble = scrambler.Next();
      EXPECT_TRUE(stickers::IsFairScramble(scramble.text, 21)) << scramble.text;
      EXPECT_EQ(stickers::Turned(scramble.text), scramble.state);
    }
  }
  EventScrambler fewest(Event::k333fm, kSeed);
  for (int i = 0; i < SampleOf(Event::k333fm); ++i) {
    const EventScramble scramble = fewest.Next();
    const std::vector<std::string> words = Words(scramble.text);
    ASSERT_GE(words.size(), 7u) << scramble.text;
    EXPECT_EQ(scramble.text.substr(0, 8), "R' U' F ");
    EXPECT_EQ(scramble.text.substr(scramble.text.size() - 8), " R' U' F");
    // The whole text, frame included, never turns a face twice in a row or an axis
    // three times.
    EXPECT_TRUE(stickers::IsFairScramble(scramble.text, 29)) << scramble.text;
    EXPECT_EQ(stickers::Turned(scramble.text), scramble.state);
  }
  // Blindfolded: a fair scramble, then at most two wide turns of the whole cube's
  // orientation (x or z first, then y).
  const std::regex orientation(R"(^(Rw['2]?|Fw'?)?( ?Uw['2]?)?$)");
  EventScrambler blind(Event::k333bf, kSeed);
  for (int i = 0; i < SampleOf(Event::k333bf); ++i) {
    const EventScramble scramble = blind.Next();
    std::string moves, tail;
    for (const std::string& word : Words(scramble.text)) {
      std::string& part = word.find('w') == std::string::npos && tail.empty() ? moves : tail;
      part += (part.empty() ? "" : " ") + word;
    }
    EXPECT_TRUE(stickers::IsFairScramble(moves, 21)) << scramble.text;
    EXPECT_TRUE(std::regex_match(tail, orientation)) << scramble.text;
  }
  EventScrambler multi(Event::k333mbf, kSeed, 5);
  const EventScramble attempt = multi.Next();
  const std::vector<std::string> texts = Lines(attempt.text);
  const std::vector<std::string> states = Lines(attempt.state);
  ASSERT_EQ(texts.size(), 5u);
  ASSERT_EQ(states.size(), 5u);
  for (std::size_t n = 0; n < texts.size(); ++n) {
    EXPECT_EQ(texts[n].substr(0, 3), std::to_string(n + 1) + ". ") << texts[n];
    EXPECT_EQ(StateAfter(Event::k333bf, texts[n].substr(3)), states[n]);
  }
  EXPECT_THROW(EventScrambler(Event::k333mbf, kSeed, 0), std::invalid_argument);
}

// Random moves for 5x5x5 to 7x7x7, checked by an account of their own: the count, the
// widths, no face twice in a row, and no run of turns about one axis that repeats a
// face and width or adds up to turning the whole cube.
TEST(EventScrambler, BigCubeMovesFollowTheRandomMoveRules) {
  struct Case {
    Event event;
    int size;
    int moves;
    bool oriented;
  };
  const Case cases[] = {{Event::k555, 5, 60, false}, {Event::k666, 6, 80, false}, {Event::k777, 7, 100, false},
                        {Event::k555bf, 5, 60, true}};
  const std::regex word(R"(^([3-9]?)([URFDLB])(w?)(['2]?)$)");
  for (const Case& c : cases) {
    EventScrambler scrambler(c.event, kSeed);
    std::set<int> widths;
    for (int i = 0; i < 30; ++i) {
      const std::vector<std::string> words = Words(scrambler.Next().text);
      ASSERT_GE(static_cast<int>(words.size()), c.moves) << IdOf(c.event);
      ASSERT_LE(static_cast<int>(words.size()), c.moves + (c.oriented ? 2 : 0)) << IdOf(c.event);
      struct Turn {
        int face;  // index in URFDLB
        int width;
        int quarters;
      };
      std::vector<Turn> turns;
      for (const std::string& w : words) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(w, m, word)) << w;
        const int width = m[1].length() > 0 ? std::stoi(m[1]) : (m[3].length() > 0 ? 2 : 1);
        ASSERT_FALSE(m[1].length() > 0 && width < 3) << w;
        const int quarters = m[4] == "2" ? 2 : (m[4] == "'" ? 3 : 1);
        turns.push_back({static_cast<int>(std::string_view("URFDLB").find(m[2].str()[0])), width, quarters});
      }
      for (std::size_t k = 0; k < static_cast<std::size_t>(c.moves); ++k) {
        ASSERT_LE(turns[k].width, c.size / 2) << IdOf(c.event);
        widths.insert(turns[k].width);
        if (k > 0) {
          ASSERT_NE(turns[k].face, turns[k - 1].face) << IdOf(c.event) << " at " << k;
        }
      }
      // Runs about one axis: layers counted from U, R or F; a turn of D, L or B is
      // the other way round from the far side.
      std::size_t start = 0;
      for (std::size_t k = 1; k <= static_cast<std::size_t>(c.moves); ++k) {
        if (k < static_cast<std::size_t>(c.moves) && turns[k].face % 3 == turns[start].face % 3) continue;
        std::vector<int> layers(static_cast<std::size_t>(c.size), 0);
        std::set<std::pair<int, int>> seen;
        for (std::size_t r = start; r < k; ++r) {
          ASSERT_TRUE(seen.insert({turns[r].face, turns[r].width}).second) << IdOf(c.event) << " repeats in a run at " << r;
          for (int w = 0; w < turns[r].width; ++w) {
            const bool near = turns[r].face < 3;
            layers[static_cast<std::size_t>(near ? w : c.size - 1 - w)] += near ? turns[r].quarters : 4 - turns[r].quarters;
          }
          std::vector<int> net = layers;
          for (int& l : net) l %= 4;
          ASSERT_FALSE(std::all_of(net.begin(), net.end(), [&](int l) { return l == net[0]; }))
              << IdOf(c.event) << " turns the whole cube at " << r;
        }
        start = k;
      }
      // The orientation: wide turns taking the centre (odd) or all but one layer (even).
      for (std::size_t k = static_cast<std::size_t>(c.moves); k < turns.size(); ++k) {
        EXPECT_EQ(turns[k].width, c.size % 2 == 1 ? (c.size + 1) / 2 : c.size - 1) << IdOf(c.event);
      }
    }
    EXPECT_EQ(static_cast<int>(widths.size()), c.size / 2) << IdOf(c.event) << ": every width turns";
  }
}

// Blindfolded orientations: the 5x5x5's U and F centres after the scramble take each of
// the 24 orientations equally often.
TEST(EventScrambler, BlindfoldedScramblesEndInEveryOrientationAlike) {
  EventScrambler scrambler(Event::k555bf, kSeed);
  std::map<std::string, int> orientations;
  constexpr int kSamples = 4800;
  constexpr std::size_t kFace = 25;
  constexpr std::size_t kCentre = 12;
  for (int i = 0; i < kSamples; ++i) {
    const std::string state = scrambler.Next().state;
    ++orientations[{state[kCentre], state[2 * kFace + kCentre]}];
  }
  ASSERT_EQ(orientations.size(), 24u);
  std::vector<int> counts;
  for (const auto& [key, count] : orientations) counts.push_back(count);
  EXPECT_TRUE(FitsUniform(counts, kChi23));
}

TEST(EventScrambler, MegaminxIsSevenLinesOfTenMovesEndingInU) {
  EventScrambler scrambler(Event::kMinx, kSeed);
  std::map<std::string, int> ends;
  for (int i = 0; i < 50; ++i) {
    const std::vector<std::string> lines = Lines(scrambler.Next().text);
    ASSERT_EQ(lines.size(), 7u);
    for (const std::string& line : lines) {
      const std::vector<std::string> words = Words(line);
      ASSERT_EQ(words.size(), 11u) << line;
      for (std::size_t k = 0; k < 10; ++k) {
        EXPECT_TRUE(words[k] == (k % 2 == 0 ? "R++" : "D++") || words[k] == (k % 2 == 0 ? "R--" : "D--")) << line;
      }
      EXPECT_TRUE(words[10] == "U" || words[10] == "U'") << line;
      ++ends[words[10]];
    }
  }
  EXPECT_EQ(ends.size(), 2u);
}

// Every state the moves reach from solved in `depth` moves or fewer, breadth first
// (each found by its shortest sequence).
std::set<std::string> StatesWithin(Event event, const std::vector<std::string>& moves, int depth) {
  std::set<std::string> seen{*StateAfter(event, "")};
  std::vector<std::string> layer{""};
  for (int d = 1; d <= depth; ++d) {
    std::vector<std::string> next;
    for (const std::string& text : layer) {
      for (const std::string& move : moves) {
        std::string longer = text.empty() ? move : text + " " + move;
        if (seen.insert(*StateAfter(event, longer)).second) next.push_back(std::move(longer));
      }
    }
    layer = std::move(next);
  }
  return seen;
}

// The WCA's least distances: a random-state scramble is itself a shortest solution
// backwards (2x2x2, Pyraminx, Skewb), so its length is the distance. The 2x2x2's is
// checked against every state three turns reach on the cube of stickers.
TEST(EventScrambler, RandomStatesKeepTheirDistanceFromSolved) {
  std::set<std::string> nearby{std::string(stickers::kSolved)};
  std::set<std::string> layer = nearby;
  for (int depth = 1; depth <= 3; ++depth) {
    std::set<std::string> next;
    for (const std::string& cube : layer) {
      for (const int face : {0, 1, 2}) {
        for (int quarters = 1; quarters <= 3; ++quarters) {
          std::string turned = stickers::Turned(cube, {{face, quarters}});
          if (nearby.insert(turned).second) next.insert(turned);
        }
      }
    }
    layer = std::move(next);
  }
  const auto corners = [](const std::string& facelets) {
    std::string stickers;
    for (std::size_t face = 0; face < 6; ++face) {
      for (const std::size_t place : {0u, 2u, 6u, 8u}) stickers += facelets[face * 9 + place];
    }
    return stickers;
  };
  std::set<std::string> nearCorners;
  for (const std::string& cube : nearby) nearCorners.insert(corners(cube));
  EventScrambler cube2(Event::k222, kSeed);
  for (int i = 0; i < 300; ++i) {
    const EventScramble scramble = cube2.Next();
    EXPECT_EQ(nearCorners.count(scramble.state), 0u) << scramble.text;
    EXPECT_GE(Words(scramble.text).size(), 4u);
    // On the 3x3x3's stickers the 2x2x2 scramble turns its corners the same way.
    EXPECT_EQ(corners(stickers::Turned(scramble.text)), scramble.state) << scramble.text;
  }
  // Skewb and Pyraminx: no scramble lands on a state some 6 (Skewb) or 5 (Pyraminx,
  // tips included) moves reach from solved, every such state found by trying them all.
  // So few random Pyraminx states lie that near (about 4 in 10,000) that it takes many
  // scrambles to meet one.
  struct Near {
    Event event;
    std::vector<std::string> moves;
    int depth;
    int scrambles;
  };
  const Near near[] = {
      {Event::kSkewb, {"R", "R'", "U", "U'", "L", "L'", "B", "B'"}, 6, 1000},
      {Event::kPyram, {"U", "U'", "L", "L'", "R", "R'", "B", "B'", "u", "u'", "l", "l'", "r", "r'", "b", "b'"}, 5,
       20000},
  };
  for (const Near& n : near) {
    const std::set<std::string> within = StatesWithin(n.event, n.moves, n.depth);
    EventScrambler scrambler(n.event, kSeed);
    for (int i = 0; i < n.scrambles; ++i) {
      const EventScramble scramble = scrambler.Next();
      ASSERT_EQ(within.count(scramble.state), 0u) << IdOf(n.event) << ": " << scramble.text;
    }
  }
}

// Uniformity, by event, on something small the state shows.
TEST(EventScrambler, RandomStatesAreUniform) {
  // 2x2x2: the twist of the corner at URF, read from its U-place sticker.
  {
    EventScrambler scrambler(Event::k222, kSeed);
    std::vector<int> twists(3);
    for (int i = 0; i < 3000; ++i) {
      const char sticker = scrambler.Next().state[3];
      ++twists[sticker == 'U' || sticker == 'D' ? 0 : (sticker == 'R' || sticker == 'L' ? 1 : 2)];
    }
    EXPECT_TRUE(FitsUniform(twists, kChi2)) << "2x2x2 twist";
  }
  // Pyraminx: each tip turned none, clockwise or back, as its last-written move says.
  {
    EventScrambler scrambler(Event::kPyram, kSeed);
    std::array<std::vector<int>, 4> tips;
    tips.fill(std::vector<int>(3));
    for (int i = 0; i < 3000; ++i) {
      const std::vector<std::string> words = Words(scrambler.Next().text);
      for (std::size_t v = 0; v < tips.size(); ++v) {
        const char tip = "ulrb"[v];
        int turned = 0;
        for (const std::string& w : words) {
          if (w[0] == tip) turned = w.size() == 1 ? 1 : 2;
        }
        ++tips[v][static_cast<std::size_t>(turned)];
      }
    }
    for (const auto& tip : tips) EXPECT_TRUE(FitsUniform(tip, kChi2)) << "Pyraminx tip";
  }
  // Skewb: the centre that sits on U.
  {
    EventScrambler scrambler(Event::kSkewb, kSeed);
    std::map<char, int> centres;
    for (int i = 0; i < 3000; ++i) ++centres[scrambler.Next().state[0]];
    std::vector<int> counts;
    for (const auto& [c, n] : centres) counts.push_back(n);
    ASSERT_EQ(counts.size(), 6u);
    EXPECT_TRUE(FitsUniform(counts, kChi5)) << "Skewb centre";
  }
  // Clock: the front centre dial and a back edge dial.
  {
    EventScrambler scrambler(Event::kClock, kSeed);
    std::vector<int> front(12), back(12);
    for (int i = 0; i < 6000; ++i) {
      const std::string state = scrambler.Next().state;
      ++front[std::string_view("0123456789ab").find(state[4])];
      ++back[std::string_view("0123456789ab").find(state[9 + 1])];
    }
    EXPECT_TRUE(FitsUniform(front, kChi11)) << "Clock front centre";
    EXPECT_TRUE(FitsUniform(back, kChi11)) << "Clock back edge";
  }
  // Square-1: how many corners the top holds, 2 to 6, in the shares the 3678 shapes
  // give (37, 744, 2116, 744, 37 of them: each half holds 0 to 3 corners in 1, 5, 6, 1
  // ways), the rare ends counted together.
  {
    EventScrambler scrambler(Event::kSq1, kSeed);
    std::vector<int> counts(3);
    for (int i = 0; i < 600; ++i) {
      const std::string state = scrambler.Next().state;
      int corners = 0;
      for (std::size_t s = 0; s < 12; ++s) corners += state[s] == state[(s + 1) % 12] ? 1 : 0;
      ++counts[static_cast<std::size_t>(2 - std::min(std::abs(corners - 4), 2))];
    }
    EXPECT_TRUE(FitsShares(counts, {74.0 / 3678, 1488.0 / 3678, 2116.0 / 3678}, kChi2)) << "Square-1 top corners";
  }
}

}  // namespace
}  // namespace tw::scramble
