// Import and export of 100,000 solves: a csTimer file and a Twisty Timer back-up
// read into result lines, and a log of result lines written as csTimer's file and as
// CSV, each beside its target. Each one's progress bar is measured as it is fed: how
// often, the longest wait between calls, and whether it ends at done.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "bench/bench_util.h"
#include "exchange/cstimer.h"
#include "exchange/csv_export.h"
#include "exchange/import_file.h"
#include "exchange/twisty_timer.h"

namespace {

using namespace tw::exchange;

constexpr int kSolves = 100000;
constexpr int kSessions = 4;
constexpr double kImportTargetMs = 1000.0;
constexpr double kExportTargetMs = 500.0;
constexpr long long kFirstStart = 1700000000;

// A 20-move scramble that changes from solve to solve.
std::string Scramble(int i) {
  static const char* const kMoves[] = {"R", "U'", "F2", "L", "D", "B'", "R2", "U", "F'", "L2", "D'", "B2"};
  std::string scramble;
  for (int m = 0; m < 20; ++m) {
    if (m > 0) scramble += ' ';
    scramble += kMoves[(i * 7 + m * 5 + m * m) % 12];
  }
  return scramble;
}

long long Millis(int i) { return 8000 + (i * 7919LL) % 20000; }
int Penalty(int i) { return i % 50 == 0 ? 2000 : i % 77 == 0 ? -1 : 0; }
std::string Comment(int i) { return i % 10 == 0 ? "comment " + std::to_string(i) : ""; }

std::string CsTimerFile() {
  nlohmann::ordered_json file;
  nlohmann::json sessionData = nlohmann::json::object();
  for (int s = 0; s < kSessions; ++s) {
    nlohmann::ordered_json solves = nlohmann::ordered_json::array();
    for (int i = s; i < kSolves; i += kSessions) {
      solves.push_back({{Penalty(i), Millis(i)}, Scramble(i), Comment(i), kFirstStart + i * 30LL});
    }
    file["session" + std::to_string(s + 1)] = std::move(solves);
    sessionData[std::to_string(s + 1)] = {{"name", "Session " + std::to_string(s + 1)}, {"opt", {{"scrType", "333"}}}};
  }
  file["properties"] = {{"sessionData", sessionData.dump()}};
  return file.dump();
}

std::string TwistyBackup() {
  std::string file(kTwistyTimerHeader);
  file += '\n';
  for (int i = 0; i < kSolves; ++i) {
    const int penalty = Penalty(i) == 2000 ? 1 : Penalty(i) == -1 ? 2 : 0;
    file += "\"333\";\"Normal\";\"" + std::to_string(Millis(i) + (penalty == 1 ? 2000 : 0)) + "\";\"" +
            std::to_string((kFirstStart + i * 30LL) * 1000) + "\";\"" + Scramble(i) + "\";\"" +
            std::to_string(penalty) + "\";\"" + Comment(i) + "\"\n";
  }
  return file;
}

void Report(const char* what, double ms, double targetMs) {
  std::printf("exchange %s %d solves: %.0f ms (target <= %.0f ms)\n", what, kSolves, ms, targetMs);
}

// The progress bar as an import or export feeds it: how often it is called in a run, the
// longest the bar waits between two calls (from the start to the first, and from the
// last to the end, included), and whether each run's last call says all is done.
class ProgressBar {
 public:
  // A bar that moves: fed at least this often over a run of the whole file.
  static constexpr double kLeastCallsPerRun = 10;

  using Clock = std::chrono::steady_clock;

