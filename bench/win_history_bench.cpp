// A lifetime of history under Wine: 30 session logs of 1,000,000 solves in all beside
// Setting.ini, the largest 300,000 lines with scrambles and some comments. The largest
// session read and its memory; a switch to it from the session row's list, with the
// Result panel and the statistics window shown and painted, the first time (its log
// read) and again; the chart of its solves drawn; and a key press while it is saved.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/history_log.h"
#include "bench/win_bench_util.h"
#include "options/win32/options_window.h"
#include "results/result_book.h"
#include "results/win32/log_file_store.h"
#include "results/win32/session_shelf.h"
#include "stats/win32/chart_painter.h"
#include "stats/win32/statistics_window.h"
#include "storage/win32/result_log_file.h"
#include "storage/win32/settings.h"
#include "toolkit/win32/form.h"
#include "toolkit/win32/gdi_objects.h"
#include "toolkit/win32/services.h"

namespace {

constexpr double kSwitchTargetMs = 150.0;
constexpr double kMemoryPer100kTargetMb = 8.0;
constexpr double kChartTargetMs = 16.0;
constexpr double kKeyPressTargetMs = 1.0;
constexpr int kChartWidth = 624;
constexpr int kChartHeight = 464;
constexpr int kKeyPresses = 300;
constexpr int kFontHeight = -12;  // 9 points at 96 DPI
constexpr double kBytesPerMb = 1024.0 * 1024.0;

template <typename Work>
double OnceMs(Work&& work) {
  const double start = tw::bench::NowPreciseMs();
  work();
  return tw::bench::NowPreciseMs() - start;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

double ChartMs(const tw::stats::Statistics& statistics) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = kChartWidth;
  format.bmiHeader.biHeight = -kChartHeight;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  tw::GdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  tw::GdiObject<HFONT> font(CreateFontA(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, "Tahoma"));
  tw::MemoryDc dc(nullptr);
  tw::Selection use(dc.get(), bitmap.get());
  tw::stats::ChartPainter painter;
  const RECT area{0, 0, kChartWidth, kChartHeight};
  return tw::bench::MedianMs([&] { painter.Paint(dc.get(), area, statistics, font.get(), USER_DEFAULT_SCREEN_DPI); });
}

// Solves logged one after another while the book saves its 300,000 lines on its
// writer thread: the UI thread's share of each, from the press to the clock read.
void KeyPressDuringSave(tw::results::ResultBook& book, const std::string& line) {
  using namespace tw::bench;
  std::vector<double> pressMs;
  int saving = 0;
  for (int i = 0; i < kKeyPresses; ++i) {
    saving += book.State().saving ? 1 : 0;
    pressMs.push_back(OnceMs([&] { book.Append(line); }));
    const double next = NowPreciseMs() + 2;
    do {
      Pump();
      Sleep(0);
    } while (NowPreciseMs() < next);
  }
  book.Flush();
  std::printf("key press to clock read while a %zu-line session saves: p99 %.3f ms (target <= %.0f ms), "
              "%d of %d presses during a save%s\n",
              book.Size(), Percentile(pressMs, 99), kKeyPressTargetMs, saving, kKeyPresses,
              book.State().failed ? "; FAILED: a save failed" : "");
}

tw::FormDesign OwnerDesign() {
  return tw::FormDesign{"Twistwatch", 7800, 1500, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0x00FFFFFF,
                        tw::FontSpec{"Tahoma", 825, FW_NORMAL}, 0, true};
}

}  // namespace

