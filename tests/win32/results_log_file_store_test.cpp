// The result log's file store under a book: saves on the writer thread, outcomes on
// the UI thread (inside modal loops too), outside changes merged, unreadable logs
// never written over.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "message_pump.h"
#include "results/result_book.h"
#include "results/win32/log_file_store.h"
#include "storage/result_log.h"
#include "storage/win32/result_log_file.h"
#include "storage_temp_folder.h"

namespace tw::results {
namespace {

using storage::testing::FileExists;
using storage::testing::ReadBytes;
using storage::testing::TempFolder;
using storage::testing::WriteBytes;
using testing_support::PumpUntil;
using Lines = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

const std::string kA = "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34";
const std::string kB = "#Date: 07/12/2026 | Time: 14:06:10 | Result: 00:00:11:02 (+2)";
const std::string kC = "#Date: 07/12/2026 | Time: 14:07:11 | Result: 00:00:13:50 | Comment: pb";
const std::string kOutside = "a line another program added";

// Loose on purpose: the save takes 500 ms, the UI thread must not wait for it.
constexpr auto kSlowSave = std::chrono::milliseconds(500);
constexpr auto kNoWait = std::chrono::milliseconds(250);

class Watcher final : public BookWatcher {
 public:
  bool inModal = false;
  bool savedInModal = false;
  int reloaded = 0;
  void OnAppended(const ResultBook&) override {}
  void OnRemoved(const ResultBook&, std::size_t) override {}
  void OnReplaced(const ResultBook&, std::size_t) override {}
  void OnReloaded(const ResultBook&) override { ++reloaded; }
  void OnSaveStateChanged(const ResultBook& book) override {
    if (inModal && !book.State().saving) savedInModal = true;
  }
};

class LogFileStoreTest : public ::testing::Test {
 protected:
  void TearDown() override { testing::SetSaveDelay(0); }

  std::string Bytes(const Lines& lines) { return storage::SerializeResultLog(lines); }

  TempFolder folder;
  const std::string log = folder / "Result.lst";
};

TEST_F(LogFileStoreTest, ASlowSaveLeavesTheUiThreadFreeAndFlushWaitsForIt) {
  LogFileStore store(log);
  ResultBook book(store);
  book.Load();
  testing::SetSaveDelay(static_cast<unsigned>(kSlowSave.count()));

  const auto start = Clock::now();
  ASSERT_TRUE(book.Append(kA));
  EXPECT_LT(Clock::now() - start, kNoWait);
  EXPECT_TRUE(book.State().saving);
  EXPECT_FALSE(FileExists(log));

  book.Flush();
  EXPECT_FALSE(book.State().saving);
  EXPECT_FALSE(book.State().failed);
  EXPECT_EQ(book.State().unsaved, 0u);
  EXPECT_EQ(ReadBytes(log), Bytes({kA}));
}

TEST_F(LogFileStoreTest, AnOutsideAppendSurvivesTheNextSave) {
  WriteBytes(log, Bytes({kA}));
  LogFileStore store(log);
  ResultBook book(store);
  Watcher watcher;
  book.AddWatcher(&watcher);
  book.Load();
  book.Append(kB);
  book.Flush();

  WriteBytes(log, Bytes({kA, kB, kOutside}));
  book.Append(kC);
  book.Flush();
  EXPECT_EQ(ReadBytes(log), Bytes({kA, kB, kOutside, kC}));
  EXPECT_EQ(book.Lines(), (Lines{kA, kB, kOutside, kC}));
  EXPECT_EQ(book.SessionStart(), 1u);
  EXPECT_EQ(watcher.reloaded, 2);  // the load, then the merge
}

TEST_F(LogFileStoreTest, AnOutcomeArrivesInsideAModalLoop) {
  LogFileStore store(log);
  ResultBook book(store);
  Watcher watcher;
  book.AddWatcher(&watcher);
  book.Load();
  testing::SetSaveDelay(100);
  book.Append(kA);

  // The message box's own loop must deliver the outcome; a timer closes the box once
  // it has, or after a generous while.
  static Watcher* current = nullptr;
  static ULONGLONG opened = 0;
  current = &watcher;
  opened = GetTickCount64();
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
    if (!current->savedInModal && GetTickCount64() - opened < 5000) return;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
          if (IsWindowVisible(window)) PostMessageW(window, WM_COMMAND, IDOK, 0);
          return TRUE;
        },
        0);
  });
  watcher.inModal = true;
  MessageBoxW(nullptr, L"Saving", L"Result log", MB_OK);
  watcher.inModal = false;
  KillTimer(nullptr, timer);
  EXPECT_TRUE(watcher.savedInModal);
  EXPECT_EQ(ReadBytes(log), Bytes({kA}));
}

