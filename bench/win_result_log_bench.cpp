// Result log load and save through the real files, 100,000 result lines, in a
// fresh folder under the Windows temp folder; and a key press while such a save runs
// on the book's writer thread.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/win_bench_util.h"
#include "results/result_book.h"
#include "results/win32/log_file_store.h"
#include "storage/win32/result_log_file.h"

namespace {

constexpr double kKeyPressTargetMs = 1.0;
constexpr std::size_t kKeyPresses = 1000;  // pressed while a save runs
constexpr double kKeyPressDeadlineMs = 60000.0;
constexpr DWORD kKeyPressGapMs = 2;

// Counts the saves the book hands to the file store.
class CountingStore final : public tw::results::LogStore {
 public:
  explicit CountingStore(tw::results::LogStore& store) : store_(store) {}
  tw::results::LoadedLog Load() override { return store_.Load(); }
  void Save(tw::results::SaveJob job) override {
    ++saves;
    store_.Save(std::move(job));
  }
  void SetDone(std::function<void(tw::results::SaveOutcome)> done) override { store_.SetDone(std::move(done)); }
  void Flush() override { store_.Flush(); }
  std::string Describe() const override { return store_.Describe(); }
  int saves = 0;

 private:
  tw::results::LogStore& store_;
};

// The UI thread's share of a logged stop while the writer writes the whole log: the
// book takes the line (copying the lines first when the save still holds them) and
// the clock is read for the next solve. Returns false when nothing could be measured.
bool KeyPressDuringSave(const std::string& log, const std::vector<std::string>& lines) {
  using namespace tw::bench;
  if (!tw::storage::WriteResultLog(log, lines)) return false;
  tw::results::LogFileStore file(log);
  CountingStore store(file);
  tw::results::ResultBook book(store);
  book.Load();
  if (book.Size() != lines.size()) return false;

  std::vector<double> pressMs;
  const double deadline = NowPreciseMs() + kKeyPressDeadlineMs;
  // Nearly every press finds a save of the whole log on its way: the one the press
  // before it started.
  while (pressMs.size() < kKeyPresses && NowPreciseMs() < deadline) {
    const bool saving = book.State().saving;
    const double start = NowPreciseMs();
    if (!book.Append(lines[pressMs.size() % lines.size()])) return false;
    const double clockRead = NowPreciseMs();
    if (saving) pressMs.push_back(clockRead - start);
    // The UI thread between presses: its messages, the save outcomes among them.
    const double next = NowPreciseMs() + kKeyPressGapMs;
    do {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(0);
    } while (NowPreciseMs() < next);
  }
  book.Flush();
  const bool saved = !book.State().failed;
  const std::size_t measured = pressMs.size();
  const double p50 = Percentile(pressMs, 50);
  const double p99 = Percentile(pressMs, 99);
  const double worst = pressMs.empty() ? NAN : pressMs.back();
  std::printf(
      "key press to clock read during a %d-line save (book, Wine): p99 %.3f ms (target <= %.0f ms); "
      "p50 %.3f ms, max %.3f ms over %zu presses and %d saves\n",
      kResultLogLines, p99, kKeyPressTargetMs, p50, worst, measured, store.saves);
  return saved && measured == kKeyPresses;
}

}  // namespace

int main() {
  using namespace tw::bench;
  const TempFolder folder("tw-bench-");
  if (!folder.Created()) {
    std::printf("result log bench: cannot create %s\n", folder.Path().c_str());
    return 1;
  }
  const std::string log = folder.Path() + "Result.lst";

  const std::vector<std::string> lines = RealisticResultLog();
  bool saved = true;
  ReportResultLog("save", "file, Wine", MedianMs([&] { saved = tw::storage::WriteResultLog(log, lines) && saved; }));
  std::vector<std::string> loaded;
  ReportResultLog("load", "file, Wine", MedianMs([&] { loaded = tw::storage::LoadResultLog(log); }));

  if (!saved || loaded != lines) {
    std::printf("result log round trip FAILED\n");
    return 1;
  }
  if (!KeyPressDuringSave(folder.Path() + "Book.lst", lines)) {
    std::printf("key press during a save could not be measured: FAILED\n");
    return 1;
  }
  return 0;
}
