#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/settings_schema.h"
#include "storage/settings_store.h"

namespace tw::settings {
namespace {

// The file as a map; a read-only file takes no write.
class MapFile : public SettingsFile {
 public:
  std::optional<std::string> Read(std::string_view key) const override {
    const auto found = keys.find(std::string(key));
    if (found == keys.end()) return std::nullopt;
    return found->second;
  }
  void Write(std::string_view key, std::string_view value) override {
    if (!readOnly) keys[std::string(key)] = std::string(value);
  }
  void Remove(std::string_view key) override { keys.erase(std::string(key)); }
  std::vector<std::string> Keys() const override {
    std::vector<std::string> names;
    for (const auto& [key, value] : keys) names.push_back(key);
    return names;
  }
  void CreateIfMissing() override {
    if (keys.empty()) {
      for (const DefaultEntry& entry : kDefaultFile) keys[std::string(entry.key)] = std::string(entry.value);
    }
  }
  std::map<std::string, std::string> keys;
  bool readOnly = false;
};

class Recorder : public SettingsWatcher {
 public:
  void OnSettingChanged(std::string_view key) override { told.emplace_back(key); }
  std::vector<std::string> told;
};

TEST(SettingsStore, ReadsEachKeyAsStoredMissingOrDamaged) {
  MapFile file;
  SettingsStore store(file);
  struct Case {
    const char* stored;  // nullptr: the key is missing
    Switch countdownForTimer, countdownForOptions;
    std::optional<int> width;  // "Statistics Width" holding the same text
  };
  const Case cases[] = {
      {nullptr, Switch::kEnabled, Switch::kDisabled, kStatisticsDefaultWidthTwips},
      {"Enabled", Switch::kEnabled, Switch::kEnabled, kStatisticsDefaultWidthTwips},
      {"Disabled", Switch::kDisabled, Switch::kDisabled, kStatisticsDefaultWidthTwips},
      {"enabled", Switch::kOther, Switch::kOther, kStatisticsDefaultWidthTwips},  // case counts
      {"", Switch::kOther, Switch::kOther, kStatisticsDefaultWidthTwips},         // empty is not missing
      {"8000", Switch::kOther, Switch::kOther, 8000},
      {"80", Switch::kOther, Switch::kOther, kStatisticsDefaultWidthTwips},        // below the least
      {"9999999999", Switch::kOther, Switch::kOther, kStatisticsDefaultWidthTwips},  // past int
      {"8000x", Switch::kOther, Switch::kOther, kStatisticsDefaultWidthTwips},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "<missing>");
    file.keys.clear();
    if (c.stored) {
      file.keys["Countdown"] = c.stored;
      file.keys["Statistics Width"] = c.stored;
      file.keys["Last Frame"] = c.stored;
    }
    EXPECT_EQ(store.Read(kCountdown, Reader::kTimer), c.countdownForTimer);
    EXPECT_EQ(store.Read(kCountdown, Reader::kOptionsWindow), c.countdownForOptions);
    EXPECT_EQ(store.Read(kStatisticsWindow.width), c.width);
    EXPECT_EQ(store.Read(kLastFrame), c.stored ? std::string(c.stored) : std::string(kLastFrameAbout))
        << "a text key keeps whatever is stored, for its reader to judge";
  }
}

TEST(SettingsStore, HandEditsTakeEffectAtTheNextRead) {
  MapFile file;
  SettingsStore store(file);
  store.CreateIfMissing();
  EXPECT_TRUE(store.IsEnabled(kCountdown, Reader::kTimer));
  file.keys["Countdown"] = "Disabled";  // another program edits the file meanwhile
  EXPECT_FALSE(store.IsEnabled(kCountdown, Reader::kTimer));
  EXPECT_EQ(store.ReadMadeKey("Session 2 Name"), std::nullopt);
  file.keys["Session 2 Name"] = "";
  EXPECT_EQ(store.ReadMadeKey("Session 2 Name"), "") << "an empty key is not a missing one";
}

TEST(SettingsStore, WatchersAreToldOncePerWriteTheFileTook) {
  MapFile file;
  SettingsStore store(file);
  Recorder first, second;
  store.AddWatcher(first);
  store.AddWatcher(first);  // twice is once
  store.AddWatcher(second);

  store.Write(kShowHour, true);
  store.Write(kShowHour, true);  // the same text again: told again, as each F2 lays out
  store.Write(kStatisticsWindow.left, -20);
  store.WriteMadeKey("Session 2 Cubes", "5");
  EXPECT_EQ(file.keys["Show Hour"], "Enabled");
  EXPECT_EQ(file.keys["Statistics Left"], "-20");
  const std::vector<std::string> expected = {"Show Hour", "Show Hour", "Statistics Left", "Session 2 Cubes"};
  EXPECT_EQ(first.told, expected);
  EXPECT_EQ(second.told, expected);

  store.RemoveWatcher(second);
  file.readOnly = true;
  store.Write(kShowHour, false);
  EXPECT_EQ(first.told.size(), expected.size()) << "a write the file refused changes nothing and tells no one";
  file.readOnly = false;
  store.Write(kLastFrame, kLastFrameSetup);
  EXPECT_EQ(first.told.back(), "Last Frame");
  EXPECT_EQ(second.told, expected) << "a removed watcher hears nothing more";
}

// A window may close (and stop watching) while it is told of a change.
TEST(SettingsStore, AWatcherRemovedWhileToldIsNotToldAfterwards) {
  MapFile file;
  SettingsStore store(file);
  Recorder later;
  class Closing : public SettingsWatcher {
   public:
    Closing(SettingsStore& store, SettingsWatcher& other) : store_(store), other_(other) {}
    void OnSettingChanged(std::string_view) override { store_.RemoveWatcher(other_); }

   private:
    SettingsStore& store_;
    SettingsWatcher& other_;
  } closing(store, later);
  store.AddWatcher(closing);
  store.AddWatcher(later);
  store.Write(kInspection, true);
  EXPECT_TRUE(later.told.empty());
}

}  // namespace
}  // namespace tw::settings
