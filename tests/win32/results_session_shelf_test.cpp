// Sessions on the shelf: each its own log beside Result.lst, the list kept in the
// settings file, a switch that reads the session's log, and a deleted session's log
// moved out of the folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "results/result_book.h"
#include "results/win32/log_file_store.h"
#include "results/win32/session_shelf.h"
#include "storage/win32/settings.h"
#include "storage/win32/wide_path.h"
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

// The items in the Recycle Bins of every drive, or -1 when the system cannot say.
long long RecycleBinItems() {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof(info);
  if (SHQueryRecycleBinW(nullptr, &info) != S_OK) return -1;
  return info.i64NumItems;
}

TEST_F(SessionShelfTest, DeletingASessionMovesItsLogToTheRecycleBinAndDropsItsKeys) {
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
  const long long binBefore = RecycleBinItems();
  ASSERT_GE(binBefore, 0) << "the Recycle Bin cannot be counted here";
  EXPECT_FALSE(shelf.Remove(1));
  EXPECT_TRUE(shelf.Remove(2));
  EXPECT_EQ(switched, 1) << "the windows leave the deleted session first";
  EXPECT_FALSE(FileExists(Path("Result 2.lst")));
  EXPECT_EQ(RecycleBinItems(), binBefore + 1) << "the log is in the Recycle Bin, not deleted for good";
  EXPECT_TRUE(shelf.IsFirst());
  EXPECT_EQ(shelf.List().All().size(), 1u);
  EXPECT_NE(Settings().find("Sessions=1\r\n"), std::string::npos) << Settings();
  EXPECT_EQ(Settings().find("Session 2 "), std::string::npos) << "its keys would bring it back:\n" << Settings();
}

// A stored list that lost sessions: each whose keys or log are there comes back and
// the list is stored again; a new session takes a number whose log is not there,
// even one that appeared since the start.
TEST_F(SessionShelfTest, SessionsTheListLostAreFoundAgainAndNewAdoptsNoLog) {
  WriteBytes(Path("Setting.ini"), "[General Settings]\r\nSessions=-1\r\nSession 3 Name=Pyraminx\r\n"
                                  "Session 3 Event=pyram\r\nCurrent Session=5\r\n");
  WriteBytes(Path("Result 2.lst"), kA + "\r\n");
  WriteBytes(Path("Result 5.lst"), kB + "\r\n");
  LogFileStore store(Path("Result.lst"));
  ResultBook first(store);
  first.Load();
  SessionShelf shelf(folder.path(), first);
  EXPECT_EQ(shelf.List().FoundAgain(), 3u);
  ASSERT_EQ(shelf.List().All().size(), 4u);
  EXPECT_EQ(shelf.List().All()[2].name, "Pyraminx");
  EXPECT_EQ(shelf.Current().number, 5) << "the session last shown is shown again";
  EXPECT_EQ(shelf.CurrentBook().Line(0), kB);
  EXPECT_NE(Settings().find("Sessions=1,2,3,5\r\n"), std::string::npos) << Settings();

  WriteBytes(Path("Result 4.lst"), "#another program's\r\n");
  ASSERT_EQ(shelf.Add("New", "333"), 6);
  EXPECT_EQ(shelf.CurrentBook().Size(), 0u) << "no solve of another log in the new session";
  shelf.CurrentBook().Append(kA);
  shelf.FlushAll();
  EXPECT_EQ(ReadBytes(Path("Result 4.lst")).value_or(""), "#another program's\r\n");

  // Stored whole again: the next start finds nothing lost.
  SessionShelf again(folder.path(), first);
  EXPECT_EQ(again.List().FoundAgain(), 1u) << "only Result 4.lst, which no session owns";
}

// Each Multi-Blind session keeps its own number of cubes; one stored before sessions
// kept their own takes the older global count, read once.
TEST_F(SessionShelfTest, TwoMultiBlindSessionsKeepTwoCounts) {
  WriteBytes(Path("Setting.ini"), "[General Settings]\r\nMulti-Blind Cubes=4\r\nSessions=1,2\r\n"
                                  "Session 2 Name=Old MBLD\r\nSession 2 Event=333mbf\r\n");
  LogFileStore store(Path("Result.lst"));
  ResultBook first(store);
  first.Load();
  {
    SessionShelf shelf(folder.path(), first);
    ASSERT_EQ(shelf.Add("MBLD 10", "333mbf", 10), 3);
    EXPECT_EQ(shelf.Current().cubes, 10);
    ASSERT_TRUE(shelf.Switch(1));
    EXPECT_EQ(shelf.Current().cubes, 4);
  }
  EXPECT_NE(Settings().find("Session 2 Cubes=4\r\n"), std::string::npos) << Settings();
  EXPECT_NE(Settings().find("Session 3 Cubes=10\r\n"), std::string::npos) << Settings();
  WriteBytes(Path("Setting.ini"), Settings() + "Multi-Blind Cubes=7\r\n");
  SessionShelf again(folder.path(), first);
  EXPECT_EQ(again.List().All()[1].cubes, 4);
  EXPECT_EQ(again.List().All()[2].cubes, 10);
}

