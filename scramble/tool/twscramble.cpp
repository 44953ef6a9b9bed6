// twscramble [count] [seed]: prints `count` random-state scrambles (default 1), one a
// line: the scrambled cube's 54 stickers (U R F D L B), a tab, then the scramble. The
// same seed gives the same lines; without one the seed is random.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string_view>

#include "scramble/scramble_text.h"
#include "scramble/scrambler.h"

namespace {

constexpr int kUsageError = 2;

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

int Usage() {
  std::fprintf(stderr, "usage: twscramble [count] [seed]\n");
  return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 3) return Usage();
  long count = 1;
  std::random_device entropy;
  std::uint64_t seed = std::uint64_t{entropy()} << 32 | entropy();
  if (argc >= 2 && (!ParseNumber(argv[1], count) || count < 0)) return Usage();
  if (argc >= 3 && !ParseNumber(argv[2], seed)) return Usage();

  const tw::scramble::Scrambler scrambler;
  std::mt19937_64 rng(seed);
  for (long i = 0; i < count; ++i) {
    const tw::scramble::Scramble scramble = scrambler.NextScramble(rng);
    std::printf("%s\t%s\n", scramble.state.Facelets().c_str(), tw::scramble::FormatMoves(scramble.moves).c_str());
  }
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
