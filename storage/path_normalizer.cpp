#include "storage/path_normalizer.h"

namespace tw::storage {

std::string NormalizePath(std::string_view path) {
  std::string result(path);
  // Only a backslash counts: a trailing "/" still gets one, so callers can rely on "\".
  if (result.empty() || result.back() != '\\') result.push_back('\\');
  return result;
}

}  // namespace tw::storage
