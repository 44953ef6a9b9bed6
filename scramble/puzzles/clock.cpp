#include "scramble/puzzles/clock.h"

#include <stdexcept>
#include <vector>

#include "scramble/cube333/random_state.h"

namespace tw::scramble {
namespace {

// Dials row by row: UL U UR / L C R / DL D DR.
enum Dial : int { kUL, kUp, kUR, kLeft, kCentre, kRight, kDL, kDown, kDR };
constexpr std::array<int, 4> kCorners = {kUL, kUR, kDL, kDR};
// The four dials about each pin, the pin named by its corner.
constexpr std::array<std::array<int, 4>, 4> kQuarters = {{
    {kUL, kUp, kLeft, kCentre},
    {kUR, kUp, kRight, kCentre},
    {kDL, kDown, kLeft, kCentre},
    {kDR, kDown, kRight, kCentre},
}};
enum Pin : unsigned { kPinUL = 1, kPinUR = 2, kPinDL = 4, kPinDR = 8 };

struct PinSet {
  std::string_view name;
  unsigned pins;
};
constexpr std::array<PinSet, 9> kPinSets = {{
    {"UR", kPinUR},
    {"DR", kPinDR},
    {"DL", kPinDL},
    {"UL", kPinUL},
    {"U", kPinUL | kPinUR},
    {"R", kPinUR | kPinDR},
    {"D", kPinDL | kPinDR},
    {"L", kPinUL | kPinDL},
    {"ALL", kPinUL | kPinUR | kPinDL | kPinDR},
}};
// The WCA's fourteen turns: the first nine on the front, the rest after y2.
constexpr int kFrontTurns = 9;
constexpr std::array<int, kClockTurns> kScramblePins = {0, 1, 2, 3, 4, 5, 6, 7, 8, 4, 5, 6, 7, 8};

// Seen from the other side, a dial's column is mirrored.
constexpr int Mirrored(int dial) { return dial / 3 * 3 + 2 - dial % 3; }

int Hours(int value) { return ((value % kClockHours) + kClockHours) % kClockHours; }

// Turns the side in front by `hours` clockwise with `pins` up.
void Turn(std::array<int, kClockDials>& front, std::array<int, kClockDials>& back, unsigned pins, int hours) {
  std::array<bool, kClockDials> turned{};
  for (std::size_t pin = 0; pin < kQuarters.size(); ++pin) {
    if ((pins >> pin & 1U) == 0) continue;
    for (const int dial : kQuarters[pin]) turned[static_cast<std::size_t>(dial)] = true;
  }
  for (int dial = 0; dial < kClockDials; ++dial) {
    if (turned[static_cast<std::size_t>(dial)]) front[static_cast<std::size_t>(dial)] = Hours(front[static_cast<std::size_t>(dial)] + hours);
  }
  // A corner gear carries the back's dial the other way as the back sees it.
  for (const int corner : kCorners) {
    if (turned[static_cast<std::size_t>(corner)]) {
      int& twin = back[static_cast<std::size_t>(Mirrored(corner))];
      twin = Hours(twin - hours);
    }
  }
}

// What each of the fourteen turns does to each of the eighteen dials, per hour.
constexpr std::size_t kAllDials = std::size_t{2} * kClockDials;

std::array<std::array<int, kAllDials>, kClockTurns> TurnEffects() {
  std::array<std::array<int, kAllDials>, kClockTurns> effects{};
  for (int t = 0; t < kClockTurns; ++t) {
    ClockState state;
    const unsigned pins = kPinSets[static_cast<std::size_t>(kScramblePins[static_cast<std::size_t>(t)])].pins;
    if (t < kFrontTurns) {
      Turn(state.front, state.back, pins, 1);
    } else {
      Turn(state.back, state.front, pins, 1);
    }
    for (int d = 0; d < kClockDials; ++d) {
      effects[static_cast<std::size_t>(t)][static_cast<std::size_t>(d)] = state.front[static_cast<std::size_t>(d)];
      effects[static_cast<std::size_t>(t)][kClockDials + static_cast<std::size_t>(d)] = state.back[static_cast<std::size_t>(d)];
    }
  }
  return effects;
}

// Solves a x = b modulo a prime power, the matrix invertible there: every column has
// a pivot not divisible by the prime.
std::vector<int> SolveModulo(std::vector<std::vector<int>> a, std::vector<int> b, int prime, int modulus) {
  const std::size_t n = b.size();
  const auto inverse = [&](int value) {
    for (int x = 1; x < modulus; ++x) {
      if (value * x % modulus == 1) return x;
    }
    throw std::logic_error("no inverse");
  };
  for (std::size_t column = 0; column < n; ++column) {
    std::size_t pivot = column;
    while (pivot < n && a[pivot][column] % prime == 0) ++pivot;
    if (pivot == n) throw std::logic_error("the clock's turns do not reach every state");
    std::swap(a[pivot], a[column]);
    std::swap(b[pivot], b[column]);
    const int scale = inverse(((a[column][column] % modulus) + modulus) % modulus);
    for (std::size_t k = 0; k < n; ++k) a[column][k] = a[column][k] * scale % modulus;
    b[column] = b[column] * scale % modulus;
    for (std::size_t row = 0; row < n; ++row) {
      if (row == column || a[row][column] == 0) continue;
      const int factor = a[row][column];
      for (std::size_t k = 0; k < n; ++k) a[row][k] = ((a[row][k] - factor * a[column][k]) % modulus + modulus) % modulus;
      b[row] = ((b[row] - factor * b[column]) % modulus + modulus) % modulus;
    }
  }
  return b;
}

// The dials the turns set freely: all nine in front and the back's edges and centre.
constexpr std::array<int, kClockTurns> kFreeDials = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 13, 14, 16};

std::string FormatHours(int hours) {
  return hours <= kClockHours / 2 ? std::to_string(hours) + "+" : std::to_string(kClockHours - hours) + "-";
}

}  // namespace

