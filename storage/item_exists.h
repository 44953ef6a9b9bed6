#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace tw::storage {

// The three platform questions the existence test is built on, injected so the
// algorithm runs (and is tested) without Windows.
struct ExistenceQueries {
  // The buffer GetLogicalDriveStrings leaves behind when handed `bufferLength`
  // spaces: "C:\<NUL>Z:\<NUL><NUL>" followed by the untouched spaces.
  std::function<std::string(unsigned bufferLength)> logicalDriveStrings;
  // GetDriveType of a root written as letter and colon ("C:").
  std::function<unsigned(const std::string& root)> driveType;
  // Whether a directory search (FindFirstFile, closed at once) finds at least one entry.
  std::function<bool(const std::string& path)> findFirst;
};

// Room for all 26 roots of four characters each.
inline constexpr unsigned kLogicalDriveBufferLength = 104;

// The logical drive list with the surrounding spaces trimmed; the NULs stay in it.
std::string LogicalDriveList(const ExistenceQueries& queries);

// The drive-type code (1 no root directory ... 6 RAM disk) of the drive named by the
// first character of `text`; any other answer, and a blank text, give 0.
int DriveTypeOf(std::string_view text, const ExistenceQueries& queries);

// True when a file, folder or drive root exists. Surrounding spaces and one trailing
// backslash are ignored; a drive root is answered without searching the disk.
bool ItemExists(std::string_view path, const ExistenceQueries& queries);

}  // namespace tw::storage
