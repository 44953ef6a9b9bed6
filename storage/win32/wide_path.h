#pragma once
// The one conversion between the program's narrow text and the system's wide API.
// Paths are held as UTF-8 text and handed to the system through its wide API, so a
// folder whose name the ANSI code page cannot hold still works. File contents are
// never converted: they stay bytes in the ANSI code page (CP_ACP converts the profile
// calls' text and the clipboard's both ways without changing a byte).
#include <windows.h>

#include <string>
#include <string_view>

namespace tw::storage {

inline std::wstring Widen(std::string_view text, UINT codePage = CP_UTF8) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

inline std::string Narrow(std::wstring_view wide, UINT codePage = CP_UTF8) {
  if (wide.empty()) return {};
  const int n =
      WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(), n, nullptr, nullptr);
  return narrow;
}

}  // namespace tw::storage
