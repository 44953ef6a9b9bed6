#pragma once
// A plain list of times, one solve a line, as timers print them and people type them:
//   12.34   1:02.35   1:00:02.35   12.34+ (a +2, the two seconds in)   DNF(12.34)   DNF
// A line may also hold a number before the time ("1." or "1)"), a comment in
// brackets after it ("12.34[pop]"), the scramble after that, and a date (2024-01-05,
// 2024/01/05, optionally after '@' and followed by the time of day 13:45 or 13:45:10)
// anywhere. Blank lines are passed over.
#include <string_view>

#include "exchange/import_report.h"

namespace tw::exchange {

inline constexpr std::string_view kPlainListFormat = "list of times";

// One session named and of the event the options give; a line without a date gets
// the options' undated stop.
ImportResult ImportPlainList(std::string_view text, const ImportOptions& options);

}  // namespace tw::exchange
