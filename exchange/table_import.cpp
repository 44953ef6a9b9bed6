#include "exchange/table_import.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "exchange/result_text.h"
#include "exchange/separated_values.h"

namespace tw::exchange {

namespace {

using Fields = std::vector<std::string>;
// What a row says, or why it is no solve (in UTF-8). The solve's texts may point
// into the fields.
using RowReading = std::function<std::optional<std::string>(const Fields& fields, ImportedSolve& solve)>;

constexpr results::Hundredths kPlusTwo = 200;
constexpr results::Hundredths kPerSecond = 100;
constexpr std::string_view kDnf = "DNF";

ImportResult Fail(std::string message) {
  ImportResult result;
  result.error = std::move(message);
  return result;
}

std::string FieldCount(std::size_t count, std::size_t least) {
  return std::to_string(count) + (count == 1 ? " field" : " fields") + " where a solve has " +
         (least == count ? "" : "at least ") + std::to_string(least);
}

ImportResult ImportRows(std::string_view text, char separator, std::string_view header, std::string_view format,
                        const ImportOptions& options, const RowReading& read) {
  text = WithoutBom(text);
  SeparatedValues rows(text, separator);
  Fields fields;
  if (!header.empty()) {
    if (!text.starts_with(header)) {
      return Fail("It is not a " + std::string(format) + ": its first line is not \"" + std::string(header) + "\".");
    }
    rows.Next(fields);
  }
  ImportBuilder builder(options, std::string(format));
  builder.IntoCurrentSession();
  const std::size_t session = builder.AddSession("", options.listEvent);
  while (!rows.AtEnd()) {
    const std::size_t line = rows.LineNumber();
    rows.Next(fields);
    if (!builder.Step(rows.Offset(), text.size())) return Fail(std::string(kStoppedMessage));
    if (IsBlankRow(fields)) continue;
    ImportedSolve solve;
    if (const std::optional<std::string> problem = read(fields, solve)) {
      builder.LeaveOut("line " + std::to_string(line), *problem);
      continue;
    }
    builder.AddSolve(session, solve);
  }
  return builder.Finish();
}

// The instant a date of the file names: by its own offset, or else in the user's zone.
std::int64_t InstantOf(const DateText& date, const ImportOptions& options) {
  if (date.secondsEast) return UnixFromCivil(date.civil) - *date.secondsEast;
  return options.zone.toUnix(date.civil);
}

// The stop of a solve whose file gives the date as text, `secondsAfter` the date
// (the measured time, for a file that gives the start); a solve without a date
// stops at the options' undated stop.
std::optional<std::string> ReadStop(std::string_view field, std::int64_t secondsAfter, const ImportOptions& options,
                                    ImportedSolve& solve) {
  if (field.find_first_not_of(' ') == std::string_view::npos) {
    solve.stop = options.zone.toLocal(options.undatedStop);
    return std::nullopt;
  }
  const std::optional<DateText> date = ReadDateText(field);
  if (!date) return "the date " + Excerpt(field) + " is no date";
  solve.stop = options.zone.toLocal(InstantOf(*date, options) + secondsAfter);
  return std::nullopt;
}

std::optional<std::string> ReadTimeField(std::string_view field, ImportedSolve& solve) {
  const std::optional<ResultText> result = ReadResultText(field);
  if (!result) return "the time " + Excerpt(field) + " is no time";
  solve.time = result->time;
  solve.penalty = result->penalty;
  return std::nullopt;
}

// The time measured, without a +2's two seconds, in whole seconds.
std::int64_t MeasuredSeconds(const ImportedSolve& solve) {
  const results::Hundredths measured = solve.penalty == results::Penalty::PlusTwo ? solve.time - kPlusTwo : solve.time;
  return std::max<results::Hundredths>(measured, 0) / kPerSecond;
}

}  // namespace

ImportResult ImportOwnCsv(std::string_view text, const ImportOptions& options) {
  enum Field : std::size_t { kNumber, kDate, kTime, kResult, kPenalty, kSeconds, kScramble, kComment, kCount };
  return ImportRows(text, ',', kOwnCsvHeader, kOwnCsvFormat, options,
                    [&](const Fields& fields, ImportedSolve& solve) -> std::optional<std::string> {
                      if (fields.size() < kCount) return FieldCount(fields.size(), kCount);
                      if (auto problem = ReadTimeField(fields[kResult], solve)) return problem;
                      // The log's own local date and time, written as they were.
                      const std::optional<DateText> date = ReadDateText(fields[kDate] + " " + fields[kTime]);
                      if (!date) return "the date " + Excerpt(fields[kDate] + " " + fields[kTime]) + " is no date";
                      solve.stop = date->civil;
                      solve.scramble = fields[kScramble];
                      solve.comment = fields[kComment];
                      return std::nullopt;
                    });
}

ImportResult ImportCsTimerCsv(std::string_view text, const ImportOptions& options) {
  enum Field : std::size_t { kNumber, kTime, kComment, kScramble, kDate, kCount };
  return ImportRows(text, ';', kCsTimerCsvHeader, kCsTimerCsvFormat, options,
                    [&](const Fields& fields, ImportedSolve& solve) -> std::optional<std::string> {
                      if (fields.size() < kCount) return FieldCount(fields.size(), kCount);
                      if (auto problem = ReadTimeField(fields[kTime], solve)) return problem;
                      // csTimer dates a solve at its start.
                      if (auto problem = ReadStop(fields[kDate], MeasuredSeconds(solve), options, solve)) return problem;
                      solve.scramble = fields[kScramble];
                      solve.comment = fields[kComment];
                      return std::nullopt;
                    });
}

bool IsTwistyListLine(std::string_view line) {
  if (!line.starts_with('"')) return false;
  SeparatedValues row(line, ';');
  Fields fields;
  row.Next(fields);
  return fields.size() >= 3 && ReadClockTime(fields[0]) && ReadDateText(fields[2]);
}

ImportResult ImportTwistyList(std::string_view text, const ImportOptions& options) {
  enum Field : std::size_t { kTime, kScramble, kDate, kPenalty, kLeast = 3 };
  return ImportRows(text, ';', "", kTwistyListFormat, options,
                    [&](const Fields& fields, ImportedSolve& solve) -> std::optional<std::string> {
                      if (fields.size() < kLeast) return FieldCount(fields.size(), kLeast);
                      const std::optional<results::Hundredths> time = ReadClockTime(fields[kTime]);
                      if (!time) return "the time " + Excerpt(fields[kTime]) + " is no time";
                      solve.time = *time;
                      if (fields.size() > kPenalty && fields[kPenalty] == kDnf) solve.penalty = results::Penalty::Dnf;
                      if (auto problem = ReadStop(fields[kDate], 0, options, solve)) return problem;
                      solve.scramble = fields[kScramble];
                      return std::nullopt;
                    });
}

ImportResult ImportCubeTime(std::string_view text, const ImportOptions& options) {
  constexpr std::size_t kLeast = 4;
  std::string scramble;  // the fields between the comment and the date, their commas put back
  return ImportRows(text, ',', kCubeTimeHeader, kCubeTimeFormat, options,
                    [&](const Fields& fields, ImportedSolve& solve) -> std::optional<std::string> {
                      if (fields.size() < kLeast) return FieldCount(fields.size(), kLeast);
                      const std::string& timeField = fields.front();
                      if (timeField == kDnf) {
                        solve.penalty = results::Penalty::Dnf;
                      } else if (const auto time = ReadDecimalSeconds(timeField)) {
                        solve.time = *time;
                      } else {
                        return "the time " + Excerpt(timeField) + " is no number of seconds";
                      }
                      if (auto problem = ReadStop(fields.back(), 0, options, solve)) return problem;
                      solve.comment = fields[1];
                      scramble.clear();
                      for (std::size_t i = 2; i + 1 < fields.size(); ++i) {
                        if (i > 2) scramble += ',';
                        scramble += fields[i];
                      }
                      solve.scramble = scramble;
                      return std::nullopt;
                    });
}

}  // namespace tw::exchange
