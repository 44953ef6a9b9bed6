#pragma once
// An import into the sessions the shelf keeps, without switching the session shown:
// each session of a file becomes a new session, its lines appended to its own book;
// a file that names no session goes into the session shown.
#include <functional>
#include <string>

#include "exchange/win32/exchange_dialogs.h"

namespace tw::results {
class SessionShelf;
}

namespace tw::exchange {

// Imports the file at `path` (UTF-8): reads it whole under a progress bar, asks with
// a summary of what it holds before anything is written, and on Yes appends each
// session's lines to its book as one step of undo; taking that step back in any new
// session takes the whole import back, its sessions included (import_undo.h), and
// `sessionsChanged` then tells the list shown. A new session named like one that
// exists takes " (2)", " (3)", ... A file that cannot be read or is not what it claims
// is named with its first problem and nothing is written. Returns whether anything was.
bool ImportIntoSessions(const std::string& path, results::SessionShelf& shelf, ExchangeDialogs& dialogs,
                        std::function<void()> sessionsChanged = {});

}  // namespace tw::exchange
