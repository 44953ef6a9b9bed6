#pragma once
// The program's settings store over Setting.ini, and the typed reads and writes every
// window makes through it: every key's name, type and missing value come from the
// schema, never from a literal.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/settings_schema.h"
#include "storage/settings_store.h"

namespace tw::settings {

// "<the program's folder>\Setting.ini", worked out at the first call.
const std::string& FilePath();
// Points every read and write at another file (a test's); an empty path points them
// back at the program's own.
void SetFileForTesting(const std::string& path);

// Setting.ini through the profile calls, at FilePath() as it is at each call.
class ProfileSettingsFile final : public SettingsFile {
 public:
  std::optional<std::string> Read(std::string_view key) const override;
  void Write(std::string_view key, std::string_view value) override;
  void CreateIfMissing() override;
  void Remove(std::string_view key) override;
  std::vector<std::string> Keys() const override;
};

// The store of the program's settings: the one WinMain made and handed over with
// UseStore, or until then one of this module's own over the same file, so that a
// window made by a test reads and writes the file just as in the program.
SettingsStore& Store();
// `store` serves every read and write from now on (null: this module's own again);
// it must outlive its use.
void UseStore(SettingsStore* store);

// Writes the default file when there is none (start-up).
inline void CreateIfMissing() { Store().CreateIfMissing(); }

inline Switch Read(const SwitchKey& key, Reader reader) { return Store().Read(key, reader); }
inline bool IsEnabled(const SwitchKey& key, Reader reader) { return Store().IsEnabled(key, reader); }
inline void Write(const SwitchKey& key, bool enabled) { Store().Write(key, enabled); }

inline std::string Read(const TextKey& key) { return Store().Read(key); }
// `value` should be one of key.allowed.
inline void Write(const TextKey& key, std::string_view value) { Store().Write(key, value); }

inline std::optional<int> Read(const NumberKey& key) { return Store().Read(key); }
inline void Write(const NumberKey& key, int value) { Store().Write(key, value); }

inline std::optional<std::string> ReadMadeKey(std::string_view key) { return Store().ReadMadeKey(key); }
inline void WriteMadeKey(std::string_view key, std::string_view value) { Store().WriteMadeKey(key, value); }
inline void DeleteMadeKey(std::string_view key) { Store().DeleteMadeKey(key); }
// The name of every key in the file (finding sessions the list leaves out).
inline std::vector<std::string> KeyNames() { return Store().KeyNames(); }

}  // namespace tw::settings
