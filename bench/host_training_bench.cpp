// 3x3x3 training scrambles on one thread of the host: for each kind the time per
// scramble (a random state inside the subset, solved by the two-phase solver and
// turned backwards) and the scramble lengths, every scramble checked against its state.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/bench_util.h"
#include "scramble/event_scrambler.h"
#include "scramble/events.h"
#include "scramble/scramble_text.h"
#include "scramble/scrambler.h"

namespace {

constexpr int kScrambles = 300;
constexpr std::uint64_t kSeed = 20261211;
constexpr double kMeanTargetMs = 5;

double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  using namespace tw::scramble;
  // The first scrambler builds the solver's tables; the others share them.
  EventScrambler keepTables(Event::k333, kSeed);
  bool ok = true;
  for (const Event kind : kTrainingEvents) {
    EventScrambler scrambler(kind, kSeed);
    std::vector<double> times;
    double moves = 0;
    std::size_t longest = 0;
    int wrong = 0;
    for (int i = 0; i < kScrambles; ++i) {
      const auto start = std::chrono::steady_clock::now();
      const EventScramble scramble = scrambler.Next();
      times.push_back(MsSince(start));
      const auto parsed = ParseMoves(scramble.text);
      if (!parsed || parsed->size() > kMaxScrambleLength ||
          CubeState::Solved().Apply(*parsed).Facelets() != scramble.state) {
        ++wrong;
        continue;
      }
      moves += static_cast<double>(parsed->size());
      longest = std::max(longest, parsed->size());
    }
    double total = 0;
    for (const double t : times) total += t;
    const double mean = total / kScrambles;
    std::printf("training %-10.*s: mean %.2f ms, p99 %.2f ms over %d (target mean <= %.0f ms), mean %.1f moves, "
                "longest %zu (target <= %d)\n",
                static_cast<int>(IdOf(kind).size()), IdOf(kind).data(), mean, tw::bench::Percentile(times, 99),
                kScrambles, kMeanTargetMs, moves / kScrambles, longest, kMaxScrambleLength);
    if (wrong != 0) {
      std::printf("training FAILED: %d %.*s scrambles do not reach their state within %d moves\n", wrong,
                  static_cast<int>(IdOf(kind).size()), IdOf(kind).data(), kMaxScrambleLength);
      ok = false;
    }
  }
  return ok ? 0 : 1;
}
