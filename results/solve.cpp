#include "results/solve.h"

#include <algorithm>

namespace tw::results {

namespace {

constexpr std::string_view kDateField = "#Date: ";
constexpr std::string_view kTimeField = " | Time: ";
constexpr std::string_view kResultField = " | Result: ";
constexpr std::string_view kResultName = "Result: ";
constexpr std::string_view kScrambleField = " | Scramble: ";
constexpr std::string_view kCommentField = " | Comment: ";
constexpr std::string_view kPlusTwoSuffix = " (+2)";
constexpr std::string_view kDnfSuffix = " (DNF)";
constexpr char kResultSeparator = ':';

constexpr Hundredths kPerSecond = 100;
constexpr Hundredths kPerMinute = 60 * kPerSecond;
constexpr Hundredths kPerHour = 60 * kPerMinute;
constexpr int kLargestMinuteOrSecond = 59;
// Two digits of hours: a longer time would not read back.
constexpr Hundredths kLongestTime = 100 * kPerHour - 1;
constexpr Hundredths kPlusTwo = 2 * kPerSecond;
constexpr int kLargestHour = 23;
constexpr int kLargestDay = 31;
constexpr int kLargestMonth = 12;
constexpr int kYearDigits = 4;
// A year read back never needs more digits than this, and an int holds it.
constexpr std::size_t kLongestYear = 6;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void AppendPadded(std::string& text, std::int64_t value, std::size_t digits) {
  const std::string number = std::to_string(value < 0 ? 0 : value);
  if (number.size() < digits) text.append(digits - number.size(), '0');
  text += number;
}

// Reads the text of a line from the front, one field at a time.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool Skip(std::string_view expected) {
    if (!text_.starts_with(expected)) return false;
    text_.remove_prefix(expected.size());
    return true;
  }

  // Exactly `digits` digits.
  bool Number(std::size_t digits, int& value) {
    if (text_.size() < digits) return false;
    value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
      if (!IsDigit(text_[i])) return false;
      value = value * 10 + (text_[i] - '0');
    }
    text_.remove_prefix(digits);
    return true;
  }

  // One to `longest` digits, as many as there are.
  bool Digits(std::size_t longest, int& value) {
    std::size_t count = 0;
    while (count < text_.size() && IsDigit(text_[count])) ++count;
    return count > 0 && count <= longest && Number(count, value);
  }

  // The run of non-digits up to the next digit: the user's separator.
  bool Separator(std::string_view& separator) {
    std::size_t count = 0;
    while (count < text_.size() && !IsDigit(text_[count])) ++count;
    separator = text_.substr(0, count);
    text_.remove_prefix(count);
    return count > 0;
  }

  std::string_view Rest() const { return text_; }

 private:
  std::string_view text_;
};

// "hh:mm:ss:cc", then nothing, " (+2)" or " (DNF)": the text after "Result: ".
std::optional<LoggedResult> ReadResultText(std::string_view text) {
  Reader reader(text);
  int hours = 0, minutes = 0, seconds = 0, hundredths = 0;
  if (!reader.Number(2, hours) || !reader.Skip(":") || !reader.Number(2, minutes) || !reader.Skip(":") ||
      !reader.Number(2, seconds) || !reader.Skip(":") || !reader.Number(2, hundredths)) {
    return std::nullopt;
  }
  if (minutes > kLargestMinuteOrSecond || seconds > kLargestMinuteOrSecond) return std::nullopt;
  LoggedResult result;
  result.time = hours * kPerHour + minutes * kPerMinute + seconds * kPerSecond + hundredths;
  const std::string_view suffix = reader.Rest();
  if (suffix == PenaltySuffix(Penalty::PlusTwo)) {
    result.penalty = Penalty::PlusTwo;
  } else if (suffix == PenaltySuffix(Penalty::Dnf)) {
    result.penalty = Penalty::Dnf;
  } else if (!suffix.empty()) {
    return std::nullopt;
  }
  return result;
}

// The text before the first `field`, and what follows it in `tail` ("" when none).
std::string_view SplitAt(std::string_view text, std::string_view field, std::string_view& tail) {
  // Every field name begins " | ": found by its bar, the rarest of its bytes.
  std::size_t at = std::string_view::npos;
  for (std::size_t bar = text.find('|', 1); bar != std::string_view::npos; bar = text.find('|', bar + 1)) {
    if (text.substr(bar - 1).starts_with(field)) {
      at = bar - 1;
      break;
    }
  }
  if (at == std::string_view::npos) {
    tail = {};
    return text;
  }
  tail = text.substr(at + field.size());
  return text.substr(0, at);
}

// Blanks a hand edit may leave after the result.
std::string_view TrimEnd(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

bool Between(int value, int low, int high) { return value >= low && value <= high; }

}  // namespace

Solve WithPenalty(Solve solve, Penalty penalty) {
  Hundredths measured = solve.time < 0 ? 0 : solve.time;
  if (solve.penalty == Penalty::PlusTwo) measured = measured < kPlusTwo ? 0 : measured - kPlusTwo;
  // Past 99 hours the line would need a third digit of hours and no longer read back.
  solve.time = penalty == Penalty::PlusTwo ? std::min(measured + kPlusTwo, kLongestTime) : measured;
  solve.penalty = penalty;
  return solve;
}

