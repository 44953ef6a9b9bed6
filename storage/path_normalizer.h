#pragma once
#include <string>
#include <string_view>

namespace tw::storage {

// Turns a folder as the platform reports it into a prefix a bare file name can be
// appended to: the path with exactly one "\" added unless it already ends in one.
std::string NormalizePath(std::string_view path);

}  // namespace tw::storage
