#pragma once
#include <string>

namespace tw::storage {

// The settings file as first written: a banner before the one section, then the four
// keys with their default values, every line ending in CR LF.
std::string DefaultSettingsText(int major, int minor);

}  // namespace tw::storage
