#include "storage/win32/app_folder.h"

#include <windows.h>

#include "storage/path_normalizer.h"

namespace tw::storage {

std::string ApplicationFolder() {
  // A long install path may not fit MAX_PATH; grow until the name is not cut short.
  std::string module(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (length == 0) return NormalizePath("");
    if (length < module.size()) {
      module.resize(length);
      break;
    }
    module.resize(module.size() * 2);
  }
  const std::size_t slash = module.find_last_of("\\/");
  return NormalizePath(slash == std::string::npos ? std::string_view{} : std::string_view(module).substr(0, slash));
}

}  // namespace tw::storage
