#include "exchange/result_text.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

namespace tw::exchange {

namespace {

constexpr std::string_view kDnf = "DNF";
constexpr results::Hundredths kPerSecond = 100;
constexpr results::Hundredths kPerMinute = 60 * kPerSecond;
constexpr results::Hundredths kPerHour = 60 * kPerMinute;
constexpr results::Hundredths kLongestLogged = 100 * kPerHour - 1;
constexpr int kLargestMinuteOrSecond = 59;
constexpr std::size_t kLongestFraction = 3;  // milliseconds
constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 3600;
constexpr int kLargestHourOffset = 18;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<int> Number(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The first two digits of a fraction as hundredths ("5" is 50, "678" is 67).
results::Hundredths FractionHundredths(std::string_view fraction) {
  const std::string digits = (std::string(fraction.substr(0, 2)) + "00").substr(0, 2);
  return (digits[0] - '0') * 10 + (digits[1] - '0');
}

bool AllDigits(std::string_view text) { return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit); }

// "+0000", "-07:00", "+05:30", "Z", or nothing.
std::optional<std::int64_t> Offset(std::string_view text, bool& ok) {
  ok = true;
  if (text.empty()) return std::nullopt;
  if (text == "Z" || text == "UTC") return 0;
  ok = false;
  if (text.size() < 3 || (text[0] != '+' && text[0] != '-')) return std::nullopt;
  const int sign = text[0] == '-' ? -1 : 1;
  text.remove_prefix(1);
  std::string digits;
  for (const char c : text) {
    if (c != ':') digits += c;
  }
  if ((digits.size() != 2 && digits.size() != 4) || !AllDigits(digits)) return std::nullopt;
  const int hours = *Number(std::string_view(digits).substr(0, 2));
  const int minutes = digits.size() == 4 ? *Number(std::string_view(digits).substr(2, 2)) : 0;
  if (hours > kLargestHourOffset || minutes > kLargestMinuteOrSecond) return std::nullopt;
  ok = true;
  return sign * (hours * kSecondsPerHour + minutes * kSecondsPerMinute);
}

}  // namespace

std::optional<results::Hundredths> ReadClockTime(std::string_view text) {
  std::string_view fraction;
  if (const std::size_t point = text.find('.'); point != std::string_view::npos) {
    fraction = text.substr(point + 1);
    text = text.substr(0, point);
    if (fraction.size() > kLongestFraction || !AllDigits(fraction)) return std::nullopt;
  }
  std::vector<int> parts;
  while (true) {
    const std::size_t colon = text.find(':');
    const std::optional<int> part = Number(text.substr(0, colon));
    if (!part || *part < 0) return std::nullopt;
    parts.push_back(*part);
    if (colon == std::string_view::npos) break;
    text.remove_prefix(colon + 1);
  }
  if (parts.size() > 3) return std::nullopt;
  // Every field after the first counts to 59.
  if (std::any_of(parts.begin() + 1, parts.end(), [](int part) { return part > kLargestMinuteOrSecond; })) {
    return std::nullopt;
  }
  results::Hundredths time = 0;
  for (const int part : parts) time = time * 60 + part;
  time = time * kPerSecond + FractionHundredths(fraction);
  if (time > kLongestLogged) return std::nullopt;
  return time;
}

std::optional<ResultText> ReadResultText(std::string_view word) {
  if (word.size() > 2 && word.front() == '(' && word.back() == ')') word = word.substr(1, word.size() - 2);
  ResultText result;
  if (word == kDnf) {
    result.penalty = results::Penalty::Dnf;
    return result;
  }
  if (word.starts_with(kDnf)) {
    word.remove_prefix(kDnf.size());
    if (word.size() < 3 || word.front() != '(' || word.back() != ')') return std::nullopt;
    word = word.substr(1, word.size() - 2);
    result.penalty = results::Penalty::Dnf;
  } else if (word.ends_with('+')) {
    word.remove_suffix(1);
    result.penalty = results::Penalty::PlusTwo;
  }
  const std::optional<results::Hundredths> time = ReadClockTime(word);
  if (!time) return std::nullopt;
  result.time = *time;
  return result;
}

std::optional<results::Hundredths> ReadDecimalSeconds(std::string_view text) {
  std::string_view whole = text;
  std::string_view fraction;
  if (const std::size_t point = text.find('.'); point != std::string_view::npos) {
    whole = text.substr(0, point);
    fraction = text.substr(point + 1);
    if (!fraction.empty() && !AllDigits(fraction)) return std::nullopt;
  }
  // Past the log's 99 hours the number no longer matters: eight digits say so.
  if (!AllDigits(whole) || whole.size() > 8) return std::nullopt;
  const results::Hundredths time = *Number(whole) * kPerSecond + FractionHundredths(fraction);
  if (time > kLongestLogged) return std::nullopt;
  return time;
}

std::optional<DateText> ReadDateText(std::string_view text) {
  // YYYY-MM-DD, then 'T' or blanks, then HH:MM:SS.
  constexpr std::size_t kDateLength = 10, kTimeLength = 8;
  if (text.size() < kDateLength || text[4] != '-' || text[7] != '-') return std::nullopt;
  const std::optional<int> year = Number(text.substr(0, 4));
  const std::optional<int> month = Number(text.substr(5, 2));
  const std::optional<int> day = Number(text.substr(8, 2));
  if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > 31) return std::nullopt;
  text.remove_prefix(kDateLength);
  if (text.empty() || (text.front() != 'T' && text.front() != ' ')) return std::nullopt;
  text.remove_prefix(1);
  if (text.size() < kTimeLength || text[2] != ':' || text[5] != ':') return std::nullopt;
  const std::optional<int> hour = Number(text.substr(0, 2));
  const std::optional<int> minute = Number(text.substr(3, 2));
  const std::optional<int> second = Number(text.substr(6, 2));
  if (!hour || !minute || !second || *hour > 23 || *minute > kLargestMinuteOrSecond ||
      *second > kLargestMinuteOrSecond) {
    return std::nullopt;
  }
  text.remove_prefix(kTimeLength);
  if (text.starts_with('.')) {
    std::size_t digits = 1;
    while (digits < text.size() && IsDigit(text[digits])) ++digits;
    text.remove_prefix(digits);
  }
  while (text.starts_with(' ')) text.remove_prefix(1);
  DateText date;
  date.civil = {*year, *month, *day, *hour, *minute, *second};
  bool ok = false;
  date.secondsEast = Offset(text, ok);
  if (!ok) return std::nullopt;
  return date;
}

}  // namespace tw::exchange
