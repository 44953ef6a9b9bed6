#pragma once
// Times and dates as other timers write them as text: "12.34", "1:02.35+",
// "DNF(12.34)", seconds with any number of decimals, and dates such as
// "2025-01-16 08:59:47 +0000" or "2017-06-19T00:52:50.614-07:00".
#include <cstdint>
#include <optional>
#include <string_view>

#include "results/solve.h"

namespace tw::exchange {

struct ResultText {
  results::Hundredths time = 0;  // as the log holds it: a +2 in it, a DNF's measured time
  results::Penalty penalty = results::Penalty::None;
};

// [[h:]m:]s[.fraction of up to three digits], truncated to the hundredth; nothing past
// the log's 99 hours.
std::optional<results::Hundredths> ReadClockTime(std::string_view text);

// "12.34", "12.34+" (a +2, the two seconds in), "DNF(12.34)", "DNF", and any of them
// in the parentheses an average puts its best and worst times in.
std::optional<ResultText> ReadResultText(std::string_view word);

// Seconds as a decimal number with any number of decimals ("9.632094025611877"),
// truncated to the hundredth from its digits, never through a binary fraction.
std::optional<results::Hundredths> ReadDecimalSeconds(std::string_view text);

// A date and time of day, and the zone's offset when the text gives one ("Z",
// "+0000", "-07:00"). Seconds' fractions are passed over.
struct DateText {
  results::LocalTime civil;
  std::optional<std::int64_t> secondsEast;
};
std::optional<DateText> ReadDateText(std::string_view text);

}  // namespace tw::exchange
