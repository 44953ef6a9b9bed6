#pragma once
// The log of record: every line of one result log in file order, this run's changes
// to it and whether they are saved. Windows show it and follow it through a
// BookWatcher; only the book changes its lines, and every change is saved through
// its LogStore at once.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "results/book_watcher.h"
#include "results/log_edit.h"
#include "results/log_store.h"

namespace tw::results {

struct SaveState {
  bool failed = false;        // the latest change could not be saved
  std::size_t unsaved = 0;    // solves logged this run that exist only in memory
  unsigned long error = 0;    // the system's error code of the latest failure
  bool unread = false;        // the file is there but could not be read (not yet merged)
  bool saving = false;        // a save is on its way to the disk
};

class ResultBook {
 public:
  explicit ResultBook(LogStore& store);
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
  // leaving the book as it was, when it cannot be made (out of memory, an index
  // past the end); the save state then says so.
  bool Append(std::string line);
  bool Remove(std::size_t index);
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
  void OnSaveDone(SaveOutcome outcome);
  void SubmitSave(bool deleteWhenEmpty);

  LogStore& store_;
  std::shared_ptr<std::vector<std::string>> lines_;
  std::vector<LogEdit> edits_;  // since the last save that worked
  std::vector<BookWatcher*> watchers_;
  SaveState state_;
  std::uint64_t generation_ = 0;
  std::size_t sessionLines_ = 0;
};

}  // namespace tw::results
