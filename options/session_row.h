#pragma once
// What the Result panel's session row shows and asks, kept free of windows: the
// sessions' list, a name as typed, the question an import asks before it writes
// anything, and the messages of a file that could not be read or written. Session
// names are in the log's code page; the questions and messages are UTF-8.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "exchange/exchange_names.h"
#include "exchange/import_report.h"
#include "exchange/text_conversion.h"
#include "results/session_list.h"

namespace tw::options {

// "name (event name)", as the list shows a session.
std::string SessionItemText(const results::Session& session);

// A name as typed, made one line: line breaks and tabs become spaces and the blanks
// at both ends go. Empty when nothing is left: a session needs a name.
std::string CleanSessionName(std::string_view typed);

// The name a session of an imported file gets here: made one line as a typed name
// is, and "Imported" when nothing is left.
std::string ImportedSessionName(std::string_view name);

// The question Delete... asks about a session shown as `item` (UTF-8).
std::string DeleteQuestion(std::string_view item);
inline constexpr std::string_view kDeleteFailed =
    "The session's results could not be moved to the Recycle Bin, so the session was kept.";

using exchange::FileNameOf;

// "1 solve", "12,345 solves": a count as a person reads it.
std::string Counted(std::size_t count, std::string_view one, std::string_view many);

// A list of times goes into the session shown; a file of sessions makes new ones.
bool ImportsIntoCurrentSession(const exchange::ImportReport& report);

// The question an import asks before anything is written: what the file holds, what
// could not be read (the first few), and where it goes. `current` is the session shown
// (UTF-8); `toUtf8` converts the report's session names from the log's code page.
std::string ImportQuestion(const exchange::ImportReport& report, std::string_view fileName, std::string_view current,
                           const exchange::TextConverter& toUtf8);
// How many of the file's sessions the question names; the rest are counted.
inline constexpr std::size_t kListedSessions = 10;

// The messages of a file that is not what it claims, or that the system could not
// read or write: the file's name and the first problem.
std::string ImportFailure(std::string_view fileName, std::string_view problem);
std::string ReadFailure(std::string_view fileName, std::string_view systemError);
std::string WriteFailure(std::string_view fileName, std::string_view systemError);
// An import whose sessions outnumber the numbers left for new ones.
std::string ImportCutShort(std::size_t imported, std::size_t inFile);
// A finished export: where it wrote and how many solves ("Exported 1,234 solves to
// C:\...\x.csv."), then what it left out (lines of the log that are no result line)
// and `note` (the training sessions' note, or "").
std::string ExportFinished(std::string_view path, std::size_t solves, std::size_t skipped, std::string_view note);
// Said after a csTimer export that held 3x3x3 training sessions, which csTimer knows
// only by its nearest scramble type: each such session with the type it was given.
std::string ExportTrainingNote(std::string_view fileName, std::span<const std::pair<std::string, std::string>> sessions);

// The question Export... asks when csTimer's file may hold every session: Yes writes
// them all, No only the session shown (`current`, UTF-8).
std::string ExportSessionsQuestion(std::string_view fileName, std::size_t sessions, std::string_view current);

using exchange::ExportFormat;
using exchange::ExportFormatOf;
// The name the Save dialog offers for a session's export: its name, without the
// characters a file name cannot hold.
std::string ExportFileName(std::string_view sessionName);

}  // namespace tw::options
