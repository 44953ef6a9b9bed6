// The book's way to its file: one save on its way at a time, the changes made
// meanwhile saved together right after it, and a log another program changed taken in
// with this run's edits laid over it.
#include "results/result_book.h"

#include "results/result_book_parts.h"

#include <algorithm>
#include <new>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tw::results {

using book_parts::KeepSpareRoom;
using book_parts::NextRevision;
using book_parts::ThrowIfAllocationFails;
using storage::LineArena;

namespace {

// Where this run's lines (at `session` in `before`, in order) are in `after`: each at
// the first equal line past the one before it. A line another program took out is no
// longer this run's.
std::vector<std::size_t> FindSessionLines(const LineArena& before, const std::vector<std::size_t>& session,
                                          const LineArena& after) {
  std::vector<std::size_t> found;
  if (session.empty()) return found;
  // By their packed bytes: equal lines pack alike.
  std::unordered_map<std::string_view, std::vector<std::size_t>> places;
  for (const std::size_t index : session) places.try_emplace(before.PackedLine(index));
  for (std::size_t i = 0; i < after.Size(); ++i) {
    const auto place = places.find(after.PackedLine(i));
    if (place != places.end()) place->second.push_back(i);
  }
  found.reserve(session.size());
  for (const std::size_t index : session) {
    const std::vector<std::size_t>& at = places.find(before.PackedLine(index))->second;
    const auto next = found.empty() ? at.begin() : std::upper_bound(at.begin(), at.end(), found.back());
    if (next != at.end()) found.push_back(*next);
  }
  return found;
}

}  // namespace

void ResultBook::Save() { SubmitSave(false); }

void ResultBook::Flush() { store_.Flush(); }

void ResultBook::SubmitSave(bool deleteWhenEmpty) {
  if (inFlight_) {
    // The newest request decides whether an empty log is deleted or written empty.
    pending_ = true;
    pendingDelete_ = deleteWhenEmpty;
    state_.saving = true;
    Tell([this](BookWatcher& watcher) { watcher.OnSaveStateChanged(*this); });
    return;
  }
  std::uint64_t generation = 0;
  try {
    // Room for the solves logged while this save runs, made before the save holds the
    // lines (a store lets go of them before it answers, so nothing else holds them now).
    if (lines_.use_count() == 1) KeepSpareRoom(*lines_);
    SaveJob job;
    job.generation = generation_ + 1;
    job.lines = lines_;
    job.snapshot = lines_->Packed();
    job.snapshotLines = lines_->Size();
    job.edits = edits_;
    job.deleteWhenEmpty = deleteWhenEmpty;
    job.reread = needReread_;
    generation = ++generation_;
    inFlight_ = true;
    inFlightGeneration_ = generation;
    inFlightHadEdits_ = !edits_.empty();
    inFlightLines_ = lines_;
    state_.saving = true;
    // A store may answer at once, from inside this call.
    store_.Save(std::move(job));
  } catch (const std::bad_alloc&) {
    if (inFlight_ && inFlightGeneration_ == generation) {
      inFlight_ = false;
      inFlightLines_.reset();
    }
    state_.saving = inFlight_ || pending_;
    OutOfMemory();
    return;
  }
  if (inFlight_ && inFlightGeneration_ == generation) {
    Tell([this](BookWatcher& watcher) { watcher.OnSaveStateChanged(*this); });
  }
}

void ResultBook::DropSaved(std::uint64_t generation) {
  const auto edit = std::find_if(edits_.begin(), edits_.end(),
                                 [generation](const LogEdit& e) { return e.generation > generation; });
  edits_.erase(edits_.begin(), edit);
  const auto solve = std::upper_bound(unsaved_.begin(), unsaved_.end(), generation);
  unsaved_.erase(unsaved_.begin(), solve);
  state_.unsaved = unsaved_.size();
}

// The file's lines as saved with this run's edits laid over them, and this run's
// edits made since that save laid over those.
void ResultBook::Rebase(LineArena merged) {
  ThrowIfAllocationFails();
  auto lines = std::make_shared<LineArena>(ApplyEdits(std::move(merged), edits_));
  std::vector<std::size_t> session = FindSessionLines(*lines_, session_, *lines);
  lines_ = std::move(lines);
  session_ = std::move(session);
  // The unsaved solves, appended after the save, are still the last lines.
  if (unsaved_.size() > lines_->Size()) {
    unsaved_.erase(unsaved_.begin(), unsaved_.end() - static_cast<std::ptrdiff_t>(lines_->Size()));
  }
  state_.unsaved = unsaved_.size();
}

void ResultBook::OnSaveDone(SaveOutcome outcome) {
  // A store answers each save it was handed; an answer for none of ours is not ours.
  if (!inFlight_ || outcome.generation != inFlightGeneration_) return;
  inFlight_ = false;
  inFlightLines_.reset();
  bool reloaded = false;
  if (outcome.saved) {
    DropSaved(outcome.generation);
    state_.failed = false;
    state_.error = 0;
    state_.unread = false;
    needReread_ = false;
    if (outcome.merged) {
      try {
        Rebase(std::move(outcome.mergedLines));
        reloaded = true;
      } catch (const std::bad_alloc&) {
        // The file is saved; only the book does not show what others added to it,
        // and the next save must not write it without those lines.
        needReread_ = true;
        state_.failed = true;
        state_.error = kErrorNotEnoughMemory;
      }
    }
  } else if (inFlightHadEdits_ || needReread_) {
    state_.failed = true;
    state_.error = outcome.error;
  }
  // A rewrite of a log this run did not change puts no result at risk.
  if (reloaded) {
    revision_ = NextRevision();
    Tell([this](BookWatcher& watcher) { watcher.OnReloaded(*this); });
  }
  if (pending_) {
    pending_ = false;
    SubmitSave(pendingDelete_);
  }
  state_.saving = inFlight_ || pending_;
  Tell([this](BookWatcher& watcher) { watcher.OnSaveStateChanged(*this); });
}

}  // namespace tw::results
