// The log of record over a store that answers at once (or when told): what the book
// holds, what reaches the file and what the save state says, through outside changes,
// unreadable logs, failing disks and a lack of memory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "results/result_book.h"

// Every allocation of this program goes through here. Once armed, the test thread's
// allocations are counted and the one numbered `t_failAt` throws, as a full memory would.
namespace {
thread_local long t_allocations = 0;
thread_local long t_failAt = 0;  // 0: none fails
}  // namespace

void* operator new(std::size_t size) {
  if (t_failAt != 0 && ++t_allocations == t_failAt) throw std::bad_alloc();
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return ::operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return ::operator new(size, tag); }
// Every form of delete frees what every form of new took (the standard library's
// temporary buffers take theirs with the nothrow form).
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

namespace tw::results {
namespace {

using Lines = std::vector<std::string>;

constexpr unsigned long kSharingViolation = 32;
constexpr unsigned long kAccessDenied = 5;

// A file in memory that decides like the real store: the book's lines are written as
// they are while the file is as this store last read or wrote it; otherwise the file is
// read again and the book's edits are laid over it.
class FakeStore final : public LogStore {
 public:
  std::optional<Lines> file;  // nothing: no file
  bool unreadable = false;
  unsigned long writeError = 0;  // not 0: every write fails so
  bool hold = false;             // keep saves until Flush
  int saves = 0;

  LoadedLog Load() override {
    LoadedLog log;
    inStep_ = !unreadable;
    seen_ = file;
    if (unreadable) {
      log.state = LoadedLog::State::kUnreadable;
      log.error = kSharingViolation;
    } else if (file) {
      log.state = LoadedLog::State::kRead;
      log.lines = storage::LineArena::FromLines(*file);
    }
    return log;
  }
  void Save(SaveJob job) override {
    ++saves;
    waiting_ = std::move(job);
    if (!hold) Flush();
  }
  void SetDone(std::function<void(SaveOutcome)> done) override { done_ = std::move(done); }
  std::function<void()> beforeDone;  // called as an outcome is handed back
  void Flush() override {
    while (waiting_) {
      SaveJob job = std::move(*waiting_);
      waiting_.reset();
      Answer(std::move(job));
    }
  }
  std::string Describe() const override { return "Result.lst"; }
  bool Waiting() const { return waiting_.has_value(); }

 private:
  void Answer(SaveJob job) {
    SaveOutcome outcome;
    outcome.generation = job.generation;
    const bool asTheBookHasIt = inStep_ && !job.reread && file == seen_;
    Lines lines;
    const Lines snapshot = storage::LineArena::FromFileBytes(storage::UnpackedFileImage(job.snapshot)).ToStrings();
    if (asTheBookHasIt) {
      lines = snapshot;
    } else if (unreadable) {
      inStep_ = false;
      outcome.error = kSharingViolation;
    } else {
      std::vector<LogEdit> edits;
      for (const LogEdit& edit : job.edits) {
        if (edit.generation > lastSaved_) edits.push_back(edit);
      }
      lines = ApplyEdits(storage::LineArena::FromLines(file.value_or(Lines{})), edits).ToStrings();
      inStep_ = false;
    }
    if (asTheBookHasIt || !unreadable) {
      if (writeError) {
        outcome.error = writeError;
      } else {
        file = job.deleteWhenEmpty && lines.empty() ? std::nullopt : std::optional<Lines>(lines);
        seen_ = file;
        inStep_ = true;
        lastSaved_ = job.generation;
        outcome.saved = true;
        outcome.merged = !asTheBookHasIt && lines != snapshot;
        if (outcome.merged) outcome.mergedLines = storage::LineArena::FromLines(lines);
      }
    }
    job = SaveJob{};
    if (beforeDone) beforeDone();
    if (done_) done_(std::move(outcome));
  }

