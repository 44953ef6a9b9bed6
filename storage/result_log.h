#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "storage/line_arena.h"

namespace tw::storage {

// What reading a result log found. A log that is there but could not be read
// whole must never be replaced by a save: it may hold a whole history.
struct ResultLogRead {
  enum class State { kMissing, kRead, kUnreadable };
  State state = State::kMissing;
  LineArena lines;          // every entry, oldest first, when kRead
  unsigned long error = 0;  // the system's error code when kUnreadable
};

// The result log's file image: every entry followed by CR LF, no header, no count.
// An empty log is zero bytes. Entries are bytes in the ANSI code page, never converted.
std::string SerializeResultLog(const std::vector<std::string>& lines);

// Reads the file image back one entry per line, verbatim: commas, quotes and leading
// blanks in a hand-edited line stay as they are. A line ends at CR LF, at a lone LF
// (a hand edit) or at a lone CR (an old Mac editor); a last line without a line end is
// still an entry. Every other byte, NUL included, belongs to its line.
std::vector<std::string> ParseResultLog(std::string_view bytes);

// True when the bytes begin with a UTF-16 byte-order mark (FF FE or FE FF): the log as
// an editor saved it in UTF-16, which is not the ANSI text the log is made of. Read
// byte by byte, such a log would lose a byte at every line end at its next save.
// A UTF-8 mark is only bytes of the first entry.
bool IsUtf16Text(std::string_view bytes);

}  // namespace tw::storage
