#include "stats/win32/chart_painter.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "stats/time_format.h"
#include "toolkit/win32/gdi_objects.h"

namespace tw::stats {

namespace {

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kFrameColor = RGB(160, 160, 160);
constexpr COLORREF kGridColor = RGB(232, 232, 232);
constexpr COLORREF kLabelColor = RGB(64, 64, 64);
constexpr COLORREF kSingleColor = RGB(150, 162, 184);
constexpr COLORREF kAverage5Color = RGB(32, 96, 216);
constexpr COLORREF kAverage12Color = RGB(232, 120, 24);
constexpr COLORREF kNewBestColor = RGB(24, 160, 64);
constexpr COLORREF kDnfColor = RGB(208, 40, 40);

// Lengths in pixels at 96 DPI, scaled to the window's.
constexpr int kBaseDpi = 96;
constexpr int kPad = 6;
constexpr int kTick = 4;
constexpr int kDotSize = 3;
constexpr int kMarkerRadius = 4;
constexpr int kDnfStrip = 7;
constexpr int kLegendSwatch = 14;
constexpr int kLegendGap = 12;
// Labels want about two text heights between them upwards, and a label's width
// and a half between them across.
constexpr int kRowsPerTick = 2;
constexpr int kMinimumTicks = 2;
// The range shown while every solve is a DNF: nothing to scale to.
constexpr ValueRange kRangeWithoutTimes{0, 3000};

constexpr const char* kNoSolves = "No solves yet";

}  // namespace

struct ChartPainter::Frame {
  ChartScale scale;
  int dpi;
  int textHeight;
  RECT area;
  int dnfTop;  // the strip between the legend and the plot
  int Scaled(int pixels) const { return MulDiv(pixels, dpi, kBaseDpi); }
};

namespace {

int TextWidth(HDC dc, const std::string& text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

void Text(HDC dc, int x, int y, const std::string& text, UINT align) {
  SetTextAlign(dc, align);
  TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void Fill(HDC dc, const RECT& rect, COLORREF color) {
  // ExtTextOut with ETO_OPAQUE fills with the background colour and no brush to make.
  SetBkColor(dc, color);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

}  // namespace

void ChartPainter::Paint(HDC dc, const RECT& area, const Statistics& statistics, HFONT font, int dpi) {
  Fill(dc, area, kBackground);
  Selection useFont(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kLabelColor);
  const std::vector<Hundredths>& results = statistics.Results();
  if (results.empty()) {
    Text(dc, (area.left + area.right) / 2, (area.top + area.bottom) / 2, kNoSolves, TA_CENTER | TA_BASELINE);
    return;
  }
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  Frame frame{};
  frame.dpi = dpi;
  frame.textHeight = metrics.tmHeight;
  frame.area = area;
  const int pad = frame.Scaled(kPad), tick = frame.Scaled(kTick);
  frame.dnfTop = area.top + pad + frame.textHeight + pad;
  const int plotTop = frame.dnfTop + frame.Scaled(kDnfStrip) + pad;
  const int plotBottom = area.bottom - pad - frame.textHeight - tick;
  const int maxTicks = std::max(kMinimumTicks, (plotBottom - plotTop) / (kRowsPerTick * frame.textHeight));
  const Axis axis = TimeAxis(ChartRange(results).value_or(kRangeWithoutTimes), maxTicks);
  int labelWidth = 0;
  for (Hundredths v = axis.low; v <= axis.high; v += axis.step) {
    labelWidth = std::max(labelWidth, TextWidth(dc, FormatAxisTime(v, axis.step % 100 != 0)));
  }
  const int plotLeft = area.left + pad + labelWidth + tick;
  const int plotWidth = std::max(1, static_cast<int>(area.right) - pad - plotLeft);
  ReduceToColumns(results, statistics.RunningAverage5(), statistics.RunningAverage12(),
                  static_cast<std::size_t>(plotWidth), columns_);
  frame.scale = ChartScale{plotLeft, plotTop, plotWidth, std::max(1, plotBottom - plotTop), axis, columns_.size()};

  PaintAxes(dc, frame, results.size());
  PaintSingles(dc, frame, results.size());
  // The smoother average of 12 on top: over many solves the average of 5 is a band
  // that would hide it.
  PaintAverage(dc, frame, &ChartColumn::average5, kAverage5Color);
  PaintAverage(dc, frame, &ChartColumn::average12, kAverage12Color);
  PaintNewBests(dc, frame, statistics);
  PaintDnfs(dc, frame);
  PaintLegend(dc, frame);
}

void ChartPainter::PaintAxes(HDC dc, const Frame& frame, std::size_t solves) const {
  const ChartScale& s = frame.scale;
  const int tick = frame.Scaled(kTick);
  const int right = s.left + s.width;
  const int bottom = s.top + s.height;
  GdiObject<HPEN> grid(CreatePen(PS_SOLID, 1, kGridColor));
  {
    Selection usePen(dc, grid.get());
    for (Hundredths v = s.axis.low; v <= s.axis.high; v += s.axis.step) {
      const int y = s.Y(v);
      Line(dc, s.left, y, right, y);
      Text(dc, s.left - tick, y - frame.textHeight / 2, FormatAxisTime(v, s.axis.step % 100 != 0), TA_RIGHT | TA_TOP);
    }
  }
  GdiObject<HPEN> framePen(CreatePen(PS_SOLID, 1, kFrameColor));
  Selection usePen(dc, framePen.get());
  Line(dc, s.left - 1, s.top, s.left - 1, bottom);
  Line(dc, s.left - 1, bottom, right, bottom);
  // Solve numbers, counted from 1, under the columns they fall into.
  const int numberWidth = TextWidth(dc, std::to_string(solves)) * 3 / 2 + frame.Scaled(kPad);
  const std::size_t step = SolveStep(solves, std::max(1, s.width / std::max(1, numberWidth)));
  for (std::size_t number = step; number <= solves; number += step) {
    const int x = s.X(ColumnOf(number - 1, solves, s.columns));
    Line(dc, x, bottom, x, bottom + tick);
    // The last number may not overhang the chart's right edge.
    const std::string text = std::to_string(number);
    const int halfWidth = TextWidth(dc, text) / 2;
    const bool overhangs = x + halfWidth > frame.area.right;
    Text(dc, overhangs ? static_cast<int>(frame.area.right) : x, bottom + tick, text,
         (overhangs ? TA_RIGHT : TA_CENTER) | TA_TOP);
  }
}

void ChartPainter::PaintSingles(HDC dc, const Frame& frame, std::size_t solves) {
  const ChartScale& s = frame.scale;
  if (columns_.size() == solves) {
    // A column per solve: a dot each.
    const int dot = frame.Scaled(kDotSize);
    for (std::size_t c = 0; c < columns_.size(); ++c) {
      if (columns_[c].single.Empty()) continue;
      const int x = s.X(c) - dot / 2, y = s.Y(columns_[c].single.low) - dot / 2;
      const RECT box{x, y, x + dot, y + dot};
      Fill(dc, box, kSingleColor);
    }
    return;
  }
  // More solves than columns: each column's dots from its fastest to its slowest.
  points_.clear();
  runs_.clear();
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    const ValueSpan& span = columns_[c].single;
    if (span.Empty()) continue;
    const int x = s.X(c);
    points_.push_back(POINT{x, s.Y(span.high)});
    points_.push_back(POINT{x, s.Y(span.low) + 1});  // the last pixel of a line is not drawn
    runs_.push_back(2);
  }
  DrawRuns(dc, kSingleColor, 1);
}

// One polyline per run of columns with an average. A column of many solves is a
// vertical stroke over its fastest to slowest value, entered at the end nearer
// the previous column's exit: two points, where the line through every value
// would cost the width times the solves per column.
void ChartPainter::PaintAverage(HDC dc, const Frame& frame, ValueSpan ChartColumn::*series, COLORREF color) {
  const ChartScale& s = frame.scale;
  points_.clear();
  runs_.clear();
  DWORD run = 0;
  const auto add = [&](POINT p) {
    if (run > 0 && points_.back().x == p.x && points_.back().y == p.y) return;
    points_.push_back(p);
    ++run;
  };
  const auto endRun = [&] {
    if (run == 1) {
      // A lone point still shows, as a short dash.
      points_.push_back(POINT{points_.back().x + 1, points_.back().y});
      ++run;
    }
    if (run > 0) runs_.push_back(run);
    run = 0;
  };
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    const ValueSpan& span = columns_[c].*series;
    if (span.Empty()) {
      endRun();
      continue;
    }
    const int x = s.X(c);
    const int fast = s.Y(span.low), slow = s.Y(span.high);
    const int from = run > 0 ? points_.back().y : s.Y(span.first);
    const bool enterAtSlow = std::abs(from - slow) < std::abs(from - fast);
    add(POINT{x, enterAtSlow ? slow : fast});
    add(POINT{x, enterAtSlow ? fast : slow});
  }
  endRun();
  DrawRuns(dc, color, frame.Scaled(1));
}

void ChartPainter::DrawRuns(HDC dc, COLORREF color, int width) {
  if (runs_.empty()) return;
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, width, color));
  Selection usePen(dc, pen.get());
  PolyPolyline(dc, points_.data(), runs_.data(), static_cast<DWORD>(runs_.size()));
}

