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
#include <string>
#include <vector>

#include "results/book_watcher.h"
#include "results/log_edit.h"
#include "results/log_store.h"

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
  explicit ResultBook(LogStore& store);
  // Outcomes still on their way then go nowhere; Flush first to wait for them.
  ~ResultBook();
  ResultBook(const ResultBook&) = delete;
  ResultBook& operator=(const ResultBook&) = delete;

  // Reads the log (start-up). A log that is there but unreadable is never saved over:
  // solves logged meanwhile wait in memory and are put after its lines once it reads.
  void Load();

  const std::vector<std::string>& Lines() const { return *lines_; }
  std::size_t Size() const { return lines_->size(); }
  const std::string& Line(std::size_t index) const { return (*lines_)[index]; }
  // The index of the first line logged in this run (Size() when none is).
  std::size_t SessionStart() const;

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
  // Writes the log again as it is (a stop that logged nothing still rewrites it).
  void Save();
  // Waits for the save on its way, so the state is final (closing).
  void Flush();

  const SaveState& State() const { return state_; }
  std::string Describe() const { return store_.Describe(); }

  void AddWatcher(BookWatcher* watcher);
  void RemoveWatcher(BookWatcher* watcher);

 private:
  std::vector<std::string>& CopyLines();
  std::vector<std::string>& WritableLines();
  std::vector<std::string>& AppendableLines();
  void SubmitSave(bool deleteWhenEmpty);
  void OnSaveDone(SaveOutcome outcome);
  void DropSaved(std::uint64_t generation);
  void Rebase(std::vector<std::string> merged);
  bool OutOfMemory();
  template <typename Call>
  void Tell(Call call);

  LogStore& store_;
  // Shared with the save on its way, which reads its snapshot on another thread:
  // appends go past it, other changes copy the lines first (copy on write), so the
  // book never waits for the disk.
  std::shared_ptr<std::vector<std::string>> lines_;
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
  std::shared_ptr<const std::vector<std::string>> inFlightLines_;
  bool pending_ = false;
  bool pendingDelete_ = false;
  // A merge could not be taken in: the next save reads the file again.
  bool needReread_ = false;
};

namespace testing {
// Makes the next Append, or the next taking in of a merged log, run out of memory.
void FailNextAllocation();
}  // namespace testing

}  // namespace tw::results