// A save that failed is tried again at the next save of any session, and until it
// works the session is named as unsaved wherever the user is.
TEST_F(SessionShelfTest, EverySaveRetriesEverySessionWhoseSaveFailed) {
  LogFileStore store(Path("Result.lst"));
  ResultBook first(store);
  first.Load();
  SessionShelf shelf(folder.path(), first);
  int told = 0;
  shelf.onSaveStateChanged = [&told] { ++told; };
  ASSERT_EQ(shelf.Add("OH", "333oh"), 2);
  WriteBytes(Path("Result 2.lst"), "#kept\r\n");
  SetFileAttributesA(Path("Result 2.lst").c_str(), FILE_ATTRIBUTE_READONLY);
  shelf.CurrentBook().Append(kA);
  shelf.FlushAll();
  ASSERT_TRUE(shelf.CurrentBook().State().failed);
  EXPECT_TRUE(shelf.UnsavedElsewhere().empty()) << "the session shown says so itself";
  ASSERT_TRUE(shelf.Step(+1));
  EXPECT_EQ(shelf.UnsavedElsewhere(), std::vector<std::string>{"OH"});

  first.Append(kB);  // still read-only: tried, and still failed
  shelf.FlushAll();
  EXPECT_EQ(shelf.UnsavedElsewhere(), std::vector<std::string>{"OH"});
  SetFileAttributesA(Path("Result 2.lst").c_str(), FILE_ATTRIBUTE_NORMAL);
  told = 0;
  first.Append(kB);
  shelf.FlushAll();
  EXPECT_TRUE(shelf.UnsavedElsewhere().empty());
  EXPECT_GT(told, 0);
  EXPECT_EQ(ReadBytes(Path("Result 2.lst")).value_or(""), "#kept\r\n" + kA + "\r\n");
}

}  // namespace
}  // namespace tw::results

namespace tw::results {
namespace {

// Only the session shown is read at start-up; another is read when it is first shown,
// and one never shown is neither read nor written, even while another program holds it.
TEST_F(SessionShelfTest, ASessionNeverShownIsNeverReadNorWritten) {
  {
    LogFileStore store(Path("Result.lst"));
    ResultBook first(store);
    first.Load();
    SessionShelf shelf(folder.path(), first);
    ASSERT_EQ(shelf.Add("2x2x2", "222"), 2);
    ASSERT_EQ(shelf.Add("OH", "333oh"), 3);
  }
  WriteBytes(Path("Result.lst"), kA + "\r\n");
  WriteBytes(Path("Result 2.lst"), kB + "\r\n");
  // Held without sharing: a read of it would fail and show.
  const HANDLE held = CreateFileW(storage::Widen(Path("Result 2.lst")).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  LogFileStore store(Path("Result.lst"));
  ResultBook first(store);
  {
    SessionShelf shelf(folder.path(), first);
    ResultBook& shown = shelf.StartBook();  // session 3, as the main window gets it
    EXPECT_FALSE(shown.Loaded());
    shown.Load();
    shown.Append(kB);
    EXPECT_EQ(shelf.OpenBooks(), (std::vector<ResultBook*>{&shown}));
    EXPECT_FALSE(first.Loaded());

    ASSERT_TRUE(shelf.Step(+1));  // round the list to the first session: read now
    EXPECT_TRUE(first.Loaded());
    EXPECT_EQ(first.Lines(), (std::vector<std::string>{kA}));
    EXPECT_FALSE(shelf.AnyFailed());
    EXPECT_EQ(shelf.OpenBooks().size(), 2u);
  }
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(Path("Result 3.lst")).value_or(""), kB + "\r\n");
  EXPECT_EQ(ReadBytes(Path("Result 2.lst")).value_or(""), kB + "\r\n");
  EXPECT_EQ(ReadBytes(Path("Result.lst")).value_or(""), kA + "\r\n");
}

}  // namespace
}  // namespace tw::results
