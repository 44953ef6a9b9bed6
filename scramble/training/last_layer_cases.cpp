#include "scramble/training/last_layer_cases.h"

#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>
#include <string>

#include "scramble/cube333/random_state.h"
#include "scramble/scramble_text.h"
#include "scramble/training/algorithm.h"
#include "scramble/training/subset_state.h"

namespace tw::scramble::training {
namespace {

constexpr std::array<std::string_view, 21> kPllNames = {
    "Aa", "Ab", "E",  "F",  "Ga", "Gb", "Gc", "Gd", "H", "Ja", "Jb",
    "Na", "Nb", "Ra", "Rb", "T",  "Ua", "Ub", "V",  "Y", "Z",
};

// The algorithm each case is commonly solved with, in the order of the names.
constexpr std::array<std::string_view, 21> kPllAlgorithms = {
    "x R' U R' D2 R U' R' D2 R2 x'",
    "x R2 D2 R U R' D2 R U' R x'",
    "x' R U' R' D R U R' D' R U R' D R U' R' D' x",
    "R' U' F' R U R' U' R' F R2 U' R' U' R U R' U R",
    "R2 U R' U R' U' R U' R2 U' D R' U R D'",
    "R' U' R U D' R2 U R' U R U' R U' R2 D",
    "R2 U' R U' R U R' U R2 U D' R U' R' D",
    "R U R' U' D R2 U' R U' R' U R' U R2 D'",
    "M2 U M2 U2 M2 U M2",
    "L' U' L F L' U' L U L F' L2 U L",
    "R U R' F' R U R' U' R' F R2 U' R'",
    "R U R' U R U R' F' R U R' U' R' F R2 U' R' U2 R U' R'",
    "R' U R U' R' F' U' F R U R' F R' F' R U' R",
    "R U' R' U' R U R D R' U' R D' R' U2 R'",
    "R2 F R U R U' R' F' R U2 R' U2 R",
    "R U R' U' R' F R2 U' R' U' R U R' F'",
    "R U' R U R U R U' R' U' R2",
    "R2 U R U R' U' R' U' R' U R'",
    "R' U R' U' y R' F' R2 U' R' U R' F R F",
    "F R U' R' U' R U R' F' R U R' U' R' F R F'",
    "M2 U M2 U M' U2 M2 U2 M'",
};

constexpr std::array<std::string_view, 57> kOllNames = {
    "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11", "12", "13", "14", "15", "16", "17", "18", "19",
    "20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "30", "31", "32", "33", "34", "35", "36", "37", "38",
    "39", "40", "41", "42", "43", "44", "45", "46", "47", "48", "49", "50", "51", "52", "53", "54", "55", "56", "57",
};

constexpr std::array<std::string_view, 57> kOllAlgorithms = {
    "R U2 R2 F R F' U2 R' F R F'",                  // 1
    "F R U R' U' F' f R U R' U' f'",                // 2
    "f R U R' U' f' U' F R U R' U' F'",             // 3
    "f R U R' U' f' U F R U R' U' F'",              // 4
    "r' U2 R U R' U r",                             // 5
    "r U2 R' U' R U' r'",                           // 6
    "r U R' U R U2 r'",                             // 7
    "l' U' L U' L' U2 l",                           // 8
    "R U R' U' R' F R2 U R' U' F'",                 // 9
    "R U R' U R' F R F' R U2 R'",                   // 10
    "r U R' U R' F R F' R U2 r'",                   // 11
    "M' R' U' R U' R' U2 R U' R r'",                // 12
    "F U R U' R2 F' R U R U' R'",                   // 13
    "R' F R U R' F' R F U' F'",                     // 14
    "l' U' l L' U' L U l' U l",                     // 15
    "r U r' R U R' U' r U' r'",                     // 16
    "R U R' U R' F R F' U2 R' F R F'",              // 17
    "r U R' U R U2 r2 U' R U' R' U2 r",             // 18
    "r' R U R U R' U' M' R' F R F'",                // 19
    "r U R' U' M2 U R U' R' U' M'",                 // 20
    "R U2 R' U' R U R' U' R U' R'",                 // 21
    "R U2 R2 U' R2 U' R2 U2 R",                     // 22
    "R2 D' R U2 R' D R U2 R",                       // 23
    "r U R' U' r' F R F'",                          // 24
    "F' r U R' U' r' F R",                          // 25
    "R U2 R' U' R U' R'",                           // 26
    "R U R' U R U2 R'",                             // 27
    "r U R' U' M U R U' R'",                        // 28
    "R U R' U' R U' R' F' U' F R U R'",             // 29
    "F R' F R2 U' R' U' R U R' F2",                 // 30
    "R' U' F U R U' R' F' R",                       // 31
    "L U F' U' L' U L F L'",                        // 32
    "R U R' U' R' F R F'",                          // 33
    "R U R2 U' R' F R U R U' F'",                   // 34
    "R U2 R2 F R F' R U2 R'",                       // 35
    "L' U' L U' L' U L U L F' L' F",                // 36
    "F R' F' R U R U' R'",                          // 37
    "R U R' U R U' R' U' R' F R F'",                // 38
    "L F' L' U' L U F U' L'",                       // 39
    "R' F R U R' U' F' U R",                        // 40
    "R U R' U R U2 R' F R U R' U' F'",              // 41
    "R' U' R U' R' U2 R F R U R' U' F'",            // 42
    "F' U' L' U L F",                               // 43
    "F U R U' R' F'",                               // 44
    "F R U R' U' F'",                               // 45
    "R' U' R' F R F' U R",                          // 46
    "F' L' U' L U L' U' L U F",                     // 47
    "F R U R' U' R U R' U' F'",                     // 48
    "r U' r2 U r2 U r2 U' r",                       // 49
    "r' U r2 U' r2 U' r2 U r'",                     // 50
    "F U R U' R' U R U' R' F'",                     // 51
    "R U R' U R U' B U' B' R'",                     // 52
    "l' U2 L U L' U' L U L' U l",                   // 53
    "r U2 R' U' R U R' U' R U' r'",                 // 54
    "R' F R U R U' R2 F' R2 U' R' U R U R'",        // 55
    "r' U' r U' R' U R U' R' U R r' U r",           // 56
    "R U R' U' M' U R U' r'",                       // 57
};

constexpr Move kU = MakeMove(Face::U, 1);
constexpr Move kUBack = MakeMove(Face::U, 3);

// The U layer's pieces and turns packed into one number, four bits each.
std::uint64_t LayerKey(const CubeState& state) {
  std::uint64_t key = 0;
  for (std::size_t slot = 0; slot < kUCorners.size(); ++slot) {
    key = key << 8 | std::uint64_t{state.cornerPiece[slot]} << 4 | state.cornerTwist[slot];
    key = key << 8 | std::uint64_t{state.edgePiece[slot]} << 4 | state.edgeFlip[slot];
  }
  return key;
}

// A state with a U turn before it, and one after.
CubeState Turned(const CubeState& state, int before, int after) {
  CubeState turned = state;
  for (int n = 0; n < before; ++n) turned = FaceTurn(kU).Then(turned);
  for (int n = 0; n < after; ++n) turned = turned.Apply(kU);
  return turned;
}

// The same for every U turn before and after: the least key among them.
std::uint64_t PermutationCaseKey(const CubeState& state) {
  std::uint64_t least = LayerKey(state);
  for (int before = 0; before < 4; ++before) {
    for (int after = 0; after < 4; ++after) least = std::min(least, LayerKey(Turned(state, before, after)));
  }
  return least;
}

// The way the stickers face up, with the pieces in place.
CubeState ShapeOf(const CubeState& state) {
  CubeState shape = CubeState::Solved();
  shape.cornerTwist = state.cornerTwist;
  shape.edgeFlip = state.edgeFlip;
  return shape;
}

// The same for the shape seen from every side.
std::uint64_t OrientationCaseKey(const CubeState& state) {
  CubeState shape = ShapeOf(state);
  std::uint64_t least = LayerKey(shape);
  for (int n = 0; n < 3; ++n) {
    shape = FaceTurn(kUBack).Then(shape).Apply(kU);
    least = std::min(least, LayerKey(shape));
  }
  return least;
}

// Every U layer of the kind: the 288 orders of the pieces with the layer turned up,
// or the 216 ways of turning them with the pieces in place.
std::vector<CubeState> AllLayers(bool permutations) {
  std::vector<CubeState> layers;
  std::array<std::uint8_t, 4> corners = {0, 1, 2, 3};
  std::array<std::uint8_t, 4> edges = {0, 1, 2, 3};
  if (permutations) {
    do {
      do {
        if (IsOddPermutation(corners) != IsOddPermutation(edges)) continue;
        CubeState state = CubeState::Solved();
        std::copy(corners.begin(), corners.end(), state.cornerPiece.begin());
        std::copy(edges.begin(), edges.end(), state.edgePiece.begin());
        layers.push_back(state);
      } while (std::next_permutation(edges.begin(), edges.end()));
    } while (std::next_permutation(corners.begin(), corners.end()));
    return layers;
  }
  for (int twists = 0; twists < 27; ++twists) {
    for (int flips = 0; flips < 8; ++flips) {
      CubeState state = CubeState::Solved();
      int sumTwist = 0;
      int sumFlip = 0;
      for (std::size_t slot = 0; slot < 3; ++slot) {
        state.cornerTwist[slot] = static_cast<std::uint8_t>(twists / (slot == 0 ? 1 : slot == 1 ? 3 : 9) % 3);
        state.edgeFlip[slot] = static_cast<std::uint8_t>(flips >> slot & 1);
        sumTwist += state.cornerTwist[slot];
        sumFlip += state.edgeFlip[slot];
      }
      state.cornerTwist[3] = static_cast<std::uint8_t>((3 - sumTwist % 3) % 3);
      state.edgeFlip[3] = static_cast<std::uint8_t>(sumFlip % 2);
      layers.push_back(state);
    }
  }
  return layers;
}

}  // namespace

bool FirstTwoLayersSolved(const CubeState& state) {
  const CubeState solved = CubeState::Solved();
  for (std::size_t slot = kUCorners.size(); slot < kCornerCount; ++slot) {
    if (state.cornerPiece[slot] != solved.cornerPiece[slot] || state.cornerTwist[slot] != 0) return false;
  }
  for (std::size_t slot = kUEdges.size(); slot < kEdgeCount; ++slot) {
    if (state.edgePiece[slot] != solved.edgePiece[slot] || state.edgeFlip[slot] != 0) return false;
  }
  return true;
}

const LastLayerCases& LastLayerCases::Pll() {
  static const LastLayerCases cases(Kind::kPermutation, kPllNames, kPllAlgorithms);
  return cases;
}

const LastLayerCases& LastLayerCases::Oll() {
  static const LastLayerCases cases(Kind::kOrientation, kOllNames, kOllAlgorithms);
  return cases;
}

LastLayerCases::LastLayerCases(Kind kind, std::span<const std::string_view> names,
                               std::span<const std::string_view> algorithms)
    : kind_(kind), names_(names.begin(), names.end()), algorithms_(algorithms.begin(), algorithms.end()) {
  const bool permutations = kind == Kind::kPermutation;
  std::map<std::uint64_t, std::vector<CubeState>> byCase;
  for (const CubeState& layer : AllLayers(permutations)) {
    byCase[permutations ? PermutationCaseKey(layer) : OrientationCaseKey(layer)].push_back(layer);
  }
  for (const std::string_view algorithm : algorithms_) {
    const auto moves = AlgorithmMoves(algorithm);
    if (!moves) throw std::logic_error("a last-layer algorithm that is not notation: " + std::string(algorithm));
    const CubeState example = CubeState::Solved().Apply(InverseSequence(*moves));
    const auto found = byCase.find(permutations ? PermutationCaseKey(example) : OrientationCaseKey(example));
    if (!FirstTwoLayersSolved(example) || found == byCase.end() || found->second.empty()) {
      throw std::logic_error("a last-layer algorithm that makes no case of its own: " + std::string(algorithm));
    }
    examples_.push_back(example);
    shapes_.push_back(std::move(found->second));
    allWays_ += shapes_.back().size();
  }
  // The solved layer's ways are the one share left over.
  allWays_ += permutations ? 4 : 1;
}

std::optional<std::size_t> LastLayerCases::IndexOf(std::string_view name) const {
  const auto found = std::find(names_.begin(), names_.end(), name);
  if (found == names_.end()) return std::nullopt;
  return static_cast<std::size_t>(found - names_.begin());
}

std::optional<std::size_t> LastLayerCases::CaseOf(const CubeState& state) const {
  const bool permutations = kind_ == Kind::kPermutation;
  const std::uint64_t key = permutations ? PermutationCaseKey(state) : OrientationCaseKey(state);
  for (std::size_t i = 0; i < examples_.size(); ++i) {
    const std::uint64_t caseKey = permutations ? PermutationCaseKey(examples_[i]) : OrientationCaseKey(examples_[i]);
    if (caseKey == key) return i;
  }
  return std::nullopt;
}

CubeState LastLayerCases::Draw(std::mt19937_64& rng, const std::vector<bool>& chosen) const {
  std::size_t ways = 0;
  for (std::size_t i = 0; i < shapes_.size() && i < chosen.size(); ++i) ways += chosen[i] ? shapes_[i].size() : 0;
  if (ways == 0) throw std::invalid_argument("no last-layer case chosen");
  std::size_t pick = UniformBelow(rng, ways);
  std::size_t i = 0;
  for (; !chosen[i] || pick >= shapes_[i].size(); ++i) pick -= chosen[i] ? shapes_[i].size() : 0;
  const CubeState& shape = shapes_[i][pick];
  if (kind_ == Kind::kPermutation) return shape;
  CubeState state = DrawSubset(rng, Subset{kUCorners, kUEdges, false, false});
  state.cornerTwist = shape.cornerTwist;
  state.edgeFlip = shape.edgeFlip;
  return state;
}

}  // namespace tw::scramble::training
