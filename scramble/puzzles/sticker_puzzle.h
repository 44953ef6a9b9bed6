#pragma once
// A twisty puzzle as stickers in space. Each sticker has a point of its own and the
// centre of the piece it sits on; a turn rotates every piece beyond a cutting plane
// about an axis, and where each rotated sticker point lands says where that sticker
// goes. So the cube's, Pyraminx's, Skewb's and Megaminx's turns all come from their
// shapes, not from hand-written cycles, and the state of any of them is the string of
// its stickers' face letters in a fixed reading order (the order the stickers were
// given in).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tw::scramble {

struct Point3 {
  double x = 0;
  double y = 0;
  double z = 0;
};

constexpr Point3 operator+(Point3 a, Point3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr Point3 operator-(Point3 a, Point3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
constexpr Point3 operator*(double k, Point3 a) { return {k * a.x, k * a.y, k * a.z}; }
constexpr double Dot(Point3 a, Point3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Point3 Cross(Point3 a, Point3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Point3 Normalized(const Point3& a);
// `p` turned by `angle` radians about the unit `axis`, counter-clockwise as seen from
// the axis's tip.
Point3 Rotated(const Point3& p, const Point3& axis, double angle);

// A clockwise turn as seen from outside, looking at the axis's tip: a negative angle.
inline constexpr double kFullTurn = 6.283185307179586;

struct Sticker {
  Point3 at;     // the sticker's own point, no two stickers alike
  Point3 piece;  // the centre of the piece the sticker is on, shared by its stickers
  char face;     // the letter of the face it belongs to when solved
};

// A move as the place each sticker comes from: after it, place i shows the sticker
// that was at from[i].
struct StickerMove {
  std::vector<std::uint16_t> from;
};

// The pieces of one kind (edges, corners, ...) as slots, each the places of its
// stickers in one turning order: counter-clockwise about the piece's centre as seen
// from outside, so a piece turned in its slot keeps that order.
struct PieceSlots {
  std::vector<std::vector<int>> stickers;
};

// A move as pieces see it: the piece in slot s goes to slot to[s], its stickers moved
// on by twist[s] places in the slot's turning order.
struct PieceMove {
  std::vector<std::uint8_t> to;
  std::vector<std::uint8_t> twist;
};

class StickerPuzzle {
 public:
  explicit StickerPuzzle(std::vector<Sticker> stickers);

  int Size() const { return static_cast<int>(stickers_.size()); }
  const std::vector<Sticker>& Stickers() const { return stickers_; }
  // The face letters in reading order: the solved state.
  std::string Solved() const;

  // Turns every piece whose centre lies farther than `depth` along the unit `axis` by
  // `angle` radians about that axis. The rotated stickers must land on sticker points.
  StickerMove Turn(const Point3& axis, double depth, double angle) const;

  // The pieces whose stickers all have the given number of stickers, in the order of
  // their first sticker's place.
  PieceSlots Pieces(int stickersPerPiece) const;

 private:
  std::vector<Sticker> stickers_;
};

StickerMove Identity(int size);
// `first`, then `second`.
StickerMove Then(const StickerMove& first, const StickerMove& second);
StickerMove Repeated(const StickerMove& move, int times);
void Apply(const StickerMove& move, std::string& state);

PieceMove PieceMoveOf(const PieceSlots& slots, const StickerMove& move);

// Moves pieces kept as the piece in each slot and how far it is turned there
// (0..turnsPerPiece-1).
template <std::size_t N>
void MovePieces(const PieceMove& move, std::array<std::uint8_t, N>& pieces, std::array<std::uint8_t, N>& turns,
                int turnsPerPiece) {
  const auto piecesBefore = pieces;
  const auto turnsBefore = turns;
  for (std::size_t s = 0; s < N; ++s) {
    pieces[move.to[s]] = piecesBefore[s];
    turns[move.to[s]] = static_cast<std::uint8_t>((turnsBefore[s] + move.twist[s]) % turnsPerPiece);
  }
}

// Writes the stickers of pieces kept that way into `stickers`: the piece's j-th sticker
// (as in its own slot) lands on its slot's (j + turn)-th place; `solved` gives each
// place's letter when solved.
template <std::size_t N>
void PaintPieces(const PieceSlots& slots, const std::string& solved, const std::array<std::uint8_t, N>& pieces,
                 const std::array<std::uint8_t, N>& turns, std::string& stickers) {
  for (std::size_t t = 0; t < N; ++t) {
    const std::vector<int>& home = slots.stickers[pieces[t]];
    const std::size_t k = home.size();
    for (std::size_t j = 0; j < k; ++j) {
      stickers[static_cast<std::size_t>(slots.stickers[t][(j + turns[t]) % k])] =
          solved[static_cast<std::size_t>(home[j])];
    }
  }
}

}  // namespace tw::scramble
