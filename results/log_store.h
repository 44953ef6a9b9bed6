#pragma once
// How a book reaches its file. The Win32 store writes on a writer thread of its own
// and calls back on the UI thread; tests pass a store that answers at once.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "results/log_edit.h"
#include "storage/line_arena.h"
#include "storage/result_log.h"

namespace tw::results {

// What a store's Load found: the log's lines, or that it is missing or unreadable.
using LoadedLog = storage::ResultLogRead;

// One save: the book's lines as they are now, and every edit made since the last
// save that worked. The store writes the snapshot when the file is as it last read or
// wrote it; otherwise it reads the file again and writes ApplyEdits(file, edits).
// An empty result deletes the file instead when `deleteWhenEmpty` is set (a reset,
// or the last line removed); otherwise an empty log is a 0-byte file.
struct SaveJob {
  std::uint64_t generation = 0;
  // `lines` holds the book's lines; `snapshot` is this save's file image: the bytes of
  // the first `snapshotLines` of them, taken when the save was handed over. While the
  // save runs the book may append to `lines` (it keeps room, so these never move) but
  // never changes the snapshot's bytes, so a store on another thread reads them through
  // `snapshot` alone, never through `lines`.
  std::shared_ptr<const storage::LineArena> lines;
  std::string_view snapshot;
  std::size_t snapshotLines = 0;
  std::vector<LogEdit> edits;
  bool deleteWhenEmpty = false;
  // The book's lines may lack what the file holds (it could not take in the lines of
  // an earlier merge): the store reads the file and writes ApplyEdits(file, edits).
  bool reread = false;
};

struct SaveOutcome {
  std::uint64_t generation = 0;
  bool saved = false;
  unsigned long error = 0;  // the system's error code when not saved
  // The file had changed (or could not be read before): these are the lines now
  // saved, the file's own with this run's edits laid over them.
  bool merged = false;
  storage::LineArena mergedLines;
};

class LogStore {
 public:
  virtual ~LogStore() = default;
  // Reads the log now (start-up, or a switch to it).
  virtual LoadedLog Load() = 0;
  // Hands a save over. A store that is still busy keeps only the newest job waiting
  // (a job replaced so has no outcome of its own). `done` is called with the outcome
  // on the thread that called Save, later or at once, after the store has let go of
  // the job's lines. Edits the store has already saved (by generation) are never laid
  // over the file twice.
  virtual void Save(SaveJob job) = 0;
  virtual void SetDone(std::function<void(SaveOutcome)> done) = 0;
  // Waits until no save is running or waiting, delivering every outcome first.
  virtual void Flush() = 0;
  // Where the log lives, for messages ("C:\...\Result.lst").
  virtual std::string Describe() const = 0;
};

}  // namespace tw::results
