// The settings file's keys as declared once: what each reads as when missing, which
// values it takes, letter for letter, and what the file holds when first written.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "storage/settings_schema.h"

namespace tw::settings {
namespace {

TEST(SettingsSchema, SwitchesMissingAsEachReaderReadsThem) {
  struct Case {
    const SwitchKey& key;
    std::string_view name;
    Switch timer;
    Switch options;
  };
  const Case cases[] = {
      // The timer counts down and logs unless told not to; the options window shows
      // the boxes of a key it cannot find unchecked.
      {kCountdown, "Countdown", Switch::kEnabled, Switch::kDisabled},
      {kLogResult, "Log Result", Switch::kEnabled, Switch::kDisabled},
      {kShowHour, "Show Hour", Switch::kDisabled, Switch::kDisabled},
      {kShowScramble, "Show Scramble", Switch::kDisabled, Switch::kDisabled},
      {kInspection, "Inspection", Switch::kDisabled, Switch::kDisabled},
      {kAnyKeyStops, "Any Key Stops", Switch::kDisabled, Switch::kDisabled},
      {kShowAverages, "Show Averages", Switch::kDisabled, Switch::kDisabled},
  };
  ASSERT_EQ(std::size(cases), kSwitchKeys.size());
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    EXPECT_EQ(c.key.name, c.name);
    EXPECT_EQ(c.key.Missing(Reader::kTimer), c.timer);
    EXPECT_EQ(c.key.Missing(Reader::kOptionsWindow), c.options);
  }
}

TEST(SettingsSchema, ASwitchIsOnlyEverTheExactTwoTexts) {
  struct Case {
    std::string_view text;
    Switch read;
  };
  const Case cases[] = {
      {"Enabled", Switch::kEnabled}, {"Disabled", Switch::kDisabled}, {"enabled", Switch::kOther},
      {"DISABLED", Switch::kOther},  {"Enabled ", Switch::kOther},    {" Enabled", Switch::kOther},
      {"", Switch::kOther},          {"1", Switch::kOther},           {"Enable", Switch::kOther},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseSwitch(c.text), c.read) << '"' << c.text << '"';
  EXPECT_EQ(SwitchText(true), "Enabled");
  EXPECT_EQ(SwitchText(false), "Disabled");
}

TEST(SettingsSchema, TextKeysTakeTheirValuesLetterForLetter) {
  EXPECT_EQ(kLastFrame.name, "Last Frame");
  EXPECT_EQ(kLastFrame.missing, "About");
  for (std::string_view value : {"Setup", "Result", "About", ""}) EXPECT_TRUE(kLastFrame.Allows(value)) << value;
  for (std::string_view value : {"about", "SETUP", "Result ", "Options"}) EXPECT_FALSE(kLastFrame.Allows(value)) << value;

  EXPECT_EQ(kStatisticsWindow.shown.name, "Statistics");
  EXPECT_EQ(kStatisticsWindow.shown.missing, "Hidden");
  EXPECT_TRUE(kStatisticsWindow.shown.Allows("Shown"));
  EXPECT_TRUE(kStatisticsWindow.shown.Allows("Hidden"));
  EXPECT_FALSE(kStatisticsWindow.shown.Allows("shown"));
  EXPECT_FALSE(kStatisticsWindow.shown.Allows(""));
  for (const TextKey* key : kTextKeys) EXPECT_TRUE(key->Allows(key->missing)) << key->name;
}

TEST(SettingsSchema, NumbersOutsideTheirRangeOrNotWholeReadAsTheFallback) {
  struct Case {
    const NumberKey& key;
    std::string_view text;
    std::optional<int> read;
  };
  const Case cases[] = {
      {kStatisticsWindow.left, "-1200", -1200},  // a monitor left of the primary one
      {kStatisticsWindow.left, "0", 0},
      {kStatisticsWindow.left, "", std::nullopt},  // missing
      {kStatisticsWindow.left, "+10", std::nullopt},
      {kStatisticsWindow.left, "10px", std::nullopt},
      {kStatisticsWindow.left, " 10", std::nullopt},
      {kStatisticsWindow.top, "99999999999", std::nullopt},
      {kStatisticsWindow.width, "8000", 8000},
      {kStatisticsWindow.width, "7500", 7500},
      {kStatisticsWindow.width, "7499", 9600},
      {kStatisticsWindow.width, "144000", 144000},
      {kStatisticsWindow.width, "144001", 9600},
      {kStatisticsWindow.width, "-8000", 9600},
      {kStatisticsWindow.width, "", 9600},
      {kStatisticsWindow.height, "5400", 5400},
      {kStatisticsWindow.height, "5399", 7200},
      {kStatisticsWindow.height, "0x1F40", 7200},
      {kStatisticsWindow.height, "7500.5", 7200},
      {kStatisticsWindow.height, "lots", 7200},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseNumber(c.key, c.text), c.read) << c.key.name << "=" << c.text;
  EXPECT_EQ(kStatisticsWindow.left.name, "Statistics Left");
  EXPECT_EQ(kStatisticsWindow.top.name, "Statistics Top");
  EXPECT_EQ(kStatisticsWindow.width.name, "Statistics Width");
  EXPECT_EQ(kStatisticsWindow.height.name, "Statistics Height");
}

// Off unless the file holds plain milliseconds the timer can wait: a missing key, the
// word, and every hand edit that is not a whole number in range read as off.
TEST(SettingsSchema, HoldToStartIsOffOrPlainMilliseconds) {
  EXPECT_EQ(kHoldToStart.text.name, "Hold To Start");
  EXPECT_EQ(kHoldToStart.text.missing, "Disabled");
  struct Case {
    std::string_view text;
    std::optional<int> delay;
  };
  const Case cases[] = {
      {"Disabled", std::nullopt}, {"", std::nullopt},      {"0", 0},
      {"550", 550},               {"1000", 1000},          {"5000", 5000},
      {"5001", std::nullopt},     {"-0", std::nullopt},    {"+300", std::nullopt},
      {" 300", std::nullopt},     {"300 ms", std::nullopt}, {"0300", 300},
      {"99999999999", std::nullopt}, {"disabled", std::nullopt}, {"Enabled", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(kHoldToStart.Parse(c.text), c.delay) << '"' << c.text << '"';
  for (const int offered : kHoldToStartOffered) {
    EXPECT_EQ(kHoldToStart.Parse(kHoldToStart.Text(offered)), offered);
  }
  EXPECT_EQ(kHoldToStart.Text(std::nullopt), "Disabled");
  EXPECT_EQ(kHoldToStart.Text(550), "550");
}

// The bytes of the first file are held by the storage tests; here, that each value it
// writes is one its key takes.
TEST(SettingsSchema, TheFirstFileWritesValuesItsKeysTake) {
  for (const DefaultEntry& entry : kDefaultFile) {
    bool allowed = false;
    for (const SwitchKey* key : kSwitchKeys) {
      if (key->name == entry.key) allowed = ParseSwitch(entry.value) != Switch::kOther;
    }
    for (const TextKey* key : kTextKeys) {
      if (key->name == entry.key) allowed = key->Allows(entry.value);
    }
    EXPECT_TRUE(allowed) << entry.key;
  }
}

TEST(SettingsSchema, EveryKeyIsDeclaredOnce) {
  std::set<std::string_view> names;
  std::size_t count = 0;
  for (const SwitchKey* key : kSwitchKeys) names.insert(key->name), ++count;
  for (const TextKey* key : kTextKeys) names.insert(key->name), ++count;
  for (const NumberKey* key : kNumberKeys) names.insert(key->name), ++count;
  // The sessions' keys, session 1's standing for every session's.
  std::vector<std::string> sessionKeys = {std::string(kSessions), std::string(kCurrentSession)};
  for (const SessionKey* key : kSessionKeys) sessionKeys.push_back(key->For(1));
  for (const std::string& key : sessionKeys) names.insert(key), ++count;
  EXPECT_EQ(names.size(), count);
}

TEST(SettingsSchema, ASessionKeyNamesItsSessionOnlyAsWritten) {
  EXPECT_EQ(kSessionCubes.For(12), "Session 12 Cubes");
  const struct {
    const char* key;
    std::optional<int> number;
  } cases[] = {
      {"Session 12 Cubes", 12}, {"SESSION 3 cubes", 3}, {"Session 012 Cubes", std::nullopt},
      {"Session -3 Cubes", std::nullopt}, {"Session +3 Cubes", std::nullopt}, {"Session  Cubes", std::nullopt},
      {"Session 3 Name", std::nullopt}, {"Session 3 Cubes ", std::nullopt}, {"Session 0 Cubes", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(kSessionCubes.NumberIn(c.key), c.number) << c.key;
}

}  // namespace
}  // namespace tw::settings
