// The main window while timing: how regular the display tick is, how late each
// tick reaches the window after the hundredth it shows begins and how many
// hundredths it skips, and whether anything ticks once the stopwatch is idle. Then,
// under Wine on an X server, how long after the X server stamped a real Space (sent
// by xdotool) the window read the clock that starts the solve.
// The recorded result and the CPU of timing are measured on the real program
// with real key events by real_input_bench.py.
//
// Usage: win_main_window_bench [asset folder]
// The asset folder holds Beep.wav, Ding.wav and Digital-7.ttf; by default the
// source tree's resources folder two levels above this executable.
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/win32/main_window.h"
#include "bench/bench_util.h"
#include "bench/win_bench_util.h"
#include "results/result_book.h"
#include "results/win32/log_file_store.h"
#include "storage/win32/settings.h"
#include "storage/win32/settings_file.h"
#include "toolkit/win32/form.h"
#include "toolkit/win32/messages.h"
#include "toolkit/win32/services.h"
#include "toolkit/win32/timer.h"

namespace {

using tw::bench::NowPreciseMs;
using tw::bench::Percentile;

constexpr double kTickSampleMs = 2000;
constexpr double kBaselineSampleMs = 2000;
constexpr double kTickTargetP99Ms = 2;
constexpr UINT_PTR kBaselineTimerId = 0x7B00;  // far from the ids tw::Timer hands out

constexpr double kLagSampleMs = 3000;
constexpr double kIdleSampleMs = 2000;

constexpr double kSettleMs = 300;
constexpr int kKeyLagPresses = 40;
constexpr double kKeyLagTargetP99Ms = 2;
constexpr const char* kXdotool = "/usr/bin/xdotool";
constexpr double kKeyTimeoutMs = 2000;
// Space starts the three-second countdown, as the program is set up at first; the
// solve starts when it ends.
constexpr double kCountdownTimeoutMs = 3000 + kKeyTimeoutMs;

// Dispatches this thread's messages until the deadline, showing each to `seen` first.
template <typename Seen>
void PumpUntil(double deadlineMs, Seen&& seen) {
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      seen(msg);
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    const double left = deadlineMs - NowPreciseMs();
    if (left <= 0) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::ceil(left)), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void PumpFor(double ms) {
  PumpUntil(NowPreciseMs() + ms, [](const MSG&) {});
}

// Pumps until `done` holds; false when it did not within the timeout.
template <typename Done>
bool PumpUntilDone(Done&& done, double timeoutMs) {
  const double deadline = NowPreciseMs() + timeoutMs;
  while (!done()) {
    if (NowPreciseMs() >= deadline) return false;
    PumpUntil(NowPreciseMs() + 1, [](const MSG&) {});
  }
  return true;
}

std::vector<double> Intervals(const std::vector<double>& stamps) {
  std::vector<double> out;
  for (std::size_t i = 1; i < stamps.size(); ++i) out.push_back(stamps[i] - stamps[i - 1]);
  return out;
}

// False when there was nothing to measure.
bool ReportTicks(const char* what, const std::vector<double>& stamps, double sampleMs, const char* target) {
  std::vector<double> intervals = Intervals(stamps);
  if (intervals.empty()) {
    std::printf("display tick, %s: FAILED, %zu ticks in %.0f ms, no interval to measure\n", what, stamps.size(),
                sampleMs);
    return false;
  }
  const double p50 = Percentile(intervals, 50);
  const double p99 = Percentile(intervals, 99);
  std::printf("display tick, %s: p50 %.2f ms, p99 %.2f ms, %.0f ticks/s%s\n", what, p50, p99,
              static_cast<double>(stamps.size()) * 1000.0 / sampleMs, target);
  return true;
}

// Says which timer makes a 1 ms timer's ticks; false when it is not the multimedia
// timer, whose figures are the ones asked for: a window timer's 10-16 ms would pass
// for them.
bool ReportSource(const char* what, const tw::Timer& timer) {
  switch (timer.Running()) {
    case tw::Timer::Source::Multimedia:
      std::printf("%s runs on: the multimedia timer (1 ms)\n", what);
      return true;
    case tw::Timer::Source::WindowTimer:
      std::printf("%s runs on: a window timer (10-16 ms), not the multimedia timer: FAILED\n", what);
      return false;
    case tw::Timer::Source::None:
      break;
  }
  std::printf("%s runs on: no timer at all: FAILED\n", what);
  return false;
}

std::uint64_t ProcessCpuTime100ns() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto value = [](const FILETIME& t) {
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return value(kernel) + value(user);
}

// A bare form with the same precise timer class the main window's display uses.
class TickForm : public tw::Form {
 public:
  TickForm()
      : Form(tw::FormDesign{"Tick bench", 3000, 1500, WS_OVERLAPPEDWINDOW, 0, 0x00FFFFFF,
                            tw::FontSpec{"Tahoma", 825, FW_NORMAL}, 0, true}),
        precise(*this, 1, [this] { stamps.push_back(NowPreciseMs()); }) {}
  tw::Timer precise;
  std::vector<double> stamps;
};

bool BenchDisplayTicks() {
  TickForm form;
  if (!form.Load()) {
    std::printf("display tick: could not create a window\n");
    return false;
  }
  form.Show();
  PumpFor(kSettleMs);

  char target[64];
  std::snprintf(target, sizeof target, " (target p99 <= %.0f ms)", kTickTargetP99Ms);
  form.precise.SetEnabled(true);
  const bool multimedia = ReportSource("tw::Timer 1 ms", form.precise);
  PumpFor(kTickSampleMs);
  form.precise.SetEnabled(false);
  const bool ticked = ReportTicks("tw::Timer 1 ms", form.stamps, kTickSampleMs, target);

  std::vector<double> baseline;
  SetTimer(form.Handle(), kBaselineTimerId, 1, nullptr);
  PumpUntil(NowPreciseMs() + kBaselineSampleMs, [&](const MSG& msg) {
    if (msg.message == WM_TIMER && msg.wParam == kBaselineTimerId) baseline.push_back(NowPreciseMs());
  });
  KillTimer(form.Handle(), kBaselineTimerId);
  const bool baselineTicked = ReportTicks("plain SetTimer 1 ms (baseline)", baseline, kBaselineSampleMs, "");
  form.Unload();
  return multimedia && ticked && baselineTicked;
}

constexpr const char* kAssets[] = {"Beep.wav", "Ding.wav", "Digital-7.ttf"};

// A fresh application folder for the main window, removed again at the end.
class AppFolder {
 public:
  explicit AppFolder(const std::string& assets) : folder_("tw-bench-main-") {
    ok_ = folder_.Created() && folder_.CopyIn(assets, kAssets).empty();
    // The settings file as the program writes it at first, read from this folder and
    // not from the one beside this executable.
    const std::string settings = folder_.Path() + "Setting.ini";
    tw::storage::WriteDefaultSettings(settings);
    tw::settings::SetFileForTesting(settings);
  }
  // The window loaded the font for this process; the file cannot go while it is in use.
  ~AppFolder() {
    tw::settings::SetFileForTesting("");
    RemoveFontResourceExA((folder_.Path() + "Digital-7.ttf").c_str(), FR_PRIVATE, nullptr);
  }
  AppFolder(const AppFolder&) = delete;
  AppFolder& operator=(const AppFolder&) = delete;
  bool Ok() const { return ok_; }
  const std::string& Path() const { return folder_.Path(); }

