#pragma once
// The last layer's cases by the names cubers give them: the 21 PLLs (Aa ... Z), each a
// way the U layer's pieces are placed with the layer turned up, and the 57 OLLs (1 ...
// 57), each a way its stickers face up whatever the pieces' places. A case is one
// state seen from any side with any turn of U after it: a random U turn before and
// after a case's state is the same case.
//
// Each case is defined by the algorithm cubers solve it with; the table is built from
// those once, on first use.
#include <cstddef>
#include <optional>
#include <random>
#include <span>
#include <string_view>
#include <vector>

#include "scramble/cube333/cube_state.h"

namespace tw::scramble::training {

class LastLayerCases {
 public:
  static const LastLayerCases& Pll();
  static const LastLayerCases& Oll();

  std::size_t Count() const { return names_.size(); }
  std::string_view Name(std::size_t index) const { return names_[index]; }
  std::optional<std::size_t> IndexOf(std::string_view name) const;
  std::string_view Algorithm(std::size_t index) const { return algorithms_[index]; }
  // The state the case's algorithm solves, as a cuber sets the case up.
  const CubeState& Example(std::size_t index) const { return examples_[index]; }
  // Of every state with the first two layers solved (and the U layer turned up, for
  // PLL) the share that is this case: a whole number of 288ths for PLL, 216ths for OLL.
  std::size_t Ways(std::size_t index) const { return shapes_[index].size(); }
  std::size_t AllWays() const { return allWays_; }

  // The case of a state with the first two layers solved (and the U layer turned up,
  // for PLL); nothing for a solved layer (or one oriented, for OLL).
  std::optional<std::size_t> CaseOf(const CubeState& state) const;

  // A uniformly random state among the chosen cases' (chosen[i] for case i; at least
  // one chosen): a case comes as often as it does on a random cube.
  CubeState Draw(std::mt19937_64& rng, const std::vector<bool>& chosen) const;

 private:
  enum class Kind { kPermutation, kOrientation };
  LastLayerCases(Kind kind, std::span<const std::string_view> names, std::span<const std::string_view> algorithms);

  Kind kind_;
  std::vector<std::string_view> names_;
  std::vector<std::string_view> algorithms_;
  std::vector<CubeState> examples_;
  // Each case's shapes: for PLL every state it is; for OLL every way its stickers face
  // up, with the pieces in place.
  std::vector<std::vector<CubeState>> shapes_;
  std::size_t allWays_ = 0;
};

// The first two layers solved: the D layer's and the middle layer's pieces in place.
bool FirstTwoLayersSolved(const CubeState& state);

}  // namespace tw::scramble::training