  void BeginRun() {
    last_ = Clock::now();
    lastDone_ = lastTotal_ = 0;
    ++runs_;
  }
  bool Fed(std::size_t done, std::size_t total) {
    Wait();
    ++calls_;
    lastDone_ = done;
    lastTotal_ = total;
    return true;
  }
  void EndRun() {
    Wait();
    if (lastTotal_ == 0 || lastDone_ != lastTotal_) ++unfinished_;
  }
  // Prints the measured figures; false when the bar was never fed, did not move while the
  // work ran (a bar fed only at the end shows nothing), or a run ended short of done.
  bool Report(const char* what) const {
    const double perRun = runs_ ? static_cast<double>(calls_) / runs_ : 0.0;
    std::printf("exchange progress %s: %.0f calls a run, longest wait between calls %.1f ms\n", what, perRun,
                longestMs_);
    if (calls_ == 0) std::printf("exchange progress %s FAILED: the bar was never fed\n", what);
    if (calls_ != 0 && perRun < kLeastCallsPerRun) {
      std::printf("exchange progress %s FAILED: fed %.0f times a run, the bar does not move while the work runs\n",
                  what, perRun);
    }
    if (unfinished_ != 0) std::printf("exchange progress %s FAILED: %d runs ended short of done\n", what, unfinished_);
    return calls_ != 0 && perRun >= kLeastCallsPerRun && unfinished_ == 0;
  }

 private:
  void Wait() {
    const Clock::time_point now = Clock::now();
    longestMs_ = std::max(longestMs_, std::chrono::duration<double, std::milli>(now - last_).count());
    last_ = now;
  }

  Clock::time_point last_{};
  std::size_t lastDone_ = 0;
  std::size_t lastTotal_ = 0;
  int runs_ = 0;
  int calls_ = 0;
  int unfinished_ = 0;
  double longestMs_ = 0.0;
};

}  // namespace

int main() {
  using tw::bench::MedianMs;
  int failures = 0;
  // Each operation's bar of its own, fed as the program's bar is.
  const auto timed = [](ProgressBar& bar, auto&& work) {
    return MedianMs([&] {
      bar.BeginRun();
      work();
      bar.EndRun();
    });
  };
  const auto feed = [](ProgressBar& bar) {
    return [&bar](std::size_t done, std::size_t total) { return bar.Fed(done, total); };
  };

  ProgressBar csTimerBar;
  ImportOptions importOptions;
  importOptions.progress = feed(csTimerBar);
  const std::string csTimer = CsTimerFile();
  ImportResult imported;
  Report("import csTimer", timed(csTimerBar, [&] { imported = ImportFile(csTimer, importOptions); }), kImportTargetMs);
  if (!imported.Ok() || imported.report.solves != kSolves) {
    std::printf("exchange import csTimer FAILED: %s\n", imported.error.c_str());
    ++failures;
  }

  ProgressBar twistyBar;
  importOptions.progress = feed(twistyBar);
  const std::string twisty = TwistyBackup();
  ImportResult fromTwisty;
  Report("import Twisty Timer", timed(twistyBar, [&] { fromTwisty = ImportFile(twisty, importOptions); }),
         kImportTargetMs);
  if (!fromTwisty.Ok() || fromTwisty.report.solves != kSolves) {
    std::printf("exchange import Twisty Timer FAILED: %s\n", fromTwisty.error.c_str());
    ++failures;
  }

  std::vector<std::string> log;
  for (const ImportedSession& session : imported.report.sessions) log.insert(log.end(), session.lines.begin(), session.lines.end());
  const ExportSession session{"Everything", "333", log};
  ProgressBar csTimerOutBar;
  ExportOptions exportOptions;
  exportOptions.progress = feed(csTimerOutBar);
  ExportResult exported;
  Report("export csTimer", timed(csTimerOutBar, [&] { exported = ExportCsTimer({&session, 1}, exportOptions); }),
         kExportTargetMs);
  if (exported.solves != kSolves) ++failures;
  ProgressBar csvBar;
  exportOptions.progress = feed(csvBar);
  Report("export CSV", timed(csvBar, [&] { exported = ExportCsv(log, exportOptions); }), kExportTargetMs);
  if (exported.solves != kSolves) ++failures;

  if (!csTimerBar.Report("import csTimer")) ++failures;
  if (!twistyBar.Report("import Twisty Timer")) ++failures;
  if (!csTimerOutBar.Report("export csTimer")) ++failures;
  if (!csvBar.Report("export CSV")) ++failures;
  return failures == 0 ? 0 : 1;
}
