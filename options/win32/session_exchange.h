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

// Imports the file at `path` (UTF-8): reads it whole, tells the user what it holds and
// asks before anything is written. On Yes each session of the file becomes a new
// session of the shelf, its lines one step of undo in its book, and the first of them
// is shown; a list of times goes into the session shown, as one step of undo. A file
// that cannot be read or is not what it claims is named in a message, with its first
// problem, and nothing is written. Returns whether anything was written.
bool ImportIntoShelf(HWND owner, const std::string& path, results::SessionShelf& shelf);

// Writes the shelf's sessions to `path` (UTF-8): the current one as CSV for a name
// ending in ".csv"; else in csTimer's format, every session or the current one as
// the user answers when there is more than one. A write that fails says so. Returns
// whether the file was written.
bool ExportSessions(HWND owner, const std::string& path, results::SessionShelf& shelf);

}  // namespace tw::options
