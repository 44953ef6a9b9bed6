#pragma once
// The log of record: every line of one result log in file order, this run's changes
// to it and whether they are saved. Windows show it and follow it through a
// BookWatcher; only the book changes its lines, and every change is saved through
// its LogStore at once. One save is on its way at a time: changes made while it runs
// are saved together right after it, and an outside change the store merged comes
// back as the book's new lines with this run's later edits laid over them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "results/book_watcher.h"
#include "results/log_edit.h"
#include "results/log_store.h"
#include "results/solve.h"
#include "storage/line_arena.h"

namespace tw::results {

// The system's "not enough memory" code (ERROR_NOT_ENOUGH_MEMORY), the error of a
// change that could not be made or saved for want of memory.
inline constexpr unsigned long kErrorNotEnoughMemory = 8;

struct SaveState {
  bool failed = false;        // the latest change could not be saved (a rewrite of a
                              // log this run did not change never fails the results)
  std::size_t unsaved = 0;    // solves logged this run that exist only in memory
  unsigned long error = 0;    // the system's error code of the latest failure
  bool unread = false;        // the file is there but could not be read (not yet merged)
  bool saving = false;        // a save is on its way to the disk
};

class ResultBook {
 public:
  // What one step of undo or redo did, for a short note ("removed 12.34, Ctrl+Y restores it").
  struct Change {
    enum class Kind { kLogged, kPenalty, kComment, kRemoved, kReset, kImported };
    Kind kind = Kind::kLogged;
    std::string line;        // the line concerned as it is after the step (kRemoved, kReset: as it was)
    std::size_t count = 1;   // lines concerned (kReset, kImported: how many)
  };

  explicit ResultBook(LogStore& store);
  // Outcomes still on their way then go nowhere; Flush first to wait for them.
  ~ResultBook();
  ResultBook(const ResultBook&) = delete;
  ResultBook& operator=(const ResultBook&) = delete;

  // Reads the log (start-up, or a switch to it), which starts a new undo history. A log
  // that is there but unreadable is never saved over: solves logged meanwhile wait in
  // memory and are put after its lines once it reads.
  void Load();
  // Whether Load ran: a session never shown is never read, nor ever written.
  bool Loaded() const { return loaded_; }

  // The lines, packed in one block; each is read as a LineText of its own.
  const storage::LineArena& Lines() const { return *lines_; }
  std::size_t Size() const { return lines_->Size(); }
  storage::LineText Line(std::size_t index) const { return (*lines_)[index]; }
  // The index of the first line logged in this run (Size() when none is).
  std::size_t SessionStart() const;
  // Changes with every change of the lines (or of where this run's begin), to a value
  // no book had before: a window that worked something out from a book keeps it while
  // that book is at the same revision.
  std::uint64_t Revision() const { return revision_; }

  // Each change tells the watchers and hands a save to the store. Each returns false,
  // leaving the book as it was, when it cannot be made: an index past the end, or out
  // of memory, which the save state then says (failed, kErrorNotEnoughMemory). A change
  // made whose save could not be handed over for want of memory returns true with
  // that same state; Save() tries again.
  bool Append(std::string line);
  bool Remove(std::size_t index);
  // The line at `index` rewritten as `line` (a penalty or a comment changed).
  bool Replace(std::size_t index, std::string line);
  bool Reset();
  bool SetPenalty(std::size_t index, Penalty penalty);     // false: no such line, or it is not a result line
  bool SetComment(std::size_t index, std::string comment); // "" removes it; line breaks and NUL are refused (false)
  bool AppendAll(std::vector<std::string> lines);          // one step of undo (an import)

  // Every change above made since the log was loaded is one step of undo, and a new one
  // drops the steps taken back. A step is saved like any change, laid over a file that
  // changed outside as the others are. The lines a step needs are found by their content
  // nearest where they were, as a merge may have moved them; a removed line goes back
  // where it was, or last when the log is shorter now. A step whose line is no longer
  // there (changed outside the program) is dropped as done, changing nothing and
  // answering nothing: taking it back would change a line this run never wrote.
  std::optional<Change> Undo();   // takes back the newest change of this run not yet taken back
  std::optional<Change> Redo();   // does again the newest change taken back
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // Writes the log again as it is (a stop that logged nothing still rewrites it).
  void Save();
  // Waits for the save on its way, so the state is final (closing).
  void Flush();

  const SaveState& State() const { return state_; }
  std::string Describe() const { return store_.Describe(); }

  void AddWatcher(BookWatcher* watcher);
  void RemoveWatcher(BookWatcher* watcher);

