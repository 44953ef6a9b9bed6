#pragma once
// A result log kept in memory for the window tests: a LogStore that answers at once,
// or holds its saves until the test releases them, over a "file" that can be missing,
// hold lines, be unreadable (held open by another program) or refuse to be written.
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "results/log_store.h"

namespace tw::testing_support {

class FakeLogStore : public results::LogStore {
 public:
  static constexpr unsigned long kAccessDenied = 5;
  static constexpr unsigned long kSharingViolation = 32;

  FakeLogStore() = default;
  explicit FakeLogStore(std::vector<std::string> fileLines) { SetFile(std::move(fileLines)); }

  // The file as another program leaves it: the next save finds it changed.
  void SetFile(std::vector<std::string> fileLines) {
    exists = true;
    lines = std::move(fileLines);
  }
  void DeleteFile() {
    exists = false;
    lines.clear();
  }

  // The file. A missing file and an empty one both hold no lines.
  bool exists = false;
  std::vector<std::string> lines;
  bool unreadable = false;  // there, but neither read nor written
  bool readOnly = false;    // read, but neither written nor deleted

  // Saves wait, unwritten, until Release() when set.
  bool holdSaves = false;
  // Every save handed over, in order, and how many were written.
  std::vector<results::SaveJob> jobs;
  int written = 0;

  results::LoadedLog Load() override {
    results::LoadedLog log;
    if (!exists) {
      known_ = std::vector<std::string>{};
      return log;
    }
    if (unreadable) {
      known_.reset();
      log.state = results::LoadedLog::State::kUnreadable;
      log.error = kSharingViolation;
      return log;
    }
    known_ = lines;
    log.state = results::LoadedLog::State::kRead;
    log.lines = storage::LineArena::FromLines(lines);
    return log;
  }

  void Save(results::SaveJob job) override {
    jobs.push_back(job);
    waiting_.push_back(std::move(job));
    if (!holdSaves) Release();
  }

  void SetDone(std::function<void(results::SaveOutcome)> done) override { done_ = std::move(done); }
  void Flush() override { Release(); }
  std::string Describe() const override { return "C:\\Twistwatch\\Result.lst"; }

  // Writes the saves held back, oldest first, and tells the book each outcome.
  void Release() {
    while (!waiting_.empty()) {
      results::SaveJob job = std::move(waiting_.front());
      waiting_.pop_front();
      results::SaveOutcome outcome = Write(job);
      if (done_) done_(std::move(outcome));
    }
  }
  std::size_t Waiting() const { return waiting_.size(); }

 private:
  results::SaveOutcome Write(const results::SaveJob& job) {
    results::SaveOutcome outcome;
    outcome.generation = job.generation;
    if (unreadable || readOnly) {
      outcome.error = unreadable ? kSharingViolation : kAccessDenied;
      return outcome;
    }
    std::vector<std::string> result = storage::LineArena::FromFileBytes(storage::UnpackedFileImage(job.snapshot)).ToStrings();
    const std::vector<std::string> now = exists ? lines : std::vector<std::string>{};
    if (job.reread || !known_ || *known_ != now) {
      // Changed outside since it was last read or written: this run's edits go over it.
      result = results::ApplyEdits(storage::LineArena::FromLines(now), job.edits).ToStrings();
      outcome.merged = true;
      outcome.mergedLines = storage::LineArena::FromLines(result);
    }
    if (result.empty() && job.deleteWhenEmpty) {
      DeleteFile();
    } else {
      SetFile(result);
    }
    known_ = lines;
    ++written;
    outcome.saved = true;
    return outcome;
  }

  std::optional<std::vector<std::string>> known_;  // the file as last read or written; none when unread
  std::function<void(results::SaveOutcome)> done_;
  std::deque<results::SaveJob> waiting_;
};

}  // namespace tw::testing_support
