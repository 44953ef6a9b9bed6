#include "storage/win32/settings.h"

#include "storage/win32/app_folder.h"
#include "storage/win32/item_exists_win.h"
#include "storage/win32/settings_file.h"

namespace tw::settings {

namespace {

const std::string kSectionText(kSection);

std::string& TestFile() {
  static std::string path;
  return path;
}

std::string ReadText(std::string_view key, std::string_view missing) {
  return storage::ReadINI(kSectionText, std::string(key), std::string(missing), FilePath());
}

void WriteText(std::string_view key, std::string_view value) {
  storage::WriteINI(kSectionText, std::string(key), std::string(value), FilePath());
}

}  // namespace

const std::string& FilePath() {
  static const std::string program = storage::ApplicationFolder() + std::string(kFileName);
  return TestFile().empty() ? program : TestFile();
}

void SetFileForTesting(const std::string& path) { TestFile() = path; }

void CreateIfMissing() {
  if (!storage::ItemExists(FilePath())) storage::WriteDefaultSettings(FilePath());
}

Switch Read(const SwitchKey& key, Reader reader) {
  // The missing value is handed over as the profile's default text, so a missing key
  // and a key holding that text read alike, as the designed program reads them.
  return ParseSwitch(ReadText(key.name, SwitchText(key.Missing(reader) == Switch::kEnabled)));
}

bool IsEnabled(const SwitchKey& key, Reader reader) { return Read(key, reader) == Switch::kEnabled; }

void Write(const SwitchKey& key, bool enabled) { WriteText(key.name, SwitchText(enabled)); }

std::string Read(const TextKey& key) { return ReadText(key.name, key.missing); }

void Write(const TextKey& key, std::string_view value) { WriteText(key.name, value); }

std::optional<int> Read(const NumberKey& key) { return ParseNumber(key, ReadText(key.name, "")); }

void Write(const NumberKey& key, int value) { WriteText(key.name, std::to_string(value)); }

std::optional<std::string> ReadMadeKey(std::string_view key) {
  // A default no value can hold tells a missing key from an empty one.
  constexpr std::string_view kMissing = "\x01";
  std::string value = ReadText(key, kMissing);
  if (value == kMissing) return std::nullopt;
  return value;
}

void WriteMadeKey(std::string_view key, std::string_view value) { WriteText(key, value); }

}  // namespace tw::settings