  std::optional<SaveJob> waiting_;
  std::function<void(SaveOutcome)> done_;
  std::optional<Lines> seen_;
  bool inStep_ = false;
  std::uint64_t lastSaved_ = 0;
};

class CountingWatcher final : public BookWatcher {
 public:
  int appended = 0, removed = 0, replaced = 0, reloaded = 0, stateChanged = 0;
  void OnAppended(const ResultBook&) override { ++appended; }
  void OnRemoved(const ResultBook&, std::size_t) override { ++removed; }
  void OnReplaced(const ResultBook&, std::size_t) override { ++replaced; }
  void OnReloaded(const ResultBook&) override { ++reloaded; }
  void OnSaveStateChanged(const ResultBook&) override { ++stateChanged; }
};

struct Expected {
  Lines book;
  std::optional<Lines> file;
  std::size_t sessionStart;
  bool failed = false;
  std::size_t unsaved = 0;
  unsigned long error = 0;
  bool unread = false;
};

struct Case {
  const char* what;
  std::optional<Lines> file;
  bool unreadable;
  std::function<void(ResultBook&, FakeStore&, CountingWatcher&)> run;
  Expected expected;
};

// A hand edit: kept and written back byte for byte.
const std::string kHandEdit = "  my best, \"ever\"\t";

// Each case on a fresh book over its file, watched; then every save is let through.
template <std::size_t N>
void RunCases(const Case (&cases)[N]) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeStore store;
    store.file = c.file;
    store.unreadable = c.unreadable;
    ResultBook book(store);
    CountingWatcher watcher;
    book.AddWatcher(&watcher);
    book.Load();
    c.run(book, store, watcher);
    book.Flush();
    const Expected& e = c.expected;
    EXPECT_EQ(book.Lines(), e.book);
    EXPECT_EQ(store.file, e.file);
    EXPECT_EQ(book.SessionStart(), e.sessionStart);
    const SaveState& state = book.State();
    EXPECT_EQ(state.failed, e.failed);
    EXPECT_EQ(state.unsaved, e.unsaved);
    EXPECT_EQ(state.error, e.error);
    EXPECT_EQ(state.unread, e.unread);
    EXPECT_FALSE(state.saving);
    EXPECT_GT(watcher.stateChanged, 0);
  }
}