// A diamond at each new best single; of several in one column only the last, the
// fastest, is drawn, so a log that only ever improves costs no more than the width.
void ChartPainter::PaintNewBests(HDC dc, const Frame& frame, const Statistics& statistics) {
  const ChartScale& s = frame.scale;
  const std::vector<Hundredths>& results = statistics.Results();
  best_in_column_.assign(columns_.size(), kDnf);
  for (std::size_t index : statistics.NewBests()) {
    best_in_column_[ColumnOf(index, results.size(), columns_.size())] = results[index];
  }
  GdiObject<HBRUSH> brush(CreateSolidBrush(kNewBestColor));
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, kNewBestColor));
  Selection useBrush(dc, brush.get());
  Selection usePen(dc, pen.get());
  const int r = frame.Scaled(kMarkerRadius);
  for (std::size_t c = 0; c < best_in_column_.size(); ++c) {
    if (best_in_column_[c] == kDnf) continue;
    const int x = s.X(c), y = s.Y(best_in_column_[c]);
    const POINT diamond[] = {{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}};
    Polygon(dc, diamond, 4);
  }
}

void ChartPainter::PaintDnfs(HDC dc, const Frame& frame) {
  const ChartScale& s = frame.scale;
  const int half = std::max(1, frame.Scaled(kDotSize) / 2 + 1);
  const int height = frame.Scaled(kDnfStrip);
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    if (!columns_[c].dnf) continue;
    const int x = s.X(c);
    const RECT mark{x - half, frame.dnfTop, x + half, frame.dnfTop + height};
    Fill(dc, mark, kDnfColor);
  }
}

void ChartPainter::PaintLegend(HDC dc, const Frame& frame) const {
  struct Item {
    const char* text;
    COLORREF color;
  };
  static constexpr Item kItems[] = {{"single", kSingleColor},     {"average of 5", kAverage5Color},
                                    {"average of 12", kAverage12Color}, {"new best", kNewBestColor},
                                    {"DNF", kDnfColor}};
  const int swatch = frame.Scaled(kLegendSwatch), gap = frame.Scaled(kLegendGap), pad = frame.Scaled(kPad);
  int width = 0;
  for (const Item& item : kItems) width += swatch + pad / 2 + TextWidth(dc, item.text) + gap;
  int x = std::max(frame.scale.left, static_cast<int>(frame.area.right) - pad - width + gap);
  const int y = frame.area.top + pad;
  const int middle = y + frame.textHeight / 2;
  for (const Item& item : kItems) {
    const RECT bar{x, middle - frame.Scaled(2), x + swatch, middle + frame.Scaled(2)};
    Fill(dc, bar, item.color);
    x += swatch + pad / 2;
    Text(dc, x, y, item.text, TA_LEFT | TA_TOP);
    x += TextWidth(dc, item.text) + gap;
  }
}

}  // namespace tw::stats