 private:
  tw::bench::TempFolder folder_;
  bool ok_ = false;
};

// A real key-down as the keyboard sends it: repeat count 1, not a repeat.
void PostKey(HWND window, WPARAM key) { PostMessageA(window, WM_KEYDOWN, key, 1); }

// Each tick is owed to the hundredth after the one the previous tick showed; its
// lag is how long after that hundredth began it arrived. A tick that comes a
// whole hundredth late shows a later one, and the ones between are never shown.
class HundredthLag {
 public:
  void Tick(double elapsedMs) {
    const auto slot = static_cast<std::int64_t>(std::floor(elapsedMs / kHundredthMs));
    if (slot <= lastSlot_) {
      ++repeats_;
      return;
    }
    const std::int64_t owed = lastSlot_ + 1;
    lags_.push_back(elapsedMs - static_cast<double>(owed) * kHundredthMs);
    skipped_ += slot - owed;
    lastSlot_ = slot;
  }

  // False when there was nothing to measure.
  bool Report(double wallMs, int paints) {
    const auto hundredths = static_cast<double>(lastSlot_ + 1);
    if (lags_.empty()) {
      std::printf("display tick lag behind its hundredth: FAILED, no ticks in %.0f ms\n", wallMs);
      return false;
    }
    const double ticks = static_cast<double>(lags_.size()) + repeats_;
    std::printf(
        "display tick lag behind its own hundredth: p50 %.2f ms, p99 %.2f ms, max %.2f ms; %lld of %.0f "
        "hundredths skipped (%.2f%%), %d repeated ticks; %.0f ticks/s, %.0f paints/s (target p99 <= %.0f ms)\n",
        Percentile(lags_, 50), Percentile(lags_, 99), Percentile(lags_, 100), static_cast<long long>(skipped_),
        hundredths, static_cast<double>(skipped_) * 100.0 / hundredths, repeats_, ticks * 1000.0 / wallMs,
        paints * 1000.0 / wallMs, kTickTargetP99Ms);
    return true;
  }

