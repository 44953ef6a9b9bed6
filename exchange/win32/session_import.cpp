#include "exchange/win32/session_import.h"

#include <iterator>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "exchange/exchange_names.h"
#include "exchange/import_file.h"
#include "exchange/win32/exchange_file.h"
#include "exchange/win32/import_undo.h"
#include "exchange/win32/system_exchange.h"
#include "results/win32/session_shelf.h"
#include "toolkit/win32/system_text.h"

namespace tw::exchange {

namespace {

// Each of the file's sessions named as it will be here, so the question shows the
// names the list will: none the same as another's.
void NameNewSessions(ImportReport& report, const results::SessionShelf& shelf) {
  std::vector<std::string> taken;
  for (const results::Session& session : shelf.List().All()) taken.push_back(session.name);
  for (ImportedSession& session : report.sessions) {
    session.name = UniqueSessionName(session.name, taken);
    taken.push_back(session.name);
  }
}

bool AppendToShown(ImportReport& report, results::SessionShelf& shelf) {
  std::vector<std::string> lines;
  lines.reserve(report.solves);
  for (ImportedSession& session : report.sessions) {
    lines.insert(lines.end(), std::make_move_iterator(session.lines.begin()),
                 std::make_move_iterator(session.lines.end()));
  }
  return shelf.CurrentBook().AppendAll(std::move(lines));
}

}  // namespace

bool ImportIntoSessions(const std::string& path, results::SessionShelf& shelf, ExchangeDialogs& dialogs,
                        std::function<void()> sessionsChanged) {
  const std::string fileName(FileNameOf(path));
  const FileBytes file = ReadWholeFile(path);
  if (file.error != 0) {
    dialogs.CannotRead(fileName, SystemErrorText(file.error));
    return false;
  }
  ImportOptions options = SystemImportOptions();
  ImportResult imported;
  dialogs.WithProgress(true, [&](const Progress& progress) {
    options.progress = progress;
    imported = ImportFile(file.bytes, options);
  });
  if (imported.error == kStoppedMessage) return false;  // the user's own Cancel
  if (!imported.Ok()) {
    dialogs.CannotImport(fileName, imported.error);
    return false;
  }
  ImportReport& report = imported.report;
  if (report.solves == 0) {
    dialogs.CannotImport(fileName, NoSolveRead(report));
    return false;
  }
  if (!report.intoCurrent) NameNewSessions(report, shelf);
  if (!dialogs.ConfirmImport(report, fileName)) return false;
  if (report.intoCurrent) return AppendToShown(report, shelf);

  std::map<int, std::size_t> made;  // each new session's number and its lines
  for (ImportedSession& session : report.sessions) {
    const std::optional<int> number = shelf.AddUnshown(session.name, session.event);
    if (!number) break;
    const std::size_t lines = session.lines.size();
    if (shelf.BookOf(*number).AppendAll(std::move(session.lines))) made.emplace(*number, lines);
  }
  if (made.size() < report.sessions.size()) dialogs.ImportCutShort(made.size(), report.sessions.size());
  if (made.empty()) return false;
  RememberImport(shelf, shelf.Current().number, std::move(made), std::move(sessionsChanged));
  return true;
}

}  // namespace tw::exchange