int main() {
  using namespace tw::bench;
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const TempFolder folder("tw-history-bench-");
  if (!folder.Created()) {
    std::printf("history bench: cannot create %s\n", folder.Path().c_str());
    return 1;
  }
  tw::SetAppFolderForTesting(folder.Path());
  tw::settings::SetFileForTesting(folder.Path() + "Setting.ini");
  WritePrivateProfileStringA("General Settings", "Last Frame", "Result", (folder.Path() + "Setting.ini").c_str());
  int failures = 0;

  // The history: the first session (Result.lst) is the largest; 29 more beside it.
  tw::results::LogFileStore firstStore(folder.Path() + "Result.lst");
  tw::results::ResultBook first(firstStore);
  {
    tw::results::ResultBook scratch(firstStore);
    scratch.Load();
    tw::results::SessionShelf shelf(folder.Path(), scratch);
    for (int s = 1; s < kHistorySessions; ++s) shelf.Add("Session " + std::to_string(s + 1), "333");
    shelf.Switch(1);
  }
  std::size_t bytes = 0;
  for (int s = 0; s < kHistorySessions; ++s) {
    const std::vector<std::string> lines = HistoryLog(s, HistorySessionSize(s));
    const std::string path = folder.Path() + tw::results::SessionFileName(s + 1);
    if (!tw::storage::WriteResultLog(path, lines)) ++failures;
    for (const std::string& line : lines) bytes += line.size() + 2;
  }
  std::printf("history under Wine: %d sessions, %d solves, %.0f MB of logs\n", kHistorySessions, kHistorySolves,
              static_cast<double>(bytes) / kBytesPerMb);

  // The largest session's lines alone: their read and what they hold.
  {
    tw::results::LogFileStore store(folder.Path() + "Result.lst");
    tw::results::ResultBook book(store);
    const SIZE_T before = CommittedPrivateBytes();
    const double readMs = OnceMs([&] { book.Load(); });
    const double heldMb = static_cast<double>(CommittedPrivateBytes() - before) / kBytesPerMb;
    std::printf("the %zu-line session read: %.1f ms; its lines add %.2f MB of private memory, %.2f MB per 100,000 "
                "lines (target <= %.0f MB; before the lines were packed where they were read: 9.10 MB)\n",
                book.Size(), readMs, heldMb, heldMb * 100000.0 / static_cast<double>(book.Size()),
                kMemoryPer100kTargetMb);
    if (book.Size() != static_cast<std::size_t>(kLargestSession)) ++failures;
    tw::stats::Statistics statistics;
    statistics.Load(book.Lines(), book.Size());
    std::printf("chart of %zu solves drawn: %.1f ms (target <= %.0f ms)\n", book.Size(), ChartMs(statistics),
                kChartTargetMs);
    KeyPressDuringSave(book, book.Lines().ToStrings().back());
  }

  // A start in session 2: the largest session is not read until it is shown.
  tw::results::SessionShelf shelf(folder.Path(), first);
  tw::results::ResultBook& start = shelf.StartBook();
  start.Load();
  tw::StatisticsWindow statistics(start);
  tw::SetOptionsResultBook(&start);
  tw::SetOptionsSessionShelf(&shelf);
  shelf.onSwitched = [&] {
    tw::results::ResultBook& current = shelf.CurrentBook();
    statistics.Attach(current, shelf.Current().name);
    tw::SetOptionsResultBook(&current);
  };
  tw::Form owner(OwnerDesign());
  owner.Load();
  owner.Show();
  tw::OptionsWindow& window = tw::frmMore(owner.Handle());
  window.Show();
  statistics.Toggle();
  Pump();
  const bool notRead = !first.Loaded();
  const auto paint = [&] {
    UpdateWindow(window.Handle());
    UpdateWindow(statistics.Handle());
  };
  const double firstMs = OnceMs([&] {
    window.SetSessionSelected(0);
    paint();
  });
  // The session holds the presses logged while it saved, above.
  const std::size_t held = first.Size();
  const bool shown = held >= static_cast<std::size_t>(kLargestSession) &&
                     window.lstResult.Count() == static_cast<int>(held) &&
                     statistics.Figures().Results().size() == held;
  std::vector<double> again;
  for (int run = 0; run < 3; ++run) {
    window.SetSessionSelected(1);
    paint();
    again.push_back(OnceMs([&] {
      window.SetSessionSelected(0);
      paint();
    }));
  }
  // The last line, at once: the list holds no line of its own.
  const double scrollMs = OnceMs([&] {
    SendMessageA(window.Control("lstResult"), LB_SETTOPINDEX, kLargestSession - 1, 0);
    paint();
  });
  std::printf("switch to the %d-line session from the list, Result panel and statistics painted: first %.1f ms "
              "(its log read), again %.1f ms (target <= %.0f ms; before the figures and widths were kept: 512 ms); the "
              "list to its last line %.1f ms\n",
              kLargestSession, firstMs, Median(again), kSwitchTargetMs, scrollMs);
  std::printf("sessions read at the end: %zu of %d (a session never shown is never read)\n", shelf.OpenBooks().size(),
              kHistorySessions);
  if (!notRead || !shown || shelf.OpenBooks().size() != 2) {
    std::printf("history bench FAILED: %s\n", !notRead ? "the largest session was read before it was shown"
                                               : !shown  ? "the switch did not show the whole session"
                                                         : "sessions never shown were read");
    ++failures;
  }
  statistics.Unload();
  tw::UnloadOptionsWindow();
  tw::SetOptionsSessionShelf(nullptr);
  tw::SetOptionsResultBook(nullptr);
  owner.Unload();
  shelf.FlushAll();
  tw::SetAppFolderForTesting("");
  tw::settings::SetFileForTesting("");
  if (SUCCEEDED(com)) CoUninitialize();
  return failures == 0 ? 0 : 1;
}
