#pragma once
// An export of the sessions the shelf keeps.
#include <string>

#include "exchange/win32/exchange_dialogs.h"

namespace tw::results {
class SessionShelf;
}

namespace tw::exchange {

// Writes the shelf's sessions to `path` (UTF-8): the session shown as CSV for a name
// ending in ".csv"; else in csTimer's format, every session or the one shown as the
// user answers when there is more than one. A write that fails says so. Returns
// whether the file was written.
bool ExportSessions(const std::string& path, results::SessionShelf& shelf, ExchangeDialogs& dialogs);

}  // namespace tw::exchange
