#pragma once
// What the solve details box shows of one result line and what its OK writes back,
// worked on the line's text, free of windows: the time as it counts with its penalty,
// the date as logged, the scramble as its event writes it, and the comment.
#include <optional>
#include <string>
#include <string_view>

#include "results/solve.h"
#include "scramble/events.h"

namespace tw::options {

struct SolveDetails {
  results::Solve solve;            // the line as it reads
  results::Hundredths measured = 0;  // the time the timer measured, without a +2
  std::string date;                // "25/12/2026 14:03:59", in the line's own separators
};

// Nothing for a line that reads as no result (a hand edit): it is only kept.
std::optional<SolveDetails> DetailsOf(std::string_view line);

// The result as it counts with `penalty`: "12.34", "14.34 (+2)", "DNF (12.34)".
std::string ResultText(results::Hundredths measured, results::Penalty penalty);

// The line with `penalty` and `comment` (its line breaks made spaces, as the log keeps
// a comment on one line); nothing when that is the line as it is, or the line reads as
// no result.
std::optional<std::string> EditedLine(std::string_view line, results::Penalty penalty, std::string_view comment);

// The scramble as the event writes it, from the one line the log keeps it on:
// Multi-Blind's numbered scrambles and Megaminx's lines (each ending in U or U') one a
// line again, apart by '\n'; any other scramble as it is.
std::string ScrambleAsWritten(scramble::Event event, std::string_view logged);

}  // namespace tw::options
