#include "exchange/csv_export.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "stats/time_format.h"

namespace tw::exchange {

namespace {

constexpr std::string_view kHeader = "No.,Date,Time,Result,Penalty,Seconds,Scramble,Comment";
constexpr std::string_view kLineEnd = "\r\n";
constexpr results::Hundredths kPerSecond = 100;
// A line of the log is about this long as a row, a guess that saves regrowing the text.
constexpr std::size_t kRowGuess = 96;

void AppendPadded(std::string& text, long long value, std::size_t digits) {
  const std::string number = std::to_string(value);
  if (number.size() < digits) text.append(digits - number.size(), '0');
  text += number;
}

// A field quoted when it holds a comma, a quote or a line break, its quotes doubled.
void AppendField(std::string& row, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    row += field;
    return;
  }
  row += '"';
  for (const char c : field) {
    if (c == '"') row += '"';
    row += c;
  }
  row += '"';
}

// Seconds with two decimals: "12.34", "62.35".
void AppendSeconds(std::string& text, results::Hundredths time) {
  text += std::to_string(time / kPerSecond);
  text += '.';
  AppendPadded(text, time % kPerSecond, 2);
}

void AppendRow(std::string& text, std::size_t number, const results::Solve& solve, const ExportOptions& options) {
  text += std::to_string(number);
  text += ',';
  AppendPadded(text, solve.when.year, 4);
  text += '-';
  AppendPadded(text, solve.when.month, 2);
  text += '-';
  AppendPadded(text, solve.when.day, 2);
  text += ',';
  AppendPadded(text, solve.when.hour, 2);
  text += ':';
  AppendPadded(text, solve.when.minute, 2);
  text += ':';
  AppendPadded(text, solve.when.second, 2);
  text += ',';
  switch (solve.penalty) {
    case results::Penalty::None:
      text += stats::FormatClockTime(solve.time);
      text += ",,";
      AppendSeconds(text, solve.time);
      break;
    case results::Penalty::PlusTwo:
      text += stats::FormatClockTime(solve.time);
      text += "+,+2,";
      AppendSeconds(text, solve.time);
      break;
    case results::Penalty::Dnf:
      text += "DNF(";
      text += stats::FormatClockTime(solve.time);
      text += "),DNF,";
      break;
  }
  text += ',';
  AppendField(text, ConvertText(options.toUtf8, solve.scramble));
  text += ',';
  AppendField(text, ConvertText(options.toUtf8, solve.comment));
  text += kLineEnd;
}

}  // namespace

ExportResult ExportCsv(std::span<const std::string> lines, const ExportOptions& options) {
  ExportResult result;
  std::string& text = result.text;
  text.reserve(kUtf8Bom.size() + kHeader.size() + lines.size() * kRowGuess);
  text += kUtf8Bom;
  text += kHeader;
  text += kLineEnd;
  const std::size_t every = std::max<std::size_t>(options.progressEvery, 1);
  std::size_t done = 0;
  for (const std::string& line : lines) {
    if (options.progress && ++done % every == 0 && !options.progress(done, lines.size())) return StoppedExport();
    const std::optional<results::Solve> solve = results::Parse(line);
    if (!solve) {
      ++result.skipped;
      continue;
    }
    AppendRow(text, ++result.solves, *solve, options);
  }
  if (options.progress) options.progress(lines.size(), lines.size());
  return result;
}

}  // namespace tw::exchange
