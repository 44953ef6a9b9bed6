#pragma once
// The states of the 3x3x3 training kinds, each a uniformly random state inside its
// subset (see scramble/events.h for the kinds):
//
//   Last layer    the first two layers solved, the U layer's pieces anyhow
//   PLL           the same with the U layer turned up, of the chosen PLL cases
//   OLL           the first two layers solved, of the chosen OLL cases, any order
//   ZBLL          the first two layers solved and the U edges turned up
//   Cross solved  the D cross solved, everything else anyhow
//   Last slot and last layer   the cross and three pairs solved: the front-right pair
//                 and the U layer anyhow
//   Roux last six edges   both Roux blocks and every corner solved: the M slice's and
//                 U layer's six edges anyhow
//   Roux CMLL     both Roux blocks solved: the U corners and those six edges anyhow
//   2-generator (R, U)   any state that R and U turns reach
//   Edges only / Corners only   the corners / the edges solved
//
// A solved cube, or one a single U turn solves, is drawn again: it would make no
// scramble worth the name.
#include <random>
#include <string_view>
#include <vector>

#include "scramble/cube333/cube_state.h"
#include "scramble/events.h"
#include "scramble/training/last_layer_cases.h"

namespace tw::scramble::training {

class TrainingDraw {
 public:
  // `kind` is one of the training events; `cases` the session's choice of PLL or OLL
  // cases (see case_choice.h), ignored by the other kinds; a damaged one is all cases.
  TrainingDraw(Event kind, std::string_view cases = {});

  Event Kind() const { return kind_; }
  // The chosen cases of PLL or OLL; empty for the other kinds.
  const std::vector<bool>& Chosen() const { return chosen_; }
  CubeState Draw(std::mt19937_64& rng) const;

 private:
  CubeState DrawOnce(std::mt19937_64& rng) const;

  Event kind_;
  const LastLayerCases* cases_ = nullptr;
  std::vector<bool> chosen_;
};

// The case table of a kind that has one (PLL, OLL), or null.
const LastLayerCases* CasesOf(Event kind);

// A uniformly random state of the group R and U turns generate: the six corners they
// move in any of the 120 orders those turns reach, turned anyhow; the seven edges in
// any order of the corners' parity, none flipped.
CubeState RandomTwoGenerator(std::mt19937_64& rng);

}  // namespace tw::scramble::training
