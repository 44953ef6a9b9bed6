#include "storage/win32/item_exists_win.h"

#include <windows.h>

#include "storage/win32/wide_path.h"

namespace tw::storage {

namespace {

std::string DriveStrings(unsigned bufferLength) {
  std::wstring buffer(bufferLength, L' ');
  // On failure (a buffer too small) the call leaves the spaces alone: an empty list.
  // Roots are ASCII, so the UTF-8 list has the same layout as the wide one.
  GetLogicalDriveStringsW(bufferLength, buffer.data());
  return Narrow(buffer);
}

unsigned DriveType(const std::string& root) { return GetDriveTypeW(Widen(root).c_str()); }

// A handle is 64 bits wide here, so "found" is any handle but INVALID_HANDLE_VALUE
// rather than a handle that is positive when read as a 32-bit number.
bool FindFirst(const std::string& path) {
  WIN32_FIND_DATAW data;
  const HANDLE search = FindFirstFileW(Widen(path).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

}  // namespace

const ExistenceQueries& KernelExistenceQueries() {
  static const ExistenceQueries queries{DriveStrings, DriveType, FindFirst};
  return queries;
}

bool ItemExists(const std::string& path) { return ItemExists(path, KernelExistenceQueries()); }

}  // namespace tw::storage
