#pragma once
// The numbers the two-phase search works with instead of whole cube states.
// Phase 1 reaches the subgroup <U, D, R2, L2, F2, B2>, where no corner is twisted, no
// edge flipped and the four slice edges are back in the slice: its coordinates are the
// twist, the flip and the slice edges' places. Phase 2 solves within the subgroup: its
// coordinates are the corners' order, the order of the eight U and D edges and the
// order of the slice edges; the places of the four D corners help bound phase 2 too.
// Every coordinate is 0 on the solved cube.
#include <array>
#include <cstdint>
#include <span>

#include "scramble/cube333/cube_state.h"

namespace tw::scramble {

inline constexpr int kTwistCount = 2187;         // 3^7: the last corner's twist follows
inline constexpr int kFlipCount = 2048;          // 2^11: the last edge's flip follows
inline constexpr int kSliceCount = 495;          // 12 choose 4 places of the slice edges
inline constexpr int kSliceFlipBits = 4;         // one flip for each slice edge
inline constexpr int kSliceFlipCount = kSliceCount << kSliceFlipBits;
inline constexpr int kCornerOrderCount = 40320;  // 8!
inline constexpr int kUdEdgeOrderCount = 40320;  // 8!
inline constexpr int kSliceOrderCount = 24;      // 4!
inline constexpr int kSliceEdgeCount = 4;
inline constexpr int kUdEdgeCount = kEdgeCount - kSliceEdgeCount;
inline constexpr int kDCornerCount = 4;
inline constexpr int kDCornerPlacesCount = 70;  // 8 choose 4

int TwistOf(const CubeState& state);
int FlipOf(const CubeState& state);
int SliceOf(const CubeState& state);
// The slice edges' places and how each of them is flipped there, slot by slot: the
// slice coordinate times 16. Moves take it to a value of its own, so it refines the
// slice in a distance table at a sixteenth of the cost of the whole flip.
int SliceFlipOf(const CubeState& state);
constexpr int SliceOfSliceFlip(int sliceFlip) { return sliceFlip >> kSliceFlipBits; }
int CornerOrderOf(const CubeState& state);
// Meaningful only within the subgroup, where the U and D edges fill slots 0..7.
int UdEdgeOrderOf(const CubeState& state);
int SliceOrderOf(const CubeState& state);
int DCornersOf(const CubeState& state);

// The inverses, each setting only the part of `state` its coordinate describes (the
// slice places leave the other edges in some order, which the slice coordinate ignores).
void SetTwist(CubeState& state, int twist);
void SetFlip(CubeState& state, int flip);
void SetSlice(CubeState& state, int slice);
// Leaves the other edges unflipped.
void SetSliceFlip(CubeState& state, int sliceFlip);
void SetDCorners(CubeState& state, int places);

// The rank of a permutation of 0..n-1 in 0..n!-1, the identity being 0, and back.
int PermutationRank(std::span<const std::uint8_t> pieces);
void PermutationFromRank(int rank, std::span<std::uint8_t> pieces);

}  // namespace tw::scramble
