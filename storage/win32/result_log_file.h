#pragma once
#include <string>
#include <vector>

namespace tw::storage {

// Every entry of the result log at `path`, oldest first. A missing or unreadable file
// is an empty log, and loading never creates the file.
std::vector<std::string> LoadResultLog(const std::string& path);

// Replaces the result log at `path` with `lines`, every entry kept. The new content is
// written beside the old file and swapped in only once it is complete on disk, so on
// false the previous file is still whole. Callers may ignore the answer.
bool WriteResultLog(const std::string& path, const std::vector<std::string>& lines);

// Removes the result log; false when it could not be removed (or was not there).
bool DeleteResultLog(const std::string& path);

}  // namespace tw::storage