TEST(ResultBook, KeepsTheLogOfRecord) {
  const Case cases[] = {
      {"appends are saved at once", Lines{"a"}, false,
       [](ResultBook& book, FakeStore&, CountingWatcher& watcher) {
         EXPECT_TRUE(book.Append("b"));
         EXPECT_TRUE(book.Append("c"));
         EXPECT_EQ(watcher.appended, 2);
       },
       {{"a", "b", "c"}, Lines{"a", "b", "c"}, 1}},
      {"a missing log is empty until the first append", std::nullopt, false,
       [](ResultBook& book, FakeStore&, CountingWatcher&) {
         EXPECT_EQ(book.Size(), 0u);
         book.Append("a");
       },
       {{"a"}, Lines{"a"}, 0}},
      {"a stop with logging off writes the log even unchanged", std::nullopt, false,
       [](ResultBook& book, FakeStore&, CountingWatcher&) { book.Save(); },
       {{}, Lines{}, 0}},
      {"removing the last line deletes the log", Lines{"a", "b"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher& watcher) {
         EXPECT_FALSE(book.Remove(2));
         EXPECT_TRUE(book.Remove(0));
         EXPECT_EQ(store.file, Lines{"b"});
         EXPECT_TRUE(book.Remove(0));
         EXPECT_EQ(watcher.removed, 2);
       },
       {{}, std::nullopt, 0}},
      {"a reset deletes the log and this run's solves with it", Lines{"a"}, false,
       [](ResultBook& book, FakeStore&, CountingWatcher&) {
         book.Append("b");
         EXPECT_TRUE(book.Reset());
       },
       {{}, std::nullopt, 0}},
      {"a replace rewrites its line", Lines{"a", "b"}, false,
       [](ResultBook& book, FakeStore&, CountingWatcher& watcher) {
         EXPECT_TRUE(book.Replace(1, "b (+2)"));
         EXPECT_EQ(watcher.replaced, 1);
       },
       {{"a", "b (+2)"}, Lines{"a", "b (+2)"}, 2}},
      {"hand edits are kept verbatim", Lines{kHandEdit, "", "a"}, false,
       [](ResultBook& book, FakeStore&, CountingWatcher&) { book.Append("b"); },
       {{kHandEdit, "", "a", "b"}, Lines{kHandEdit, "", "a", "b"}, 3}},
      {"lines added outside before a change are kept", Lines{"a"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher& watcher) {
         store.file->push_back("x");
         book.Append("b");
         EXPECT_EQ(watcher.reloaded, 2);  // the load, then the merge
       },
       {{"a", "x", "b"}, Lines{"a", "x", "b"}, 2}},
      {"lines changed outside after this run's are kept", Lines{"a"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         book.Append("b");
         store.file = Lines{"b", "x"};  // "a" taken out, "x" added by another program
         book.Append("c");
       },
       {{"b", "x", "c"}, Lines{"b", "x", "c"}, 0}},
      {"a remove takes its own line where it moved, or none", Lines{"a", "b", "c"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         store.file = Lines{"x", "a", "b", "c"};
         book.Remove(1);
         store.file = Lines{"x", "a"};
         book.Remove(2);  // "c", already gone from the file
       },
       {{"x", "a"}, Lines{"x", "a"}, 2}},
      {"a reset leaves what another program added", Lines{"a"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         store.file->push_back("x");
         book.Reset();
       },
       {{"x"}, Lines{"x"}, 1}},
      {"an unreadable log is never written over, and merged once it reads", Lines{"old"}, true,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         EXPECT_TRUE(book.State().unread);
         EXPECT_FALSE(book.State().failed);
         book.Append("a");
         EXPECT_TRUE(book.State().failed);
         EXPECT_EQ(book.State().unsaved, 1u);
         EXPECT_EQ(store.file, Lines{"old"});
         store.unreadable = false;
         book.Append("b");
       },
       {{"old", "a", "b"}, Lines{"old", "a", "b"}, 1}},
      {"an unreadable log stays unread through a rewrite with nothing changed", Lines{"old"}, true,
       [](ResultBook& book, FakeStore&, CountingWatcher&) { book.Save(); },
       {{}, Lines{"old"}, 0, false, 0, kSharingViolation, true}},
      {"a failing rewrite with nothing changed puts no result at risk", Lines{"a"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         store.writeError = kAccessDenied;
         book.Save();
         EXPECT_FALSE(book.State().failed);
         book.Append("b");
         book.Append("c");
       },
       {{"a", "b", "c"}, Lines{"a"}, 1, true, 2, kAccessDenied}},
      {"a save that works again clears the failure", Lines{"a"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         store.writeError = kAccessDenied;
         book.Append("b");
         store.writeError = 0;
         book.Save();
       },
       {{"a", "b"}, Lines{"a", "b"}, 1}},
      {"out of memory at an append leaves the book as it was", Lines{"a"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         testing::FailNextAllocation();
         EXPECT_FALSE(book.Append("b"));
         EXPECT_EQ(store.saves, 0);
       },
       {{"a"}, Lines{"a"}, 1, true, 0, kErrorNotEnoughMemory}},
      {"out of memory at a merge keeps the file's lines for the next save", Lines{"a"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         store.hold = true;
         store.file->push_back("x");
         book.Append("b");
         testing::FailNextAllocation();
         store.Flush();
         EXPECT_EQ(book.Lines(), (Lines{"a", "b"}));
         EXPECT_TRUE(book.State().failed);
         EXPECT_EQ(book.State().error, kErrorNotEnoughMemory);
         EXPECT_EQ(store.file, (Lines{"a", "x", "b"}));
         store.hold = false;
         book.Append("c");
       },
       {{"a", "x", "b", "c"}, Lines{"a", "x", "b", "c"}, 2}},
      {"changes made while a save runs go in one save after it", Lines{"a"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         store.hold = true;
         book.Append("b");
         book.Append("c");
         book.Remove(0);
         EXPECT_TRUE(book.State().saving);
         EXPECT_EQ(book.State().unsaved, 2u);
         EXPECT_EQ(store.saves, 1);
         book.Flush();
         EXPECT_EQ(store.saves, 2);
         EXPECT_FALSE(book.State().saving);
       },
       {{"b", "c"}, Lines{"b", "c"}, 0}},
      {"the session start follows removes, merges and resets", Lines{"a", "b"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         EXPECT_EQ(book.SessionStart(), 2u);
         book.Append("c");
         book.Remove(0);
         EXPECT_EQ(book.SessionStart(), 1u);
         store.file = Lines{"x", "y", "b", "c", "z"};
         book.Append("d");
         EXPECT_EQ(book.SessionStart(), 3u);
         book.Remove(3);  // this run's first line: the next one is first now
         EXPECT_EQ(book.SessionStart(), 4u);
         book.Reset();
         EXPECT_EQ(book.SessionStart(), 0u);
         book.Append("e");
       },
       {{"e"}, Lines{"e"}, 0}},
  };
  RunCases(cases);
}

