#pragma once
// Square-1 in the WCA's notation: "(x,y)" turns the top layer x and the bottom layer y
// twelfths clockwise (each as seen from its own side, -5..6), "/" turns the right half
// over; the small part of the middle layer is on the left of the front. Both count as
// one move. A scramble is written "(1,0)/ (-1,3)/ ...": each turn with the slash after
// it, a slash with no turn before it alone.
//
// The state is 25 characters: the top layer's twelve twelfths going clockwise from the
// cut at the front, the bottom layer's twelve going clockwise as seen from below from the
// same cut, each the piece there (a corner fills two twelfths) as a hexadecimal digit
// numbering the pieces as they sit when solved; then the middle layer, '-' as solved
// or '/' turned over.
//
// A random state is any position the slash can turn: its shape is one of the 3678 with
// no corner across the cut, each equally likely, the corners and edges in any order and
// the middle either way. Solutions come in two phases: the first reaches the cube shape
// (aligned so the slash keeps it) with the pieces' order of the right parity, the second
// solves within it, with tables of exact move counts for both.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tw::scramble {

inline constexpr int kSq1Slots = 12;
inline constexpr int kSq1Pieces = 16;

struct Sq1State {
  std::array<std::uint8_t, kSq1Slots> top{};
  std::array<std::uint8_t, kSq1Slots> bottom{};
  bool middleTurned = false;
  static Sq1State Solved();
  bool Twistable() const;
  bool operator==(const Sq1State&) const = default;
};

struct Sq1Move {
  bool slash = false;
  int top = 0;     // twelfths clockwise, 0..11
  int bottom = 0;
  bool operator==(const Sq1Move&) const = default;
};

std::string Sq1Text(const Sq1State& state);
// The state after a move; a slash across a corner leaves the state as it was (callers
// check Twistable first).
Sq1State Sq1Apply(const Sq1State& state, const Sq1Move& move);
std::string FormatSq1Moves(const std::vector<Sq1Move>& moves);
std::optional<std::vector<Sq1Move>> ParseSq1Moves(std::string_view text);
// What the text does to a solved Square-1, or nothing for text that is not notation or
// slashes across a corner.
std::optional<Sq1State> Sq1After(std::string_view text);

class Square1 {
 public:
  Square1();
  Square1(const Square1&) = delete;
  Square1& operator=(const Square1&) = delete;

  Sq1State Random(std::mt19937_64& rng) const;
  // Whether some sequence of fewer than `moves` moves solves the state.
  bool SolvedWithin(const Sq1State& state, int moves) const;
  // A short sequence that makes the state from solved (twistable states only). Once
  // `cancel` is true the answer comes soon and may be empty: throw it away.
  std::vector<Sq1Move> MovesReaching(const Sq1State& state, const std::atomic<bool>* cancel = nullptr) const;

  std::size_t TableBytes() const;

  // The number of twistable shapes (both layers), for callers that check the draw.
  static int ShapeCount();
  // A shape's index from a state's layers, or -1 if a corner lies across the cut.
  static int ShapeOf(const Sq1State& state);

 private:
  friend class Sq1Search;
  // Phase 1: move counts from each shape and parity to the cube shape aligned for the
  // slash with the parity phase 2 can solve.
  std::vector<std::uint8_t> toCube_;
  // Exact move counts to solved for each shape, parity and middle: a bound on the
  // whole state's count.
  std::vector<std::uint8_t> toSolved_;
  // Move counts to solved for each shape and which corner places (read from twelfth 0,
  // top then bottom) hold top corners; the same for edges. Shapes alone bound most
  // states below 11 moves; the colours lift nearly all of them past it.
  std::vector<std::uint8_t> cornerColours_;
  std::vector<std::uint8_t> edgeColours_;
  // Phase 2: the eight corners' (or edges', the same places) order after a quarter
  // turn of the top, of the bottom and a slash, and the move counts to the phase's end
  // for each order and middle.
  std::vector<std::uint16_t> topQuarter_;
  std::vector<std::uint16_t> bottomQuarter_;
  std::vector<std::uint16_t> slash_;
  std::vector<std::uint8_t> phase2_;
  // The edges' places relative to the corners' (for each edge place, the place of the
  // corner that follows it when solved): a quarter turn of the corners' top or bottom
  // moves it from one side, the edges' from the other, and the move counts until it is
  // as solved, for each alignment of the cube shape.
  std::vector<std::uint16_t> pairsCornerTop_;
  std::vector<std::uint16_t> pairsCornerBottom_;
  std::vector<std::uint16_t> pairsEdgeTop_;
  std::vector<std::uint16_t> pairsEdgeBottom_;
  std::vector<std::uint16_t> pairsSlash_;
  std::vector<std::uint8_t> pairs_;
};

}  // namespace tw::scramble
