#include "storage/item_exists.h"

namespace tw::storage {

namespace {

std::string_view TrimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// Drive letters are ASCII, so ASCII case mapping answers every membership question the
// same way the code page's mapping would, and does not depend on the C locale.
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

constexpr unsigned kLowestDriveType = 1;   // no root directory
constexpr unsigned kHighestDriveType = 6;  // RAM disk
constexpr std::size_t kDriveRootLength = 2;  // "C:" once the backslash is gone

}  // namespace

std::string LogicalDriveList(const ExistenceQueries& queries) {
  const std::string buffer = queries.logicalDriveStrings(kLogicalDriveBufferLength);
  return std::string(TrimSpaces(buffer));
}

int DriveTypeOf(std::string_view text, const ExistenceQueries& queries) {
  const std::string_view trimmed = TrimSpaces(text);
  if (trimmed.empty()) return 0;
  const std::string root{AsciiUpper(trimmed.front()), ':'};
  const unsigned type = queries.driveType(root);
  return (type >= kLowestDriveType && type <= kHighestDriveType) ? static_cast<int>(type) : 0;
}

bool ItemExists(std::string_view path, const ExistenceQueries& queries) {
  std::string_view trimmed = TrimSpaces(path);
  if (!trimmed.empty() && trimmed.back() == '\\') trimmed.remove_suffix(1);
  if (trimmed.empty()) return false;

  // Any first character is looked up, not only letters: ":" and "\" occur in every
  // non-empty drive list, so such paths go on to the drive-type query and the search.
  const char letter = AsciiLower(trimmed.front());
  std::string drives = LogicalDriveList(queries);
  for (char& c : drives) c = AsciiLower(c);
  if (drives.find(letter) == std::string::npos) return false;

  if (DriveTypeOf(std::string_view(&letter, 1), queries) == 0) return false;
  if (trimmed.size() == kDriveRootLength) return true;
  return queries.findFirst(std::string(trimmed));
}

}  // namespace tw::storage
