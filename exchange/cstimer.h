#pragma once
// csTimer's export file: one JSON object holding "session1", "session2", ... (each a
// list of solves [[penalty, milliseconds, ...], scramble, comment, start]) and
// "properties", whose "sessionData" names each session and its scramble type.
#include <span>
#include <string>
#include <string_view>

#include "exchange/export_types.h"
#include "exchange/import_report.h"

namespace tw::exchange {

inline constexpr std::string_view kCsTimerFormat = "csTimer";

// Every session with a solve becomes one imported session: its name, its event from
// its scramble type, one line a solve, stopped at its start plus its time.
ImportResult ImportCsTimer(std::string_view text, const ImportOptions& options);

// A file csTimer's own import takes: the sessions in the order given, as session1,
// session2, ..., with their names and events; penalties, scrambles, comments and
// start times (the stop less the measured time).
ExportResult ExportCsTimer(std::span<const ExportSession> sessions, const ExportOptions& options);

}  // namespace tw::exchange
