#include "storage/win32/settings_file.h"

#include <windows.h>

#include <string_view>

#include "storage/settings_text.h"
#include "storage/win32/file_handle.h"
#include "storage/win32/wide_path.h"

namespace tw::storage {

namespace {

constexpr DWORD kValueBufferLength = 1024;

// Section, key and value are text in the ANSI code page. The profile API's wide form
// (taken for the path's sake) converts with that same code page on the way to and
// from a file without a byte-order mark, so converting here with CP_ACP both ways
// leaves the file's bytes exactly as the ANSI form wrote them.
std::wstring FromAnsi(std::string_view text) { return Widen(text, CP_ACP); }
std::string ToAnsi(std::wstring_view text) { return Narrow(text, CP_ACP); }

}  // namespace

void WriteDefaultSettings(const std::string& path) {
  const std::string text = DefaultSettingsText(TW_VERSION_MAJOR, TW_VERSION_MINOR);
  const FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  DWORD written = 0;
  WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string ReadINI(const std::string& section, const std::string& key, const std::string& def,
                    const std::string& path) {
  std::wstring buffer(kValueBufferLength, L'\0');
  const DWORD copied = GetPrivateProfileStringW(FromAnsi(section).c_str(), FromAnsi(key).c_str(),
                                                FromAnsi(def).c_str(), buffer.data(), kValueBufferLength,
                                                Widen(path).c_str());
  buffer.resize(copied);
  return ToAnsi(buffer);
}

std::vector<std::string> ReadINIKeys(const std::string& section, const std::string& path) {
  // The names come back NUL-separated in one buffer; a buffer too small comes back cut
  // two characters short of its size, so it grows until the list fits.
  std::wstring buffer(kValueBufferLength * 4, L'\0');
  DWORD copied = 0;
  for (;;) {
    copied = GetPrivateProfileStringW(FromAnsi(section).c_str(), nullptr, L"", buffer.data(),
                                      static_cast<DWORD>(buffer.size()), Widen(path).c_str());
    if (copied + 2 < buffer.size()) break;
    buffer.assign(buffer.size() * 2, L'\0');
  }
  std::vector<std::string> keys;
  std::wstring_view rest(buffer.data(), copied);
  while (!rest.empty()) {
    const std::size_t end = rest.find(L'\0');
    keys.push_back(ToAnsi(rest.substr(0, end)));
    rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 1);
  }
  return keys;
}

void DeleteINI(const std::string& section, const std::string& key, const std::string& path) {
  WritePrivateProfileStringW(FromAnsi(section).c_str(), FromAnsi(key).c_str(), nullptr, Widen(path).c_str());
}

void WriteINI(const std::string& section, const std::string& key, const std::string& value,
              const std::string& path) {
  WritePrivateProfileStringW(FromAnsi(section).c_str(), FromAnsi(key).c_str(), FromAnsi(value).c_str(),
                             Widen(path).c_str());
}

}  // namespace tw::storage
