#include <algorithm>
#include <string>
#include <string_view>

#include "scramble/cube333/cube_state.h"
#include "scramble/square1/square1.h"
#include "scramble/square1/square1_layers.h"

namespace tw::scramble {
namespace sq1 {

Mask MaskOf(const std::array<std::uint8_t, kSq1Slots>& layer) {
  Mask mask = 0;
  for (int i = 0; i < kSq1Slots; ++i) {
    const int before = (i + kSq1Slots - 1) % kSq1Slots;
    if (!(IsCorner(layer[static_cast<std::size_t>(i)]) && layer[static_cast<std::size_t>(before)] == layer[static_cast<std::size_t>(i)])) mask |= 1U << i;
  }
  return mask;
}

int ParityOf(const Sq1State& state) {
  std::array<std::uint8_t, kSq1Pieces> order{};
  std::size_t n = 0;
  for (const auto* layer : {&state.top, &state.bottom}) {
    const Mask mask = MaskOf(*layer);
    for (int i = 0; i < kSq1Slots; ++i) {
      if ((mask >> i & 1U) != 0) order[n++] = (*layer)[static_cast<std::size_t>(i)];
    }
  }
  return IsOddPermutation(order) ? 1 : 0;
}

}  // namespace sq1

using sq1::Index;
using sq1::kHalf;
using sq1::MaskOf;

Sq1State Sq1State::Solved() {
  return {{0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 6, 7}, {8, 9, 9, 10, 11, 11, 12, 13, 13, 14, 15, 15}, false};
}

bool Sq1State::Twistable() const { return sq1::Twistable(MaskOf(top)) && sq1::Twistable(MaskOf(bottom)); }

Sq1State Sq1Apply(const Sq1State& state, const Sq1Move& move) {
  Sq1State next = state;
  if (!move.slash) {
    for (int i = 0; i < kSq1Slots; ++i) {
      next.top[static_cast<std::size_t>((i + move.top) % kSq1Slots)] = state.top[static_cast<std::size_t>(i)];
      next.bottom[static_cast<std::size_t>((i + move.bottom) % kSq1Slots)] = state.bottom[static_cast<std::size_t>(i)];
    }
    return next;
  }
  if (!state.Twistable()) return state;
  // The right half turns over: top twelfths 6..11 become bottom 0..5 and back, in the
  // same order (both layers count clockwise as seen from their own side).
  for (int i = 0; i < kHalf; ++i) {
    next.top[Index(kHalf + i)] = state.bottom[Index(i)];
    next.bottom[Index(i)] = state.top[Index(kHalf + i)];
  }
  next.middleTurned = !state.middleTurned;
  return next;
}

std::string Sq1Text(const Sq1State& state) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string text;
  for (const std::uint8_t piece : state.top) text += kDigits[piece];
  for (const std::uint8_t piece : state.bottom) text += kDigits[piece];
  text += state.middleTurned ? '/' : '-';
  return text;
}

}  // namespace tw::scramble
