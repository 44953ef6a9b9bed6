#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "scramble/puzzles/big_cube.h"
#include "scramble/cube444/cube444_model.h"
#include "scramble/cube444/reduction.h"
#include "scramble/cube444/reduction_tables.h"
#include "scramble/cube333/cube_state.h"
#include "scramble/event_scrambler.h"
#include "scramble/events.h"

namespace tw::scramble {
namespace {

constexpr std::uint64_t kSeed = 20261211;

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// The reduction's tables take a second or two: built once for every test here.
class Cube444Reduction : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    model_ = std::make_unique<const cube444::Model>();
    reducer_ = std::make_unique<const cube444::Reducer>(*model_);
  }
  static void TearDownTestSuite() {
    reducer_.reset();
    model_.reset();
  }
  static std::unique_ptr<const cube444::Model> model_;
  static std::unique_ptr<const cube444::Reducer> reducer_;
};
std::unique_ptr<const cube444::Model> Cube444Reduction::model_;
std::unique_ptr<const cube444::Reducer> Cube444Reduction::reducer_;

// Random states of every parity (wings' order odd or even, corners' odd or even): the
// turns found take the state to one whose centres are home and whose dedges are
// paired, a 3x3x3 that can be solved, and only with the turns that keep the
// down-back-left corner.
TEST_F(Cube444Reduction, RandomStatesOfEveryParityReduceToASolvableThreeByThree) {
  std::mt19937_64 rng(kSeed);
  std::set<std::pair<bool, bool>> parities;
  for (int i = 0; i < 16; ++i) {
    const cube444::Cube cube = model_->Random(rng);
    parities.insert({IsOddPermutation(cube.wing), model_->CornersOdd(cube)});
    const cube444::Reduction reduction = reducer_->Reduce(cube);
    ASSERT_FALSE(reduction.cancelled);
    cube444::Cube turned = cube;
    for (const cube444::Turn turn : reduction.turns) {
      ASSERT_LT(cube444::KindOf(turn), cube444::kHeldCornerKinds);
      turned = model_->Apply(turned, turn);
    }
    ASSERT_EQ(turned, reduction.reduced);
    for (int c = 0; c < cube444::kCentres; ++c) ASSERT_EQ(turned.centre[c], model_->CentreFace(c)) << i;
    for (int d = 0; d < cube444::kDedges; ++d) ASSERT_EQ(turned.wing[d + 12], turned.wing[d] + 12) << i;
    const cube444::ThreeByThree three = model_->Reduced(turned);
    CubeState state;
    state.cornerPiece = three.cornerPiece;
    state.cornerTwist = three.cornerTwist;
    state.edgePiece = three.edgePiece;
    state.edgeFlip = three.edgeFlip;
    EXPECT_TRUE(state.IsReachable()) << i;
  }
  EXPECT_EQ(parities.size(), 4u);
}

// Cancelled, a search stops and says so, and a build of the tables stops by throwing.
TEST_F(Cube444Reduction, ACancelledReductionOrBuildStops) {
  std::mt19937_64 rng(kSeed);
  const std::atomic<bool> cancel{true};
  EXPECT_TRUE(reducer_->Reduce(model_->Random(rng), &cancel).cancelled);
  EXPECT_THROW(cube444::Reducer(*model_, &cancel), cube444::TablesCancelled);
}

// The real scrambles: the WCA's 4x4x4 notation without Dw, Lw or Bw, never one face
// twice in a row whatever the width, and the text makes the state drawn; the
// blindfolded event adds a turn of the whole cube (3Rw, 3Fw, 3Uw) at the end.
TEST(Cube444Scrambles, AreWrittenInTheWcaNotationAndMakeTheirState) {
  const std::regex turn(R"(^([URFDLB])(w?)(['2]?)$)");
  const std::regex wholeCube(R"(^3([RFU])w(['2]?)$)");
  for (const Event event : {Event::k444, Event::k444bf}) {
    EventScrambler scrambler(event, kSeed);
    for (int i = 0; i < 6; ++i) {
      const EventScramble scramble = scrambler.Next();
      ASSERT_EQ(StateAfter(event, scramble.text), scramble.state) << scramble.text;
      std::vector<std::string> words = Words(scramble.text);
      while (event == Event::k444bf && !words.empty() && std::regex_match(words.back(), wholeCube)) words.pop_back();
      ASSERT_GT(words.size(), 30u) << scramble.text;
      char before = 0;
      for (const std::string& word : words) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(word, m, turn)) << word << " in " << scramble.text;
        const char face = m[1].str()[0];
        if (m[2].length() > 0) {
          EXPECT_EQ(std::string("DLB").find(face), std::string::npos) << word;
        }
        EXPECT_NE(face, before) << scramble.text;
        before = face;
      }
    }
  }
}

TEST(Cube444Scrambles, ACancelledSearchGivesUp) {
  EventScrambler scrambler(Event::k444, kSeed);
  const std::atomic<bool> cancel{true};
  EXPECT_TRUE(scrambler.Next(&cancel).text.empty());
}

}  // namespace
}  // namespace tw::scramble
