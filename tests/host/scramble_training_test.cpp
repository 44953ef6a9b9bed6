#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "results/session_list.h"
#include "scramble/cube333/cube_state.h"
#include "scramble/event_scrambler.h"
#include "scramble/events.h"
#include "scramble/scramble_text.h"
#include "scramble/scrambler.h"
#include "scramble/training/algorithm.h"
#include "scramble/training/case_choice.h"
#include "scramble/training/last_layer_cases.h"
#include "scramble/training/training_draw.h"

namespace tw::scramble::training {
namespace {

constexpr std::uint64_t kSeed = 20261211;

// What a kind leaves solved: slots whose pieces stay in place and turned as solved, and
// the U pieces that stay turned up.
struct Kept {
  Event kind;
  std::vector<int> corners;
  std::vector<int> edges;
  bool uCornersTurnedUp = false;
  bool uEdgesTurnedUp = false;
  bool noEdgeFlipped = false;
};

const std::vector<Kept>& KeptByKind() {
  using namespace corner;
  using namespace edge;
  static const std::vector<int> f2lCorners = {DFR, DLF, DBL, DRB};
  static const std::vector<int> f2lEdges = {DR, DF, DL, DB, FR, FL, BL, BR};
  static const std::vector<Kept> kept = {
      {Event::k333ll, f2lCorners, f2lEdges},
      {Event::k333pll, f2lCorners, f2lEdges, true, true},
      {Event::k333oll, f2lCorners, f2lEdges},
      {Event::k333zbll, f2lCorners, f2lEdges, false, true},
      {Event::k333cross, {}, {DR, DF, DL, DB}},
      {Event::k333lsll, {DLF, DBL, DRB}, {DR, DF, DL, DB, FL, BL, BR}},
      {Event::k333l6e, {URF, UFL, ULB, UBR, DFR, DLF, DBL, DRB}, {DR, DL, FR, FL, BL, BR}},
      {Event::k333cmll, {DFR, DLF, DBL, DRB}, {DR, DL, FR, FL, BL, BR}},
      {Event::k333ru, {DLF, DBL}, {DF, DL, DB, FL, BL}, false, false, true},
      {Event::k333edges, {URF, UFL, ULB, UBR, DFR, DLF, DBL, DRB}, {}},
      {Event::k333corners, {}, {UR, UF, UL, UB, DR, DF, DL, DB, FR, FL, BL, BR}},
  };
  return kept;
}

// Why a state breaks what its kind keeps solved, or "" when it keeps it.
std::string Broken(const Kept& kept, const CubeState& state) {
  for (const int slot : kept.corners) {
    if (state.cornerPiece[slot] != slot || state.cornerTwist[slot] != 0) return "corner " + std::to_string(slot);
  }
  for (const int slot : kept.edges) {
    if (state.edgePiece[slot] != slot || state.edgeFlip[slot] != 0) return "edge " + std::to_string(slot);
  }
  for (int slot = 0; slot < 4; ++slot) {
    if (kept.uCornersTurnedUp && state.cornerTwist[slot] != 0) return "U corner twisted";
    if (kept.uEdgesTurnedUp && state.edgeFlip[slot] != 0) return "U edge flipped";
  }
  if (kept.noEdgeFlipped && std::count(state.edgeFlip.begin(), state.edgeFlip.end(), 1) != 0) return "edge flipped";
  return {};
}

TEST(TrainingScramble, EveryKindsScrambleReachesItsDrawnStateKeepingItsSolvedPieces) {
  ASSERT_EQ(KeptByKind().size(), kTrainingEvents.size());
  for (const Kept& kept : KeptByKind()) {
    SCOPED_TRACE(std::string(IdOf(kept.kind)));
    EventScrambler scrambler(kept.kind, kSeed);
    for (int i = 0; i < 12; ++i) {
      const EventScramble scramble = scrambler.Next();
      const auto moves = ParseMoves(scramble.text);
      ASSERT_TRUE(moves) << scramble.text;
      EXPECT_LE(moves->size(), static_cast<std::size_t>(kMaxScrambleLength));
      EXPECT_GE(moves->size(), 2u) << scramble.text;
      const CubeState reached = CubeState::Solved().Apply(*moves);
      EXPECT_EQ(reached.Facelets(), scramble.state) << scramble.text;
      EXPECT_EQ(Broken(kept, reached), "") << scramble.text;
      EXPECT_EQ(StateAfter(kept.kind, scramble.text), scramble.state);
    }
  }
}

TEST(TrainingScramble, AKindScattersEveryPieceItDoesNotKeep) {
  // Over many draws each slot a kind does not keep sees another piece or a turn: the
  // subsets are no smaller than their tables say.
  for (const Kept& kept : KeptByKind()) {
    SCOPED_TRACE(std::string(IdOf(kept.kind)));
    const TrainingDraw draw(kept.kind);
    std::mt19937_64 rng(kSeed);
    std::array<bool, kCornerCount> cornerMoved{};
    std::array<bool, kEdgeCount> edgeMoved{};
    for (int i = 0; i < 400; ++i) {
      const CubeState state = draw.Draw(rng);
      ASSERT_TRUE(state.IsReachable());
      for (int s = 0; s < kCornerCount; ++s) cornerMoved[s] = cornerMoved[s] || state.cornerPiece[s] != s || state.cornerTwist[s];
      for (int s = 0; s < kEdgeCount; ++s) edgeMoved[s] = edgeMoved[s] || state.edgePiece[s] != s || state.edgeFlip[s];
    }
    for (int s = 0; s < kCornerCount; ++s) {
      const bool keeps = std::count(kept.corners.begin(), kept.corners.end(), s) != 0;
      EXPECT_EQ(cornerMoved[s], !keeps) << "corner " << s;
    }
    for (int s = 0; s < kEdgeCount; ++s) {
      const bool keeps = std::count(kept.edges.begin(), kept.edges.end(), s) != 0;
      EXPECT_EQ(edgeMoved[s], !keeps) << "edge " << s;
    }
  }
}

TEST(TrainingScramble, TwoGeneratorStatesAreThoseRAndUTurnsReach) {
  // The drawn state, solved by turns of R and U alone: a short search over <R, U>
  // would be slow, so the corner orders are checked against those the turns reach and
  // the edges against the corners' parity.
  std::mt19937_64 rng(kSeed);
  std::map<std::array<std::uint8_t, kCornerCount>, int> orders;
  for (int i = 0; i < 6000; ++i) {
    const CubeState state = RandomTwoGenerator(rng);
    ++orders[state.cornerPiece];
    ASSERT_EQ(IsOddPermutation(state.cornerPiece), IsOddPermutation(state.edgePiece));
  }
  EXPECT_EQ(orders.size(), 120u);  // of the 720 orders of six corners
  CubeState walked = CubeState::Solved();
  std::mt19937_64 walk(kSeed);
  for (int i = 0; i < 2000; ++i) {
    walked = walked.Apply(MakeMove(walk() % 2 ? Face::R : Face::U, 1));
    EXPECT_TRUE(orders.count(walked.cornerPiece)) << i;
  }
}

// The last layer as a cuber sees it from above: the U face row by row (back row first)
// and the top row of R, F, L and B, as the facelets give them; with `upOnly`, the
// stickers of the U colour alone.
std::string TopView(const CubeState& state, bool upOnly = false) {
  std::string f = state.Facelets();
  if (upOnly) std::replace_if(f.begin(), f.end(), [](char c) { return c != 'U'; }, '.');
  return f.substr(0, 9) + " " + f.substr(9, 3) + " " + f.substr(18, 3) + " " + f.substr(36, 3) + " " + f.substr(45, 3);
}

TEST(LastLayerCases, NamedCasesAreTheStatesCubersSetUp) {
  CubeState tPerm = CubeState::Solved();  // headlights on the left; UL and UR swap, so do URF and UBR
  std::swap(tPerm.edgePiece[edge::UL], tPerm.edgePiece[edge::UR]);
  std::swap(tPerm.cornerPiece[corner::URF], tPerm.cornerPiece[corner::UBR]);
  CubeState uaPerm = CubeState::Solved();  // bar at the back; left to front to right to left solves it
  uaPerm.edgePiece[edge::UL] = edge::UF;
  uaPerm.edgePiece[edge::UF] = edge::UR;
  uaPerm.edgePiece[edge::UR] = edge::UL;
  CubeState ubPerm = CubeState::Solved();
  ubPerm.edgePiece[edge::UR] = edge::UF;
  ubPerm.edgePiece[edge::UF] = edge::UL;
  ubPerm.edgePiece[edge::UL] = edge::UR;
  CubeState oll27 = CubeState::Solved();  // Sune: front-left turned up, the front-right's top facing front
  oll27.cornerTwist = {2, 0, 2, 2, 0, 0, 0, 0};
  CubeState oll26 = CubeState::Solved();  // anti-Sune: front-right up, the front-left's top facing front
  oll26.cornerTwist = {0, 1, 1, 1, 0, 0, 0, 0};
  CubeState oll21 = CubeState::Solved();  // cross, headlights left and right
  oll21.cornerTwist = {1, 2, 1, 2, 0, 0, 0, 0};

  EXPECT_EQ(TopView(tPerm), "UUUUUUUUU BLF FFR LRL RBB");
  EXPECT_EQ(TopView(uaPerm), "UUUUUUUUU RLR FRF LFL BBB");
  EXPECT_EQ(TopView(oll27, true), ".U.UUUUU. ..U ..U ... ..U");
  EXPECT_EQ(TopView(oll26, true), ".U.UUU.UU ... U.. U.. U..");
  EXPECT_EQ(TopView(oll21, true), ".U.UUU.U. U.U ... U.U ...");

  const LastLayerCases& pll = LastLayerCases::Pll();
  const LastLayerCases& oll = LastLayerCases::Oll();
  const auto nameOf = [](const LastLayerCases& cases, const CubeState& state) {
    const auto found = cases.CaseOf(state);
    return found ? std::string(cases.Name(*found)) : std::string("none");
  };
  EXPECT_EQ(nameOf(pll, tPerm), "T");
  EXPECT_EQ(nameOf(pll, uaPerm), "Ua");
  EXPECT_EQ(nameOf(pll, ubPerm), "Ub");
  EXPECT_EQ(nameOf(pll, CubeState::Solved().Apply(MakeMove(Face::U, 1))), "none");
  // A case is the same seen from any side, with U turns before and after.
  const CubeState turnedT = FaceTurn(MakeMove(Face::U, 2)).Then(tPerm).Apply(MakeMove(Face::U, 1));
  EXPECT_EQ(nameOf(pll, turnedT), "T");
  EXPECT_EQ(nameOf(oll, oll27), "27");
  EXPECT_EQ(nameOf(oll, oll26), "26");
  EXPECT_EQ(nameOf(oll, oll21), "21");
  // OLL ignores where the pieces are.
  EXPECT_EQ(nameOf(oll, tPerm.Then(oll27)), "27");
}

TEST(LastLayerCases, EveryCaseIsItsOwnShareOfTheLastLayers) {
  // Shares as cubers count them: 1/72 for H and the Ns, 1/36 for E and Z, 1/18 for the
  // rest; OLL 20 1/216, OLL 1, 21, 55, 56 and 57 1/108, the rest 1/54.
  const LastLayerCases& pll = LastLayerCases::Pll();
  ASSERT_EQ(pll.Count(), 21u);
  EXPECT_EQ(pll.AllWays(), 288u);
  std::size_t pllWays = 4;  // the solved layer with a U turn
  for (std::size_t i = 0; i < pll.Count(); ++i) {
    const std::string name(pll.Name(i));
    const std::size_t ways = name == "H" || name == "Na" || name == "Nb" ? 4 : name == "E" || name == "Z" ? 8 : 16;
    EXPECT_EQ(pll.Ways(i), ways) << name;
    pllWays += pll.Ways(i);
  }
  EXPECT_EQ(pllWays, 288u);
  const LastLayerCases& oll = LastLayerCases::Oll();
  ASSERT_EQ(oll.Count(), 57u);
  std::size_t ollWays = 1;
  for (std::size_t i = 0; i < oll.Count(); ++i) {
    const std::string name(oll.Name(i));
    EXPECT_EQ(name, std::to_string(i + 1));
    const std::size_t ways = name == "20" ? 1 : name == "1" || name == "21" || i + 1 >= 55 ? 2 : 4;
    EXPECT_EQ(oll.Ways(i), ways) << name;
    ollWays += oll.Ways(i);
  }
  EXPECT_EQ(ollWays, 216u);
}

// Chi-square of counts against expected shares; the bounds are the values a correct
// draw exceeds with probability 5e-5, and the seed is fixed.
double ChiSquare(const std::vector<int>& counts, const std::vector<double>& shares, int total) {
  double sum = 0;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const double expected = shares[i] * total;
    sum += (counts[i] - expected) * (counts[i] - expected) / expected;
  }
  return sum;
}
constexpr double kThreeDegreesBound = 22.6;
constexpr double kTwoDegreesBound = 19.81;

TEST(LastLayerCases, ChosenCasesComeInTheirNaturalProportions) {
  struct Row {
    Event kind;
    const char* cases;
    std::vector<std::string> names;
    std::vector<double> shares;
  };
  const std::vector<Row> rows = {
      {Event::k333pll, "T,H,Ua,Z", {"T", "H", "Ua", "Z"}, {16 / 44.0, 4 / 44.0, 16 / 44.0, 8 / 44.0}},
      {Event::k333oll, "20,21,27,57", {"20", "21", "27", "57"}, {1 / 9.0, 2 / 9.0, 4 / 9.0, 2 / 9.0}},
  };
  constexpr int kDraws = 8000;
  for (const Row& row : rows) {
    const TrainingDraw draw(row.kind, row.cases);
    const LastLayerCases& cases = *CasesOf(row.kind);
    std::mt19937_64 rng(kSeed);
    std::vector<int> counts(row.names.size(), 0);
    std::vector<int> uTurnAfter(4, 0);
    for (int i = 0; i < kDraws; ++i) {
      const CubeState state = draw.Draw(rng);
      const auto found = cases.CaseOf(state);
      ASSERT_TRUE(found);
      const auto at = std::find(row.names.begin(), row.names.end(), std::string(cases.Name(*found)));
      ASSERT_NE(at, row.names.end()) << cases.Name(*found);
      ++counts[static_cast<std::size_t>(at - row.names.begin())];
      ++uTurnAfter[state.cornerPiece[corner::URF] % 4];
    }
    EXPECT_LT(ChiSquare(counts, row.shares, kDraws), kThreeDegreesBound) << row.cases;
    if (row.kind == Event::k333pll) {
      // The corner that lands in front-right: any of the four, as a U turn after gives.
      EXPECT_LT(ChiSquare(uTurnAfter, {0.25, 0.25, 0.25, 0.25}, kDraws), kThreeDegreesBound);
    }
  }
}

TEST(TrainingScramble, LastLayerSlotsAreUniform) {
  const TrainingDraw draw(Event::k333ll);
  std::mt19937_64 rng(kSeed);
  constexpr int kDraws = 12000;
  std::vector<int> pieces(4, 0);
  std::vector<int> twists(3, 0);
  for (int i = 0; i < kDraws; ++i) {
    const CubeState state = draw.Draw(rng);
    ++pieces[state.edgePiece[edge::UF]];
    ++twists[state.cornerTwist[corner::UBR]];
  }
  EXPECT_LT(ChiSquare(pieces, {0.25, 0.25, 0.25, 0.25}, kDraws), kThreeDegreesBound);
  EXPECT_LT(ChiSquare(twists, {1 / 3.0, 1 / 3.0, 1 / 3.0}, kDraws), kTwoDegreesBound);
}

TEST(CaseChoice, ReadsNamesAndTakesADamagedChoiceForAll) {
  const LastLayerCases& pll = LastLayerCases::Pll();
  const std::vector<bool> some = CaseChoiceOrAll(pll, "Ua, Ub,T");
  EXPECT_EQ(std::count(some.begin(), some.end(), true), 3);
  EXPECT_TRUE(some[*pll.IndexOf("Ub")]);
  EXPECT_EQ(CaseChoiceText(pll, some), "T,Ua,Ub");
  for (const char* damaged : {"", ",", "Ua,Xx", "ua", "T,,Ua", "57"}) {
    const std::vector<bool> all = CaseChoiceOrAll(pll, damaged);
    EXPECT_EQ(std::count(all.begin(), all.end(), true), 21) << damaged;
    EXPECT_FALSE(ReadCaseChoice(pll, damaged)) << damaged;
  }
  EXPECT_EQ(CaseChoiceText(pll, std::vector<bool>(21, true)), "");
  EXPECT_EQ(CaseChoiceText(LastLayerCases::Oll(), CaseChoiceOrAll(LastLayerCases::Oll(), "57,1")), "1,57");
  // A session's damaged choice scrambles from every case rather than none.
  const TrainingDraw draw(Event::k333pll, "Ua,%%");
  EXPECT_EQ(std::count(draw.Chosen().begin(), draw.Chosen().end(), true), 21);
}

TEST(CaseChoice, IsKeptPerSessionAndADamagedOneDrillsEveryCase) {
  const std::map<std::string, std::string, std::less<>> stored = {
      {"Sessions", "1,2,3"},         {"Session 2 Event", "333pll"}, {"Session 2 Cases", "T"},
      {"Session 3 Event", "333oll"}, {"Session 3 Cases", "21,x9"},
  };
  results::SessionList list = results::SessionList::Read([&](std::string_view key) -> std::optional<std::string> {
    const auto found = stored.find(key);
    if (found == stored.end()) return std::nullopt;
    return found->second;
  });
  ASSERT_EQ(list.All().size(), 3u);
  EXPECT_EQ(list.All()[0].cases, "");
  EXPECT_EQ(list.All()[1].cases, "T");
  const TrainingDraw pll(Event::k333pll, list.All()[1].cases);
  EXPECT_EQ(std::count(pll.Chosen().begin(), pll.Chosen().end(), true), 1);
  const TrainingDraw oll(Event::k333oll, list.All()[2].cases);
  EXPECT_EQ(std::count(oll.Chosen().begin(), oll.Chosen().end(), true), 57);
  // Every case again writes no key; a choice writes one.
  ASSERT_TRUE(list.SetCases(2, ""));
  ASSERT_TRUE(list.SetCases(3, "27"));
  const auto keys = list.Keys();
  const auto has = [&](const std::string& key) {
    return std::any_of(keys.begin(), keys.end(), [&](const auto& kv) { return kv.first == key; });
  };
  EXPECT_FALSE(has("Session 2 Cases"));
  EXPECT_TRUE(has("Session 3 Cases"));
}

TEST(Algorithm, WideSliceAndRotationsTurnTheFacesTheyStandFor) {
  struct Row {
    const char* algorithm;
    const char* faceTurns;
  };
  const Row rows[] = {
      {"R U R'", "R U R'"},
      {"r", "L"},                 // with the whole cube turned as x
      {"r U", "L F"},             // so U is then the face in front
      {"Rw U", "L F"},
      {"x y R", "U"},              // x brings F up and U to the back; y brings that to the right
      {"M2 U M2", "R2 L2 D R2 L2"},
      {"y' R", "F"},
      {"z U", "L"},
  };
  for (const Row& row : rows) {
    const auto moves = AlgorithmMoves(row.algorithm);
    ASSERT_TRUE(moves) << row.algorithm;
    EXPECT_EQ(FormatMoves(*moves), row.faceTurns) << row.algorithm;
  }
  EXPECT_FALSE(AlgorithmMoves("R Q"));
  EXPECT_FALSE(AlgorithmMoves("R '"));
}

}  // namespace
}  // namespace tw::scramble::training
