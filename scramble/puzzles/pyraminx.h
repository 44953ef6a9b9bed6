#pragma once
// The Pyraminx, held as the WCA scrambles it: the bottom face D level, the face F to the
// front, and L, R on its left and right behind. Moves turn two layers about a vertex
// (U, L, R, B: the top, front-left, front-right and back vertices) or only its tip
// (u, l, r, b), clockwise as seen looking at the vertex, "'" for the other way.
//
// The state is its 36 stickers: faces F, L, R, D, nine each, read row by row. F, L and
// R are seen from outside with the top vertex up (rows of 1, 3 and 5 stickers); D is
// seen from below with its front edge up (rows of 5, 3 and 1).
//
// A random state has its edges and centres uniformly random among the reachable ones
// (a shortest solution of them is found in one table of every position) and each tip
// turned at random; the tips are written last.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "scramble/puzzles/coordinate_solver.h"
#include "scramble/puzzles/sticker_puzzle.h"

namespace tw::scramble {

inline constexpr int kPyraminxVertices = 4;
inline constexpr int kPyraminxEdges = 6;

struct PyraminxState {
  std::array<std::uint8_t, kPyraminxEdges> edge{};  // the piece in each edge slot
  std::array<std::uint8_t, kPyraminxEdges> flip{};
  std::array<std::uint8_t, kPyraminxVertices> centre{};  // each vertex's centre piece, turned 0..2
  std::array<std::uint8_t, kPyraminxVertices> tip{};     // each tip, turned 0..2
  bool operator==(const PyraminxState&) const = default;
};

struct PyraminxMove {
  int vertex = 0;     // U, L, R, B
  bool tip = false;   // the tip alone
  int turns = 1;      // 1 clockwise, 2 back
  bool operator==(const PyraminxMove&) const = default;
};

std::string FormatPyraminxMoves(const std::vector<PyraminxMove>& moves);
std::optional<std::vector<PyraminxMove>> ParsePyraminxMoves(std::string_view text);

class Pyraminx {
 public:
  // Without tables it only turns notation (StateAfter) and paints states.
  explicit Pyraminx(bool withTables = true);
  Pyraminx(const Pyraminx&) = delete;
  Pyraminx& operator=(const Pyraminx&) = delete;

  std::string Solved() const { return puzzle_.Solved(); }
  std::optional<std::string> StateAfter(std::string_view text) const;
  std::string Stickers(const PyraminxState& state) const;

  PyraminxState Random(std::mt19937_64& rng) const;
  // The fewest moves that solve the state, tips included.
  int Distance(const PyraminxState& state) const;
  // A shortest scramble that makes the state from solved: the two-layer turns, then
  // the tips.
  std::vector<PyraminxMove> MovesReaching(const PyraminxState& state) const;

  std::size_t TableBytes() const { return solver_.SizeBytes(); }

 private:
  std::vector<int> CoordinatesOf(const PyraminxState& state) const;

  StickerPuzzle puzzle_;
  PieceSlots edges_;
  PieceSlots centres_;  // in vertex order
  PieceSlots tips_;     // in vertex order
  // moves_[vertex][tip][turns - 1]
  std::array<std::array<std::array<StickerMove, 2>, 2>, kPyraminxVertices> moves_;
  std::array<std::array<std::array<PieceMove, 2>, 2>, kPyraminxVertices> edgeMoves_;
  std::array<std::array<std::array<PieceMove, 2>, 2>, kPyraminxVertices> centreMoves_;
  std::array<std::array<std::array<PieceMove, 2>, 2>, kPyraminxVertices> tipMoves_;
  CoordinateSolver solver_;
};

}  // namespace tw::scramble
