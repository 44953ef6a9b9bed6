#pragma once
// What an import read from a file: sessions of result lines, ready to be written as
// logs of their own, and what it could not read. The user sees this report before
// anything is written.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/text_conversion.h"
#include "exchange/time_zone.h"
#include "results/solve.h"
#include "scramble/events.h"

namespace tw::exchange {

// One session of the file.
struct ImportedSession {
  std::string name;                // in the log's code page
  std::string event;               // a WCA event id (events.h)
  std::vector<std::string> lines;  // result lines in the file's order, in the log's code page
};

// How many of the solves left out the report describes.
inline constexpr std::size_t kShownProblems = 5;

struct ImportReport {
  std::string format;  // the kind of file, as its user knows it: "csTimer", "Twisty Timer", ...
  std::vector<ImportedSession> sessions;
  std::size_t solves = 0;         // the lines of all sessions
  std::size_t unreadable = 0;     // solves or lines of the file left out
  std::vector<std::string> problems;  // the first few of those, in UTF-8: "session 2, solve 17: no time"
  std::size_t emptySessions = 0;  // sessions of the file without a solve, left out
  // The file names no session (a list, one session's export): its solves go into
  // the session shown.
  bool intoCurrent = false;
};

// Called every so many solves with how far the work is, in units of the format's
// choosing (solves, or bytes of the file): done of total. Returning false stops it.
using Progress = std::function<bool(std::size_t done, std::size_t total)>;

struct ImportOptions {
  TimeZone zone = UtcZone();  // the user's: the files hold instants, the log local times
  TextConverter toLog;        // UTF-8 to the log's code page
  // The user's regional separators, for the lines written (the log's date order is
  // day, month, year).
  std::string dateSeparator = "/";
  std::string timeSeparator = ":";
  // The stop, in seconds since 1970, of a solve the file gives no date for (the
  // caller passes the time of the import).
  std::int64_t undatedStop = 0;
  // A list of times names neither its session nor its event (in the log's code page).
  std::string listSessionName = "Imported";
  std::string listEvent = std::string(scramble::kDefaultEventId);
  Progress progress;
  std::size_t progressEvery = 4096;
};

struct ImportResult {
  // Empty when the file was read; else what is wrong with it, naming the first
  // problem, in UTF-8 (the caller adds the file's name).
  std::string error;
  ImportReport report;
  bool Ok() const { return error.empty(); }
};

// ---- For the readers of each format.

// What one solve of a file says; texts are the file's UTF-8.
struct ImportedSolve {
  results::LocalTime stop;
  results::Hundredths time = 0;  // as the log holds it: a +2 in it, a DNF's measured time
  results::Penalty penalty = results::Penalty::None;
  std::string_view scramble;
  std::string_view comment;
};

// A time in milliseconds as the log holds it: truncated to the hundredth as the WCA
// records a single; nothing when it is negative or longer than the log's 99 hours.
std::optional<results::Hundredths> HundredthsOfMillis(std::int64_t millis);

// The message of an import stopped through its progress callback.
inline constexpr std::string_view kStoppedMessage = "The import was stopped.";

class ImportBuilder {
 public:
  ImportBuilder(const ImportOptions& options, std::string format);

  // A session named in UTF-8; returns its index.
  std::size_t AddSession(std::string_view name, std::string_view event);
  void AddSolve(std::size_t session, const ImportedSolve& solve);
  // A solve or line left out: `where` it is and `why`, in UTF-8.
  void LeaveOut(std::string_view where, std::string_view why);
  // Reports progress every so many calls; false once the user stopped the import.
  bool Step(std::size_t done, std::size_t total);

  const ImportOptions& Options() const { return options_; }
  // The file names no session: one session, named as the options name a list.
  void IntoCurrentSession();
  ImportResult Finish();

 private:
  const ImportOptions& options_;
  ImportReport report_;
  std::size_t steps_ = 0;
  std::size_t total_ = 0;
};

// The error of a file none of whose solves could be read: the first problem named.
std::string NoSolveRead(const ImportReport& report);

// A short, printable excerpt of a file's text, to name a problem with.
std::string Excerpt(std::string_view text);

}  // namespace tw::exchange