std::string_view PenaltySuffix(Penalty penalty) {
  switch (penalty) {
    case Penalty::PlusTwo:
      return kPlusTwoSuffix;
    case Penalty::Dnf:
      return kDnfSuffix;
    case Penalty::None:
      break;
  }
  return "";
}

std::string Format(const Solve& solve) {
  std::string line;
  line.reserve(64 + solve.scramble.size() + solve.comment.size());
  line += kDateField;
  AppendPadded(line, solve.when.day, 2);
  line += solve.dateSeparator;
  AppendPadded(line, solve.when.month, 2);
  line += solve.dateSeparator;
  AppendPadded(line, solve.when.year, kYearDigits);
  line += kTimeField;
  AppendPadded(line, solve.when.hour, 2);
  line += solve.timeSeparator;
  AppendPadded(line, solve.when.minute, 2);
  line += solve.timeSeparator;
  AppendPadded(line, solve.when.second, 2);
  line += kResultField;
  const Hundredths time = solve.time < 0 ? 0 : solve.time;
  AppendPadded(line, time / kPerHour, 2);
  line += kResultSeparator;
  AppendPadded(line, time % kPerHour / kPerMinute, 2);
  line += kResultSeparator;
  AppendPadded(line, time % kPerMinute / kPerSecond, 2);
  line += kResultSeparator;
  AppendPadded(line, time % kPerSecond, 2);
  line += PenaltySuffix(solve.penalty);
  // A line break would split the entry in two in the file: Megaminx's seven lines and
  // Multi-Blind's numbered scrambles are kept on one line, as a comment's lines are.
  const auto appendOneLine = [&line](const std::string& text) {
    for (const char c : text) line += c == '\r' || c == '\n' ? ' ' : c;
  };
  if (!solve.scramble.empty()) {
    line += kScrambleField;
    appendOneLine(solve.scramble);
  }
  if (!solve.comment.empty()) {
    line += kCommentField;
    appendOneLine(solve.comment);
  }
  return line;
}

std::optional<Solve> Parse(std::string_view line) {
  Solve solve;
  LocalTime& when = solve.when;
  Reader reader(line);
  std::string_view dateSeparator, secondDateSeparator, timeSeparator, secondTimeSeparator;
  if (!reader.Skip(kDateField) || !reader.Number(2, when.day) || !reader.Separator(dateSeparator) ||
      !reader.Number(2, when.month) || !reader.Separator(secondDateSeparator) ||
      !reader.Digits(kLongestYear, when.year) || !reader.Skip(kTimeField) || !reader.Number(2, when.hour) ||
      !reader.Separator(timeSeparator) || !reader.Number(2, when.minute) ||
      !reader.Separator(secondTimeSeparator) || !reader.Number(2, when.second) || !reader.Skip(kResultField)) {
    return std::nullopt;
  }
  if (dateSeparator != secondDateSeparator || timeSeparator != secondTimeSeparator) return std::nullopt;
  if (!Between(when.day, 1, kLargestDay) || !Between(when.month, 1, kLargestMonth) ||
      !Between(when.hour, 0, kLargestHour) || !Between(when.minute, 0, kLargestMinuteOrSecond) ||
      !Between(when.second, 0, kLargestMinuteOrSecond)) {
    return std::nullopt;
  }
  // The comment comes last and may hold anything, so it starts at the first field
  // marker of its name; the moves of a scramble never hold one.
  std::string_view comment, scramble;
  const std::string_view result = SplitAt(SplitAt(reader.Rest(), kCommentField, comment), kScrambleField, scramble);
  const std::optional<LoggedResult> logged = ReadResultText(result);
  if (!logged) return std::nullopt;
  solve.time = logged->time;
  solve.penalty = logged->penalty;
  solve.scramble = scramble;
  solve.comment = comment;
  solve.dateSeparator = dateSeparator;
  solve.timeSeparator = timeSeparator;
  // Whatever the reading above let through that would not be written back the same
  // (an empty field, a four-digit year written with five) is a hand edit.
  if (Format(solve) != line) return std::nullopt;
  return solve;
}

std::optional<LoggedResult> ReadLoggedResult(std::string_view line) {
  std::string_view tail;
  const std::string_view head = SplitAt(SplitAt(line, kCommentField, tail), kScrambleField, tail);
  // By name, the last one: the date and time before it follow the user's locale.
  const std::size_t field = head.rfind(kResultName);
  if (field == std::string_view::npos) return std::nullopt;
  return ReadResultText(TrimEnd(head.substr(field + kResultName.size())));
}

std::optional<Hundredths> CountedTime(std::string_view line) {
  const std::optional<LoggedResult> result = ReadLoggedResult(line);
  if (!result || result->penalty == Penalty::Dnf) return std::nullopt;
  return result->time;
}

}  // namespace tw::results
