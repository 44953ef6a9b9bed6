#include "stats/table_text.h"

#include <algorithm>

#include "stats/time_format.h"

namespace tw::stats {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kCurrentHeading = "current";
constexpr std::string_view kBestHeading = "best";
constexpr std::size_t kGap = 2;

void PadLeft(std::string& line, std::string_view text, std::size_t width) {
  line.append(width - std::min(width, text.size()), ' ');
  line += text;
}

}  // namespace

std::string TableText(std::span<const RowFigures> rows) {
  std::size_t nameWidth = 0;
  std::size_t timeWidth = std::max(kCurrentHeading.size(), kBestHeading.size());
  for (const RowFigures& row : rows) {
    if (!row.shown) continue;
    nameWidth = std::max(nameWidth, row.name.size());
    timeWidth = std::max({timeWidth, FormatTime(row.current).size(), FormatTime(row.best).size()});
  }
  std::string text(nameWidth, ' ');
  PadLeft(text, kCurrentHeading, kGap + timeWidth);
  PadLeft(text, kBestHeading, kGap + timeWidth);
  text += kLineEnd;
  for (const RowFigures& row : rows) {
    if (!row.shown) continue;
    std::string line(row.name);
    line.append(nameWidth - row.name.size(), ' ');
    PadLeft(line, FormatTime(row.current), kGap + timeWidth);
    PadLeft(line, FormatTime(row.best), kGap + timeWidth);
    text += line;
    text += kLineEnd;
  }
  return text;
}

}  // namespace tw::stats
