// The statistics window under Wine with a 100,000-line log: the chart drawn into
// a window-sized bitmap, the window shown by F3 and repainted after one more
// solve, and the memory the log's statistics add to the process.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_util.h"
#include "bench/win_bench_util.h"
#include "results/result_book.h"
#include "stats/statistics.h"
#include "stats/win32/chart_painter.h"
#include "stats/win32/statistics_window.h"
#include "storage/win32/settings.h"
#include "toolkit/win32/gdi_objects.h"
#include "toolkit/win32/services.h"

namespace {

constexpr double kChartTargetMs = 16.0;
constexpr double kMemoryTargetMb = 4.0;
constexpr int kChartRuns = 21;
// The window's default client area at 96 DPI, less its margins.
constexpr int kChartWidth = 624;
constexpr int kChartHeight = 464;
constexpr int kFontHeight = -12;  // 9 points at 96 DPI
constexpr double kBytesPerMb = 1024.0 * 1024.0;

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
                                               OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                                               "Tahoma"));
  tw::MemoryDc dc(nullptr);
  tw::Selection use(dc.get(), bitmap.get());
  tw::stats::ChartPainter painter;
  const RECT area{0, 0, kChartWidth, kChartHeight};
  return tw::bench::MedianMs([&] { painter.Paint(dc.get(), area, statistics, font.get(), USER_DEFAULT_SCREEN_DPI); },
                             kChartRuns);
}

template <typename Work>
double OnceMs(Work&& work) {
  const double start = tw::bench::NowPreciseMs();
  work();
  return tw::bench::NowPreciseMs() - start;
}

// F3 on a window given `lines`: loaded, shown and painted.
double OpenMs(tw::StatisticsWindow& window) {
  return OnceMs([&] {
    window.Toggle();
    UpdateWindow(window.Handle());
  });
}

}  // namespace

int main() {
  using namespace tw::bench;
  const TempFolder folder("tw-stats-bench-");
  if (!folder.Created()) {
    std::printf("statistics bench: cannot create %s\n", folder.Path().c_str());
    return 1;
  }
  tw::SetAppFolderForTesting(folder.Path());
  tw::settings::SetFileForTesting(folder.Path() + "Setting.ini");
  const std::vector<std::string> lines = RealisticResultLog();
  tw::bench::MemoryStore emptyStore({});
  tw::results::ResultBook emptyBook(emptyStore);
  {
    // The process's first window pays for the window system's start; no log's doing.
    tw::StatisticsWindow warmUp(emptyBook);
    OpenMs(warmUp);
  }

  tw::bench::MemoryStore store(lines);
  tw::results::ResultBook book(store);
  book.Load();
  // The book grows its own room for this session's solves; that is not the window's cost.
  book.Append(lines.front());
  book.Remove(book.Size() - 1);
  const SIZE_T before = tw::bench::CommittedPrivateBytes();
  tw::StatisticsWindow window(book);
  const double setMs = OnceMs([&] { window.EnsureFresh(); });
  const double openMs = OpenMs(window);
  const double oneMoreMs = OnceMs([&] {
    book.Append(lines.front());
    UpdateWindow(window.Handle());
  });
  const double grownMb = static_cast<double>(tw::bench::CommittedPrivateBytes() - before) / kBytesPerMb;
  const bool complete = window.Visible() && window.Figures().Results().size() == lines.size() + 1;
  window.Unload();
  double emptyOpenMs = 0;
  {
    tw::StatisticsWindow empty(emptyBook);
    emptyOpenMs = OpenMs(empty);
  }

  {
    tw::stats::Statistics statistics;
    statistics.Load(lines, lines.size());
    std::printf("chart of %d solves drawn: %.1f ms (target <= %.0f ms)\n", kResultLogLines, ChartMs(statistics),
                kChartTargetMs);
  }
  std::printf("statistics window's figures of %d lines worked out once painted: %.1f ms\n", kResultLogLines, setMs);
  std::printf("F3 shows the statistics window painted: %.1f ms with %d solves, %.1f ms with none\n", openMs,
              kResultLogLines, emptyOpenMs);
  std::printf("statistics window after one more solve, repainted: %.1f ms\n", oneMoreMs);
  std::printf("memory added by the statistics window with %d solves: %.2f MB (target <= %.0f MB)\n",
              kResultLogLines, grownMb, kMemoryTargetMb);
  tw::SetAppFolderForTesting("");
  tw::settings::SetFileForTesting("");
  if (!complete) {
    std::printf("statistics bench FAILED: the window did not show the whole log\n");
    return 1;
  }
  return 0;
}
