#pragma once
// The one owner of the settings: every read and write of a key goes through the store,
// typed by the key's declaration in the schema, and every window that shows a setting
// watches the store for the keys it cares about.
//
// Nothing is cached: each read asks the file again, so a hand edit made while the
// program runs takes effect at the next read (the timer reads "Countdown" at each
// Space). A watcher hears of the program's own writes, once per write the file took,
// after the text is in it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/settings_schema.h"

namespace tw::settings {

// Where the keys are kept. Values are text in the ANSI code page, kept byte for byte.
class SettingsFile {
 public:
  virtual ~SettingsFile() = default;
  // The key's text as stored, or nothing when the file, the section or the key is missing.
  virtual std::optional<std::string> Read(std::string_view key) const = 0;
  // Writes one key, creating the file or the key as needed. A failure goes unnoticed:
  // the setting then reads as before.
  virtual void Write(std::string_view key, std::string_view value) = 0;
  // Writes the default file when there is none.
  virtual void CreateIfMissing() = 0;
  // Takes one key out of the file. A failure goes unnoticed.
  virtual void Remove(std::string_view key) = 0;
  // The name of every key in the file, in its order.
  virtual std::vector<std::string> Keys() const = 0;
};

class SettingsWatcher {
 public:
  // `key` was written (the text is already in the file).
  virtual void OnSettingChanged(std::string_view key) = 0;

 protected:
  ~SettingsWatcher() = default;
};

class SettingsStore {
 public:
  // The file must outlive the store.
  explicit SettingsStore(SettingsFile& file) : file_(file) {}
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  void CreateIfMissing() { file_.CreateIfMissing(); }

  // A switch as `reader` reads it: a missing key is the reader's default, any text but
  // the exact two is Switch::kOther.
  Switch Read(const SwitchKey& key, Reader reader) const;
  // True only for exactly "Enabled" (a missing key as `reader` reads it).
  bool IsEnabled(const SwitchKey& key, Reader reader) const { return Read(key, reader) == Switch::kEnabled; }
  void Write(const SwitchKey& key, bool enabled) { Store(key.name, SwitchText(enabled)); }

  // The text as stored, or the key's missing value. The caller compares it with the
  // allowed values: a text it does not know is kept.
  std::string Read(const TextKey& key) const;
  void Write(const TextKey& key, std::string_view value) { Store(key.name, value); }

  // The number as stored when it makes sense for the key, else its fallback.
  std::optional<int> Read(const NumberKey& key) const;
  void Write(const NumberKey& key, int value) { Store(key.name, std::to_string(value)); }

  // Keys whose names are made at run time (one set per session): nothing when missing.
  std::optional<std::string> ReadMadeKey(std::string_view key) const { return file_.Read(key); }
  void WriteMadeKey(std::string_view key, std::string_view value) { Store(key, value); }
  // A session's keys go with the session; nobody watches them.
  void DeleteMadeKey(std::string_view key) { file_.Remove(key); }
  std::vector<std::string> KeyNames() const { return file_.Keys(); }

  // A watcher is told of every change until it is removed; adding one twice tells it once.
  void AddWatcher(SettingsWatcher& watcher);
  void RemoveWatcher(SettingsWatcher& watcher);

 private:
  void Store(std::string_view key, std::string_view value);

  SettingsFile& file_;
  std::vector<SettingsWatcher*> watchers_;
};

}  // namespace tw::settings
