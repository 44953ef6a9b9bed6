#pragma once
// JSON text written straight into a file's bytes, for the one place where building
// the document as values first would cost the export most of its time: a session's
// solves. Reading JSON, and writing the rest, stays with the JSON library.
#include <cstdint>
#include <string>
#include <string_view>

namespace tw::exchange {

// `text` as a JSON string: quoted, with quotes, backslashes and control characters
// escaped, and each byte that does not belong to well-formed UTF-8 replaced by
// U+FFFD, as the library writes a string it is told to repair.
void AppendJsonString(std::string& out, std::string_view text);

void AppendJsonNumber(std::string& out, std::int64_t number);

}  // namespace tw::exchange
