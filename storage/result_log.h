#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tw::storage {

// The result log's file image: every entry followed by CR LF, no header, no count.
// An empty log is zero bytes. Entries are bytes in the ANSI code page, never converted.
std::string SerializeResultLog(const std::vector<std::string>& lines);

// Reads the file image back one entry per line, verbatim: commas, quotes and leading
// blanks in a hand-edited line stay as they are. A line ends at LF, with a CR right
// before it dropped as well; a last line without a line end is still an entry. Any
// other byte, NUL and lone CR included, belongs to its line.
std::vector<std::string> ParseResultLog(std::string_view bytes);

}  // namespace tw::storage
