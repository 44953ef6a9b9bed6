#include "storage/win32/app_folder.h"

#include <windows.h>

#include "storage/path_normalizer.h"
#include "storage/win32/wide_path.h"

namespace tw::storage {

std::string ApplicationFolder() {
  // The wide name, so a folder the ANSI code page cannot spell is still found; a long
  // install path may not fit MAX_PATH, so grow until the name is not cut short.
  std::wstring module(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (length == 0) return NormalizePath("");
    if (length < module.size()) {
      module.resize(length);
      break;
    }
    module.resize(module.size() * 2);
  }
  const std::size_t slash = module.find_last_of(L"\\/");
  return NormalizePath(slash == std::wstring::npos ? std::string() : Narrow(std::wstring_view(module).substr(0, slash)));
}

}  // namespace tw::storage
