#pragma once
// The result log's file as a book's store. Saves go to a writer thread of the store's
// own, so the UI thread never waits on the disk; their outcomes come back on the UI
// thread through a message-only window, so they arrive inside message boxes and modal
// loops too. A log someone else changed since this store last read or wrote it is read
// again and this run's edits are laid over it instead of writing over it.
#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "results/log_store.h"
#include "storage/win32/result_log_file.h"

namespace tw::results {

class LogFileStore final : public LogStore {
 public:
  // `path` is UTF-8. Create, use and destroy the store on the UI thread.
  explicit LogFileStore(std::string path);
  // Finishes the save on its way and any waiting one; their outcomes are not delivered.
  ~LogFileStore() override;
  LogFileStore(const LogFileStore&) = delete;
  LogFileStore& operator=(const LogFileStore&) = delete;

  LoadedLog Load() override;
  void Save(SaveJob job) override;
  void SetDone(std::function<void(SaveOutcome)> done) override;
  void Flush() override;
  std::string Describe() const override { return path_; }

 private:
  struct Queued {
    SaveJob job;
    std::uint64_t mergesSeen = 0;  // merged outcomes delivered before it was handed over
  };
  struct Answer {
    SaveOutcome outcome;
    std::uint64_t merge = 0;  // its number among the merged outcomes, 0 when not merged
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Work();
  SaveOutcome Write(const SaveJob& job, bool stale);
  bool WriteOrDelete(std::string_view packed, bool deleteWhenEmpty, unsigned long& error);
  void DeliverOutcomes();

  const std::string path_;
  HWND window_ = nullptr;
  std::function<void(SaveOutcome)> done_;
  std::uint64_t mergesDelivered_ = 0;  // UI thread

  std::mutex mutex_;
  std::condition_variable wake_;  // a job is waiting, or the store is closing
  std::condition_variable idle_;  // the writer finished a job
  std::optional<Queued> waiting_;
  bool busy_ = false;
  bool stopping_ = false;
  std::deque<Answer> answers_;
  std::uint64_t mergesProduced_ = 0;

  // What the writer knows of the file (set by Load while the writer is idle). `inStep_`:
  // the book's lines are the file as `stamp_` found it, so its lines may be written as
  // they are when the file still looks so.
  storage::LogStamp stamp_;
  bool inStep_ = false;
  std::uint64_t lastSavedGeneration_ = 0;

  std::thread writer_;
};

namespace testing {
// Makes every writer sleep this long before each save (0: not at all), as a slow disk would.
void SetSaveDelay(unsigned milliseconds);
}  // namespace testing

}  // namespace tw::results
