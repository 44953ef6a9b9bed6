#pragma once
// A fresh application folder in a temp directory, with the service seams
// answering for the clock, the sounds and the message boxes.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "storage/win32/settings.h"
#include "tests/win32/storage_temp_folder.h"
#include "toolkit/win32/services.h"

namespace tw::testing_support {

struct MessageBoxCall {
  std::string text, title;
  unsigned style;
};

using storage::testing::FileExists;
inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  storage::testing::WriteBytes(path, bytes);
}

inline std::string ReadFileBytes(const std::string& path) { return storage::testing::ReadBytes(path).value_or(""); }

class AppFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp.emplace();
    folder = temp->path();
    WriteFileBytes(folder + "Beep.wav", std::string(1282, '\0'));
    WriteFileBytes(folder + "Ding.wav", std::string(80856, '\0'));
    CopyFileA(TW_SOURCE_DIR "/resources/Digital-7.ttf", (folder + "Digital-7.ttf").c_str(), FALSE);
    SetAppFolderForTesting(folder);
    settings::SetFileForTesting(folder + std::string(settings::kFileName));
    SetClockForTesting([this] { return now; });
    SetSoundPlayerForTesting([this](const std::string& path) { sounds.push_back(path.substr(folder.size())); });
    SetMessageBoxForTesting([this](HWND, const std::string& text, const std::string& title, unsigned style) {
      boxes.push_back({text, title, style});
      return answer;
    });
  }

  void TearDown() override {
    RemoveFontResourceExA((folder + "Digital-7.ttf").c_str(), FR_PRIVATE, nullptr);
    SetAppFolderForTesting("");
    settings::SetFileForTesting("");
    SetClockForTesting(nullptr);
    SetSoundPlayerForTesting(nullptr);
    SetMessageBoxForTesting(nullptr);
    temp.reset();
  }

  std::string Path(const char* name) const { return folder + name; }

  std::optional<storage::testing::TempFolder> temp;
  std::string folder;
  std::int64_t now = 5'000'000'000;  // far past 2^32 ms of uptime
  std::vector<std::string> sounds;
  std::vector<MessageBoxCall> boxes;
  int answer = IDYES;
};

}  // namespace tw::testing_support
