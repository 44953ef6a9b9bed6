// The log of record over a store that answers at once (or when told): what the book
// holds, what reaches the file and what the save state says, through outside changes,
// unreadable logs, failing disks and a lack of memory.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "results/result_book.h"

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
      log.lines = *file;
    }
    return log;
  }
  void Save(SaveJob job) override {
    ++saves;
    waiting_ = std::move(job);
    if (!hold) Flush();
  }
  void SetDone(std::function<void(SaveOutcome)> done) override { done_ = std::move(done); }
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
    const Lines snapshot(job.snapshot.begin(), job.snapshot.end());
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
      lines = ApplyEdits(file.value_or(Lines{}), edits);
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
        if (outcome.merged) outcome.mergedLines = lines;
      }
    }
    job = SaveJob{};
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

}  // namespace
}  // namespace tw::results