// A file made larger than any log by setting its end: no byte of it is written.
void MakeSparseFile(const std::string& path, unsigned long long size) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
  CloseHandle(file);
}

unsigned long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Damaged logs show what could be read; those that cannot be read whole (too large, or
// nothing but NUL bytes) are refused with the reason and never written over, however
// many solves are logged meanwhile.
TEST_F(LogFileStoreTest, DamagedLogsShowWhatReadsAndThoseThatDoNotAreNeverWrittenOver) {
  const std::string tenMegabytes(10u << 20, 'x');
  struct Readable {
    const char* what;
    std::string bytes;
    Lines lines;
  };
  const Readable readable[] = {
      {"no line break at the end", kA + "\r\n" + kB, {kA, kB}},
      {"a 10 MB line without a line break", tenMegabytes, {tenMegabytes}},
  };
  for (const Readable& c : readable) {
    SCOPED_TRACE(c.what);
    WriteBytes(log, c.bytes);
    LogFileStore store(log);
    ResultBook book(store);
    book.Load();
    EXPECT_FALSE(book.State().unread);
    EXPECT_TRUE(book.Lines() == c.lines);
    book.Append(kC);
    book.Flush();
    EXPECT_FALSE(book.State().failed);
    Lines saved = c.lines;
    saved.push_back(kC);
    EXPECT_TRUE(ReadBytes(log) == Bytes(saved));
  }

  struct Refused {
    const char* what;
    std::function<void()> make;
    unsigned long error;
    const char* says;  // in the message that names the log
  };
  const Refused refused[] = {
      {"nothing but NUL bytes", [&] { WriteBytes(log, std::string(4096, '\0')); }, ERROR_FILE_CORRUPT, "NUL bytes"},
      {"larger than a log may be", [&] { MakeSparseFile(log, storage::kMaxResultLogBytes + 1); }, ERROR_FILE_TOO_LARGE,
       "larger than 256 MB"},
  };
  for (const Refused& c : refused) {
    SCOPED_TRACE(c.what);
    c.make();
    const unsigned long long size = FileSize(log);
    const std::optional<std::string> before = size <= 4096 ? ReadBytes(log) : std::nullopt;
    LogFileStore store(log);
    ResultBook book(store);
    book.Load();
    EXPECT_TRUE(book.State().unread);
    EXPECT_EQ(book.State().error, c.error);
    EXPECT_NE(storage::ResultLogLimitText(c.error).find(c.says), std::string::npos);
    EXPECT_EQ(book.Size(), 0u);
    book.Append(kA);
    book.Flush();
    EXPECT_TRUE(book.State().failed);
    EXPECT_EQ(book.State().unsaved, 1u);
    EXPECT_EQ(FileSize(log), size);
    if (before) {
      EXPECT_EQ(ReadBytes(log), before);
    }
  }
}

TEST_F(LogFileStoreTest, AnUnreadableLogIsNeverWrittenOverAndMergedOnceItReads) {
  WriteBytes(log, Bytes({kA}));
  HANDLE held = CreateFileA(log.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  LogFileStore store(log);
  ResultBook book(store);
  book.Load();
  EXPECT_TRUE(book.State().unread);

  book.Append(kB);
  book.Flush();
  EXPECT_TRUE(book.State().failed);
  EXPECT_EQ(book.State().unsaved, 1u);
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(log), Bytes({kA}));

  book.Save();
  book.Flush();
  EXPECT_FALSE(book.State().failed);
  EXPECT_FALSE(book.State().unread);
  EXPECT_EQ(book.Lines(), (Lines{kA, kB}));
  EXPECT_EQ(ReadBytes(log), Bytes({kA, kB}));
}

TEST_F(LogFileStoreTest, AMergeTheBookCannotTakeInIsTakenInAtTheNextSave) {
  WriteBytes(log, Bytes({kA}));
  LogFileStore store(log);
  ResultBook book(store);
  book.Load();
  WriteBytes(log, Bytes({kA, kOutside}));
  testing::SetSaveDelay(100);
  book.Append(kB);
  testing::FailNextAllocation();
  book.Flush();
  EXPECT_TRUE(book.State().failed);
  EXPECT_EQ(book.State().error, kErrorNotEnoughMemory);
  EXPECT_EQ(ReadBytes(log), Bytes({kA, kOutside, kB}));

  book.Append(kC);
  book.Flush();
  EXPECT_FALSE(book.State().failed);
  EXPECT_EQ(book.Lines(), (Lines{kA, kOutside, kB, kC}));
  EXPECT_EQ(ReadBytes(log), Bytes({kA, kOutside, kB, kC}));
}

TEST_F(LogFileStoreTest, StepsTakenBackWhileTheWriterSavesReachTheFileWithAnOutsideChange) {
  const std::string dnf = "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34 (DNF)";
  WriteBytes(log, Bytes({kA}));
  LogFileStore store(log);
  ResultBook book(store);
  book.Load();
  // The writer reads the import's lines where the book keeps them while the book goes on.
  testing::SetSaveDelay(100);
  ASSERT_TRUE(book.AppendAll({kB, kC}));
  ASSERT_TRUE(book.Undo());
  ASSERT_TRUE(book.Redo());
  ASSERT_TRUE(book.SetPenalty(0, Penalty::Dnf));
  book.Flush();
  EXPECT_EQ(ReadBytes(log), Bytes({dnf, kB, kC}));

  WriteBytes(log, Bytes({dnf, kB, kC, kOutside}));
  ASSERT_TRUE(book.Undo());
  ASSERT_TRUE(book.Undo());
  book.Flush();
  EXPECT_FALSE(book.State().failed);
  EXPECT_EQ(book.Lines(), (Lines{kA, kOutside}));
  EXPECT_EQ(ReadBytes(log), Bytes({kA, kOutside}));
}

TEST_F(LogFileStoreTest, TheNewestWaitingSaveReplacesTheOneBeforeIt) {
  LogFileStore store(log);
  store.Load();
  std::vector<std::uint64_t> answered;
  store.SetDone([&](SaveOutcome outcome) { answered.push_back(outcome.generation); });
  testing::SetSaveDelay(200);
  for (std::uint64_t generation = 1; generation <= 3; ++generation) {
    SaveJob job;
    job.generation = generation;
    job.lines = std::make_shared<const storage::LineArena>(storage::LineArena::FromLines(Lines(generation, kA)));
    job.snapshot = job.lines->Packed();
    job.snapshotLines = job.lines->Size();
    store.Save(std::move(job));
    if (generation == 1) Sleep(50);  // the first is being written by now
  }
  ASSERT_TRUE(PumpUntil([&] { return answered.size() == 2; }));
  EXPECT_EQ(answered, (std::vector<std::uint64_t>{1, 3}));
  EXPECT_EQ(ReadBytes(log), Bytes(Lines(3, kA)));
}

}  // namespace
}  // namespace tw::results
