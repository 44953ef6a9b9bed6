#include "stats/time_format.h"

#include <cstdio>

namespace tw::stats {

namespace {

constexpr int kPerSecond = 100;
constexpr int kPerMinute = 60 * kPerSecond;
constexpr int kPerHour = 60 * kPerMinute;
constexpr std::size_t kBufferSize = 32;

std::string Format(Hundredths value, bool withHundredths) {
  if (value == kDnf) return "DNF";
  const int hours = value / kPerHour;
  const int minutes = value % kPerHour / kPerMinute;
  const int seconds = value % kPerMinute / kPerSecond;
  const int hundredths = value % kPerSecond;
  char text[kBufferSize];
  int n = 0;
  if (hours > 0) {
    n = std::snprintf(text, sizeof text, "%d:%02d:%02d", hours, minutes, seconds);
  } else if (minutes > 0) {
    n = std::snprintf(text, sizeof text, "%d:%02d", minutes, seconds);
  } else {
    n = std::snprintf(text, sizeof text, "%d", seconds);
  }
  if (withHundredths) std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), ".%02d", hundredths);
  return text;
}

}  // namespace

std::string FormatTime(Hundredths value) { return Format(value, true); }

std::string FormatAxisTime(Hundredths value, bool withHundredths) { return Format(value, withHundredths); }

}  // namespace tw::stats
