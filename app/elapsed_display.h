#pragma once
#include <cstdint>
#include <string>

namespace tw {

// A solve stops by itself at the first tick past this many minutes.
inline constexpr std::int64_t kLimitMinutes = 59;

// The four digit fields for an elapsed time, and whether the one-hour limit is reached.
struct DisplayFields {
  std::string hour, min, sec, msec;
  bool limitReached;
};

// Whole number in decimal with at least two digits.
std::string TwoDigits(std::int64_t value);

// Minutes are not reduced modulo 60, so the one-hour stop reads 01:60:00.
DisplayFields FieldsFor(std::int64_t elapsedMs);

// The fields of a stopped result, read as a clock reads them: a late start's two
// seconds may carry a solve under the hour past it, to 01:00:01:xx.
DisplayFields ResultFieldsFor(std::int64_t resultMs);

}  // namespace tw
