#include "app/spoken_digits.h"

#include "stats/time_format.h"

namespace tw {

std::string SpokenDigits(timing::Phase phase, std::string_view countdownDigit, std::int64_t elapsedMs, bool dnf) {
  switch (phase) {
    case timing::Phase::Ready:
      return "ready";
    case timing::Phase::Inspection:
      return "inspection " + std::string(countdownDigit);
    case timing::Phase::Countdown:
      return "countdown " + std::string(countdownDigit);
    default:
      break;
  }
  const std::string time = stats::FormatTime(static_cast<stats::Hundredths>(elapsedMs / 10));
  return dnf ? "DNF (" + time + ")" : time;
}

}  // namespace tw