std::string ClockText(const ClockState& state) {
  constexpr std::string_view kDigits = "0123456789ab";
  std::string text;
  for (const int hours : state.front) text += kDigits[static_cast<std::size_t>(hours)];
  for (const int hours : state.back) text += kDigits[static_cast<std::size_t>(hours)];
  return text;
}

std::optional<ClockState> ClockAfter(std::string_view text) {
  ClockState state;
  bool flipped = false;
  while (!text.empty()) {
    const std::size_t blank = text.find(' ');
    std::string_view word = text.substr(0, blank);
    text = blank == std::string_view::npos ? std::string_view{} : text.substr(blank + 1);
    if (blank != std::string_view::npos && text.empty()) return std::nullopt;
    if (word == "y2") {
      flipped = !flipped;
      continue;
    }
    // Pins, one digit 0..6, then + or -.
    if (word.size() < 3) return std::nullopt;
    const char sign = word.back();
    const char digit = word[word.size() - 2];
    const std::string_view pins = word.substr(0, word.size() - 2);
    if ((sign != '+' && sign != '-') || digit < '0' || digit > '6') return std::nullopt;
    const PinSet* set = nullptr;
    for (const PinSet& candidate : kPinSets) {
      if (candidate.name == pins) set = &candidate;
    }
    if (set == nullptr) return std::nullopt;
    const int hours = (digit - '0') * (sign == '+' ? 1 : -1);
    if (flipped) {
      Turn(state.back, state.front, set->pins, hours);
    } else {
      Turn(state.front, state.back, set->pins, hours);
    }
  }
  return state;
}

ClockState RandomClock(std::mt19937_64& rng) {
  ClockState state;
  for (int& dial : state.front) dial = static_cast<int>(UniformBelow(rng, kClockHours));
  for (int& dial : state.back) dial = static_cast<int>(UniformBelow(rng, kClockHours));
  for (const int corner : kCorners) {
    state.back[static_cast<std::size_t>(Mirrored(corner))] = Hours(-state.front[static_cast<std::size_t>(corner)]);
  }
  return state;
}

std::string ClockScramble(const ClockState& state) {
  static const auto effects = TurnEffects();
  // Hours for the fourteen turns that give the free dials their values: a linear
  // system modulo 12, solved modulo 4 and modulo 3 and put together.
  std::vector<std::vector<int>> a(kClockTurns, std::vector<int>(kClockTurns));
  std::vector<int> b(kClockTurns);
  for (int row = 0; row < kClockTurns; ++row) {
    const int dial = kFreeDials[static_cast<std::size_t>(row)];
    for (int t = 0; t < kClockTurns; ++t) a[static_cast<std::size_t>(row)][static_cast<std::size_t>(t)] = Hours(effects[static_cast<std::size_t>(t)][static_cast<std::size_t>(dial)]);
    b[static_cast<std::size_t>(row)] =
        dial < kClockDials ? state.front[static_cast<std::size_t>(dial)] : state.back[static_cast<std::size_t>(dial - kClockDials)];
  }
  const std::vector<int> byFour = SolveModulo(a, b, 2, 4);
  const std::vector<int> byThree = SolveModulo(a, b, 3, 3);
  std::string text;
  for (int t = 0; t < kClockTurns; ++t) {
    // The number that is byFour modulo 4 and byThree modulo 3.
    int hours = 0;
    while (hours % 4 != byFour[static_cast<std::size_t>(t)] || hours % 3 != byThree[static_cast<std::size_t>(t)]) ++hours;
    if (t == kFrontTurns) text += " y2";
    if (!text.empty()) text += ' ';
    text += kPinSets[static_cast<std::size_t>(kScramblePins[static_cast<std::size_t>(t)])].name;
    text += FormatHours(hours);
  }
  return text;
}

}  // namespace tw::scramble