using Kind = ResultBook::Change::Kind;

const std::string kSolve = "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34";
const std::string kPlusTwo = "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:14:34 (+2)";
const std::string kDnf = "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34 (DNF)";

void ExpectStep(const std::optional<ResultBook::Change>& change, Kind kind, const std::string& line,
                std::size_t count = 1) {
  ASSERT_TRUE(change) << line;
  EXPECT_EQ(change->kind, kind);
  EXPECT_EQ(change->line, line);
  EXPECT_EQ(change->count, count);
}

TEST(ResultBook, TakesChangesBackAndDoesThemAgain) {
  const Case cases[] = {
      {"appends taken back one by one, the last deleting the log, and done again", std::nullopt, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher& watcher) {
         EXPECT_FALSE(book.CanUndo());
         book.Append("a");
         book.Append("b");
         ExpectStep(book.Undo(), Kind::kLogged, "b");
         EXPECT_EQ(watcher.removed, 1);
         EXPECT_EQ(store.file, Lines{"a"});
         ExpectStep(book.Undo(), Kind::kLogged, "a");
         EXPECT_EQ(store.file, std::nullopt);
         EXPECT_FALSE(book.Undo());
         ExpectStep(book.Redo(), Kind::kLogged, "a");
         ExpectStep(book.Redo(), Kind::kLogged, "b");
         EXPECT_FALSE(book.CanRedo());
         EXPECT_FALSE(book.Redo());
       },
       {{"a", "b"}, Lines{"a", "b"}, 0}},
      {"removed lines go back to their places", Lines{"a", "b", "c"}, false,
       [](ResultBook& book, FakeStore&, CountingWatcher& watcher) {
         book.Remove(1);
         book.Remove(0);
         ExpectStep(book.Undo(), Kind::kRemoved, "a");
         EXPECT_EQ(book.Lines(), (Lines{"a", "c"}));
         ExpectStep(book.Undo(), Kind::kRemoved, "b");
         EXPECT_EQ(book.Lines(), (Lines{"a", "b", "c"}));
         EXPECT_EQ(watcher.reloaded, 3);  // the load, then a line put back between others, twice
         ExpectStep(book.Redo(), Kind::kRemoved, "b");
       },
       {{"a", "c"}, Lines{"a", "c"}, 2}},
      {"a penalty and a comment taken back give the exact line back", Lines{kSolve}, false,
       [](ResultBook& book, FakeStore&, CountingWatcher& watcher) {
         EXPECT_TRUE(book.SetPenalty(0, Penalty::PlusTwo));
         EXPECT_TRUE(book.SetComment(0, "pop"));
         EXPECT_EQ(watcher.replaced, 2);
         ExpectStep(book.Undo(), Kind::kComment, kPlusTwo);
         ExpectStep(book.Undo(), Kind::kPenalty, kSolve);
         ExpectStep(book.Redo(), Kind::kPenalty, kPlusTwo);
         EXPECT_TRUE(book.SetPenalty(0, Penalty::Dnf));
         EXPECT_FALSE(book.CanRedo());  // a new change drops the steps taken back
         EXPECT_FALSE(book.Redo());
         EXPECT_EQ(watcher.replaced, 6);
       },
       {{kDnf}, Lines{kDnf}, 1}},
      {"a reset taken back brings every line back in order, this run's still this run's", Lines{"a", "b"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         book.Append("c");
         book.Reset();
         book.Append("d");
         ExpectStep(book.Undo(), Kind::kLogged, "d");
         ExpectStep(book.Undo(), Kind::kReset, "a", 3);
         EXPECT_EQ(book.Lines(), (Lines{"a", "b", "c"}));
         EXPECT_EQ(store.file, (Lines{"a", "b", "c"}));
         EXPECT_EQ(book.SessionStart(), 2u);
         ExpectStep(book.Redo(), Kind::kReset, "a", 3);
         EXPECT_EQ(store.file, std::nullopt);
         ExpectStep(book.Redo(), Kind::kLogged, "d");
       },
       {{"d"}, Lines{"d"}, 0}},
      {"an import is one step", Lines{"a"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         EXPECT_TRUE(book.AppendAll({"x", "y", "z"}));
         EXPECT_EQ(store.file, (Lines{"a", "x", "y", "z"}));
         ExpectStep(book.Undo(), Kind::kImported, "x", 3);
         EXPECT_EQ(store.file, Lines{"a"});
         ExpectStep(book.Redo(), Kind::kImported, "x", 3);
         EXPECT_EQ(store.file, (Lines{"a", "x", "y", "z"}));
         ExpectStep(book.Undo(), Kind::kImported, "x", 3);
       },
       {{"a"}, Lines{"a"}, 1}},
      {"an outside change merged in between is no step, is kept, and breaks none", Lines{"a"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         book.Append("b");
         book.Remove(0);
         book.AppendAll({"i", "j"});
         store.file->push_back("o");
         book.Append("c");
         EXPECT_EQ(book.Lines(), (Lines{"b", "i", "j", "o", "c"}));
         ExpectStep(book.Undo(), Kind::kLogged, "c");
         ExpectStep(book.Undo(), Kind::kImported, "i", 2);
         ExpectStep(book.Undo(), Kind::kRemoved, "a");
         ExpectStep(book.Undo(), Kind::kLogged, "b");
         EXPECT_EQ(book.Lines(), (Lines{"a", "o"}));
         for (int i = 0; i < 4; ++i) EXPECT_TRUE(book.Redo());
       },
       {{"o", "b", "i", "j", "c"}, Lines{"o", "b", "i", "j", "c"}, 1}},
      {"an undo is laid over a file changed meanwhile", Lines{"a", "b"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         book.Remove(0);
         store.file = Lines{"o", "b"};
         ExpectStep(book.Undo(), Kind::kRemoved, "a");
       },
       {{"a", "o", "b"}, Lines{"a", "o", "b"}, 3}},
      {"an undo whose line was changed outside is dropped, doing nothing, and the one before goes on", Lines{kSolve},
       false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         book.Append("b");
         book.SetPenalty(0, Penalty::Dnf);
         book.Append("c");
         store.file = Lines{kSolve + " | Comment: theirs", "b", "c"};
         book.Append("d");
         ExpectStep(book.Undo(), Kind::kLogged, "d");
         ExpectStep(book.Undo(), Kind::kLogged, "c");
         EXPECT_FALSE(book.Undo());
         EXPECT_EQ(book.Lines(), (Lines{kSolve + " | Comment: theirs", "b"}));
         ExpectStep(book.Undo(), Kind::kLogged, "b");
         EXPECT_FALSE(book.CanUndo());
         ExpectStep(book.Redo(), Kind::kLogged, "b");
       },
       {{kSolve + " | Comment: theirs", "b"}, Lines{kSolve + " | Comment: theirs", "b"}, 1}},
      {"an append taken back is no longer unsaved", Lines{"a"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         store.writeError = kAccessDenied;
         book.Append("b");
         book.Append("c");
         EXPECT_EQ(book.State().unsaved, 2u);
         book.Undo();
         EXPECT_EQ(book.State().unsaved, 1u);
         book.Remove(0);
         book.Undo();  // "a" goes back before the one unsaved solve and was saved
         EXPECT_EQ(book.State().unsaved, 1u);
         book.Remove(1);
         EXPECT_EQ(book.State().unsaved, 0u);
         book.Undo();
       },
       {{"a", "b"}, Lines{"a"}, 1, true, 1, kAccessDenied}},
      {"changes and steps made while a save runs leave its lines alone", Lines{"a"}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         store.hold = true;
         book.AppendAll({"x", "y"});
         book.Reset();
         book.Undo();
         book.Remove(1);
         book.Undo();
         book.Undo();
         book.Redo();
         book.Append("b");
         EXPECT_EQ(store.saves, 1);
         book.Flush();
       },
       {{"a", "x", "y", "b"}, Lines{"a", "x", "y", "b"}, 3}},
      {"out of memory at an undo keeps the step for the next", Lines{"a"}, false,
       [](ResultBook& book, FakeStore&, CountingWatcher&) {
         book.Append("b");
         testing::FailNextAllocation();
         EXPECT_FALSE(book.Undo());
         EXPECT_EQ(book.State().error, kErrorNotEnoughMemory);
         EXPECT_EQ(book.Lines(), (Lines{"a", "b"}));
         ExpectStep(book.Undo(), Kind::kLogged, "b");
       },
       {{"a"}, Lines{"a"}, 1}},
      {"out of memory at a change leaves the book and its steps as they were", Lines{kSolve}, false,
       [](ResultBook& book, FakeStore& store, CountingWatcher&) {
         testing::FailNextAllocation();
         EXPECT_FALSE(book.SetPenalty(0, Penalty::Dnf));
         testing::FailNextAllocation();
         EXPECT_FALSE(book.AppendAll({"x", "y"}));
         testing::FailNextAllocation();
         EXPECT_FALSE(book.Reset());
         testing::FailNextAllocation();
         EXPECT_FALSE(book.Remove(0));
         EXPECT_FALSE(book.CanUndo());
         EXPECT_EQ(store.saves, 0);
       },
       {{kSolve}, Lines{kSolve}, 1, true, 0, kErrorNotEnoughMemory}},
  };
  RunCases(cases);
}

