#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "storage/win32/app_folder.h"
#include "storage/win32/item_exists_win.h"
#include "storage_temp_folder.h"

namespace tw::storage {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

TEST(ItemExistsOnWine, DriveRootsExistWithoutAFileSearch) {
  for (const char* root : {"C:", "C:\\", "c:", "c:\\", "Z:", "z:\\", " C:\\ "}) {
    EXPECT_TRUE(ItemExists(root)) << root;
  }
}

TEST(ItemExistsOnWine, RealDriveListAndTypes) {
  const std::string drives = LogicalDriveList(KernelExistenceQueries());
  EXPECT_NE(drives.find(std::string("C:\\\0", 4)), std::string::npos);
  EXPECT_NE(drives.find(std::string("Z:\\\0", 4)), std::string::npos);
  EXPECT_EQ(DriveTypeOf("C", KernelExistenceQueries()), DRIVE_FIXED);
  EXPECT_GE(DriveTypeOf("z:\\", KernelExistenceQueries()), 1);
}

TEST(ItemExistsOnWine, DriveMissingFromTheListIsFalse) {
  const DWORD present = GetLogicalDrives();
  int missing = 25;
  while (missing >= 0 && (present & (1u << missing))) --missing;
  ASSERT_GE(missing, 0) << "every drive letter is in use";
  const std::string letter(1, static_cast<char>('A' + missing));
  EXPECT_FALSE(ItemExists(letter + ":"));
  EXPECT_FALSE(ItemExists(letter + ":\\"));
  EXPECT_FALSE(ItemExists(letter + ":\\Windows"));
}

TEST(ItemExistsOnWine, FilesAndFoldersFoundBySearch) {
  TempFolder folder;
  WriteBytes(folder / "Beep.wav", "RIFF");
  const std::string bare = folder.path().substr(0, folder.path().size() - 1);
  const std::string padded = "  " + bare + "\\Beep.wav ";

  struct Case { std::string path; bool expected; };
  const Case cases[] = {
      {folder / "Beep.wav", true},
      {padded, true},
      {folder / "beep.WAV", true},
      {folder / "Ding.wav", false},
      {bare, true},
      {folder.path(), true},
      {" " + bare, true},
      {folder.path() + "\\", false},  // only one trailing backslash is forgiven
      {folder / "*.wav", true},       // a directory search: wildcards match
      {folder / "B??p.*", true},
      {folder / "*.ttf", false},
      {"", false},
      {"   ", false},
      {"C:\\windows", true},
  };
  for (const auto& c : cases) EXPECT_EQ(ItemExists(c.path), c.expected) << '"' << c.path << '"';
}

TEST(ItemExistsOnWine, FindsFilesInAFolderTheCodePageCannotSpell) {
  TempFolder folder("-\xe6\x97\xa5\xe6\x9c\xac");  // "日本"
  WriteBytes(folder / "Ding.wav", "RIFF");
  EXPECT_TRUE(ItemExists(folder / "Ding.wav"));
  EXPECT_TRUE(ItemExists(folder.path()));
  EXPECT_FALSE(ItemExists(folder / "Beep.wav"));
}

TEST(ApplicationFolder, IsThePrefixForFilesBesideTheExecutable) {
  const std::string folder = ApplicationFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_NE(folder.substr(folder.size() - 2), "\\\\");
  EXPECT_TRUE(ItemExists(folder + "win32_tests.exe")) << folder;
}

}  // namespace
}  // namespace tw::storage
