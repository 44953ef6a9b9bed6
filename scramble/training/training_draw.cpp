#include "scramble/training/training_draw.h"

#include <set>
#include <stdexcept>
#include <utility>

#include "scramble/cube333/random_state.h"
#include "scramble/training/case_choice.h"
#include "scramble/training/subset_state.h"

namespace tw::scramble::training {
namespace {

using C = std::vector<std::uint8_t>;

const C kRuCorners = {corner::URF, corner::UFL, corner::ULB, corner::UBR, corner::DFR, corner::DRB};
const C kRuEdges = {edge::UR, edge::UF, edge::UL, edge::UB, edge::DR, edge::FR, edge::BR};

// The orders of the corners that R and U turns reach, found once by turning them.
const std::vector<std::array<std::uint8_t, kCornerCount>>& RuCornerOrders() {
  static const std::vector<std::array<std::uint8_t, kCornerCount>> orders = [] {
    const std::array<Move, 2> turns = {MakeMove(Face::R, 1), MakeMove(Face::U, 1)};
    std::set<std::array<std::uint8_t, kCornerCount>> seen{CubeState::Solved().cornerPiece};
    std::vector<CubeState> frontier{CubeState::Solved()};
    while (!frontier.empty()) {
      std::vector<CubeState> next;
      for (const CubeState& state : frontier) {
        for (const Move turn : turns) {
          CubeState turned = state.Apply(turn);
          turned.cornerTwist = {};
          turned.edgePiece = CubeState::Solved().edgePiece;
          turned.edgeFlip = {};
          if (seen.insert(turned.cornerPiece).second) next.push_back(turned);
        }
      }
      frontier = std::move(next);
    }
    return std::vector<std::array<std::uint8_t, kCornerCount>>(seen.begin(), seen.end());
  }();
  return orders;
}

Subset SubsetOf(Event kind) {
  const C uCorners = kUCorners;
  const C uEdges = kUEdges;
  const C allCorners = {0, 1, 2, 3, 4, 5, 6, 7};
  const C allEdges = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  switch (kind) {
    case Event::k333ll: return {uCorners, uEdges};
    case Event::k333zbll: return {uCorners, uEdges, true, false};
    case Event::k333cross:
      return {allCorners, {edge::UR, edge::UF, edge::UL, edge::UB, edge::FR, edge::FL, edge::BL, edge::BR}};
    case Event::k333lsll:
      return {{corner::URF, corner::UFL, corner::ULB, corner::UBR, corner::DFR},
              {edge::UR, edge::UF, edge::UL, edge::UB, edge::FR}};
    case Event::k333l6e: return {{}, {edge::UR, edge::UF, edge::UL, edge::UB, edge::DF, edge::DB}};
    case Event::k333cmll: return {uCorners, {edge::UR, edge::UF, edge::UL, edge::UB, edge::DF, edge::DB}};
    case Event::k333edges: return {{}, allEdges};
    case Event::k333corners: return {allCorners, {}};
    default: throw std::invalid_argument("no training kind");
  }
}

// Solved, or solved but for a turn of U.
bool NearlySolved(const CubeState& state) {
  CubeState turned = state;
  for (int n = 0; n < 4; ++n) {
    if (turned == CubeState::Solved()) return true;
    turned = turned.Apply(MakeMove(Face::U, 1));
  }
  return false;
}

}  // namespace

const LastLayerCases* CasesOf(Event kind) {
  if (kind == Event::k333pll) return &LastLayerCases::Pll();
  if (kind == Event::k333oll) return &LastLayerCases::Oll();
  return nullptr;
}

TrainingDraw::TrainingDraw(Event kind, std::string_view cases) : kind_(kind), cases_(CasesOf(kind)) {
  if (!IsTraining(kind)) throw std::invalid_argument("no training kind");
  if (cases_) chosen_ = CaseChoiceOrAll(*cases_, cases);
}

CubeState TrainingDraw::Draw(std::mt19937_64& rng) const {
  CubeState state = DrawOnce(rng);
  while (NearlySolved(state)) state = DrawOnce(rng);
  return state;
}

CubeState TrainingDraw::DrawOnce(std::mt19937_64& rng) const {
  if (cases_) return cases_->Draw(rng, chosen_);
  if (kind_ == Event::k333ru) return RandomTwoGenerator(rng);
  return DrawSubset(rng, SubsetOf(kind_));
}

CubeState RandomTwoGenerator(std::mt19937_64& rng) {
  const auto& orders = RuCornerOrders();
  CubeState state = DrawSubset(rng, Subset{kRuCorners, kRuEdges, true, false});
  state.cornerPiece = orders[UniformBelow(rng, orders.size())];
  // The edges' order takes the parity of the corners' (R and U are both odd).
  if (IsOddPermutation(state.cornerPiece) != IsOddPermutation(state.edgePiece)) {
    std::swap(state.edgePiece[edge::UR], state.edgePiece[edge::UF]);
  }
  return state;
}

}  // namespace tw::scramble::training
