#pragma once
// What an export is given (sessions of a log's lines) and what it gives back.
#include <cstddef>
#include <span>
#include <string>

#include "exchange/import_report.h"
#include "exchange/text_conversion.h"
#include "exchange/time_zone.h"

namespace tw::exchange {

struct ExportSession {
  std::string name;                     // in the log's code page
  std::string event;                    // a WCA event id (events.h)
  std::span<const std::string> lines;  // the log's lines, in the log's code page
};

struct ExportOptions {
  TimeZone zone = UtcZone();  // the user's: the log holds local times, csTimer instants
  TextConverter toUtf8;       // the log's code page to UTF-8
  Progress progress;          // done of total solves; false stops the export
  std::size_t progressEvery = 4096;
};

struct ExportResult {
  std::string text;         // the file's bytes, UTF-8
  std::size_t solves = 0;   // lines written as solves
  std::size_t skipped = 0;  // lines of the log that are no result line (hand edits), left out
  bool stopped = false;     // the progress callback stopped it: `text` is empty
};

inline ExportResult StoppedExport() {
  ExportResult result;
  result.stopped = true;
  return result;
}

}  // namespace tw::exchange
