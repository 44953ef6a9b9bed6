#pragma once
// A session's solves for a spreadsheet: UTF-8 with a byte-order mark (so a
// spreadsheet reads it as UTF-8), RFC 4180 quoting, lines ended by CR LF, columns
//   No.,Date,Time,Result,Penalty,Seconds,Scramble,Comment
// Date is YYYY-MM-DD and Time HH:MM:SS, the local stop as logged; Result is the time
// as a timer shows it ("12.34", "1:02.35", "14.34+", "DNF(12.34)"); Penalty is "",
// "+2" or "DNF"; Seconds is the time that counts as a plain number (a +2's two
// seconds in), empty for a DNF, so that a spreadsheet can average the column.
#include <span>
#include <string>

#include "exchange/export_types.h"

namespace tw::exchange {

// Lines of the log that are no result line are left out and counted.
ExportResult ExportCsv(std::span<const std::string> lines, const ExportOptions& options);

}  // namespace tw::exchange
