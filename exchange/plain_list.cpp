#include "exchange/plain_list.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "exchange/result_text.h"

namespace tw::exchange {

namespace {

constexpr int kLargestMinuteOrSecond = 59;

ImportResult Fail(std::string message) {
  ImportResult result;
  result.error = std::move(message);
  return result;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::optional<int> Number(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    const std::size_t start = at;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    if (at > start) words.push_back(line.substr(start, at - start));
  }
  return words;
}

// "2024-01-05", "2024/01/05" or "2024.01.05", optionally after '@'.
std::optional<results::LocalTime> ReadDate(std::string_view word) {
  if (word.starts_with('@')) word.remove_prefix(1);
  if (word.size() != 10 || (word[4] != '-' && word[4] != '/' && word[4] != '.') || word[7] != word[4]) {
    return std::nullopt;
  }
  const std::optional<int> year = Number(word.substr(0, 4));
  const std::optional<int> month = Number(word.substr(5, 2));
  const std::optional<int> day = Number(word.substr(8, 2));
  if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > 31) return std::nullopt;
  results::LocalTime date;
  date.year = *year;
  date.month = *month;
  date.day = *day;
  return date;
}

// "13:45" or "13:45:10".
bool ReadTimeOfDay(std::string_view word, results::LocalTime& when) {
  if ((word.size() != 5 && word.size() != 8) || word[2] != ':' || (word.size() == 8 && word[5] != ':')) return false;
  const std::optional<int> hour = Number(word.substr(0, 2));
  const std::optional<int> minute = Number(word.substr(3, 2));
  const std::optional<int> second = word.size() == 8 ? Number(word.substr(6, 2)) : 0;
  if (!hour || !minute || !second || *hour > 23 || *minute > kLargestMinuteOrSecond ||
      *second > kLargestMinuteOrSecond) {
    return false;
  }
  when.hour = *hour;
  when.minute = *minute;
  when.second = *second;
  return true;
}

bool IsIndex(std::string_view word) {
  if (word.size() < 2 || (word.back() != '.' && word.back() != ')')) return false;
  return std::all_of(word.begin(), word.end() - 1, IsDigit);
}

std::string Joined(const std::vector<std::string_view>& words, std::size_t from) {
  std::string text;
  for (std::size_t i = from; i < words.size(); ++i) {
    if (!text.empty()) text += ' ';
    text += words[i];
  }
  return text;
}

}  // namespace

ImportResult ImportPlainList(std::string_view text, const ImportOptions& options) {
  text = WithoutBom(text);
  ImportBuilder builder(options, std::string(kPlainListFormat));
  builder.IntoCurrentSession();
  const std::size_t session = builder.AddSession("", options.listEvent);
  std::string firstUnread;
  bool pastFirstLine = false;
  std::size_t lineNumber = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    ++lineNumber;
    if (!builder.Step(at, text.size())) return Fail(std::string(kStoppedMessage));

    if (line.find_first_not_of(" \t\r") == std::string_view::npos) continue;
    // A comment in brackets may hold blanks, so it comes out before the words.
    std::string_view comment;
    std::string rest(line);
    const std::size_t open = line.find('[');
    const std::size_t close = line.rfind(']');
    if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
      comment = line.substr(open + 1, close - open - 1);
      rest = std::string(line.substr(0, open)) + " " + std::string(line.substr(close + 1));
    }
    std::vector<std::string_view> words = Words(rest);

    std::optional<results::LocalTime> date;
    for (std::size_t i = 0; i < words.size(); ++i) {
      date = ReadDate(words[i]);
      if (!date) continue;
      const bool withTime = i + 1 < words.size() && ReadTimeOfDay(words[i + 1], *date);
      words.erase(words.begin() + static_cast<std::ptrdiff_t>(i), words.begin() + static_cast<std::ptrdiff_t>(i + (withTime ? 2 : 1)));
      break;
    }
    std::size_t first = 0;
    if (words.size() > 1 && IsIndex(words[0])) first = 1;
    const std::optional<ResultText> result = first < words.size() ? ReadResultText(words[first]) : std::nullopt;
    const bool firstLine = !pastFirstLine;
    pastFirstLine = true;
    // A first line without a digit that reads as no time names the columns below it.
    if (!result && firstLine && std::none_of(line.begin(), line.end(), IsDigit)) continue;
    if (!result) {
      const std::string where = "line " + std::to_string(lineNumber);
      builder.LeaveOut(where, Excerpt(line) + " holds no time");
      if (firstUnread.empty()) firstUnread = where + " (" + Excerpt(line) + ")";
      continue;
    }
    ImportedSolve solve;
    solve.time = result->time;
    solve.penalty = result->penalty;
    solve.stop = date ? *date : options.zone.toLocal(options.undatedStop);
    const std::string scramble = Joined(words, first + 1);
    solve.scramble = scramble;
    solve.comment = comment;
    builder.AddSolve(session, solve);
  }
  ImportResult result = builder.Finish();
  if (result.report.solves == 0) {
    return Fail(firstUnread.empty() ? "It holds no times."
                                    : "It is not a list of times: " + firstUnread + " holds no time.");
  }
  return result;
}

}  // namespace tw::exchange