 private:
  static constexpr double kHundredthMs = 10;
  std::vector<double> lags_;
  std::int64_t lastSlot_ = -1;
  std::int64_t skipped_ = 0;
  int repeats_ = 0;
};

bool BenchLagAndIdle(tw::MainWindow& window) {
  PostKey(window.Handle(), VK_SPACE);
  if (!PumpUntilDone([&] { return window.tmrCounter.Enabled(); }, kCountdownTimeoutMs)) {
    std::printf("display tick lag: FAILED, Space did not start the solve within %.0f ms (countdown %s)\n",
                kCountdownTimeoutMs, window.tmr3SecCD.Enabled() ? "still running" : "not running");
    return false;
  }
  const bool multimedia = ReportSource("main window's display timer", window.tmrCounter);
  HundredthLag lag;
  int paints = 0;
  const double wallBefore = NowPreciseMs();
  PumpUntil(wallBefore + kLagSampleMs, [&](const MSG& msg) {
    // A fallen-back timer's ticks count too: their lag shows what it costs.
    const bool tick = msg.message == tw::kPreciseTickMessage || msg.message == WM_TIMER;
    if (tick && msg.wParam == window.tmrCounter.Id()) lag.Tick(NowPreciseMs() - static_cast<double>(window.StartTick));
    if (msg.message == WM_PAINT) ++paints;
  });
  const bool measured = lag.Report(NowPreciseMs() - wallBefore, paints);

  // Escape rather than Space: the idle window afterwards is the same, and no log is written.
  PostKey(window.Handle(), VK_ESCAPE);
  if (!PumpUntilDone([&] { return !window.tmrCounter.Enabled(); }, kKeyTimeoutMs)) {
    std::printf("idle wake-ups: Escape did not stop the solve\n");
    return false;
  }
  int wakeUps = 0;
  const std::uint64_t idleCpuBefore = ProcessCpuTime100ns();
  PumpUntil(NowPreciseMs() + kIdleSampleMs, [&](const MSG& msg) {
    if (msg.message == WM_TIMER || msg.message == tw::kPreciseTickMessage) ++wakeUps;
  });
  const double idleCpuMs = static_cast<double>(ProcessCpuTime100ns() - idleCpuBefore) / 10'000.0;
  std::printf("timer wake-ups while idle: %d in %.0f s, CPU %.1f%% (target 0)\n", wakeUps, kIdleSampleMs / 1000.0,
              idleCpuMs * 100.0 / kIdleSampleMs);
  return multimedia && measured;
}

// Starts xdotool with these arguments (Wine starts a Unix program from its path) and
// dispatches messages, each shown to `seen` first, until it ends; false when it could
// not start. Its exit status does not come back through Wine: what it did is seen in
// the messages.
template <typename Seen>
bool Xdotool(const std::string& arguments, Seen&& seen) {
  std::string command = std::string(kXdotool) + " " + arguments;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(kXdotool, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  while (MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, static_cast<DWORD>(kKeyTimeoutMs), QS_ALLINPUT) ==
         WAIT_OBJECT_0 + 1) {
    PumpUntil(NowPreciseMs(), seen);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

// A real Space through the X server and Wine's input path: the lag from the time the
// X server gave the key press (the message's time, which Wine takes from the X event
// and keeps no later than its own clock, the one QueryPerformanceCounter reads too) to
// the clock read that starts the solve. Escape ends each solve unlogged. Skipped
// without xdotool or an X display; false when the keys did not start solves.
bool BenchKeyLag(tw::MainWindow& window) {
  if (GetFileAttributesA(kXdotool) == INVALID_FILE_ATTRIBUTES || !GetPropA(window.Handle(), "__wine_x11_whole_window")) {
    std::printf("key press lag: not measured (needs Wine on an X server, and %s)\n", kXdotool);
    return true;
  }
  SetForegroundWindow(window.Handle());
  PumpFor(kSettleMs);
  // The window's clock in the tick count's terms, read as the tick count moves on (it
  // moves in steps, 16 ms under Wine): only the rate is assumed the same.
  const ULONGLONG before = GetTickCount64();
  ULONGLONG tick = before;
  while (tick == before) tick = GetTickCount64();
  const std::int64_t clockAhead = tw::MonotonicMs() - static_cast<std::int64_t>(tick);
  std::vector<double> lags, waits;
  for (int press = 0; press < kKeyLagPresses; ++press) {
    LONG stamp = 0;
    double handledAt = 0;
    bool pressed = false;
    const double deadline = NowPreciseMs() + kKeyTimeoutMs;
    const auto seen = [&](const MSG& msg) {
      if (msg.message != WM_KEYDOWN || msg.wParam != VK_SPACE) return;
      stamp = static_cast<LONG>(msg.time);
      handledAt = static_cast<double>(tw::MonotonicMs() - clockAhead);
      pressed = true;
    };
    if (!Xdotool("key --delay 0 space", seen)) {
      std::printf("key press lag: FAILED, xdotool could not start (%lu)\n", GetLastError());
      return false;
    }
    // The key may have been dispatched while xdotool ran: the window then has started.
    PumpUntil(NowPreciseMs() + 1, seen);
    while (!window.tmrCounter.Enabled() && NowPreciseMs() < deadline) PumpUntil(NowPreciseMs() + 1, seen);
    if (!pressed || !window.tmrCounter.Enabled()) {
      std::printf("key press lag: FAILED, press %d of Space %s\n", press + 1,
                  pressed ? "did not start the solve" : "never reached the window");
      return false;
    }
    // The message's time is the tick count's low 32 bits.
    const auto sinceStamp = [stamp](std::int64_t at) {
      return static_cast<double>(static_cast<LONG>(static_cast<DWORD>(at) - static_cast<DWORD>(stamp)));
    };
    lags.push_back(sinceStamp(window.StartTick - clockAhead));
    waits.push_back(sinceStamp(static_cast<std::int64_t>(handledAt)));
    PostKey(window.Handle(), VK_ESCAPE);
    if (!PumpUntilDone([&] { return !window.tmrCounter.Enabled(); }, kKeyTimeoutMs)) {
      std::printf("key press lag: FAILED, Escape did not stop the solve\n");
      return false;
    }
    PumpFor(50);
  }
  std::printf("key press lag, X server's stamp to the time the solve starts from, %d real Spaces: p50 %.0f ms, p99 "
              "%.0f ms, max %.0f ms; the key reached the window p50 %.0f ms, p99 %.0f ms, max %.0f ms after its stamp "
              "(whole milliseconds) (target p99 <= %.0f ms; before: not measured)\n",
              kKeyLagPresses, Percentile(lags, 50), Percentile(lags, 99), Percentile(lags, 100), Percentile(waits, 50),
              Percentile(waits, 99), Percentile(waits, 100), kKeyLagTargetP99Ms);
  return true;
}

bool BenchMainWindow(const std::string& assets) {
  AppFolder app(assets);
  if (!app.Ok()) {
    std::printf("main window: could not copy the sounds and the font from %s\n", assets.c_str());
    return false;
  }
  tw::SetAppFolderForTesting(app.Path());
  tw::SetSoundPlayerForTesting([](const std::string&) {});
  std::string question;
  tw::SetMessageBoxForTesting([&](HWND, const std::string& text, const std::string&, unsigned) {
    question = text;
    return IDYES;
  });

  bool ok = false;
  {
    tw::results::LogFileStore store(app.Path() + "Result.lst");
    tw::results::ResultBook book(store);
    tw::MainWindow window(book);
    if (window.Load()) {
      if (!question.empty()) std::printf("main window asked at start: %s\n", question.c_str());
      window.Show();
      PumpFor(kSettleMs);
      ok = BenchLagAndIdle(window);
      // Space starts a solve at once from here on.
      tw::storage::WriteINI("General Settings", "Countdown", "Disabled", app.Path() + "Setting.ini");
      ok = BenchKeyLag(window) && ok;
      window.Unload();
    } else {
      std::printf("main window: did not load (%s)\n", question.c_str());
    }
  }
  tw::SetMessageBoxForTesting(nullptr);
  tw::SetSoundPlayerForTesting(nullptr);
  tw::SetAppFolderForTesting("");
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string assets =
      tw::bench::FolderArgument(argc, argv, tw::bench::ExeFolder() + "..\\..\\resources\\");
  const bool ticks = BenchDisplayTicks();
  const bool window = BenchMainWindow(assets);
  return ticks && window ? 0 : 1;
}
