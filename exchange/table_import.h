#pragma once
// The exports of one session as a table, one solve a row: csTimer's session export,
// Twisty Timer's list for other programs, CubeTime's CSV and this timer's own CSV.
// None names its session, so their solves go into the session shown.
#include <string_view>

#include "exchange/import_report.h"

namespace tw::exchange {

inline constexpr std::string_view kOwnCsvFormat = "CSV export";
inline constexpr std::string_view kOwnCsvHeader = "No.,Date,Time,Result,Penalty,Seconds,Scramble,Comment";
inline constexpr std::string_view kCsTimerCsvFormat = "csTimer session export";
inline constexpr std::string_view kCsTimerCsvHeader = "No.;Time;Comment;Scramble;Date";
inline constexpr std::string_view kTwistyListFormat = "Twisty Timer list";
inline constexpr std::string_view kCubeTimeFormat = "CubeTime CSV";
inline constexpr std::string_view kCubeTimeHeader = "Time,Comment,Scramble,Date";

// This timer's CSV: the date and time of the stop as the log had them, the result as
// a timer shows it ("1:02.35+", "DNF(12.34)"), the scramble and the comment.
ImportResult ImportOwnCsv(std::string_view text, const ImportOptions& options);

// csTimer's export of one session: "No.;Time;Comment;Scramble;Date;P.1...", the
// result as csTimer shows it, the start's date and time in the user's zone.
ImportResult ImportCsTimerCsv(std::string_view text, const ImportOptions& options);

// Twisty Timer's "export for external use": "time";"scramble";"ISO date with zone"
// and an optional fourth "DNF"; the time holds a +2's two seconds, unmarked.
ImportResult ImportTwistyList(std::string_view text, const ImportOptions& options);
// Whether a line looks like the list's: a quoted time, scramble and date.
bool IsTwistyListLine(std::string_view line);

// CubeTime's CSV: "Time,Comment,Scramble,Date", the time in seconds with every
// decimal, the comment quoted, the scramble as it is (its commas too), the date in
// UTC ("2025-01-16 08:59:47 +0000").
ImportResult ImportCubeTime(std::string_view text, const ImportOptions& options);

}  // namespace tw::exchange
