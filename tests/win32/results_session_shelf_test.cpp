// Sessions on the shelf: each its own log beside Result.lst, the list kept in the
// settings file, a switch that reads the session's log, and a deleted session's log
// moved out of the folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "results/result_book.h"
#include "results/win32/log_file_store.h"
#include "results/win32/session_shelf.h"
#include "storage/win32/settings.h"
#include "storage_temp_folder.h"

namespace tw::results {
namespace {

using storage::testing::FileExists;
using storage::testing::ReadBytes;
using storage::testing::TempFolder;
using storage::testing::WriteBytes;

const std::string kA = "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34";
const std::string kB = "#Date: 07/12/2026 | Time: 14:06:10 | Result: 00:00:03:02";

class SessionShelfTest : public ::testing::Test {
 protected:
  void SetUp() override { settings::SetFileForTesting(folder.path() + "Setting.ini"); }
  void TearDown() override { settings::SetFileForTesting(""); }

  std::string Path(const char* name) const { return folder.path() + name; }
  std::string Settings() const { return ReadBytes(Path("Setting.ini")).value_or(""); }

  TempFolder folder;
};

TEST_F(SessionShelfTest, EachSessionKeepsItsOwnLogAndTheListIsStored) {
  WriteBytes(Path("Result.lst"), kA + "\r\n");
  LogFileStore store(Path("Result.lst"));
  ResultBook first(store);
  first.Load();
  int switched = 0;
  {
    SessionShelf shelf(folder.path(), first);
    shelf.onSwitched = [&switched] { ++switched; };
    EXPECT_TRUE(shelf.IsFirst());
    EXPECT_EQ(shelf.Current().name, "3x3x3");
    EXPECT_EQ(Settings(), "") << "nothing is written until a session is made";

    ASSERT_EQ(shelf.Add("2x2x2", "222"), 2);
    EXPECT_EQ(switched, 1);
    EXPECT_FALSE(shelf.IsFirst());
    EXPECT_EQ(shelf.CurrentBook().Size(), 0u);
    shelf.CurrentBook().Append(kB);
    EXPECT_TRUE(shelf.Step(+1));  // round the list to the first
    EXPECT_EQ(&shelf.CurrentBook(), &first);
    EXPECT_TRUE(shelf.Step(-1));
    EXPECT_EQ(shelf.Current().number, 2);
    shelf.FlushAll();
    EXPECT_EQ(ReadBytes(Path("Result 2.lst")).value_or(""), kB + "\r\n");
    EXPECT_EQ(ReadBytes(Path("Result.lst")).value_or(""), kA + "\r\n");
    EXPECT_NE(Settings().find("Sessions=1,2"), std::string::npos) << Settings();
    EXPECT_NE(Settings().find("Session 2 Event=222"), std::string::npos) << Settings();
    EXPECT_NE(Settings().find("Current Session=2"), std::string::npos) << Settings();
  }
  // The next start comes back to the same session, its log read at the switch.
  SessionShelf again(folder.path(), first);
  EXPECT_EQ(again.Current().name, "2x2x2");
  ASSERT_EQ(again.CurrentBook().Size(), 1u);
  EXPECT_EQ(again.CurrentBook().Line(0), kB);
}

TEST_F(SessionShelfTest, DeletingASessionTakesItsLogOutOfTheFolderButNeverTheFirst) {
  LogFileStore store(Path("Result.lst"));
  ResultBook first(store);
  first.Load();
  SessionShelf shelf(folder.path(), first);
  ASSERT_EQ(shelf.Add("OH", "333oh"), 2);
  shelf.CurrentBook().Append(kA);
  shelf.FlushAll();
  ASSERT_TRUE(FileExists(Path("Result 2.lst")));
  int switched = 0;
  shelf.onSwitched = [&switched] { ++switched; };
  EXPECT_FALSE(shelf.Remove(1));
  EXPECT_TRUE(shelf.Remove(2));
  EXPECT_EQ(switched, 1) << "the windows leave the deleted session first";
  EXPECT_FALSE(FileExists(Path("Result 2.lst")));
  EXPECT_TRUE(shelf.IsFirst());
  EXPECT_EQ(shelf.List().All().size(), 1u);
  EXPECT_NE(Settings().find("Sessions=1\r\n"), std::string::npos) << Settings();
}

}  // namespace
}  // namespace tw::results
