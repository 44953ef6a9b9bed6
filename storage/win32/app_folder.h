#pragma once
#include <string>

namespace tw::storage {

// The folder of the running executable as UTF-8, ending in "\", so that a data file
// name such as "Setting.ini" can be appended to it directly. Built afresh at every call.
std::string ApplicationFolder();

}  // namespace tw::storage
