#include "stats/result_reading.h"

namespace tw::stats {

namespace {

constexpr std::string_view kField = "Result: ";
constexpr std::string_view kPlusTwo = " (+2)";
constexpr std::string_view kDnfSuffix = " (DNF)";
constexpr int kHundredthsPerSecond = 100;
constexpr int kSecondsPerMinute = 60;
constexpr int kMinutesPerHour = 60;
constexpr int kLargestMinuteOrSecond = 59;
// "hh:mm:ss:cc": four two-digit fields joined by ':'.
constexpr std::size_t kFieldCount = 4;
constexpr std::size_t kTimeLength = 11;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The two-digit number at `at`, or -1.
int TwoDigits(std::string_view text, std::size_t at) {
  if (!IsDigit(text[at]) || !IsDigit(text[at + 1])) return -1;
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

std::optional<Hundredths> ReadTime(std::string_view time) {
  int fields[kFieldCount];
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const std::size_t at = i * 3;
    if (i > 0 && time[at - 1] != ':') return std::nullopt;
    fields[i] = TwoDigits(time, at);
    if (fields[i] < 0) return std::nullopt;
  }
  const int hours = fields[0], minutes = fields[1], seconds = fields[2], hundredths = fields[3];
  if (minutes > kLargestMinuteOrSecond || seconds > kLargestMinuteOrSecond) return std::nullopt;
  return ((hours * kMinutesPerHour + minutes) * kSecondsPerMinute + seconds) * kHundredthsPerSecond + hundredths;
}

// Blanks a hand edit may leave at the end of a line.
std::string_view TrimEnd(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<Hundredths> ReadResult(std::string_view line) {
  const std::size_t field = line.rfind(kField);
  if (field == std::string_view::npos) return std::nullopt;
  std::string_view rest = TrimEnd(line.substr(field + kField.size()));
  if (rest.size() < kTimeLength) return std::nullopt;
  const std::optional<Hundredths> time = ReadTime(rest.substr(0, kTimeLength));
  if (!time) return std::nullopt;
  const std::string_view suffix = rest.substr(kTimeLength);
  if (suffix.empty() || suffix == kPlusTwo) return time;
  if (suffix == kDnfSuffix) return kDnf;
  return std::nullopt;
}

}  // namespace tw::stats
