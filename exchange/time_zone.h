#pragma once
// Instants in the files other timers write (seconds since 1970, UTC) and the local
// date and time a result line holds. The platform's time zone is given to the import
// and the export as two functions, so they stay portable and tests stay exact.
#include <cstdint>
#include <functional>

#include "results/solve.h"

namespace tw::exchange {

struct TimeZone {
  std::function<results::LocalTime(std::int64_t unixSeconds)> toLocal;
  std::function<std::int64_t(const results::LocalTime& local)> toUnix;
};

// A zone a fixed number of seconds east of UTC, without daylight saving time.
TimeZone FixedOffsetZone(std::int64_t secondsEast);
inline TimeZone UtcZone() { return FixedOffsetZone(0); }

// The proleptic Gregorian calendar, without any zone.
results::LocalTime CivilFromUnix(std::int64_t unixSeconds);
std::int64_t UnixFromCivil(const results::LocalTime& civil);

}  // namespace tw::exchange
