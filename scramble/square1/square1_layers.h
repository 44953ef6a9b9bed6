#pragma once
// Square-1's layers as the solver sees them, shared by the files that make up the
// puzzle: which twelfths start a piece (a mask), the constants of the shapes and of
// the cube shape, and the reading order of the pieces.
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scramble/square1/square1.h"

namespace tw::scramble::sq1 {

// A layer's shape: bit i set where a piece starts at twelfth i (a corner fills i and
// i+1). The cut runs before twelfths 0 and 6; a layer the slash can turn starts pieces
// at both.
using Mask = unsigned;
constexpr Mask kAllSlots = (1U << kSq1Slots) - 1;
constexpr int kHalf = kSq1Slots / 2;
constexpr Mask kLeftHalf = (1U << kHalf) - 1;  // twelfths 0..5
constexpr Mask kCut = 1U | 1U << kHalf;
// Corners at 0, 3, 6 and 9, edges at 2, 5, 8 and 11: the top when solved, and both
// layers of the cube shape the slash keeps.
constexpr Mask kCubeMask = 0xB6D;
constexpr int kCornersPerShape = 8;
constexpr int kTwistableLayers = 169;  // 13 ways to fill each half
constexpr int kShapes = 3678;

constexpr std::uint8_t kUnknown = 0xFF;
constexpr int kOrderCount = 40320;  // 8!
constexpr int kQuarter = 3;         // a quarter turn is three twelfths
constexpr int kQuarters = 4;
// Phase 2 turns the cube shape by quarters: its eight corner places (and edge places)
// are top 0, 3, 6, 9 twelfths then bottom 0, 3, 6, 9; the slash swaps top 2, 3 with
// bottom 4, 5.
constexpr std::array<int, 8> kTopQuarter = {1, 2, 3, 0, 4, 5, 6, 7};
constexpr std::array<int, 8> kBottomQuarter = {0, 1, 2, 3, 5, 6, 7, 4};
constexpr std::array<int, 8> kSlashPlaces = {0, 1, 4, 5, 2, 3, 6, 7};


constexpr std::size_t Index(int i) { return static_cast<std::size_t>(i); }

inline bool IsCorner(int piece) { return piece < 8 ? piece % 2 == 0 : piece % 2 == 1; }

inline Mask Rotated(Mask mask, int by) { return by == 0 ? mask : ((mask << by) | (mask >> (kSq1Slots - by))) & kAllSlots; }
inline bool Twistable(Mask mask) { return (mask & kCut) == kCut; }
inline int Pieces(Mask mask) { return std::popcount(mask); }
inline int CornersOf(Mask mask) { return kSq1Slots - Pieces(mask); }

// Whether turning a layer by `by` changes the parity of the pieces' order read from
// twelfth 0: the pieces that pass twelfth 11 move from the end to the front.
inline int TurnParity(Mask mask, int by) {
  const int wrapped = by == 0 ? 0 : std::popcount(mask >> (kSq1Slots - by));
  return wrapped * (Pieces(mask) - wrapped) & 1;
}

Mask MaskOf(const std::array<std::uint8_t, kSq1Slots>& layer);
// The pieces in reading order (top from twelfth 0, then bottom), each once.
int ParityOf(const Sq1State& state);

// Twelfths as 0..11.
int NormalTurn(int twelfths);
// Turns and slashes with neighbouring turns merged and empty turns dropped.
std::vector<Sq1Move> Merged(const std::vector<Sq1Move>& moves);

}  // namespace tw::scramble::sq1
