#include "stats/win32/statistics_window.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "docking/win32/docking.h"
#include "resources/resource_ids.h"
#include "stats/table_text.h"
#include "stats/time_format.h"
#include "storage/win32/settings.h"
#include "toolkit/win32/services.h"

namespace tw {

namespace {

constexpr const char* kCaption = "Twistwatch | Statistics";
constexpr COLORREF kBackColor = RGB(255, 255, 255);
constexpr COLORREF kTextColor = RGB(0, 0, 0);
constexpr COLORREF kNoteColor = RGB(128, 128, 128);
constexpr COLORREF kRuleColor = RGB(192, 192, 192);
constexpr int kFontCentiPoints = 900;
const FontSpec kTextFont{"Tahoma", kFontCentiPoints, FW_NORMAL};
const FontSpec kHeadingFont{"Tahoma", kFontCentiPoints, FW_BOLD};

// Lengths in twips, at the window's DPI.
constexpr int kMarginTwips = 120;
constexpr int kRowGapTwips = 60;
constexpr int kColumnGapTwips = 240;
constexpr int kBlockGapTwips = 480;

// The table keeps room for every row, so the chart below does not jump as rows appear.
constexpr int kTableLines = 1 + static_cast<int>(stats::kAverageKinds.size());
constexpr const char* kWidestTime = "00:00.00";

FormDesign StatisticsDesign() {
  return FormDesign{kCaption,
                    settings::kStatisticsDefaultWidthTwips,
                    settings::kStatisticsDefaultHeightTwips,
                    WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX,
                    0,
                    kBackColor,
                    kTextFont,
                    IDI_TWISTWATCH,
                    false};
}

int TextWidth(HDC dc, std::string_view text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

void TextAt(HDC dc, int x, int y, std::string_view text, UINT align) {
  SetTextAlign(dc, align | TA_TOP);
  TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}

}  // namespace

StatisticsWindow::StatisticsWindow(results::ResultBook& book)
    : CompanionWindow(StatisticsDesign(), VK_F3, settings::kStatisticsWindow),
      book_(&book) {
  book_->AddWatcher(this);
}

StatisticsWindow::~StatisticsWindow() {
  Unload();
  book_->RemoveWatcher(this);
}

void StatisticsWindow::Attach(results::ResultBook& book, std::string sessionName) {
  sessionName_ = std::move(sessionName);
  ShowCaption();
  if (&book == book_) return;
  Kept leaving;
  if (fresh_) {
    leaving = Kept{book_, book_->Revision(), std::move(statistics_)};
    statistics_ = stats::Statistics();
  }
  book_->RemoveWatcher(this);
  book_ = &book;
  book_->AddWatcher(this);
  if (previous_.book == &book && previous_.revision == book.Revision()) {
    statistics_ = std::move(previous_.figures);
    fresh_ = true;
    Refresh();
  } else {
    OnReloaded(book);
  }
  previous_ = std::move(leaving);
}

void StatisticsWindow::EnsureFresh() {
  if (!fresh_) Recount();
}

void StatisticsWindow::Recount() {
  statistics_.Load(book_->Lines(), book_->SessionStart());
  fresh_ = true;
  Refresh();
}

void StatisticsWindow::OnAppended(const results::ResultBook& book) {
  if (!fresh_) return;
  const storage::LineText line = book.Lines().Back();
  statistics_.Append(line);
  Refresh();
}

// A line gone or rewritten changes every window of results after it: the figures are
// worked out again, which a long log affords at the pace of a click.
void StatisticsWindow::OnRemoved(const results::ResultBook&, std::size_t) {
  if (fresh_) Recount();
}

void StatisticsWindow::OnReplaced(const results::ResultBook&, std::size_t) {
  if (fresh_) Recount();
}

void StatisticsWindow::OnReloaded(const results::ResultBook&) {
  fresh_ = false;
  if (IsLoaded() && Visible()) Recount();
}

void StatisticsWindow::OnSaveStateChanged(const results::ResultBook&) {}

void StatisticsWindow::ShowCaption() {
  if (!Handle()) return;
  std::wstring caption = AnsiToWide(kCaption);
  if (!sessionName_.empty()) caption += L" \u2014 " + AnsiToWide(sessionName_);
  SetWindowTextW(Handle(), caption.c_str());
}

bool StatisticsWindow::OnLoad() {
  docking::ActivateDocking(Handle());
  ShowCaption();
  ApplyStoredPlace();
  return true;
}

void StatisticsWindow::OnUnload() {
  docking::DeactivateDocking(Handle());
  back_buffer_.Release();
}

void StatisticsWindow::OnKeyDown(int vk, int shift, bool repeat) {
  if (vk == 'C' && (shift & kCtrlMask) != 0) {
    CopyFigures();
    return;
  }
  CompanionWindow::OnKeyDown(vk, shift, repeat);
}

bool StatisticsWindow::CopyFigures() { return IsLoaded() && CopyTextToClipboard(Handle(), FiguresText()); }

std::string StatisticsWindow::FiguresText() const { return stats::FiguresText(statistics_); }

std::optional<stats::RowFigures> StatisticsWindow::ShownRow(int size) const {
  for (const stats::RowFigures& row : statistics_.Rows()) {
    if (row.size == size && row.shown) return row;
  }
  return std::nullopt;
}

std::string StatisticsWindow::CurrentText(int size) const {
  const auto row = ShownRow(size);
  return row ? stats::FormatTime(row->current) : "";
}

std::string StatisticsWindow::BestText(int size) const {
  const auto row = ShownRow(size);
  return row ? stats::FormatTime(row->best) : "";
}

std::string StatisticsWindow::UnreadNote() const { return stats::UnreadNote(statistics_.UnreadLines()); }

void StatisticsWindow::Refresh() {
  if (IsLoaded() && Visible()) InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT StatisticsWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintWindow();
    return 0;
  }
  return CompanionWindow::WndProc(message, wParam, lParam);
}

void StatisticsWindow::PaintWindow() {
  back_buffer_.Paint(Handle(), kBackColor, [this](HDC dc, const RECT& client, const RECT&) {
    int chartTop = 0;
    PaintFigures(dc, chartTop);
    const int margin = Px(kMarginTwips);
    const RECT chart{margin, chartTop, client.right - margin, client.bottom - margin};
    if (chart.right > chart.left && chart.bottom > chart.top) {
      chart_.Paint(dc, chart, statistics_, FontFor(kTextFont), Dpi());
    }
  });
}

// The table of averages at the top left, the tallies of the whole log and of the
// solves since the start beside it, and the note on unread lines under those; the chart goes below.
void StatisticsWindow::PaintFigures(HDC dc, int& chartTop) {
  const int margin = Px(kMarginTwips), gap = Px(kColumnGapTwips);
  Selection useFont(dc, FontFor(kTextFont));
  SetBkMode(dc, TRANSPARENT);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  const int line = metrics.tmHeight + Px(kRowGapTwips);
  chartTop = margin + kTableLines * line + margin;

  // Averages: name, current, best.
  const auto rows = statistics_.Rows();
  int nameWidth = 0;
  int timeWidth =
      std::max({TextWidth(dc, kWidestTime), TextWidth(dc, stats::kCurrentHeading), TextWidth(dc, stats::kBestHeading)});
  for (const stats::RowFigures& row : rows) {
    nameWidth = std::max(nameWidth, TextWidth(dc, row.name));
    if (!row.shown) continue;
    timeWidth = std::max({timeWidth, TextWidth(dc, stats::FormatTime(row.current)),
                          TextWidth(dc, stats::FormatTime(row.best))});
  }
  const int currentRight = margin + nameWidth + gap + timeWidth;
  const int bestRight = currentRight + gap + timeWidth;
  SetTextColor(dc, kTextColor);
  int y = margin + line;
  for (const stats::RowFigures& row : rows) {
    if (row.shown) {
      TextAt(dc, margin, y, row.name, TA_LEFT);
      TextAt(dc, currentRight, y, stats::FormatTime(row.current), TA_RIGHT);
      TextAt(dc, bestRight, y, stats::FormatTime(row.best), TA_RIGHT);
    }
    y += line;
  }

  // Tallies: label, all, since start.
  const auto& labels = stats::kTallyLabels;
  const auto allValues = stats::TallyValues(statistics_.All());
  const auto sinceStartValues = stats::TallyValues(statistics_.SinceStart());
  int labelWidth = 0;
  int valueWidth = std::max(TextWidth(dc, stats::kSinceStartHeading), TextWidth(dc, kWidestTime));
  for (std::size_t i = 0; i < std::size(labels); ++i) {
    labelWidth = std::max(labelWidth, TextWidth(dc, labels[i]));
    valueWidth = std::max({valueWidth, TextWidth(dc, allValues[i]), TextWidth(dc, sinceStartValues[i])});
  }
  const int tallyLeft = bestRight + Px(kBlockGapTwips);
  const int allRight = tallyLeft + labelWidth + gap + valueWidth;
  const int sinceStartRight = allRight + gap + valueWidth;
  y = margin + line;
  for (std::size_t i = 0; i < std::size(labels); ++i) {
    TextAt(dc, tallyLeft, y, labels[i], TA_LEFT);
    TextAt(dc, allRight, y, allValues[i], TA_RIGHT);
    TextAt(dc, sinceStartRight, y, sinceStartValues[i], TA_RIGHT);
    y += line;
  }
  if (const std::string note = UnreadNote(); !note.empty()) {
    SetTextColor(dc, kNoteColor);
    TextAt(dc, tallyLeft, y + line, note, TA_LEFT);
  }

  // Headings in bold over a thin rule.
  {
    Selection useHeading(dc, FontFor(kHeadingFont));
    SetTextColor(dc, kTextColor);
    TextAt(dc, currentRight, margin, stats::kCurrentHeading, TA_RIGHT);
    TextAt(dc, bestRight, margin, stats::kBestHeading, TA_RIGHT);
    TextAt(dc, allRight, margin, stats::kAllHeading, TA_RIGHT);
    TextAt(dc, sinceStartRight, margin, stats::kSinceStartHeading, TA_RIGHT);
  }
  SetBkColor(dc, kRuleColor);
  const int ruleY = margin + line - Px(kRowGapTwips) / 2;
  for (const RECT& rule : {RECT{margin, ruleY, bestRight, ruleY + 1}, RECT{tallyLeft, ruleY, sinceStartRight, ruleY + 1}}) {
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rule, nullptr, 0, nullptr);
  }
}

}  // namespace tw
