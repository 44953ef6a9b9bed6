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

SettingsStore*& StoreInUse() {
  static SettingsStore* store = nullptr;
  return store;
}

}  // namespace

const std::string& FilePath() {
  static const std::string program = storage::ApplicationFolder() + std::string(kFileName);
  return TestFile().empty() ? program : TestFile();
}

void SetFileForTesting(const std::string& path) { TestFile() = path; }

std::optional<std::string> ProfileSettingsFile::Read(std::string_view key) const {
  // A default no value can hold tells a missing key from an empty one.
  constexpr std::string_view kMissing = "\x01";
  std::string value = storage::ReadINI(kSectionText, std::string(key), std::string(kMissing), FilePath());
  if (value == kMissing) return std::nullopt;
  return value;
}

void ProfileSettingsFile::Write(std::string_view key, std::string_view value) {
  storage::WriteINI(kSectionText, std::string(key), std::string(value), FilePath());
}

void ProfileSettingsFile::Remove(std::string_view key) {
  storage::DeleteINI(kSectionText, std::string(key), FilePath());
}

std::vector<std::string> ProfileSettingsFile::Keys() const { return storage::ReadINIKeys(kSectionText, FilePath()); }

void ProfileSettingsFile::CreateIfMissing() {
  if (!storage::ItemExists(FilePath())) storage::WriteDefaultSettings(FilePath());
}

SettingsStore& Store() {
  if (SettingsStore* store = StoreInUse()) return *store;
  static ProfileSettingsFile file;
  static SettingsStore own(file);
  return own;
}

void UseStore(SettingsStore* store) { StoreInUse() = store; }



}  // namespace tw::settings
