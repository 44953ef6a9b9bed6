#include "options/win32/session_exchange.h"

#include <commdlg.h>

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "exchange/cstimer.h"
#include "exchange/csv_export.h"
#include "exchange/import_file.h"
#include "exchange/win32/system_exchange.h"
#include "options/session_row.h"
#include "options/win32/work_progress.h"
#include "resources/options_layout.h"
#include "results/win32/session_shelf.h"
#include "storage/win32/file_handle.h"
#include "storage/win32/result_log_file.h"
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
// A file this large is no timer's export; reading it would only take the memory.
constexpr std::uint64_t kLargestImport = 1ull << 30;
constexpr DWORD kReadChunk = 1u << 24;
constexpr unsigned kErrorStyle = MB_OK | MB_ICONEXCLAMATION;
constexpr unsigned kQuestionStyle = MB_YESNO | MB_ICONQUESTION;

std::function<std::optional<std::string>(FileDialogKind, const std::string&)> g_dialog;

struct FileBytes {
  std::string bytes;
  DWORD error = 0;  // the system's error code when the file could not be read
};

FileBytes ReadWholeFile(const std::string& path) {
  FileBytes read;
  storage::FileHandle file(CreateFileW(storage::Widen(path).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size)) {
    read.error = GetLastError();
    return read;
  }
  if (static_cast<std::uint64_t>(size.QuadPart) > kLargestImport) {
    read.error = ERROR_FILE_TOO_LARGE;
    return read;
  }
  read.bytes.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t at = 0;
  while (at < read.bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(kReadChunk, read.bytes.size() - at));
    DWORD got = 0;
    if (!ReadFile(file.get(), read.bytes.data() + at, want, &got, nullptr)) {
      read.error = GetLastError();
      return read;
    }
    if (got == 0) break;  // shorter than it was a moment ago
    at += got;
  }
  read.bytes.resize(at);
  return read;
}

// The whole file written, or the system's error code; a file left half written goes.
DWORD WriteWholeFile(const std::string& path, std::string_view bytes) {
  const std::wstring wide = storage::Widen(path);
  storage::FileHandle file(
      CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError();
  DWORD error = 0;
  std::size_t at = 0;
  while (at < bytes.size() && error == 0) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(kReadChunk, bytes.size() - at));
    DWORD wrote = 0;
    if (!WriteFile(file.get(), bytes.data() + at, want, &wrote, nullptr) || wrote != want) {
      error = GetLastError() != 0 ? GetLastError() : ERROR_WRITE_FAULT;
    }
    at += wrote;
  }
  if (!file.Close() && error == 0) error = GetLastError();
  if (error != 0) DeleteFileW(wide.c_str());
  return error;
}

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
  const std::string fileName(FileNameOf(path));
  const FileBytes file = ReadWholeFile(path);
  if (file.error != 0) {
    Tell(owner, ReadFailure(fileName, storage::SystemErrorText(file.error)));
    return false;
  }
  exchange::ImportOptions options = exchange::SystemImportOptions();
  exchange::ImportResult imported;
  {
    WorkProgress progress(owner, pb::kImportCaption);
    options.progress = [&progress](std::size_t done, std::size_t total) { return progress.Step(done, total); };
    imported = exchange::ImportFile(file.bytes, options);
  }
  if (imported.error == exchange::kStoppedMessage) return false;  // the user's own Cancel
  if (!imported.Ok()) {
    Tell(owner, ImportFailure(fileName, imported.error));
    return false;
  }
  exchange::ImportReport& report = imported.report;
  if (report.solves == 0) {
    Tell(owner, ImportFailure(fileName, "It holds no solves."));
    return false;
  }
  const std::string current = LogToUtf8(SessionItemText(shelf.Current()));
  const std::string question = ImportQuestion(report, fileName, current, &LogToUtf8);
  if (ShowMessageBox(owner, question, kAppTitle, kQuestionStyle) != IDYES) return false;

  if (ImportsIntoCurrentSession(report)) {
    std::vector<std::string> lines;
    for (exchange::ImportedSession& session : report.sessions) {
      lines.insert(lines.end(), std::make_move_iterator(session.lines.begin()),
                   std::make_move_iterator(session.lines.end()));
    }
    return shelf.CurrentBook().AppendAll(std::move(lines));
  }
  std::optional<int> first;
  std::size_t made = 0;
  for (exchange::ImportedSession& session : report.sessions) {
    // Each new session is shown as it is made, and its lines go into its own book.
    const std::optional<int> number = shelf.Add(ImportedSessionName(session.name), session.event);
    if (!number) break;
    shelf.CurrentBook().AppendAll(std::move(session.lines));
    if (!first) first = number;
    ++made;
  }
  if (first) {
    if (const auto index = shelf.List().IndexOf(*first)) shelf.Switch(*index);
  }
  if (made < report.sessions.size()) Tell(owner, ImportCutShort(made, report.sessions.size()));
  return made > 0;
}

bool ExportSessions(HWND owner, const std::string& path, results::SessionShelf& shelf) {
  const std::string fileName(FileNameOf(path));
  const ExportFormat format = ExportFormatOf(path);
  std::vector<results::Session> chosen{shelf.Current()};
  if (format == ExportFormat::CsTimer && shelf.List().All().size() > 1) {
    const std::string question = ExportSessionsQuestion(fileName, shelf.List().All().size(),
                                                        LogToUtf8(SessionItemText(shelf.Current())));
    const int answer = ShowMessageBox(owner, question, kAppTitle, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return false;
    if (answer == IDYES) chosen = shelf.List().All();
  }
  // Copies: while the progress box lets messages run, a save's outcome may replace a
  // book's lines.
  std::vector<std::vector<std::string>> lines;
  lines.reserve(chosen.size());
  std::vector<exchange::ExportSession> sessions;
  for (const results::Session& session : chosen) {
    lines.push_back(shelf.BookOf(session.number).Lines());
    sessions.push_back({session.name, session.event, lines.back()});
  }
  exchange::ExportOptions options = exchange::SystemExportOptions();
  exchange::ExportResult exported;
  {
    WorkProgress progress(owner, pb::kExportCaption);
    options.progress = [&progress](std::size_t done, std::size_t total) { return progress.Step(done, total); };
    if (format == ExportFormat::Csv) {
      exported = exchange::ExportCsv(sessions.front().lines, options);
    } else {
      exported = exchange::ExportCsTimer(sessions, options);
    }
  }
  if (exported.stopped) return false;
  if (const DWORD error = WriteWholeFile(path, exported.text); error != 0) {
    Tell(owner, WriteFailure(fileName, storage::SystemErrorText(error)));
    return false;
  }
  if (exported.skipped > 0) {
    ShowMessageBox(owner, ExportSkipped(fileName, exported.solves, exported.skipped), kAppTitle,
                   MB_OK | MB_ICONINFORMATION);
  }
  return true;
}

}  // namespace tw::options
