#pragma once
// Import of a file whichever of the known kinds it is, told apart by how the text
// starts: JSON is a csTimer export or a CubeDesk back-up, a known first line names
// its table, and any other text is a plain list of times.
#include <string_view>

#include "exchange/import_report.h"

namespace tw::exchange {

enum class FileKind { CsTimer, CubeDesk, TwistyTimer, TwistyList, CsTimerCsv, CubeTime, OwnCsv, PlainList };

FileKind KindOf(std::string_view text);

// Whether the bytes are no text at all: a NUL, or many control characters that no
// text holds, among the first few kilobytes.
bool IsBinary(std::string_view bytes);

// The report of what the file holds, or the error naming its first problem.
ImportResult ImportFile(std::string_view text, const ImportOptions& options);

}  // namespace tw::exchange
