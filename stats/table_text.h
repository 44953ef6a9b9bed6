#pragma once
// The figures of the statistics window as text: the words it shows them under, and
// all of them at once as plain text for the clipboard.
#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "stats/statistics.h"

namespace tw::stats {

inline constexpr std::string_view kCurrentHeading = "current";
inline constexpr std::string_view kBestHeading = "best";
inline constexpr std::string_view kAllHeading = "all";
// The solves logged since the program started: a session, in the sense of the
// session list, is a log of its own, which the window's caption names.
inline constexpr std::string_view kSinceStartHeading = "since start";
inline constexpr std::array<std::string_view, 4> kTallyLabels = {"solves", "DNFs", "mean", "deviation"};
// A mean or deviation before there is a timed solve.
inline constexpr std::string_view kNoFigure = "-";

// One tally's values as shown, in the order of kTallyLabels.
std::array<std::string, kTallyLabels.size()> TallyValues(const TallyFigures& tally);

// "1 line not read", "2 lines not read"; empty when every line was read.
std::string UnreadNote(std::size_t unread);

// The averages as plain text: a heading line, then one line per shown row, columns
// padded with blanks so they line up in any fixed-width font, every line ending in CR LF.
std::string TableText(std::span<const RowFigures> rows);

// Every figure the window shows, as plain text in the same columns: the averages,
// a blank line, the tallies of the whole log and of the solves since the program started, and the note on
// unread lines when there is one.
std::string FiguresText(const Statistics& statistics);

}  // namespace tw::stats
