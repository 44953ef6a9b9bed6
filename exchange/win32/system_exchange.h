#pragma once
// This system's side of import and export: its ANSI code page, the user's time zone
// and regional separators, as the timer uses them when it logs a solve.
#include <string>
#include <string_view>

#include "exchange/export_types.h"
#include "exchange/import_report.h"
#include "exchange/time_zone.h"

namespace tw::exchange {

// Through CP_ACP; a character the code page lacks becomes its best fit or '?'.
std::string Utf8ToAnsi(std::string_view text);
std::string AnsiToUtf8(std::string_view text);

// The user's zone, with its present daylight saving rules.
TimeZone SystemTimeZone();

// Options with the above, the separators the timer writes, and now as the stop of
// a solve a file gives no date for; the caller adds the progress bar.
ImportOptions SystemImportOptions();
ExportOptions SystemExportOptions();

}  // namespace tw::exchange
