#pragma once
#include <string>

#include "storage/item_exists.h"

namespace tw::storage {

// The existence queries answered by kernel32: GetLogicalDriveStringsA, GetDriveTypeA
// and FindFirstFileA/FindClose.
const ExistenceQueries& KernelExistenceQueries();

// True when the file, folder or drive root exists on this machine.
bool ItemExists(const std::string& path);

}  // namespace tw::storage
