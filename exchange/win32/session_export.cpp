#include "exchange/win32/session_export.h"

#include <optional>
#include <vector>

#include "exchange/cstimer.h"
#include "exchange/csv_export.h"
#include "scramble/events.h"
#include "exchange/exchange_names.h"
#include "exchange/win32/exchange_file.h"
#include "exchange/win32/system_exchange.h"
#include "results/win32/session_shelf.h"
#include "toolkit/win32/system_text.h"

namespace tw::exchange {

bool ExportSessions(const std::string& path, results::SessionShelf& shelf, ExchangeDialogs& dialogs) {
  const std::string fileName(FileNameOf(path));
  const ExportFormat format = ExportFormatOf(path);
  std::vector<results::Session> chosen{shelf.Current()};
  if (format == ExportFormat::CsTimer && shelf.List().All().size() > 1) {
    const std::optional<bool> every = dialogs.AskEverySession(fileName, shelf.List().All().size());
    if (!every) return false;
    if (*every) chosen = shelf.List().All();
  }
  // Copies: while the progress box lets messages run, a save's outcome may replace a
  // book's lines.
  std::vector<std::vector<std::string>> lines;
  lines.reserve(chosen.size());
  std::vector<ExportSession> sessions;
  for (const results::Session& session : chosen) {
    lines.push_back(shelf.BookOf(session.number).Lines().ToStrings());
    sessions.push_back({session.name, session.event, lines.back()});
  }
  ExportOptions options = SystemExportOptions();
  ExportResult exported;
  dialogs.WithProgress(false, [&](const Progress& progress) {
    options.progress = progress;
    exported = format == ExportFormat::Csv ? ExportCsv(sessions.front().lines, options) : ExportCsTimer(sessions, options);
  });
  if (exported.stopped) return false;
  if (const DWORD error = WriteWholeFile(path, exported.text); error != 0) {
    dialogs.CannotWrite(fileName, SystemErrorText(error));
    return false;
  }
  if (exported.skipped > 0) dialogs.ExportSkipped(fileName, exported.solves, exported.skipped);
  std::vector<std::pair<std::string, std::string>> training;
  for (const results::Session& session : chosen) {
    if (scramble::IsTrainingEvent(session.event)) {
      training.emplace_back(AnsiToUtf8(session.name), std::string(scramble::CsTimerTypeOfEvent(session.event)));
    }
  }
  if (format == ExportFormat::CsTimer && !training.empty()) dialogs.ExportedTraining(fileName, training);
  dialogs.Exported(path, exported.solves);
  return true;
}

}  // namespace tw::exchange
