// The statistics of a 100,000-line result log: built from scratch, brought up to
// date after one more solve, and the memory the model keeps for them, as the heap
// measures it.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/host_heap.h"
#include "stats/statistics.h"

namespace {

constexpr double kFromScratchTargetMs = 50.0;
constexpr double kOneMoreTargetMs = 1.0;
constexpr double kMemoryTargetMb = 4.0;
constexpr int kAppendedSolves = 1001;
constexpr double kBytesPerMb = 1024.0 * 1024.0;

}  // namespace

int main() {
  using namespace tw::bench;
  const std::vector<std::string> lines = RealisticResultLog();
  tw::stats::Statistics stats;
  const double scratchMs = MedianMs([&] { stats.Load(lines, lines.size()); });
  std::printf("statistics of %d solves from scratch: %.1f ms (target <= %.0f ms)\n", kResultLogLines, scratchMs,
              kFromScratchTargetMs);
  tw::stats::Statistics measured;
  const std::ptrdiff_t heldBytes = HeapKeptBy([&] { measured.Load(lines, lines.size()); });
  const double memoryMb = static_cast<double>(heldBytes) / kBytesPerMb;

  // Each further solve timed on its own, as the window gets them; the median and
  // the slowest, since a solve the user waits for should never be the slow one.
  const std::vector<std::string> more = RealisticResultLog(kAppendedSolves);
  std::vector<double> times;
  for (const std::string& line : more) {
    const auto start = std::chrono::steady_clock::now();
    stats.Append(line);
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  const double slowest = Percentile(times, 100);
  std::printf("statistics after one more solve: %.4f ms, slowest of %d %.4f ms (target <= %.0f ms)\n", Median(times),
              kAppendedSolves, slowest, kOneMoreTargetMs);
  std::printf("statistics model of %d solves, heap it holds: %.2f MB (target <= %.0f MB)\n", kResultLogLines,
              memoryMb, kMemoryTargetMb);
  if (heldBytes <= 0 || measured.Results().size() != lines.size()) {
    std::printf("statistics benchmark FAILED: the heap shows no memory held by the model (%td bytes)\n", heldBytes);
    return 1;
  }
  if (stats.Results().size() != lines.size() + more.size() || stats.UnreadLines() != 0 ||
      !stats.Rows().back().shown) {
    std::printf("statistics benchmark FAILED: the log was not read whole\n");
    return 1;
  }
  return 0;
}
