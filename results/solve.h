#pragma once
// One logged solve and the one reading and writing of its result line.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tw::results {

// A time in hundredths of a second.
using Hundredths = std::int64_t;

enum class Penalty { None, PlusTwo, Dnf };

// The local date and time a solve stopped.
struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// What one result line says:
//   "#Date: DD/MM/YYYY | Time: HH:MM:SS | Result: hh:mm:ss:cc"
// optionally followed, in this order, by " (+2)" (the time already holds the two
// seconds) or " (DNF)" (the time is the one measured), " | Scramble: <moves>" and
// " | Comment: <text>". The date and time separators are the user's, kept per line
// so that a line read and written again is unchanged.
struct Solve {
  LocalTime when;
  Hundredths time = 0;  // as logged: a +2 is in it
  Penalty penalty = Penalty::None;
  std::string scramble;  // "" when none was shown; written on one line
  std::string comment;   // "" when none; never holds a line break
  std::string dateSeparator = "/";
  std::string timeSeparator = ":";
};

// The line for a solve.
std::string Format(const Solve& solve);

// The solve a line holds, or nothing when the line is not a result line (a hand
// edit): such a line is kept as it is and written back byte for byte.
std::optional<Solve> Parse(std::string_view line);

// The same solve with another penalty, as inspection writes it: a +2 holds the time with the two seconds in it
// and ends in " (+2)"; a DNF keeps the measured time and ends in " (DNF)"; none is the measured time.
// A +2 never takes the time past the longest a line holds, 99:59:59:99.
Solve WithPenalty(Solve solve, Penalty penalty);

// What a result line carries after its "Result: hh:mm:ss:cc" time: "", " (+2)" or " (DNF)".
std::string_view PenaltySuffix(Penalty penalty);

// What the result field of a line says, found by its name as the statistics find it:
// the date and time before it may be in any form, and blanks after it are forgiven.
struct LoggedResult {
  Hundredths time = 0;  // as logged: a +2 is in it
  Penalty penalty = Penalty::None;
};

// The last "Result: hh:mm:ss:cc" field before any scramble or comment, with its
// penalty; nothing when there is none or it does not read (minutes and seconds run
// to 59, four two-digit fields, nothing after but a penalty).
std::optional<LoggedResult> ReadLoggedResult(std::string_view line);

// The result a line counts for in the statistics: its time, or nothing for a DNF
// or a line whose result field does not read. (Callers that tell those apart use
// ReadLoggedResult.)
std::optional<Hundredths> CountedTime(std::string_view line);

}  // namespace tw::results
