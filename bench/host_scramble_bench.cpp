// Random-state scrambles on one thread of the host: building the solver's tables, the
// heap they hold, the time per scramble over a thousand scrambles and the scramble lengths.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "bench/bench_util.h"
#include "bench/host_heap.h"
#include "scramble/scrambler.h"

namespace {

constexpr int kTableRuns = 5;
constexpr int kScrambles = 1000;
constexpr std::uint64_t kSeed = 20260101;
constexpr double kTablesTargetMs = 200;
constexpr double kTablesTargetMb = 4;
constexpr double kBytesPerMb = 1e6;
constexpr double kMeanTargetMs = 5;
constexpr double kP99TargetMs = 25;
constexpr double kMeanLengthTarget = 20;

double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  using namespace tw::scramble;
  std::unique_ptr<Scrambler> scrambler;
  const double tablesMs = tw::bench::MedianMs([&] { scrambler = std::make_unique<Scrambler>(); }, kTableRuns);
  std::printf("scramble tables: %.0f ms (target <= %.0f ms)\n", tablesMs, kTablesTargetMs);
  scrambler.reset();
  const std::ptrdiff_t heldBytes = tw::bench::HeapKeptBy([&] { scrambler = std::make_unique<Scrambler>(); });
  std::printf("scramble tables size, heap they hold: %.2f MB, %td bytes (they count %zu themselves) (target <= %.0f "
              "MB)\n",
              static_cast<double>(heldBytes) / kBytesPerMb, heldBytes, scrambler->TableBytes(), kTablesTargetMb);
  if (heldBytes <= 0) {
    std::printf("scramble FAILED: the heap shows no memory held by the tables (%td bytes)\n", heldBytes);
    return 1;
  }

  std::mt19937_64 rng(kSeed);
  std::vector<double> times;
  std::vector<double> lengths;
  int wrong = 0;
  for (int i = 0; i < kScrambles; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const Scramble scramble = scrambler->NextScramble(rng);
    times.push_back(MsSince(start));
    lengths.push_back(static_cast<double>(scramble.moves.size()));
    if (CubeState::Solved().Apply(scramble.moves) != scramble.state || scramble.moves.size() > kMaxScrambleLength) {
      ++wrong;
    }
  }
  double totalMs = 0;
  for (const double t : times) totalMs += t;
  double totalLength = 0;
  for (const double l : lengths) totalLength += l;
  const double maxMs = *std::max_element(times.begin(), times.end());
  std::printf("scramble: mean %.2f ms, p99 %.2f ms, max %.1f ms over %d (targets <= %.0f ms, p99 <= %.0f ms)\n",
              totalMs / kScrambles, tw::bench::Percentile(times, 99), maxMs, kScrambles, kMeanTargetMs, kP99TargetMs);
  std::printf("scramble length: mean %.2f moves, max %.0f (target mean <= %.0f, max <= %d)\n", totalLength / kScrambles,
              *std::max_element(lengths.begin(), lengths.end()), kMeanLengthTarget, kMaxScrambleLength);
  if (wrong != 0) {
    std::printf("scramble FAILED: %d scrambles do not reach their state within %d moves\n", wrong, kMaxScrambleLength);
    return 1;
  }
  return 0;
}
