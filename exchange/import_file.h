#pragma once
// Import of a file whichever of the known kinds it is: a csTimer export, a Twisty
// Timer back-up or a plain list of times, told apart by how the text starts.
#include <string_view>

#include "exchange/import_report.h"

namespace tw::exchange {

enum class FileKind { CsTimer, TwistyTimer, PlainList };

FileKind KindOf(std::string_view text);

// The report of what the file holds, or the error naming its first problem.
ImportResult ImportFile(std::string_view text, const ImportOptions& options);

}  // namespace tw::exchange
