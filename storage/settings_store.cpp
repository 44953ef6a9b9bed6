#include "storage/settings_store.h"

#include <algorithm>

namespace tw::settings {

Switch SettingsStore::Read(const SwitchKey& key, Reader reader) const {
  // A missing key reads as the text of the reader's default, so a missing key and a
  // key holding that text read alike.
  const std::optional<std::string> stored = file_.Read(key.name);
  if (!stored) return key.Missing(reader);
  return ParseSwitch(*stored);
}

std::string SettingsStore::Read(const TextKey& key) const {
  std::optional<std::string> stored = file_.Read(key.name);
  return stored ? std::move(*stored) : std::string(key.missing);
}

std::optional<int> SettingsStore::Read(const NumberKey& key) const {
  return ParseNumber(key, file_.Read(key.name).value_or(std::string()));
}

void SettingsStore::AddWatcher(SettingsWatcher& watcher) {
  if (std::find(watchers_.begin(), watchers_.end(), &watcher) == watchers_.end()) watchers_.push_back(&watcher);
}

void SettingsStore::RemoveWatcher(SettingsWatcher& watcher) {
  watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), &watcher), watchers_.end());
}

void SettingsStore::Store(std::string_view key, std::string_view value) {
  file_.Write(key, value);
  // Told only when the file took the text: a failed write leaves the setting as it was.
  // A write of the text already there is told too: the Show Hour box set from code
  // lays the digits out and centres the timer again, as each of its clicks does.
  if (file_.Read(key) != value) return;
  // A watcher may add or remove watchers while it is told.
  const std::vector<SettingsWatcher*> told = watchers_;
  for (SettingsWatcher* watcher : told) {
    if (std::find(watchers_.begin(), watchers_.end(), watcher) != watchers_.end()) watcher->OnSettingChanged(key);
  }
}

}  // namespace tw::settings
