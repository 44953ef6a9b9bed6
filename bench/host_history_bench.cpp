// A lifetime of history on the portable paths: 30 sessions of 1,000,000 solves, the
// largest 300,000 lines with scrambles and some comments. The largest session's lines
// held and read as the book holds them, beside a line per string as they were held
// before; its statistics; and the whole history exported to one csTimer file and
// imported back, with a Cancel half way that must leave nothing.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/history_log.h"
#include "bench/host_heap.h"
#include "exchange/cstimer.h"
#include "exchange/import_file.h"
#include "stats/statistics.h"
#include "storage/line_arena.h"
#include "storage/result_log.h"

namespace {

constexpr double kMemoryPer100kTargetMb = 8.0;
constexpr double kStatisticsTargetMs = 100.0;
constexpr double kOneMoreTargetMs = 1.0;
constexpr double kImportTargetMs = 5000.0;
constexpr double kExportTargetMs = 2000.0;
constexpr double kBytesPerMb = 1024.0 * 1024.0;
constexpr int kOneMoreSolves = 1001;

double PerHundredThousand(std::ptrdiff_t bytes, std::size_t lines) {
  return static_cast<double>(bytes) / kBytesPerMb * 100000.0 / static_cast<double>(lines);
}

template <typename Work>
double OnceMs(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  using namespace tw::bench;
  int failures = 0;
  std::vector<std::vector<std::string>> sessions;
  for (int s = 0; s < kHistorySessions; ++s) sessions.push_back(HistoryLog(s, HistorySessionSize(s)));
  const std::vector<std::string>& largest = sessions.front();
  const std::string image = tw::storage::SerializeResultLog(largest);
  std::printf("history: %d sessions, %d solves, the largest %zu lines (%.1f MB, %.0f bytes a line)\n",
              kHistorySessions, kHistorySolves, largest.size(), static_cast<double>(image.size()) / kBytesPerMb,
              static_cast<double>(image.size()) / static_cast<double>(largest.size()));

  // Held: the book's block of lines against one string a line (the book before).
  tw::storage::LineArena arena;
  const std::ptrdiff_t arenaBytes = HeapKeptBy([&] { arena = tw::storage::LineArena::FromFileBytes(image); });
  std::vector<std::string> strings;
  const std::ptrdiff_t stringBytes = HeapKeptBy([&] { strings = tw::storage::ParseResultLog(image); });
  std::printf("memory of the %zu-line session's lines: %.2f MB per 100,000 lines (target <= %.0f MB; "
              "a string a line: %.2f MB; before the lines were packed: 12.33 MB)\n",
              largest.size(), PerHundredThousand(arenaBytes, largest.size()), kMemoryPer100kTargetMb,
              PerHundredThousand(stringBytes, largest.size()));
  if (!(arena == largest) || strings != largest) {
    std::printf("history FAILED: the session did not read back whole\n");
    ++failures;
  }
  const double readMs = MedianMs([&] { arena = tw::storage::LineArena::FromFileBytes(image); });
  const double readStringsMs = MedianMs([&] { strings = tw::storage::ParseResultLog(image); });
  std::printf("the %zu-line session's lines read from its file image: %.1f ms (a string a line: %.1f ms)\n",
              largest.size(), readMs, readStringsMs);
  strings = {};

  tw::stats::Statistics statistics;
  const double scratchMs = MedianMs([&] { statistics.Load(arena, arena.Size()); });
  std::vector<double> oneMore;
  const std::vector<std::string> more = HistoryLog(1, kOneMoreSolves);
  for (const std::string& line : more) oneMore.push_back(OnceMs([&] { statistics.Append(line); }));
  std::printf("statistics of %zu solves from scratch: %.1f ms (target <= %.0f ms; before: 117 ms)\n", arena.Size(), scratchMs,
              kStatisticsTargetMs);
  std::printf("statistics after one more solve: %.4f ms, slowest of %d %.4f ms (target <= %.0f ms)\n",
              Median(oneMore), kOneMoreSolves, Percentile(oneMore, 100), kOneMoreTargetMs);
  if (statistics.Results().size() != arena.Size() + more.size()) ++failures;

  // Every session exported to one csTimer file, the lines taken from the books as the
  // session row takes them; then that file imported, and once more stopped half way.
  std::vector<tw::storage::LineArena> books;
  for (const auto& lines : sessions) books.push_back(tw::storage::LineArena::FromLines(lines));
  sessions = {};
  tw::exchange::ExportResult exported;
  const double exportMs = OnceMs([&] {
    std::vector<std::vector<std::string>> lines;
    std::vector<tw::exchange::ExportSession> chosen;
    lines.reserve(books.size());
    for (std::size_t s = 0; s < books.size(); ++s) {
      lines.push_back(books[s].ToStrings());
      chosen.push_back({"Session " + std::to_string(s + 1), "333", lines.back()});
    }
    exported = tw::exchange::ExportCsTimer(chosen, {});
  });
  std::printf("export of every session (%zu solves) to a csTimer file: %.0f ms (target <= %.0f ms)\n",
              exported.solves, exportMs, kExportTargetMs);
  if (exported.solves != static_cast<std::size_t>(kHistorySolves)) ++failures;

  std::size_t steps = 0;
  tw::exchange::ImportOptions options;
  options.progress = [&steps](std::size_t, std::size_t) { return ++steps > 0; };
  tw::exchange::ImportResult imported;
  const double importMs = OnceMs([&] { imported = tw::exchange::ImportFile(exported.text, options); });
  std::printf("import of a %d-solve csTimer file (%.0f MB): %.0f ms (target <= %.0f ms), the bar fed %zu times\n",
              kHistorySolves, static_cast<double>(exported.text.size()) / kBytesPerMb, importMs, kImportTargetMs,
              steps);
  if (!imported.Ok() || imported.report.solves != static_cast<std::size_t>(kHistorySolves)) {
    std::printf("history FAILED: import %s\n", imported.error.c_str());
    ++failures;
  }
  imported = {};
  std::size_t halfway = steps / 2;
  tw::exchange::ImportOptions cancelled;
  cancelled.progress = [&halfway](std::size_t, std::size_t) { return halfway-- > 0; };
  const double cancelMs = OnceMs([&] { imported = tw::exchange::ImportFile(exported.text, cancelled); });
  const bool stopped = !imported.Ok() && imported.report.sessions.empty();
  std::printf("import cancelled half way: %.0f ms, %s\n", cancelMs,
              stopped ? "nothing imported" : "FAILED: solves were kept");
  if (!stopped) ++failures;
  return failures == 0 ? 0 : 1;
}
