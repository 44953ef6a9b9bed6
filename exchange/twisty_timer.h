#pragma once
// Twisty Timer's back-up file: the header line
//   Puzzle,Category,Time(millis),Date(millis),Scramble,Penalty,Comment
// then one row a solve, each field quoted and separated by ';'. The time holds a
// +2's two seconds; the penalty is 0, 1 (+2) or 2 (DNF), and 10 marks a row that only
// keeps an empty category.
#include <string_view>

#include "exchange/import_report.h"

namespace tw::exchange {

inline constexpr std::string_view kTwistyTimerFormat = "Twisty Timer";
inline constexpr std::string_view kTwistyTimerHeader = "Puzzle,Category,Time(millis),Date(millis),Scramble,Penalty,Comment";

// Each puzzle and category becomes a session ("3x3x3 Normal"), in the order they
// first appear.
ImportResult ImportTwistyTimer(std::string_view text, const ImportOptions& options);

}  // namespace tw::exchange
