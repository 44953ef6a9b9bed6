#pragma once
// The 4x4x4 as its pieces, for a reduction search: 24 centres (only their colours
// count), 24 wings and 8 corners. Turns are U R F D L B and the wide Uw Rw Fw Dw Lw
// Bw, each a quarter turn, a half turn or a quarter turn back; the first nine kinds
// leave the down-back-left corner in place, as the WCA's 4x4x4 scrambles do.
//
// The sticker text is the one scramble/puzzles/big_cube.h writes for the 4x4x4: the 96
// stickers in the order U R F D L B, each face read row by row as seen from outside,
// U with B above it, D with F above it, the four sides with U above.
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace tw::scramble::cube444 {

inline constexpr int kStickers = 96;
inline constexpr int kCentres = 24;
inline constexpr int kWings = 24;
inline constexpr int kDedges = 12;
inline constexpr int kCorners = 8;
inline constexpr int kTurnKinds = 12;  // U R F D L B Uw Rw Fw Dw Lw Bw
inline constexpr int kHeldCornerKinds = 9;  // U R F D L B Uw Rw Fw
inline constexpr int kTurns = kTurnKinds * 3;
inline constexpr std::uint8_t kNoTurn = kTurns;

// kind * 3 + quarter turns - 1; kinds 0..5 are the faces U R F D L B, 6..11 Uw Rw Fw
// Dw Lw Bw.
using Turn = std::uint8_t;
constexpr Turn MakeTurn(int kind, int quarterTurns) { return static_cast<Turn>(kind * 3 + quarterTurns - 1); }
constexpr int KindOf(Turn turn) { return turn / 3; }
constexpr int QuarterTurnsOf(Turn turn) { return turn % 3 + 1; }
constexpr Turn InverseOf(Turn turn) { return MakeTurn(KindOf(turn), 4 - QuarterTurnsOf(turn)); }
// U, D, Uw and Dw share axis 0; R, L, Rw and Lw axis 1; F, B, Fw and Bw axis 2.
constexpr int AxisOfKind(int kind) { return kind % 3; }
constexpr bool IsWide(Turn turn) { return KindOf(turn) >= 6; }
// A wide quarter turn moves an inner layer a quarter.
constexpr bool IsInnerQuarter(Turn turn) { return IsWide(turn) && QuarterTurnsOf(turn) != 2; }
// Wings come in two kinds, as a 3x3x3's edges are good or bad as seen from F and B:
// U, D, R and L turns and every half turn keep each wing among the slots of its kind,
// and a quarter turn of F or B (or the inner layers) puts some in slots of the other.
constexpr bool KeepsWingKinds(Turn turn) {
  return QuarterTurnsOf(turn) == 2 || (!IsWide(turn) && KindOf(turn) != 2 && KindOf(turn) != 5);
}

// Whether `next` may follow `previous` (kNoTurn: nothing before) inside one search:
// never one face twice in a row, whatever the width, and turns about one axis (which
// commute) in the order of their kinds.
constexpr bool MayFollow(Turn previous, Turn next) {
  if (previous == kNoTurn) return true;
  const int before = KindOf(previous);
  const int after = KindOf(next);
  if (before % 6 == after % 6) return false;
  return AxisOfKind(before) != AxisOfKind(after) || before / 3 < after / 3;
}

// "U", "Rw2", "Fw'", ...
std::string TurnText(Turn turn);

// The piece-level state. Wing slots are numbered so that slots 0..11 form one kind
// and 12..23 the other (see KeepsWingKinds). Slot d and slot 12 + d are the two halves of dedge slot d; dedge slots
// 8..11 are the four that run from U to D. A wing piece is named by its home slot.
struct Cube {
  std::array<std::uint8_t, kCentres> centre{};  // the face colour (0..5, U R F D L B) in each centre slot
  std::array<std::uint8_t, kWings> wing{};      // the wing piece in each wing slot
  std::string corners;                          // the 96 stickers with only the corners' filled in

  bool operator==(const Cube&) const = default;
};

// The reduced cube in the 3x3x3 solver's numbering (see scramble/cube333/cube_state.h): which
// corner and edge is in each slot and how it is turned.
struct ThreeByThree {
  std::array<std::uint8_t, kCorners> cornerPiece{};
  std::array<std::uint8_t, kCorners> cornerTwist{};
  std::array<std::uint8_t, kDedges> edgePiece{};
  std::array<std::uint8_t, kDedges> edgeFlip{};
};

class Model {
 public:
  Model();

  std::string Solved() const;
  // The stickers after `turn`, as the sticker text says.
  void Apply(Turn turn, std::string& stickers) const;
  Cube Apply(const Cube& cube, Turn turn) const;

  // A uniformly random state of the cube held by its down-back-left corner: every
  // arrangement of corners that keeps that corner, of wings and of centres.
  Cube Random(std::mt19937_64& rng) const;
  Cube FromStickers(std::string_view stickers) const;
  std::string Stickers(const Cube& cube) const;
  // For a cube whose centres are solved and whose dedges are paired: the 3x3x3 it is.
  ThreeByThree Reduced(const Cube& cube) const;

  // Where each centre and wing slot sends its piece under a turn.
  const std::array<std::uint8_t, kCentres>& CentreTo(Turn turn) const { return centreTo_[turn]; }
  const std::array<std::uint8_t, kWings>& WingTo(Turn turn) const { return wingTo_[turn]; }
  // The face (0..5) a centre slot lies on.
  int CentreFace(int slot) const { return centreFace_[slot]; }
  // Whether the corners' order changes parity under the turn.
  static bool SwapsCornerParity(Turn turn) { return QuarterTurnsOf(turn) != 2; }
  bool CornersOdd(const Cube& cube) const;

 private:
  std::array<std::array<std::uint16_t, kStickers>, kTurns> from_{};  // place i receives sticker from_[t][i]
  std::array<std::array<std::uint8_t, kCentres>, kTurns> centreTo_{};
  std::array<std::array<std::uint8_t, kWings>, kTurns> wingTo_{};
  std::array<std::uint8_t, kCentres> centreSticker_{};
  std::array<std::uint8_t, kCentres> centreFace_{};
  std::array<std::array<std::uint8_t, 2>, kWings> wingStickers_{};  // in an order every turn keeps
  std::array<std::array<std::uint8_t, 3>, kCorners> cornerStickers_{};
};

}  // namespace tw::scramble::cube444