TEST(ResultBook, KeepsACommentAsWrittenAndRefusesWhatALineCannotHold) {
  const std::string scrambled = kPlusTwo + " | Scramble: R U R' U'";
  FakeStore store;
  store.file = Lines{scrambled, kHandEdit};
  ResultBook book(store);
  book.Load();
  const std::string comments[] = {"a | b", "Scramble: F2", " | Scramble: x | Comment: y | ", "  spaced  ", "Comment:",
                                  ""};
  for (const std::string& comment : comments) {
    EXPECT_TRUE(book.SetComment(0, comment));
    const std::optional<Solve> read = Parse(store.file->front());
    ASSERT_TRUE(read) << comment;
    EXPECT_EQ(read->comment, comment);
    EXPECT_EQ(read->scramble, "R U R' U'");
    EXPECT_EQ(read->penalty, Penalty::PlusTwo);
  }
  EXPECT_EQ(book.Line(0), scrambled);  // "" took the comment away
  for (const std::string& refused : {std::string("a\nb"), std::string("a\r"), std::string("a\0b", 3)}) {
    EXPECT_FALSE(book.SetComment(0, refused));
  }
  EXPECT_FALSE(book.SetComment(1, "x"));  // not a result line
  EXPECT_FALSE(book.SetPenalty(1, Penalty::Dnf));
  EXPECT_FALSE(book.SetComment(2, "x"));
  EXPECT_FALSE(book.SetPenalty(2, Penalty::Dnf));
  EXPECT_EQ(book.Lines(), (Lines{scrambled, kHandEdit}));
}

