#include "exchange/twisty_timer.h"

#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "scramble/events.h"
#include "exchange/separated_values.h"

namespace tw::exchange {

namespace {

constexpr char kSeparator = ';';
constexpr std::size_t kFieldCount = 7;
enum Field : std::size_t { kPuzzle, kCategory, kTime, kDate, kScramble, kPenalty, kComment };

constexpr std::int64_t kNoPenalty = 0, kPlusTwo = 1, kDnf = 2, kCategoryMarker = 10;
constexpr std::int64_t kMillisPerSecond = 1000;
// Twisty Timer writes a missing text as the word itself.
constexpr std::string_view kMissingText = "null";

ImportResult Fail(std::string message) {
  ImportResult result;
  result.error = std::move(message);
  return result;
}

std::optional<std::int64_t> Integer(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string_view Text(const std::string& field) { return field == kMissingText ? std::string_view() : field; }

}  // namespace

ImportResult ImportTwistyTimer(std::string_view text, const ImportOptions& options) {
  text = WithoutBom(text);
  if (!text.starts_with(kTwistyTimerHeader)) {
    return Fail("It is not a Twisty Timer back-up: its first line is not \"" + std::string(kTwistyTimerHeader) + "\".");
  }
  SeparatedValues rows(text, kSeparator);
  std::vector<std::string> fields;
  rows.Next(fields);  // the header

  ImportBuilder builder(options, std::string(kTwistyTimerFormat));
  std::map<std::pair<std::string, std::string>, std::size_t> sessions;
  while (!rows.AtEnd()) {
    const std::size_t line = rows.LineNumber();
    const auto where = [line] { return "line " + std::to_string(line); };
    rows.Next(fields);
    if (fields.size() == 1 && fields.front().empty()) continue;  // a blank line
    if (!builder.Step(rows.Offset(), text.size())) return Fail(std::string(kStoppedMessage));
    if (fields.size() != kFieldCount) {
      builder.LeaveOut(where(), std::to_string(fields.size()) + " fields where a solve has 7");
      continue;
    }
    const std::optional<std::int64_t> millis = Integer(fields[kTime]);
    const std::optional<std::int64_t> date = Integer(fields[kDate]);
    const std::optional<std::int64_t> penalty = Integer(fields[kPenalty]);
    if (!millis) {
      builder.LeaveOut(where(), "the time " + Excerpt(fields[kTime]) + " is no number of milliseconds");
      continue;
    }
    if (!date || !penalty) {
      builder.LeaveOut(where(), "the date or the penalty is no number");
      continue;
    }
    auto [session, added] = sessions.try_emplace({fields[kPuzzle], fields[kCategory]}, 0);
    if (added) {
      const std::string_view event = scramble::EventOfTwistyPuzzle(fields[kPuzzle]);
      std::string name(scramble::EventName(event));
      // A puzzle the WCA does not hold keeps its own name beside the category.
      if (event == scramble::kDefaultEventId && fields[kPuzzle] != scramble::FindEvent(event)->twistyPuzzle) name = fields[kPuzzle];
      session->second = builder.AddSession(name + " " + fields[kCategory], event);
    }
    if (*penalty == kCategoryMarker) continue;
    ImportedSolve solve;
    if (*penalty == kPlusTwo) {
      solve.penalty = results::Penalty::PlusTwo;
    } else if (*penalty == kDnf) {
      solve.penalty = results::Penalty::Dnf;
    } else if (*penalty != kNoPenalty) {
      builder.LeaveOut(where(), "the penalty " + fields[kPenalty] + " is neither 0, 1 (+2) nor 2 (DNF)");
      continue;
    }
    const std::optional<results::Hundredths> time = HundredthsOfMillis(*millis);
    if (!time) {
      builder.LeaveOut(where(), "the time " + fields[kTime] + " ms is negative or longer than 99 hours");
      continue;
    }
    solve.time = *time;
    // The date is when the solve was saved, at its stop.
    solve.stop = options.zone.toLocal(*date > 0 ? *date / kMillisPerSecond : options.undatedStop);
    solve.scramble = Text(fields[kScramble]);
    solve.comment = Text(fields[kComment]);
    builder.AddSolve(session->second, solve);
  }
  return builder.Finish();
}

}  // namespace tw::exchange
