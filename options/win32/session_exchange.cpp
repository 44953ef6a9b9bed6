#include "options/win32/session_exchange.h"

#include <commdlg.h>

#include <functional>
#include <optional>
#include <utility>

#include "exchange/win32/exchange_dialogs.h"
#include "exchange/win32/session_export.h"
#include "exchange/win32/session_import.h"
#include "exchange/win32/system_exchange.h"
#include "options/session_row.h"
#include "options/win32/options_window.h"
#include "options/win32/work_progress.h"
#include "resources/options_layout.h"
#include "results/win32/session_shelf.h"
#include "storage/win32/wide_path.h"
#include "toolkit/win32/services.h"
#include "toolkit/win32/system_library.h"

namespace tw::options {

namespace {

namespace pb = layout::options::progress_box;

// Each filter's name and pattern, the list ending in an empty pair.
constexpr wchar_t kImportFilter[] = L"Timer exports (*.txt;*.json;*.csv)\0*.txt;*.json;*.csv\0All files (*.*)\0*.*\0";
constexpr wchar_t kExportFilter[] = L"csTimer file (*.txt)\0*.txt\0CSV for spreadsheets (*.csv)\0*.csv\0";
constexpr wchar_t kExportExtension[] = L"txt";
// Room for the longest path the wide API takes.
constexpr std::size_t kPathRoom = 32768;
constexpr unsigned kErrorStyle = MB_OK | MB_ICONEXCLAMATION;
constexpr unsigned kQuestionStyle = MB_YESNO | MB_ICONQUESTION;

std::function<std::optional<std::string>(FileDialogKind, const std::string&)> g_dialog;

std::optional<std::string> SystemFileDialog(HWND owner, FileDialogKind kind, const std::string& suggestedName) {
  using Dialog = BOOL(WINAPI*)(OPENFILENAMEW*);
  // The dialogs' library is loaded when first asked for, not with the program.
  const auto dialog = SystemFunction<Dialog>("comdlg32.dll", kind == FileDialogKind::Open ? "GetOpenFileNameW"
                                                                                          : "GetSaveFileNameW");
  if (!dialog) return std::nullopt;
  std::wstring buffer(kPathRoom, L'\0');
  const std::wstring suggested = storage::Widen(suggestedName);
  if (suggested.size() < kPathRoom) suggested.copy(buffer.data(), suggested.size());
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.lpstrFile = buffer.data();
  request.nMaxFile = static_cast<DWORD>(buffer.size());
  request.nFilterIndex = 1;
  request.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (kind == FileDialogKind::Open) {
    request.lpstrFilter = kImportFilter;
    request.Flags |= OFN_FILEMUSTEXIST;
  } else {
    request.lpstrFilter = kExportFilter;
    // A name typed without an extension takes the chosen filter's.
    request.lpstrDefExt = kExportExtension;
    request.Flags |= OFN_OVERWRITEPROMPT;
  }
  if (!dialog(&request)) return std::nullopt;
  return storage::Narrow(buffer.c_str());
}

void Tell(HWND owner, const std::string& text) { ShowMessageBox(owner, text, kAppTitle, kErrorStyle); }

std::string LogToUtf8(std::string_view text) { return exchange::AnsiToUtf8(text); }

// The Result panel's side of an import or an export: its questions, its messages and
// its progress box, over the options window.
class PanelDialogs : public exchange::ExchangeDialogs {
 public:
  PanelDialogs(HWND owner, std::string current) : owner_(owner), current_(std::move(current)) {}

  void WithProgress(bool importing, const std::function<void(const exchange::Progress&)>& work) override {
    WorkProgress progress(owner_, importing ? pb::kImportCaption : pb::kExportCaption);
    work([&progress](std::size_t done, std::size_t total) { return progress.Step(done, total); });
  }
  bool ConfirmImport(const exchange::ImportReport& report, std::string_view fileName) override {
    const std::string question = ImportQuestion(report, fileName, current_, &LogToUtf8);
    return ShowMessageBox(owner_, question, kAppTitle, kQuestionStyle) == IDYES;
  }
  std::optional<bool> AskEverySession(std::string_view fileName, std::size_t sessions) override {
    const std::string question = ExportSessionsQuestion(fileName, sessions, current_);
    const int answer = ShowMessageBox(owner_, question, kAppTitle, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return std::nullopt;
    return answer == IDYES;
  }
  void CannotRead(std::string_view fileName, std::string_view systemError) override {
    Tell(owner_, ReadFailure(fileName, systemError));
  }
  void CannotWrite(std::string_view fileName, std::string_view systemError) override {
    Tell(owner_, WriteFailure(fileName, systemError));
  }
  void CannotImport(std::string_view fileName, std::string_view problem) override {
    Tell(owner_, ImportFailure(fileName, problem));
  }
  void ImportCutShort(std::size_t made, std::size_t inFile) override {
    Tell(owner_, options::ImportCutShort(made, inFile));
  }
  // What an export left out and its note come in the one message that it finished.
  void ExportSkipped(std::string_view, std::size_t, std::size_t skipped) override { skipped_ = skipped; }
  void ExportedTraining(std::string_view fileName,
                        std::span<const std::pair<std::string, std::string>> sessions) override {
    trainingNote_ = options::ExportTrainingNote(fileName, sessions);
  }
  void Exported(std::string_view path, std::size_t solves) override {
    ShowMessageBox(owner_, options::ExportFinished(path, solves, skipped_, trainingNote_), kAppTitle,
                   MB_OK | MB_ICONINFORMATION);
  }

 private:
  HWND owner_;
  std::string current_;  // the session shown, UTF-8
  std::size_t skipped_ = 0;
  std::string trainingNote_;
};

}  // namespace

std::optional<std::string> AskForFile(HWND owner, FileDialogKind kind, const std::string& suggestedName) {
  if (g_dialog) return g_dialog(kind, suggestedName);
  return SystemFileDialog(owner, kind, suggestedName);
}

void SetFileDialogForTesting(
    std::function<std::optional<std::string>(FileDialogKind kind, const std::string& suggestedName)> dialog) {
  g_dialog = std::move(dialog);
}

bool ImportIntoShelf(HWND owner, const std::string& path, results::SessionShelf& shelf) {
  PanelDialogs dialogs(owner, LogToUtf8(SessionItemText(shelf.Current())));
  return exchange::ImportIntoSessions(path, shelf, dialogs, OptionsSessionsChanged);
}

bool ExportSessions(HWND owner, const std::string& path, results::SessionShelf& shelf) {
  PanelDialogs dialogs(owner, LogToUtf8(SessionItemText(shelf.Current())));
  return exchange::ExportSessions(path, shelf, dialogs);
}

}  // namespace tw::options
