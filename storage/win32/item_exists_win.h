#pragma once
#include <string>

#include "storage/item_exists.h"

namespace tw::storage {

// The existence queries answered by kernel32 through its wide API (paths are UTF-8):
// GetLogicalDriveStringsW, GetDriveTypeW and FindFirstFileW/FindClose.
const ExistenceQueries& KernelExistenceQueries();

// True when the file, folder or drive root at the UTF-8 `path` exists on this machine.
bool ItemExists(const std::string& path);

}  // namespace tw::storage
