#pragma once
// What a screen reader says the timer's digits show: the value of the digits' accessible
// object, worked out from the timer's phase and what the digits hold.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/timer_phase.h"

namespace tw {

// "ready" once a held Space (or a competition timer) may start the solve, "inspection 8"
// or "countdown 2" with the digit shown, and otherwise the time shown as cubers read it
// ("12.34", "1:02.35"), a DNF as "DNF (12.34)".
std::string SpokenDigits(timing::Phase phase, std::string_view countdownDigit, std::int64_t elapsedMs, bool dnf);

}  // namespace tw
