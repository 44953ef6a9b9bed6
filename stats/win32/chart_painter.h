#pragma once
#include <windows.h>

#include <vector>

#include "stats/chart_model.h"
#include "stats/statistics.h"

namespace tw::stats {

// Draws the chart of every solve in the log, oldest to newest: a dot per solve
// (a bar per pixel column once they outnumber the columns), the running averages
// of 5 and of 12 as lines, each new best single marked, DNFs marked along the top,
// the value axis in seconds (minutes past 60 s) and the solve numbers below.
// The work per paint is bounded by the width in pixels, not by the log's length,
// beyond one pass over the results to reduce them to the columns.
class ChartPainter {
 public:
  // Paints into `area` of `dc` with `font` for the labels, sized for `dpi`.
  void Paint(HDC dc, const RECT& area, const Statistics& statistics, HFONT font, int dpi);

 private:
  struct Frame;
  void PaintAxes(HDC dc, const Frame& frame, std::size_t solves) const;
  void PaintSingles(HDC dc, const Frame& frame, std::size_t solves);
  void PaintAverage(HDC dc, const Frame& frame, ValueSpan ChartColumn::*series, COLORREF color);
  void PaintNewBests(HDC dc, const Frame& frame, const Statistics& statistics);
  void PaintDnfs(HDC dc, const Frame& frame);
  void PaintLegend(HDC dc, const Frame& frame) const;
  void DrawRuns(HDC dc, COLORREF color, int width);

  std::vector<ChartColumn> columns_;
  // Reused from paint to paint: the runs of points handed to PolyPolyline.
  std::vector<POINT> points_;
  std::vector<DWORD> runs_;
  std::vector<Hundredths> best_in_column_;
};

}  // namespace tw::stats
