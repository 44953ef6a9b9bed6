#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace tw::results {
class SessionShelf;
}

namespace tw::options {

// The system's Open dialog for an import, its Save dialog for an export.
enum class FileDialogKind { Open, Save };

// The path (UTF-8) the user picked in the system's dialog owned by `owner`; nothing
// when the dialog was cancelled. Save offers `suggestedName` (UTF-8) and asks before
// replacing a file.
std::optional<std::string> AskForFile(HWND owner, FileDialogKind kind, const std::string& suggestedName);
// Replaces the dialogs: a test answers with a path.
void SetFileDialogForTesting(
    std::function<std::optional<std::string>(FileDialogKind kind, const std::string& suggestedName)> dialog);

// The import workflow (exchange/win32/session_import.h) asking and showing over `owner`:
// its summary question, its messages and its progress box. The session shown stays
// shown. Returns whether anything was written.
bool ImportIntoShelf(HWND owner, const std::string& path, results::SessionShelf& shelf);

// The export workflow (exchange/win32/session_export.h) asking and showing over
// `owner`. Returns whether the file was written.
bool ExportSessions(HWND owner, const std::string& path, results::SessionShelf& shelf);

}  // namespace tw::options
