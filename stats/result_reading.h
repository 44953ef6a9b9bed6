#pragma once
// What a line of the result log says about one solve.
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace tw::stats {

// A result in hundredths of a second.
using Hundredths = std::int32_t;

// A solve that did not finish: it sorts after every time, so the order-statistics
// code treats it as the slowest result without a case of its own.
inline constexpr Hundredths kDnf = std::numeric_limits<Hundredths>::max();

// The result of a log line: its "Result: hh:mm:ss:cc" field in hundredths, or kDnf
// for a " (DNF)" suffix; a " (+2)" suffix already has its two seconds counted in.
// The field is found by its name, not by its column: the date and time before it
// follow the user's locale, and a scramble or a comment may follow it. Read as
// results::ReadLoggedResult reads it. Nothing when the line holds no readable result
// (a hand edit): such a line is left out of the statistics.
std::optional<Hundredths> ReadResult(std::string_view line);

}  // namespace tw::stats
