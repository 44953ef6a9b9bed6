// The real program's start beside a baseline measured in the same run: from
// CreateProcess to the main window's first frame with its digits on the screen,
// over warm starts from a copy of the ready-to-run folder, against the same for
// win_empty_window (a program that only shows an empty window) under the same Wine.
// The absolute figure swings with the machine's load; the ratio of the two much
// less. Then the same start with a 100,000-line result log, and the private memory
// of the program once idle with the log and without it.
//
// Usage: win_startup_bench [dist folder [empty window program]]
// By default the dist folder and win_empty_window.exe beside this executable.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/win_bench_util.h"
#include "storage/win32/settings_file.h"

namespace {

using tw::bench::Median;
using tw::bench::NowPreciseMs;

constexpr int kWarmUpRounds = 1;
constexpr int kMeasuredRounds = 9;  // each program once a round, in turn first
constexpr double kStartTargetMs = 150;
constexpr double kStartRatioTarget = 1.2;
constexpr double kLongLogRatioTarget = 1.2;
constexpr double kMemoryTargetMb = 8;
constexpr double kLongLogMemoryTargetMb = 8;
// The figures as the last round left them, on a quiet machine.
constexpr const char* kRatioBefore = "1.42x, 203 vs 143 ms";
constexpr const char* kLongLogRatioBefore = "1.37x";
constexpr const char* kMemoryBefore = "10.1 MB";
constexpr const char* kLongLogMemoryBefore = "12.3 MB";
constexpr DWORD kStartTimeoutMs = 15000;
// Long enough for the statistics of a long log, worked out once the timer is painted.
constexpr DWORD kIdleSettleMs = 1000;
constexpr DWORD kCloseTimeoutMs = 5000;
constexpr const char* kFiles[] = {"Twistwatch.exe", "Beep.wav", "Ding.wav", "Digital-7.ttf"};
constexpr const char* kBaselineExe = "win_empty_window.exe";

// What the first frame shows, read back from the screen along a few rows across the
// client area: the empty window's background alone, or the timer's black digits on
// white. A window Wine has mapped but not yet drawn is one colour (often black), so
// neither reads as painted before its frame is on the screen.
enum class Frame { Background, Digits };
constexpr double kRowsAt[] = {0.4, 0.5, 0.6};
constexpr double kBackgroundShare = 0.99;
constexpr double kDigitsLeastWhite = 0.5;
constexpr double kDigitsLeastBlack = 0.02;

// A program started and watched until its first frame is on the screen.
struct Program {
  const char* exe;  // its file name in the folder it starts from
  const char* windowClass;
  const char* windowTitle;
  Frame frame;
};
constexpr Program kTwistwatch{"Twistwatch.exe", "TwistwatchForm", "Twistwatch", Frame::Digits};
constexpr Program kBaseline{kBaselineExe, "TwEmptyWindow", "Empty window", Frame::Background};

struct WindowSearch {
  DWORD processId;
  const Program* program;
  HWND found;
};

HWND VisibleWindowOf(DWORD processId, const Program& program) {
  WindowSearch search{processId, &program, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<WindowSearch*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner != s->processId || !IsWindowVisible(hwnd)) return TRUE;
        char name[64] = {};
        char title[64] = {};
        GetClassNameA(hwnd, name, sizeof name);
        GetWindowTextA(hwnd, title, sizeof title);
        if (lstrcmpA(name, s->program->windowClass) != 0 || lstrcmpA(title, s->program->windowTitle) != 0) {
          return TRUE;
        }
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Whether the screen shows the program's first frame in its window's client area.
bool FrameOnScreen(HWND window, Frame frame) {
  RECT client;
  if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return false;
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int width = client.right;
  const int rows = static_cast<int>(std::size(kRowsAt));
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -rows;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return false;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  for (int row = 0; row < rows; ++row) {
    BitBlt(memory, 0, row, width, 1, screen, origin.x, origin.y + static_cast<int>(client.bottom * kRowsAt[row]),
           SRCCOPY);
  }
  GdiFlush();
  std::size_t white = 0, black = 0;
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  const auto all = static_cast<std::size_t>(width) * static_cast<std::size_t>(rows);
  for (std::size_t i = 0; i < all; ++i) {
    const std::uint32_t rgb = pixels[i] & 0x00FFFFFF;
    white += rgb == 0x00FFFFFF;
    black += rgb == 0;
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  const double whiteShare = static_cast<double>(white) / static_cast<double>(all);
  const double blackShare = static_cast<double>(black) / static_cast<double>(all);
  if (frame == Frame::Background) return whiteShare >= kBackgroundShare;
  return whiteShare >= kDigitsLeastWhite && blackShare >= kDigitsLeastBlack;
}

// Committed private pages, walked region by region: what PrivateUsage means on
// Windows, for when the counter itself comes back empty (Wine leaves it at 0).
SIZE_T CommittedPrivateBytes(HANDLE process) {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION info;
  for (auto* address = static_cast<char*>(nullptr);
       VirtualQueryEx(process, address, &info, sizeof info) == sizeof info;
       address = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    if (info.RegionSize == 0) break;
  }
  return total;
}

struct StartResult {
  bool ok = false;
  double paintedMs = 0;  // the first frame on the screen
  double readyMs = 0;    // that, and WaitForInputIdle returned
  bool inputIdleWorks = true;
  SIZE_T privateBytes = 0;  // PrivateUsage, or the committed private pages where it reads 0
};

void EndProgram(const PROCESS_INFORMATION& pi, HWND window) {
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  if (!window || WaitForSingleObject(pi.hProcess, kCloseTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, kCloseTimeoutMs);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

SIZE_T PrivateBytes(HANDLE process) {
  Sleep(kIdleSettleMs);
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters) &&
      counters.PrivateUsage > 0) {
    return counters.PrivateUsage;
  }
  return CommittedPrivateBytes(process);
}

StartResult StartOnce(const std::string& folder, const Program& program, bool measureMemory) {
  StartResult result;
  const std::string exe = folder + program.exe;
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  // The baseline is a console-subsystem program: detached, it starts without a
  // console of its own, as the windows-subsystem program does (which ignores the flag).
  const double start = NowPreciseMs();
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                      folder.c_str(), &si, &pi)) {
    std::printf("start to first paint: FAILED, starting %s failed (%lu)\n", program.exe, GetLastError());
    return result;
  }
  HWND window = nullptr;
  bool idle = false;
  while (NowPreciseMs() - start < kStartTimeoutMs) {
    if (!idle) {
      const DWORD wait = WaitForInputIdle(pi.hProcess, 0);
      if (wait == 0) idle = true;
      if (wait == WAIT_FAILED) {
        idle = true;
        result.inputIdleWorks = false;
      }
    }
    if (!window) window = VisibleWindowOf(pi.dwProcessId, program);
    // Only once its first WM_PAINT has been taken (an empty update region) is the
    // screen read, which costs the X server; the frame shows after its EndPaint.
    if (window && result.paintedMs == 0 && !GetUpdateRect(window, nullptr, FALSE) &&
        FrameOnScreen(window, program.frame)) {
      result.paintedMs = NowPreciseMs() - start;
    }
    if (idle && result.paintedMs != 0) {
      result.readyMs = NowPreciseMs() - start;
      result.ok = true;
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) {
      std::printf("start to first paint: FAILED, %s ended before showing its window\n", program.exe);
      break;
    }
  }
  if (result.ok && measureMemory) {
    result.privateBytes = PrivateBytes(pi.hProcess);
  } else if (!result.ok && NowPreciseMs() - start >= kStartTimeoutMs) {
    std::printf("start to first paint: FAILED, no \"%s\" window of %s with its first frame on the screen after "
                "%lu ms\n",
                program.windowTitle, program.exe, kStartTimeoutMs);
  }
  EndProgram(pi, window);
  return result;
}

double Mb(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

struct Starts {
  std::vector<double> painted, ready, privateMb;
  bool inputIdleWorks = true;

  void Add(const StartResult& r) {
    painted.push_back(r.paintedMs);
    ready.push_back(r.readyMs);
    privateMb.push_back(Mb(r.privateBytes));
    inputIdleWorks = inputIdleWorks && r.inputIdleWorks;
  }
};

// The median of the ratios of starts made in the same round, so a swing of the
// machine's load moves both sides of a ratio.
double PairedRatio(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < a.size(); ++i) ratios.push_back(a[i] / b[i]);
  return Median(ratios);
}

void ReportStarts(const Starts& program, const Starts& baseline, const Starts& longLog) {
  const auto [fastest, slowest] = std::minmax_element(program.painted.begin(), program.painted.end());
  std::printf(
      "start to first paint, median of %d warm starts: %.0f ms to the first frame with the digits on the screen, "
      "%.0f ms to input idle%s (all starts %.0f-%.0f ms) (target <= %.0f ms)\n",
      kMeasuredRounds, Median(program.painted), Median(program.ready),
      program.inputIdleWorks ? "" : " (WaitForInputIdle unsupported)", *fastest, *slowest, kStartTargetMs);
  const double programFastest = *fastest;
  const double baselineFastest = *std::min_element(baseline.painted.begin(), baseline.painted.end());
  std::printf(
      "start-up beside an empty Win32 window under the same Wine, this run, each first in turn: %.0f ms vs %.0f ms "
      "to the first frame, ratio %.2fx (median of %d rounds; fastest starts %.0f vs %.0f ms, %.2fx) (target <= "
      "%.2fx; before: %s)\n",
      Median(program.painted), Median(baseline.painted), PairedRatio(program.painted, baseline.painted),
      kMeasuredRounds, programFastest, baselineFastest, programFastest / baselineFastest, kStartRatioTarget,
      kRatioBefore);
  std::printf(
      "start-up with a %d-line result log: %.0f ms vs %.0f ms with none to the first frame, ratio %.2fx (median "
      "of %d rounds) (target <= %.1fx; before: %s)\n",
      tw::bench::kResultLogLines, Median(longLog.painted), Median(program.painted),
      PairedRatio(longLog.painted, program.painted), kMeasuredRounds, kLongLogRatioTarget, kLongLogRatioBefore);
}

void ReportMemory(const Starts& program, const Starts& longLog) {
  std::printf("private memory once idle, empty log: %.1f MB (target <= %.0f MB; before: %s)\n",
              Median(program.privateMb), kMemoryTargetMb, kMemoryBefore);
  std::printf("private memory added by a %d-line result log once idle: %.1f MB (%.1f MB in all) (target <= %.0f "
              "MB; before: %s)\n",
              tw::bench::kResultLogLines, Median(longLog.privateMb) - Median(program.privateMb),
              Median(longLog.privateMb), kLongLogMemoryTargetMb, kLongLogMemoryBefore);
}

bool WriteLog(const std::string& path) {
  std::string bytes;
  for (const std::string& line : tw::bench::RealisticResultLog()) bytes += line + "\r\n";
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

// A private copy of the ready-to-run folder with its settings, so no start writes a
// file and the runs touch no build output.
bool Prepare(const tw::bench::TempFolder& copy, const std::string& dist) {
  if (!copy.Created()) {
    std::printf("start to first paint: FAILED, cannot create %s\n", copy.Path().c_str());
    return false;
  }
  const std::string missing = copy.CopyIn(dist, kFiles);
  if (!missing.empty()) {
    std::printf("start to first paint: FAILED, cannot copy %s\n", missing.c_str());
    return false;
  }
  tw::storage::WriteDefaultSettings(copy.Path() + "Setting.ini");
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dist = tw::bench::FolderArgument(argc, argv, tw::bench::ExeFolder() + "dist\\");
  const std::string baselineExe = argc > 2 ? argv[2] : tw::bench::ExeFolder() + kBaselineExe;
  const tw::bench::TempFolder copy("tw-bench-start-");
  const tw::bench::TempFolder logged("tw-bench-start-log-");
  if (!Prepare(copy, dist) || !Prepare(logged, dist)) return 1;
  // The baseline beside the program, so both start from the same disk.
  if (!CopyFileA(baselineExe.c_str(), (copy.Path() + kBaselineExe).c_str(), FALSE)) {
    std::printf("start to first paint: FAILED, cannot copy the baseline %s\n", baselineExe.c_str());
    return 1;
  }
  if (!WriteLog(logged.Path() + "Result.lst")) {
    std::printf("start to first paint: FAILED, cannot write the long result log\n");
    return 1;
  }

  struct Entrant {
    const std::string& folder;
    const Program& program;
    Starts& starts;
  };
  Starts program, baseline, longLog;
  const Entrant entrants[] = {{copy.Path(), kBaseline, baseline},
                              {copy.Path(), kTwistwatch, program},
                              {logged.Path(), kTwistwatch, longLog}};
  constexpr int kEntrants = static_cast<int>(std::size(entrants));
  for (int round = 0; round < kWarmUpRounds + kMeasuredRounds; ++round) {
    // Each starts first in turn: what ran just before a start (a disk cache, a busy
    // wineserver) favours no one.
    for (int turn = 0; turn < kEntrants; ++turn) {
      const Entrant& e = entrants[(round + turn) % kEntrants];
      const StartResult r = StartOnce(e.folder, e.program, &e.program == &kTwistwatch);
      if (!r.ok) return 1;
      if (round >= kWarmUpRounds) e.starts.Add(r);
    }
  }
  ReportStarts(program, baseline, longLog);
  ReportMemory(program, longLog);
  return 0;
}
