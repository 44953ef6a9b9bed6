#pragma once
#include <string>
#include <vector>

namespace tw::storage {

// `path` is UTF-8, so any folder works; sections, keys and values are text in the
// ANSI code page and reach the file as the same bytes.

// Creates or truncates the settings file with its default content for this version.
// A file that cannot be written is left as it is, silently.
void WriteDefaultSettings(const std::string& path);

// One key of a section, or `def` when the file, the section or the key is missing.
// Values longer than 1,023 characters come back cut to 1,023.
std::string ReadINI(const std::string& section, const std::string& key, const std::string& def,
                    const std::string& path);

// The names of every key of a section, in file order; none when the file or the
// section is missing.
std::vector<std::string> ReadINIKeys(const std::string& section, const std::string& path);

// Takes one key out of its section. Failures go unnoticed.
void DeleteINI(const std::string& section, const std::string& key, const std::string& path);

// Writes one key, creating the file, section or key as needed. Failures go unnoticed.
void WriteINI(const std::string& section, const std::string& key, const std::string& value,
              const std::string& path);

}  // namespace tw::storage
