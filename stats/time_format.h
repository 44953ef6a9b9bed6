#pragma once
#include <string>

#include "results/solve.h"
#include "stats/result_reading.h"

namespace tw::stats {

// A time as cubers read it: seconds with hundredths, minutes past 60 s and hours past
// 60 min ("9.87", "1:02.35", "1:00:00.00").
std::string FormatClockTime(results::Hundredths value);

// A result: its time as FormatClockTime writes it, or "DNF".
std::string FormatTime(Hundredths value);

// An axis label: as FormatTime, without the hundredths when the ticks fall on whole
// seconds ("45", "1:00", "1:30").
std::string FormatAxisTime(Hundredths value, bool withHundredths);

}  // namespace tw::stats