// Out of memory anywhere in a change, not only where the book expects it: the Nth
// allocation of the change fails, for N = 1, 2, ... until the change goes through. After
// each, the book is as it was (the change answered false, the error said so) or as the
// change leaves it, and it goes on: the next append is saved with the file in step, and
// undone.
TEST(ResultBook, ChangesFailingAtAnyAllocationLeaveTheBookWhole) {
  using Arm = std::function<void()>;
  struct MemoryCase {
    const char* what;
    Lines file;
    std::function<void(ResultBook&, FakeStore&)> before;
    // Makes its arguments, arms, makes the change; false: the change said it failed.
    std::function<bool(ResultBook&, FakeStore&, const Arm&)> change;
    bool mayWait = false;  // a merge not taken in waits for the next save
  };
  const std::string longLine = kSolve + " | Comment: long enough to be held on the heap";
  const MemoryCase cases[] = {
      {"an append", {"a"}, nullptr,
       [&](ResultBook& book, FakeStore&, const Arm& arm) {
         std::string line = longLine;
         arm();
         return book.Append(std::move(line));
       }},
      {"an import", {"a"}, nullptr,
       [&](ResultBook& book, FakeStore&, const Arm& arm) {
         Lines lines{longLine, longLine + " 2", longLine + " 3"};
         arm();
         return book.AppendAll(std::move(lines));
       }},
      {"a remove", {kSolve, longLine}, nullptr,
       [](ResultBook& book, FakeStore&, const Arm& arm) {
         arm();
         return book.Remove(0);
       }},
      {"a replace", {kSolve, "b"}, nullptr,
       [&](ResultBook& book, FakeStore&, const Arm& arm) {
         std::string line = longLine;
         arm();
         return book.Replace(0, std::move(line));
       }},
      {"a penalty", {kSolve}, nullptr,
       [](ResultBook& book, FakeStore&, const Arm& arm) {
         arm();
         return book.SetPenalty(0, Penalty::PlusTwo);
       }},
      {"a comment", {kSolve}, nullptr,
       [](ResultBook& book, FakeStore&, const Arm& arm) {
         std::string comment = "a comment held on the heap";
         arm();
         return book.SetComment(0, std::move(comment));
       }},
      {"a reset", {kSolve}, [&](ResultBook& book, FakeStore&) { book.Append(longLine); },
       [](ResultBook& book, FakeStore&, const Arm& arm) {
         arm();
         return book.Reset();
       }},
      {"an undo", {kSolve}, [](ResultBook& book, FakeStore&) { book.SetPenalty(0, Penalty::Dnf); },
       [](ResultBook& book, FakeStore&, const Arm& arm) {
         arm();
         return book.Undo().has_value();
       }},
      {"a redo", {kSolve},
       [&](ResultBook& book, FakeStore&) {
         book.Append(longLine);
         book.Undo();
       },
       [](ResultBook& book, FakeStore&, const Arm& arm) {
         arm();
         return book.Redo().has_value();
       }},
      {"a merge of an outside change", {kSolve},
       [&](ResultBook& book, FakeStore& store) {
         store.hold = true;
         store.file->push_back(longLine + " outside");
         book.Append(longLine);
       },
       [](ResultBook&, FakeStore& store, const Arm& arm) {
         store.beforeDone = arm;  // the store's own work is not the book's
         store.Flush();
         store.beforeDone = nullptr;
         return true;
       },
       true},
  };
  for (const MemoryCase& c : cases) {
    SCOPED_TRACE(c.what);
    // `failAt` 0: nothing fails, and the lines the change makes are seen.
    const auto run = [&](long failAt, Lines* made) {
      FakeStore store;
      store.file = c.file;
      ResultBook book(store);
      book.Load();
      if (c.before) c.before(book, store);
      const Lines before = book.Lines().ToStrings();
      const bool canUndo = book.CanUndo();
      store.hold = true;
      t_allocations = 0;
      const bool answered = c.change(book, store, [failAt] { t_failAt = failAt; });
      t_failAt = 0;
      const bool reached = failAt != 0 && t_allocations >= failAt;
      if (failAt == 0) {
        *made = book.Lines().ToStrings();
      } else if (!answered) {
        EXPECT_EQ(book.Lines(), before) << "allocation " << failAt << ": a failed change changed the book";
        EXPECT_EQ(book.CanUndo(), canUndo) << "allocation " << failAt;
        EXPECT_EQ(book.State().error, kErrorNotEnoughMemory) << "allocation " << failAt;
      } else if (!(c.mayWait && book.Lines() == before)) {
        EXPECT_EQ(book.Lines(), *made) << "allocation " << failAt << ": a change answered but not made whole";
      }
      // The book goes on: the next append is saved, the file in step, and it is undone.
      store.hold = false;
      store.Flush();
      EXPECT_TRUE(book.Append("z")) << "allocation " << failAt;
      book.Flush();
      EXPECT_EQ(store.file, book.Lines()) << "allocation " << failAt;
      EXPECT_FALSE(book.State().failed) << "allocation " << failAt;
      EXPECT_FALSE(book.State().saving) << "allocation " << failAt;
      Lines withoutZ = book.Lines().ToStrings();
      EXPECT_EQ(withoutZ.back(), "z") << "allocation " << failAt;
      withoutZ.pop_back();
      EXPECT_TRUE(book.Undo().has_value()) << "allocation " << failAt;
      EXPECT_EQ(book.Lines(), withoutZ) << "allocation " << failAt;
      return reached;
    };
    const auto failures = [] {
      return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
    };
    Lines made;
    run(0, &made);
    long failAt = 1;
    for (; failAt < 10'000; ++failAt) {
      const int before = failures();
      if (!run(failAt, &made) || failures() != before) break;  // through, or one report is enough
    }
    EXPECT_GT(failAt, 1) << "the change allocates nothing";
  }
}

}  // namespace
}  // namespace tw::results

