#include "stats/time_format.h"

#include <cstdio>

namespace tw::stats {

namespace {

constexpr results::Hundredths kPerSecond = 100;
constexpr results::Hundredths kPerMinute = 60 * kPerSecond;
constexpr results::Hundredths kPerHour = 60 * kPerMinute;
constexpr std::size_t kBufferSize = 40;

std::string Format(results::Hundredths value, bool withHundredths) {
  const long long hours = value / kPerHour;
  const int minutes = static_cast<int>(value % kPerHour / kPerMinute);
  const int seconds = static_cast<int>(value % kPerMinute / kPerSecond);
  const int hundredths = static_cast<int>(value % kPerSecond);
  char text[kBufferSize];
  int n = 0;
  if (hours > 0) {
    n = std::snprintf(text, sizeof text, "%lld:%02d:%02d", hours, minutes, seconds);
  } else if (minutes > 0) {
    n = std::snprintf(text, sizeof text, "%d:%02d", minutes, seconds);
  } else {
    n = std::snprintf(text, sizeof text, "%d", seconds);
  }
  if (withHundredths) std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), ".%02d", hundredths);
  return text;
}

}  // namespace

std::string FormatClockTime(results::Hundredths value) { return Format(value, true); }

std::string FormatTime(Hundredths value) { return value == kDnf ? "DNF" : Format(value, true); }

std::string FormatAxisTime(Hundredths value, bool withHundredths) {
  return value == kDnf ? "DNF" : Format(value, withHundredths);
}

}  // namespace tw::stats
