#pragma once
// The reduction's move and distance tables (see reduction.h), built once and only read
// after. Every distance table is exact for its projection of the cube, so each bounds
// the turns left from below.
#include <array>
#include <atomic>
#include <exception>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scramble/cube444/cube444_model.h"

namespace tw::scramble::cube444 {

inline constexpr std::uint8_t kUnreached = 0xFF;
inline constexpr int kKindSlots = 12;      // wing slots of one kind, a dedge slot each
inline constexpr int kMiddleSlots = 4;     // dedge slots 8..11, from U to D
inline constexpr int kOuterSlots = 8;      // dedge slots 0..7, in the U and D layers
inline constexpr int kAxisHalves = 70;     // 4 of an axis's 8 centre slots
inline constexpr int kFourSets = 495;      // 4 of 12 dedge slots
inline constexpr int kMiddleOrders = 24;   // 4!
inline constexpr int kOuterOrders = 40320; // 8!

// The turns each stage may use, all keeping the down-back-left corner:
//   any turn; then those that keep the L and R centres on L and R (outer turns, Rw, the
//   other wide half turns); then those that keep every centre on its axis and the
//   wings' order even (outer turns, wide half turns); then those that also keep every
//   wing among the slots of its kind (U D R L, half turns); last, those that also keep
//   the middle layer's wings in the middle layer (U D and half turns).
enum Stage { kAnyTurn, kLeftRightKept, kAxesKept, kKindsKept, kLayersKept, kStages };

// Thrown by a build of the tables cancelled before it finished.
struct TablesCancelled : std::exception {
  const char* what() const noexcept override { return "the 4x4x4 tables' build was cancelled"; }
};

struct ReductionTables {
  // Throws TablesCancelled soon after `cancel` becomes true, std::bad_alloc when memory
  // runs out.
  explicit ReductionTables(const Model& model, const std::atomic<bool>* cancel = nullptr);
  std::size_t Bytes() const;

  std::array<std::vector<Turn>, kStages> turns;

  // Sets of centre or wing slots moved by a turn, a byte of the set at a time.
  struct SetMoves {
    std::array<std::array<std::array<std::uint32_t, 256>, 3>, kTurns> byte{};
    void Fill(Turn turn, const std::array<std::uint8_t, 24>& to);
    std::uint32_t Move(std::uint32_t mask, Turn turn) const {
      const auto& t = byte[turn];
      return t[0][mask & 0xFF] | t[1][mask >> 8 & 0xFF] | t[2][mask >> 16];
    }
  };
  SetMoves centreSets;
  SetMoves wingSets;
  std::array<std::array<std::uint8_t, kWings>, kTurns> wingTo{};
  std::array<std::uint32_t, kTurns> kindSwaps{};  // wing slots whose wing changed kind
  std::array<bool, kTurns> wingsOdd{};
  // For turns that keep kinds: whether the first kind's order changes parity against
  // the corners', and where each kind's dedge slots go.
  std::array<bool, kTurns> parityFlips{};
  std::array<std::array<std::uint8_t, kKindSlots>, kTurns> firstTo{};
  std::array<std::array<std::uint8_t, kKindSlots>, kTurns> secondTo{};

  std::uint32_t lrGoal = 0;     // the L and R centre slots
  std::uint32_t udGoal = 0;     // the U and D centre slots
  std::uint32_t freeSlots = 0;  // the centre slots off L and R
  std::array<std::array<std::uint8_t, 8>, 3> axisSlots{};  // each axis's centre slots, near face first
  std::array<std::uint8_t, 256> halfRank{};
  std::array<std::uint8_t, kAxisHalves> halfOfRank{};
  std::array<std::uint16_t, 4096> fourRank{};  // of a 4-set of 12 dedge slots
  std::array<std::uint16_t, kFourSets> fourOfRank{};

  // Stage 1: the L and R centres' slots.
  std::vector<std::uint8_t> leftRight;
  // Stage 2: the U and D centres' slots among the free ones, with the wings' order:
  // [CentresIndex(ud) * 2 + odd].
  std::vector<std::uint8_t> centresOnAxes;
  // Stage 3: the wings in slots of the other kind (see KindsRank), and the centres'
  // places by axis ((ud * 70 + lr) * 70 + fb) from where stage 4 can bring them home
  // with one parity or the other.
  std::vector<std::uint8_t> kinds;
  std::vector<std::uint8_t> axesHomeable;
  // Centres by axis with the parity of the first kind's order against the corners':
  // [(ud * 70 + lr) * 70 + fb] * 2 + parity. Stage 5 solves them; stage 4 brings them
  // where stage 5 can.
  std::vector<std::array<std::uint8_t, kTurns>> axisMoves;  // [axis * 70 + rank][turn]
  std::vector<std::uint8_t> centresHome;       // stage 5's turns
  std::vector<std::uint8_t> centresHomeable;   // stage 4's turns
  // Stage 4: four dedges' wings into the middle layer: the first kind's four slots and
  // the second kind's, each as a 4-set.
  std::vector<std::array<std::uint16_t, kTurns>> fourMoves;  // [rank][turn]
  std::vector<std::uint8_t> middleSets;                      // [first * 495 + second]
  // Stage 5: where each first-kind wing's partner lies, as an order of the middle slots
  // and one of the outer slots, with the parity: [(middle * 8! + outer) * 2 + parity].
  std::vector<std::array<std::uint8_t, kTurns>> middleOrderMoves;  // [rank][turn]
  std::vector<std::array<std::uint16_t, kTurns>> outerOrderMoves;  // [rank][turn]
  std::vector<std::uint8_t> pairing;

  std::uint32_t CentresIndex(std::uint32_t ud) const;
  std::uint32_t AxisIndex(std::uint32_t ud, std::uint32_t lr, std::uint32_t fb, bool parity) const {
    return ((ud * kAxisHalves + lr) * kAxisHalves + fb) * 2 + (parity ? 1 : 0);
  }
  std::uint32_t MoveAxes(std::uint32_t index, Turn turn) const;
  // The same without the parity: ((ud * 70 + lr) * 70 + fb).
  std::uint32_t MovePlaces(std::uint32_t places, Turn turn) const;

 private:
  const std::atomic<bool>* cancel_;
  std::array<std::array<std::uint16_t, 256>, 3> packFree_{};  // a byte of a centre set packed onto the free slots
  void BuildMoves(const Model& model);
  void BuildLeftRight();
  void BuildKinds();
  void BuildCentresHome(const Model& model);
  void BuildCentresOnAxes();
  void BuildAxesHomeable();
  void BuildMiddleSets();
  void BuildPairing();
};

// Ranks of orders (permutations) of up to 8 items.
int RankOrder(const std::uint8_t* order, int n);
void UnrankOrder(int rank, int n, std::uint8_t* order);
std::uint32_t RankSet(std::uint32_t mask);
// The index of `kinds` in ReductionTables::kinds: a set of wing slots, as many of each kind.
std::uint32_t KindsRank(std::uint32_t mask);

}  // namespace tw::scramble::cube444