namespace tw::results {
namespace {

// The file as bytes, written as the real store writes a log it read: the book's image.
class ByteStore final : public LogStore {
 public:
  std::string bytes;
  LoadedLog Load() override {
    LoadedLog log;
    log.state = LoadedLog::State::kRead;
    log.lines = storage::LineArena::FromFileBytes(bytes);
    return log;
  }
  void Save(SaveJob job) override {
    bytes = storage::UnpackedFileImage(job.snapshot);
    SaveOutcome outcome;
    outcome.generation = job.generation;
    outcome.saved = true;
    job = SaveJob{};
    if (done_) done_(std::move(outcome));
  }
  void SetDone(std::function<void(SaveOutcome)> done) override { done_ = std::move(done); }
  void Flush() override {}
  std::string Describe() const override { return "Result.lst"; }

 private:
  std::function<void(SaveOutcome)> done_;
};

std::string CrLfImage(const Lines& lines) {
  std::string image;
  for (const std::string& line : lines) image += line + "\r\n";
  return image;
}

// Every kind of line a log holds, each read from every kind of line end, comes back
// byte for byte after appends, edits and their undo; only its line end becomes CR LF.
TEST(ResultBook, KeepsEveryLineByteForByteThroughLoadAppendEditAndSave) {
  const std::string solve = "#Date: 11/12/2026 | Time: 02:41:43 | Result: 00:00:12:34 | Scramble: R U2 F'";
  const Lines kinds = {
      "",
      std::string(4096, 'x') + "4K",
      "caf\xe9 \xa3\x80\xff \x81\x40",  // ANSI bytes of single- and double-byte code pages
      "12,34;; not a result",
      std::string("a\0b", 3),
      solve,
  };
  const char* const ends[] = {"\r\n", "\r", "\n", ""};
  for (const char* end : ends) {
    SCOPED_TRACE(::testing::PrintToString(std::string(end)));
    ByteStore store;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      // The last line may end without a line end, which only the last can.
      store.bytes += kinds[i] + (i + 1 < kinds.size() || *end ? std::string(end) : std::string());
      if (!*end && i + 1 < kinds.size()) store.bytes += "\r\n";
    }
    ResultBook book(store);
    book.Load();
    ASSERT_EQ(book.Lines(), kinds);

    ASSERT_TRUE(book.Append("#Date: 11/12/2026 | Time: 02:42:00 | Result: 00:00:09:99"));
    ASSERT_TRUE(book.SetPenalty(5, Penalty::PlusTwo));
    ASSERT_TRUE(book.SetComment(5, "lucky"));
    ASSERT_TRUE(book.Remove(2));
    ASSERT_TRUE(book.Replace(0, std::string(300, 'y')));
    ASSERT_TRUE(book.AppendAll({"imported 1", "imported 2"}));
    ASSERT_TRUE(book.Reset());
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(book.Undo());
    Lines expected = kinds;
    expected.push_back("#Date: 11/12/2026 | Time: 02:42:00 | Result: 00:00:09:99");
    EXPECT_EQ(book.Lines(), expected);
    EXPECT_EQ(store.bytes, CrLfImage(expected));

    // Read back, the saved log is the same lines again.
    ResultBook again(store);
    again.Load();
    EXPECT_EQ(again.Lines(), expected);
  }
}

}  // namespace
}  // namespace tw::results
