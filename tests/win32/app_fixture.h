#pragma once
// A fresh application folder in a temp directory, with the service seams
// answering for the clock, the sounds and the message boxes.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "toolkit/win32/services.h"

namespace tw::testing_support {

struct MessageBoxCall {
  std::string text, title;
  unsigned style;
};

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class AppFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    folder = std::string(temp) + "tw-app-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) +
             "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteFileBytes(folder + "Beep.wav", std::string(1282, '\0'));
    WriteFileBytes(folder + "Ding.wav", std::string(80856, '\0'));
    CopyFileA(TW_SOURCE_DIR "/resources/Digital-7.ttf", (folder + "Digital-7.ttf").c_str(), FALSE);
    SetAppFolderForTesting(folder);
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
    SetClockForTesting(nullptr);
    SetSoundPlayerForTesting(nullptr);
    SetMessageBoxForTesting(nullptr);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") {
          SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileA((folder + name).c_str());
        }
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
  }

  std::string Path(const char* name) const { return folder + name; }

  std::string folder;
  std::int64_t now = 5'000'000'000;  // far past 2^32 ms of uptime
  std::vector<std::string> sounds;
  std::vector<MessageBoxCall> boxes;
  int answer = IDYES;
};

}  // namespace tw::testing_support
