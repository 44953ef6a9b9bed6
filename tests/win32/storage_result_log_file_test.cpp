#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "storage/result_log.h"
#include "storage/win32/result_log_file.h"
#include "toolkit/win32/system_text.h"
#include "storage/win32/wide_path.h"
#include "storage_temp_folder.h"

namespace tw::storage {
namespace {

using namespace std::string_literals;
using testing::FileExists;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
using Lines = std::vector<std::string>;

const std::string kLine = "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34";

class ResultLogFile : public ::testing::Test {
 protected:
  // Nothing but the log itself may be left in the folder after a write.
  void ExpectNoTempFiles() { ExpectOnlyTheLog(folder); }

  static void ExpectOnlyTheLog(const TempFolder& in) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(Widen(in / "*").c_str(), &entry);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
      const std::string name = Narrow(entry.cFileName);
      EXPECT_TRUE(name == "." || name == ".." || name == "Result.lst") << "left behind: " << name;
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }

  TempFolder folder;
  const std::string log = folder / "Result.lst";
};

TEST_F(ResultLogFile, RoundTripKeepsEveryByte) {
  const Lines lines = {kLine, "", "  blanks, a comma and \"quotes\"", "\xe9t\xe9 \x80\xff", "last"};
  ASSERT_TRUE(WriteResultLog(log, lines));
  EXPECT_EQ(ReadBytes(log), SerializeResultLog(lines));
  EXPECT_EQ(LoadResultLog(log), lines);
  ExpectNoTempFiles();
}

TEST_F(ResultLogFile, EmptyListWritesAZeroByteFile) {
  ASSERT_TRUE(WriteResultLog(log, {}));
  EXPECT_EQ(ReadBytes(log), "");

  WriteBytes(log, kLine + "\r\n");
  ASSERT_TRUE(WriteResultLog(log, {}));
  EXPECT_EQ(ReadBytes(log), "");
  EXPECT_EQ(LoadResultLog(log), Lines{});
}

TEST_F(ResultLogFile, EveryEntryIsKeptInOrder) {
  Lines lines;
  for (int i = 0; i < 5000; ++i) lines.push_back(kLine + " " + std::to_string(i));
  ASSERT_TRUE(WriteResultLog(log, lines));
  EXPECT_EQ(LoadResultLog(log), lines);

  lines.resize(3);  // a shorter log replaces a longer one completely
  ASSERT_TRUE(WriteResultLog(log, lines));
  EXPECT_EQ(ReadBytes(log), SerializeResultLog(lines));
  ExpectNoTempFiles();
}

TEST_F(ResultLogFile, MissingFileLoadsEmptyAndIsNotCreated) {
  EXPECT_EQ(LoadResultLog(log), Lines{});
  EXPECT_FALSE(FileExists(log));

  WriteBytes(log, "");
  EXPECT_EQ(LoadResultLog(log), Lines{});
}

TEST_F(ResultLogFile, HandEditedLinesLoadVerbatim) {
  WriteBytes(log, "a, b\r\n\"quoted\" tail\r\n   indented\nno line end");
  EXPECT_EQ(LoadResultLog(log), (Lines{"a, b", "\"quoted\" tail", "   indented", "no line end"}));
}

TEST_F(ResultLogFile, BinaryBytesAndAHugeLineLoad) {
  std::string binary;
  for (int i = 0; i < 64 * 1024; ++i) binary.push_back(static_cast<char>((i * 131 + 7) & 0xff));
  binary += "\0\0\r\n"s;
  WriteBytes(log, binary);
  EXPECT_EQ(LoadResultLog(log), ParseResultLog(binary));

  const std::string megabyte(1 << 20, 'x');
  WriteBytes(log, megabyte);
  EXPECT_EQ(LoadResultLog(log), Lines{megabyte});
}

TEST_F(ResultLogFile, ReadOnlyLogKeepsItsContent) {
  WriteBytes(log, kLine + "\r\n");
  SetFileAttributesA(log.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(WriteResultLog(log, {"new"}));
  EXPECT_EQ(ReadBytes(log), kLine + "\r\n");
  EXPECT_EQ(LoadResultLog(log), Lines{kLine});
  ExpectNoTempFiles();
}

// Another program reading the log without letting others write or delete it.
TEST_F(ResultLogFile, LockedLogKeepsItsContent) {
  WriteBytes(log, kLine + "\r\n");
  const HANDLE holder = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteResultLog(log, {kLine, "new"}));
  EXPECT_EQ(LoadResultLog(log), Lines{kLine}) << "loading shares the file with its holder";
  CloseHandle(holder);
  EXPECT_EQ(ReadBytes(log), kLine + "\r\n");
  ExpectNoTempFiles();

  ASSERT_TRUE(WriteResultLog(log, {kLine, "new"})) << "released, the log is writable again";
  EXPECT_EQ(LoadResultLog(log), (Lines{kLine, "new"}));
}

TEST_F(ResultLogFile, LogOpenWithoutSharingLoadsEmptyWithoutHarm) {
  WriteBytes(log, kLine + "\r\n");
  const HANDLE holder = CreateFileA(log.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(LoadResultLog(log), Lines{});
  EXPECT_FALSE(WriteResultLog(log, {"new"}));
  CloseHandle(holder);
  EXPECT_EQ(ReadBytes(log), kLine + "\r\n");
  ExpectNoTempFiles();
}

TEST_F(ResultLogFile, MissingFolderFailsWithTheSystemsReason) {
  unsigned long error = 0;
  EXPECT_FALSE(WriteResultLog(folder / "missing\\Result.lst", {kLine}, &error));
  EXPECT_NE(error, 0u);
  EXPECT_FALSE(tw::SystemErrorText(error).empty());
  EXPECT_EQ(LoadResultLog(folder / "missing\\Result.lst"), Lines{});
  EXPECT_EQ(ReadResultLog(folder / "missing\\Result.lst").state, ResultLogRead::State::kMissing);
}

// Whichever step fails, the old log is whole and no temporary file is left behind;
// the next save works.
TEST_F(ResultLogFile, NoFailingStepTouchesTheOldLog) {
  using testing::WriteFault;
  Lines old;
  for (int i = 0; i < 1000; ++i) old.push_back(kLine + " " + std::to_string(i));
  for (const WriteFault fault : {WriteFault::kOpen, WriteFault::kWrite, WriteFault::kFlush, WriteFault::kRename}) {
    SCOPED_TRACE(static_cast<int>(fault));
    WriteBytes(log, SerializeResultLog(old));
    testing::InjectWriteFault(fault);
    unsigned long error = 0;
    EXPECT_FALSE(WriteResultLog(log, {"new"}, &error));
    testing::InjectWriteFault(WriteFault::kNone);
    EXPECT_NE(error, 0u);
    EXPECT_EQ(ReadBytes(log), SerializeResultLog(old));
    ExpectNoTempFiles();
  }
  ASSERT_TRUE(WriteResultLog(log, {"new"}));
  EXPECT_EQ(ReadBytes(log), "new\r\n");
}

// A file or folder that carries a temporary-looking name never blocks a save; one of
// the user's is left alone, and a leftover of a run killed while saving is cleaned up.
TEST_F(ResultLogFile, StaleTemporaryFilesNeverBlockASave) {
  const std::string users = folder / "Result.lst.tmp";
  WriteBytes(users, "the user's own\r\n");
  SetFileAttributesA(users.c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(CreateDirectoryA((folder / "Result.lst.~tmp").c_str(), nullptr));
  const std::string leftover = folder / "Result.lst.~fffffff0-7.tmp";  // no such process
  WriteBytes(leftover, "half a log");
  SetFileAttributesA(leftover.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string lookalike = folder / "Result.lst.~notours.tmp";
  WriteBytes(lookalike, "x");

  ASSERT_TRUE(WriteResultLog(log, {kLine}));
  EXPECT_EQ(ReadBytes(log), kLine + "\r\n");
  EXPECT_EQ(ReadBytes(users), "the user's own\r\n");
  EXPECT_TRUE(FileExists(lookalike));
  EXPECT_FALSE(FileExists(leftover));
  SetFileAttributesA(users.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ResultLogFile, ALogHeldWithoutSharingIsUnreadableNotEmpty) {
  WriteBytes(log, kLine + "\r\n");
  const HANDLE holder = CreateFileA(log.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const ResultLogRead read = ReadResultLog(log);
  CloseHandle(holder);
  EXPECT_EQ(read.state, ResultLogRead::State::kUnreadable);
  EXPECT_NE(read.error, 0u);
  EXPECT_EQ(ReadResultLog(log).state, ResultLogRead::State::kRead);
}

// A folder whose name the ANSI code page cannot spell: every step of a save, a read,
// a look and the clean-up of a killed run's leftover works there as anywhere.
TEST_F(ResultLogFile, EveryStepWorksInAFolderTheCodePageCannotSpell) {
  const TempFolder japanese("-\xe6\x97\xa5\xe6\x9c\xac");  // "日本"
  const std::string there = japanese / "Result.lst";
  const std::string leftover = japanese / "Result.lst.~fffffff0-7.tmp";
  WriteBytes(leftover, "half a log");

  EXPECT_EQ(ReadResultLog(there).state, ResultLogRead::State::kMissing);
  EXPECT_FALSE(ResultLogStamp(there).exists);
  ASSERT_TRUE(WriteResultLog(there, {kLine, "\xe9t\xe9"}));
  EXPECT_EQ(ReadBytes(there), kLine + "\r\n\xe9t\xe9\r\n") << "entries stay bytes; only the path is wide";
  EXPECT_EQ(LoadResultLog(there), (Lines{kLine, "\xe9t\xe9"}));
  EXPECT_TRUE(ResultLogStamp(there).exists);
  ExpectOnlyTheLog(japanese);  // the leftover went too

  SetFileAttributesW(Widen(there).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(WriteResultLog(there, {"new"})) << "the read-only check finds the file";
  SetFileAttributesW(Widen(there).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(DeleteResultLog(there));
  EXPECT_FALSE(FileExists(there));
}

// An editor's UTF-16 copy would lose a byte at every line end if it were read as bytes
// and saved: it is reported unreadable, which keeps every save off it.
TEST_F(ResultLogFile, AUtf16LogIsUnreadableAndKeptAsItIs) {
  for (const std::string& bytes : {"\xff\xfe#\0D\0\r\0\n\0"s, "\xfe\xff\0#\0D\0\r\0\n"s}) {
    WriteBytes(log, bytes);
    const ResultLogRead read = ReadResultLog(log);
    EXPECT_EQ(read.state, ResultLogRead::State::kUnreadable);
    EXPECT_EQ(read.error, static_cast<unsigned long>(ERROR_UNSUPPORTED_TYPE));
    EXPECT_TRUE(read.lines.Empty());
    EXPECT_EQ(ReadBytes(log), bytes);
  }
  // The system has words for it ("Unsupported type." under Wine), not only a number.
  EXPECT_EQ(tw::SystemErrorText(ERROR_UNSUPPORTED_TYPE).find("1630"), std::string::npos)
      << tw::SystemErrorText(ERROR_UNSUPPORTED_TYPE);

  WriteBytes(log, "\xef\xbb\xbf" + kLine + "\r\n");  // a UTF-8 mark is read as the first line's bytes
  EXPECT_EQ(ReadResultLog(log).lines, Lines{"\xef\xbb\xbf" + kLine});
}

// An old Mac editor's lone CRs are line ends: each entry stays its own line and is
// saved back with CR LF.
TEST_F(ResultLogFile, LoneCrLinesLoadAsEntriesAndSaveWithCrLf) {
  WriteBytes(log, "a\rb\r\nc\r");
  const Lines lines = LoadResultLog(log);
  EXPECT_EQ(lines, (Lines{"a", "b", "c"}));
  ASSERT_TRUE(WriteResultLog(log, lines));
  EXPECT_EQ(ReadBytes(log), "a\r\nb\r\nc\r\n");
}

// The look another thread takes to notice outside changes: any change of content,
// a file renamed over the log, the log gone; never a false "unchanged" while the
// file is held by someone else.
TEST_F(ResultLogFile, StampTellsEveryOutsideChange) {
  const LogStamp missing = ResultLogStamp(log);
  EXPECT_FALSE(missing.exists);
  EXPECT_EQ(missing.error, 0u);
  EXPECT_TRUE(missing.Matches(ResultLogStamp(log)));

  ASSERT_TRUE(WriteResultLog(log, {kLine}));
  const LogStamp written = ResultLogStamp(log);
  EXPECT_TRUE(written.exists);
  EXPECT_EQ(written.size, kLine.size() + 2);
  EXPECT_NE(written.lastWrite, 0u);
  EXPECT_TRUE(written.Matches(ResultLogStamp(log))) << "a second look at an unchanged file";
  EXPECT_FALSE(written.Matches(missing));

  ASSERT_TRUE(WriteResultLog(log, {"#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:35"}));
  const LogStamp replaced = ResultLogStamp(log);
  EXPECT_EQ(replaced.size, written.size);
  EXPECT_FALSE(replaced.Matches(written)) << "same size, but another file";

  // Rewritten in place, same size: only the time tells.
  FILETIME later{};
  const ULONGLONG bumped = replaced.lastWrite + 10'000'000;  // a second later
  later.dwLowDateTime = static_cast<DWORD>(bumped);
  later.dwHighDateTime = static_cast<DWORD>(bumped >> 32);
  const HANDLE file = CreateFileW(Widen(log).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  SetFileTime(file, nullptr, nullptr, &later);
  CloseHandle(file);
  EXPECT_FALSE(ResultLogStamp(log).Matches(replaced));
  EXPECT_EQ(ResultLogStamp(log).lastWrite, bumped);

  const HANDLE holder = CreateFileA(log.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const LogStamp held = ResultLogStamp(log);
  CloseHandle(holder);
  EXPECT_TRUE(held.exists) << "held without sharing, the log is still there";
  EXPECT_EQ(held.size, replaced.size);

  LogStamp failed;
  failed.error = ERROR_ACCESS_DENIED;
  EXPECT_FALSE(failed.Matches(failed)) << "a look that failed tells nothing";

  EXPECT_TRUE(DeleteResultLog(log));
  EXPECT_TRUE(ResultLogStamp(log).Matches(missing));
}

TEST_F(ResultLogFile, DeleteRemovesTheLog) {
  WriteBytes(log, kLine + "\r\n");
  EXPECT_TRUE(DeleteResultLog(log));
  EXPECT_FALSE(FileExists(log));
  EXPECT_FALSE(DeleteResultLog(log));
}

}  // namespace
}  // namespace tw::storage
