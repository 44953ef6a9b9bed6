// The typed accessor over a real settings file: each reader's missing values, exact
// texts, numbers that make no sense, and writes that other readers see.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "storage/settings_text.h"
#include "storage/win32/settings.h"
#include "storage_temp_folder.h"

namespace tw::settings {
namespace {

using storage::testing::ReadBytes;
using storage::testing::TempFolder;
using storage::testing::WriteBytes;

class Settings : public ::testing::Test {
 protected:
  void SetUp() override { SetFileForTesting(ini); }
  void TearDown() override { SetFileForTesting(""); }

  TempFolder folder;
  const std::string ini = folder / "Setting.ini";
};

TEST_F(Settings, SwitchesReadAsEachReaderReadsThem) {
  WriteBytes(ini,
             "[General Settings]\r\nLog Result=enabled\r\nShow Hour=Enabled\r\nShow Scramble=\r\n"
             "Inspection=Disabled\r\n");
  // Countdown is missing: the timer counts down, the options window shows it off.
  EXPECT_EQ(Read(kCountdown, Reader::kTimer), Switch::kEnabled);
  EXPECT_EQ(Read(kCountdown, Reader::kOptionsWindow), Switch::kDisabled);
  // Present, a value is read alike by both, and only the exact text counts.
  for (Reader reader : {Reader::kTimer, Reader::kOptionsWindow}) {
    EXPECT_EQ(Read(kLogResult, reader), Switch::kOther);
    EXPECT_EQ(Read(kShowHour, reader), Switch::kEnabled);
    EXPECT_EQ(Read(kShowScramble, reader), Switch::kOther) << "an empty value is not a missing key";
    EXPECT_EQ(Read(kInspection, reader), Switch::kDisabled);
  }
  EXPECT_FALSE(IsEnabled(kLogResult, Reader::kTimer));
  EXPECT_TRUE(IsEnabled(kShowHour, Reader::kOptionsWindow));

  Write(kLogResult, true);
  Write(kCountdown, false);
  EXPECT_EQ(Read(kLogResult, Reader::kOptionsWindow), Switch::kEnabled);
  EXPECT_EQ(Read(kCountdown, Reader::kTimer), Switch::kDisabled);
  EXPECT_NE(ReadBytes(ini)->find("Countdown=Disabled\r\n"), std::string::npos);
}

TEST_F(Settings, TextsAndNumbers) {
  WriteBytes(ini, "[General Settings]\r\nLast Frame=\r\nStatistics Left=-40\r\nStatistics Width=12\r\n");
  EXPECT_EQ(Read(kLastFrame), "");
  EXPECT_EQ(Read(kStatisticsWindow.shown), "Hidden");
  EXPECT_EQ(Read(kStatisticsWindow.left), -40);
  EXPECT_EQ(Read(kStatisticsWindow.top), std::nullopt);
  EXPECT_EQ(Read(kStatisticsWindow.width), 9600) << "below its minimum";
  EXPECT_EQ(Read(kStatisticsWindow.height), 7200);

  Write(kLastFrame, "Result");
  Write(kStatisticsWindow.top, 30);
  EXPECT_EQ(Read(kLastFrame), "Result");
  EXPECT_EQ(Read(kStatisticsWindow.top), 30);
}

TEST_F(Settings, TheDefaultFileIsWrittenOnlyWhenThereIsNone) {
  CreateIfMissing();
  const std::string defaults = storage::DefaultSettingsText(TW_VERSION_MAJOR, TW_VERSION_MINOR);
  EXPECT_EQ(ReadBytes(ini), defaults);
  EXPECT_EQ(Read(kLastFrame), "About");
  Write(kShowHour, true);
  CreateIfMissing();
  EXPECT_EQ(Read(kShowHour, Reader::kTimer), Switch::kEnabled);
}

TEST(SettingsPath, IsSettingIniInTheProgramsFolder) {
  const std::string& path = FilePath();
  ASSERT_GT(path.size(), 12u);
  EXPECT_EQ(path.substr(path.size() - 12), "\\Setting.ini");
}

}  // namespace
}  // namespace tw::settings
