#pragma once
// The program's settings file read and written through the keys of the schema:
// every key's name, type and missing value come from there, never from a literal.
#include <optional>
#include <string>
#include <string_view>

#include "storage/settings_schema.h"

namespace tw::settings {

// "<the program's folder>\Setting.ini", worked out at the first call.
const std::string& FilePath();
// Points every read and write at another file (a test's); an empty path points them
// back at the program's own.
void SetFileForTesting(const std::string& path);

// Writes the designed default file when there is none (start-up).
void CreateIfMissing();

// A switch as `reader` reads it: a missing key is the reader's designed default,
// any text but the exact two is Switch::kOther.
Switch Read(const SwitchKey& key, Reader reader);
// True only for exactly "Enabled" (a missing key as `reader` reads it).
bool IsEnabled(const SwitchKey& key, Reader reader);
void Write(const SwitchKey& key, bool enabled);

// The text as stored (cut to 1,023 characters), or the key's missing value. The
// caller compares it with the allowed values: a text it does not know is kept.
std::string Read(const TextKey& key);
// `value` should be one of key.allowed.
void Write(const TextKey& key, std::string_view value);

// The number as stored when it makes sense for the key, else its fallback.
std::optional<int> Read(const NumberKey& key);
void Write(const NumberKey& key, int value);

// Keys made at run time, one set per session (their names are declared with the
// session list): nothing when the key is missing.
std::optional<std::string> ReadMadeKey(std::string_view key);
void WriteMadeKey(std::string_view key, std::string_view value);

}  // namespace tw::settings
