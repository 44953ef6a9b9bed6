#pragma once
#include <span>
#include <string>

#include "stats/statistics.h"

namespace tw::stats {

// The table as plain text for the clipboard: a heading line, then one line per
// shown row, columns padded with blanks so they line up in any fixed-width font,
// every line ending in CR LF.
std::string TableText(std::span<const RowFigures> rows);

}  // namespace tw::stats