 private:
  // One step of undo or redo: what it takes to undo the change, or to do it again.
  // A line (or a run of lines) the step needs in the book is found by its content
  // near `index`, as a merge may have moved it; one the step put out of the book is
  // held by the step, moved there from the book.
  struct Step {
    Change::Kind kind = Change::Kind::kLogged;
    std::size_t index = 0;
    std::string line;   // the logged or removed line; the line before a penalty or a comment; a run's first
    std::string after;  // the line after a penalty or a comment
    bool sessionLine = false;  // a removed line was logged in this run
    bool unsavedLine = false;  // a removed line was not saved yet
    // A run out of the book (a reset, an import taken back), and which of its lines were this run's.
    std::shared_ptr<storage::LineArena> lines;
    std::vector<std::size_t> session;
    // A run in the book (an import, a reset taken back): how long, and a hash of its lines
    // (made when the run first goes into the book) that tells it is still the same.
    std::size_t count = 0;
    std::optional<std::uint64_t> hash;
  };
  // What a change did: the watchers to tell and the save to hand over.
  enum class Told { kAppended, kRemoved, kReplaced, kReloaded };
  struct Done {
    Told told = Told::kReloaded;
    std::size_t index = 0;
    bool deleteWhenEmpty = false;
    bool wasUnsaved = false;  // the line removed was not saved yet
  };

  // The changes themselves. Each makes its change whole or, out of memory, throws
  // std::bad_alloc with the book as it was.
  Done AppendLine(std::string line);
  Done RemoveLine(std::size_t index, std::string& removed);
  Done InsertLine(std::size_t index, std::string line, bool sessionLine, bool unsaved);
  Done ReplaceLine(std::size_t index, std::string line, std::string& before);
  Done ResetLines(Step& step);
  Done InsertRun(Step& out);
  Done RemoveRun(std::size_t at, std::size_t count, LogEdit::Kind kind, Step& out);
  Done AppendRun(storage::LineSpan lines);
  bool Rewrite(std::size_t index, std::string line, Change::Kind kind);
  void Record(Step&& step);  // a change of this run: one step of undo, room made for it
  // Makes a change of this run as one step of undo: `make(step)` makes it (or throws
  // std::bad_alloc, the book as it was) and says in the step how to take it back.
  template <typename Make>
  bool RecordChange(Make make);
  std::optional<Change> TakeStep(bool undo);
  std::size_t FindRun(const Step& step) const;
  void Finish(const Done& done);
  LogEdit NewEdit(LogEdit::Kind kind) const;
  void CommitEdit(LogEdit&& edit);
  void CountUnsavedInserted(std::size_t at, std::size_t count, bool unsaved);

  storage::LineArena& CopyLines(std::size_t addingLines = 0, std::size_t addingBytes = 0);
  storage::LineArena& WritableLines();
  storage::LineArena& AppendableLines(std::size_t lines, std::size_t bytes);
  void SubmitSave(bool deleteWhenEmpty);
  void OnSaveDone(SaveOutcome outcome);
  void DropSaved(std::uint64_t generation);
  void Rebase(storage::LineArena merged);
  bool OutOfMemory();
  template <typename Call>
  void Tell(Call call);

  LogStore& store_;
  bool loaded_ = false;
  std::uint64_t revision_ = 0;
  // Shared with the save on its way, which reads its snapshot on another thread:
  // appends go past it, other changes copy the lines first (copy on write), so the
  // book never waits for the disk.
  std::shared_ptr<storage::LineArena> lines_;
  std::vector<LogEdit> edits_;  // since the last save that worked, oldest first
  // The generations of the solves appended and not yet saved; they are the last lines.
  std::vector<std::uint64_t> unsaved_;
  std::vector<BookWatcher*> watchers_;
  SaveState state_;
  std::uint64_t generation_ = 0;
  // Where this run's lines are, in order; another program's may lie between them.
  std::vector<std::size_t> session_;

  // One save at a time is on its way; changes made meanwhile are saved together after it.
  bool inFlight_ = false;
  std::uint64_t inFlightGeneration_ = 0;
  bool inFlightHadEdits_ = false;
  std::shared_ptr<const storage::LineArena> inFlightLines_;
  bool pending_ = false;
  bool pendingDelete_ = false;
  // A merge could not be taken in: the next save reads the file again.
  bool needReread_ = false;

  std::vector<Step> undo_;  // oldest first
  std::vector<Step> redo_;  // the newest taken back last
};

namespace testing {
// Makes the next change (an undo or a redo too), or the next taking in of a merged
// log, run out of memory.
void FailNextAllocation();
}  // namespace testing

template <typename Call>
void ResultBook::Tell(Call call) {
  // By index: a watcher may remove itself while it is told.
  for (std::size_t i = 0; i < watchers_.size(); ++i) call(*watchers_[i]);
}

}  // namespace tw::results
