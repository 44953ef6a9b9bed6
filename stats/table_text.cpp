#include "stats/table_text.h"

#include <algorithm>
#include <vector>

#include "stats/time_format.h"

namespace tw::stats {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kGap = 2;

using Cells = std::vector<std::string>;

void PadLeft(std::string& line, std::string_view text, std::size_t width) {
  line.append(width - std::min(width, text.size()), ' ');
  line += text;
}

// The first cell of each line left-aligned, every other right-aligned to the widest
// of all of them, so the figure columns share one width.
std::string Columns(const std::vector<Cells>& lines) {
  std::size_t labelWidth = 0, figureWidth = 0;
  for (const Cells& cells : lines) {
    labelWidth = std::max(labelWidth, cells.front().size());
    for (std::size_t i = 1; i < cells.size(); ++i) figureWidth = std::max(figureWidth, cells[i].size());
  }
  std::string text;
  for (const Cells& cells : lines) {
    std::string line = cells.front();
    line.append(labelWidth - line.size(), ' ');
    for (std::size_t i = 1; i < cells.size(); ++i) PadLeft(line, cells[i], kGap + figureWidth);
    text += line;
    text += kLineEnd;
  }
  return text;
}

}  // namespace

std::array<std::string, kTallyLabels.size()> TallyValues(const TallyFigures& tally) {
  const auto time = [](const std::optional<Hundredths>& value) {
    return value ? FormatTime(*value) : std::string(kNoFigure);
  };
  return {std::to_string(tally.solves), std::to_string(tally.dnfs), time(tally.mean), time(tally.deviation)};
}

std::string UnreadNote(std::size_t unread) {
  if (unread == 0) return "";
  return std::to_string(unread) + (unread == 1 ? " line not read" : " lines not read");
}

std::string TableText(std::span<const RowFigures> rows) {
  std::vector<Cells> lines = {{"", std::string(kCurrentHeading), std::string(kBestHeading)}};
  for (const RowFigures& row : rows) {
    if (row.shown) lines.push_back({std::string(row.name), FormatTime(row.current), FormatTime(row.best)});
  }
  return Columns(lines);
}

std::string FiguresText(const Statistics& statistics) {
  const auto rows = statistics.Rows();
  std::string text = TableText(rows);
  text += kLineEnd;
  const auto all = TallyValues(statistics.All());
  const auto sinceStart = TallyValues(statistics.SinceStart());
  std::vector<Cells> lines = {{"", std::string(kAllHeading), std::string(kSinceStartHeading)}};
  for (std::size_t i = 0; i < kTallyLabels.size(); ++i) lines.push_back({std::string(kTallyLabels[i]), all[i], sinceStart[i]});
  text += Columns(lines);
  if (const std::string note = UnreadNote(statistics.UnreadLines()); !note.empty()) {
    text += kLineEnd;
    text += note;
    text += kLineEnd;
  }
  return text;
}

}  // namespace tw::stats
