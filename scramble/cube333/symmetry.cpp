#include "scramble/cube333/symmetry.h"

#include <algorithm>
#include <array>

#include "scramble/cube333/coordinates.h"

namespace tw::scramble {
namespace {

// A quarter turn of the whole cube about the U-D axis, clockwise seen from U.
constexpr CubeState kQuarterAboutUD = {
    {corner::UBR, corner::URF, corner::UFL, corner::ULB, corner::DRB, corner::DFR, corner::DLF, corner::DBL},
    {0, 0, 0, 0, 0, 0, 0, 0},
    {edge::UB, edge::UR, edge::UF, edge::UL, edge::DB, edge::DR, edge::DF, edge::DL, edge::BR, edge::FR, edge::FL,
     edge::BL},
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1}};
// A half turn of the whole cube about the F-B axis.
constexpr CubeState kHalfAboutFB = {
    {corner::DLF, corner::DFR, corner::DRB, corner::DBL, corner::UFL, corner::URF, corner::UBR, corner::ULB},
    {0, 0, 0, 0, 0, 0, 0, 0},
    {edge::DL, edge::DF, edge::DR, edge::DB, edge::UL, edge::UF, edge::UR, edge::UB, edge::FL, edge::FR, edge::BR,
     edge::BL},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};

struct Group {
  std::array<CubeState, kSymmetryCount> cubes;
  std::array<std::array<std::uint8_t, kSymmetryCount>, kSymmetryCount> product{};
  std::array<std::uint8_t, kSymmetryCount> inverse{};
  std::array<std::array<Move, kSymmetryCount>, kMoveCount> conjugateMove{};
};

bool KeepsFlips(const CubeState& cube) {
  return std::all_of(cube.edgeFlip.begin(), cube.edgeFlip.end(), [](std::uint8_t f) { return f == 0; });
}

int IndexOf(const std::array<CubeState, kSymmetryCount>& cubes, const CubeState& cube) {
  return static_cast<int>(std::find(cubes.begin(), cubes.end(), cube) - cubes.begin());
}

Group BuildGroup() {
  Group group;
  int next = 0;
  std::array<CubeState, kSymmetryCount> all;
  CubeState quarter = CubeState::Solved();
  for (int quarters = 0; quarters < 4; ++quarters) {
    all[next++] = quarter;
    all[next++] = quarter.Then(kHalfAboutFB);
    quarter = quarter.Then(kQuarterAboutUD);
  }
  // The identity first, then the rest of the flip-keeping four, then the others.
  std::stable_partition(all.begin(), all.end(), KeepsFlips);
  group.cubes = all;
  for (int a = 0; a < kSymmetryCount; ++a) {
    for (int b = 0; b < kSymmetryCount; ++b) {
      const int product = IndexOf(all, all[a].Then(all[b]));
      group.product[a][b] = static_cast<std::uint8_t>(product);
      if (product == 0) group.inverse[a] = static_cast<std::uint8_t>(b);
    }
  }
  for (int m = 0; m < kMoveCount; ++m) {
    for (int s = 0; s < kSymmetryCount; ++s) {
      const CubeState conjugated = all[group.inverse[s]].Then(FaceTurn(static_cast<Move>(m))).Then(all[s]);
      for (int n = 0; n < kMoveCount; ++n) {
        if (FaceTurn(static_cast<Move>(n)) == conjugated) group.conjugateMove[m][s] = static_cast<Move>(n);
      }
    }
  }
  return group;
}

const Group& TheGroup() {
  static const Group group = BuildGroup();
  return group;
}

// The slot each slot's mirror image is.
constexpr std::uint8_t kMirrorCorner[kCornerCount] = {corner::UFL, corner::URF, corner::UBR, corner::ULB,
                                                      corner::DLF, corner::DFR, corner::DRB, corner::DBL};
constexpr std::uint8_t kMirrorEdge[kEdgeCount] = {edge::UL, edge::UF, edge::UR, edge::UB, edge::DL, edge::DF,
                                                  edge::DR, edge::DB, edge::FL, edge::FR, edge::BR, edge::BL};

}  // namespace

int MirrorTwist(int twist) {
  CubeState cube = CubeState::Solved();
  SetTwist(cube, twist);
  CubeState mirrored = cube;
  for (int slot = 0; slot < kCornerCount; ++slot) {
    mirrored.cornerTwist[slot] =
        static_cast<std::uint8_t>((kCornerTwists - cube.cornerTwist[kMirrorCorner[slot]]) % kCornerTwists);
  }
  return TwistOf(mirrored);
}

int MirrorFlip(int flip) {
  CubeState cube = CubeState::Solved();
  SetFlip(cube, flip);
  CubeState mirrored = cube;
  for (int slot = 0; slot < kEdgeCount; ++slot) mirrored.edgeFlip[slot] = cube.edgeFlip[kMirrorEdge[slot]];
  return FlipOf(mirrored);
}

Move MirrorMove(Move move) {
  Face face = FaceOf(move);
  if (face == Face::R || face == Face::L) face = face == Face::R ? Face::L : Face::R;
  return MakeMove(face, kTurnsPerFace + 1 - QuarterTurnsOf(move));
}

CubeState Conjugate(const CubeState& cube, int symmetry) {
  const Group& group = TheGroup();
  return group.cubes[group.inverse[symmetry]].Then(cube).Then(group.cubes[symmetry]);
}

int SymmetryProduct(int first, int second) { return TheGroup().product[first][second]; }
int SymmetryInverse(int symmetry) { return TheGroup().inverse[symmetry]; }
Move ConjugateMove(Move move, int symmetry) { return TheGroup().conjugateMove[move][symmetry]; }

}  // namespace tw::scramble
