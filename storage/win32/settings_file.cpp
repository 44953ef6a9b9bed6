#include "storage/win32/settings_file.h"

#include <windows.h>

#include "storage/settings_text.h"
#include "storage/win32/file_handle.h"

namespace tw::storage {

namespace {
constexpr DWORD kValueBufferLength = 1024;
}  // namespace

void WriteDefaultSettings(const std::string& path) {
  const std::string text = DefaultSettingsText(TW_VERSION_MAJOR, TW_VERSION_MINOR);
  const FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  DWORD written = 0;
  WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string ReadINI(const std::string& section, const std::string& key, const std::string& def,
                    const std::string& path) {
  std::string buffer(kValueBufferLength, '\0');
  const DWORD copied = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(),
                                                kValueBufferLength, path.c_str());
  buffer.resize(copied);
  return buffer;
}

void WriteINI(const std::string& section, const std::string& key, const std::string& value,
              const std::string& path) {
  WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
}

}  // namespace tw::storage
