#pragma once
// What an import or an export asks and shows, given by the window that started it
// (the Result panel): the workflow decides, the window only asks and shows.
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "exchange/import_report.h"

namespace tw::exchange {

class ExchangeDialogs {
 public:
  virtual ~ExchangeDialogs() = default;

  // Runs `work` with a progress bar the user may cancel, fed by the Progress given.
  virtual void WithProgress(bool importing, const std::function<void(const Progress&)>& work) = 0;

  // The summary of what the file holds and where it goes; true writes it.
  virtual bool ConfirmImport(const ImportReport& report, std::string_view fileName) = 0;
  // Whether csTimer's file holds every session (true) or the one shown (false);
  // nothing when the user cancelled.
  virtual std::optional<bool> AskEverySession(std::string_view fileName, std::size_t sessions) = 0;

  // A file the system could not read or write, with its error's text.
  virtual void CannotRead(std::string_view fileName, std::string_view systemError) = 0;
  virtual void CannotWrite(std::string_view fileName, std::string_view systemError) = 0;
  // A file that is not what it claims, with its first problem (UTF-8).
  virtual void CannotImport(std::string_view fileName, std::string_view problem) = 0;
  // An import whose sessions outnumber the numbers left for new ones.
  virtual void ImportCutShort(std::size_t made, std::size_t inFile) = 0;
  // An export that left out lines of the log that are no result line.
  virtual void ExportSkipped(std::string_view fileName, std::size_t solves, std::size_t skipped) = 0;
  // A csTimer export that held 3x3x3 training sessions, each by its name (UTF-8) with
  // the nearest scramble type csTimer was given for it.
  virtual void ExportedTraining(std::string_view /*fileName*/,
                                std::span<const std::pair<std::string, std::string>> /*sessions*/) {}
  // A finished export, told last: the file written (its whole path, UTF-8) and how many
  // solves it holds.
  virtual void Exported(std::string_view /*path*/, std::size_t /*solves*/) {}
};

}  // namespace tw::exchange
