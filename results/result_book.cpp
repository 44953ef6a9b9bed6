#include "results/result_book.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <span>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tw::results {

namespace {

std::atomic<bool> g_failNextAllocation{false};

void ThrowIfAllocationFails() {
  if (g_failNextAllocation.exchange(false)) throw std::bad_alloc();
}

// Room for one more element, grown geometrically, so that the push_back that commits
// a change cannot throw.
// Room kept past the lines for appends while a save holds them: more than anyone logs
// during one save, and an eighth more for a long log, so that it grows geometrically.
constexpr std::size_t kMinimumSpareRoom = 64;
std::size_t SpareRoom(std::size_t size) { return std::max<std::size_t>(size / 8, 4 * kMinimumSpareRoom); }

// Moving every line to a larger block costs milliseconds (the new block's pages are
// touched for the first time): done at load, it is done again only every size/8 solves.
void KeepSpareRoom(std::vector<std::string>& lines) {
  if (lines.capacity() - lines.size() >= kMinimumSpareRoom) return;
  try {
    lines.reserve(lines.size() + SpareRoom(lines.size()));
  } catch (const std::bad_alloc&) {
    // Without it all the same: an append while a save runs then copies the lines.
  }
}

template <typename T>
void MakeRoomForOne(std::vector<T>& items) {
  if (items.size() < items.capacity()) return;
  items.reserve(std::max<std::size_t>(items.size() * 2, 8));
}

// Where this run's lines (at `session` in `before`, in order) are in `after`: each at
// the first equal line past the one before it. A line another program took out is no
// longer this run's.
std::vector<std::size_t> FindSessionLines(const std::vector<std::string>& before,
                                          const std::vector<std::size_t>& session,
                                          const std::vector<std::string>& after) {
  std::vector<std::size_t> found;
  if (session.empty()) return found;
  std::unordered_map<std::string_view, std::vector<std::size_t>> places;
  for (const std::size_t index : session) places.try_emplace(before[index]);
  for (std::size_t i = 0; i < after.size(); ++i) {
    const auto place = places.find(after[i]);
    if (place != places.end()) place->second.push_back(i);
  }
  found.reserve(session.size());
  for (const std::size_t index : session) {
    const std::vector<std::size_t>& at = places.find(before[index])->second;
    const auto next = found.empty() ? at.begin() : std::upper_bound(at.begin(), at.end(), found.back());
    if (next != at.end()) found.push_back(*next);
  }
  return found;
}

}  // namespace

namespace testing {
void FailNextAllocation() { g_failNextAllocation.store(true); }
}  // namespace testing

template <typename Call>
void ResultBook::Tell(Call call) {
  // By index: a watcher may remove itself while it is told.
  for (std::size_t i = 0; i < watchers_.size(); ++i) call(*watchers_[i]);
}

ResultBook::ResultBook(LogStore& store) : store_(store), lines_(std::make_shared<std::vector<std::string>>()) {
  store_.SetDone([this](SaveOutcome outcome) { OnSaveDone(std::move(outcome)); });
}

ResultBook::~ResultBook() { store_.SetDone({}); }

void ResultBook::Load() {
  store_.Flush();
  try {
    LoadedLog log = store_.Load();
    auto lines = std::make_shared<std::vector<std::string>>(std::move(log.lines));
    KeepSpareRoom(*lines);
    lines_ = std::move(lines);
    edits_.clear();
    unsaved_.clear();
    session_.clear();
    pending_ = false;
    needReread_ = false;
    state_ = SaveState{};
    if (log.state == LoadedLog::State::kUnreadable) {
      state_.unread = true;
      state_.error = log.error;
    }
  } catch (const std::bad_alloc&) {
    OutOfMemory();
    return;
  }
  Tell([this](BookWatcher& watcher) { watcher.OnReloaded(*this); });
  Tell([this](BookWatcher& watcher) { watcher.OnSaveStateChanged(*this); });
}

std::size_t ResultBook::SessionStart() const { return session_.empty() ? Size() : session_.front(); }

std::vector<std::string>& ResultBook::CopyLines() {
  auto copy = std::make_shared<std::vector<std::string>>();
  copy->reserve(lines_->size() + SpareRoom(lines_->size()));
  copy->assign(lines_->begin(), lines_->end());
  lines_ = std::move(copy);
  // The save alone holds the old lines now, and lets go of them on its own thread.
  inFlightLines_.reset();
  return *lines_;
}

std::vector<std::string>& ResultBook::WritableLines() {
  // A save on its way reads its lines on another thread: they are copied, not changed.
  if (lines_.use_count() > 1) return CopyLines();
  return *lines_;
}

std::vector<std::string>& ResultBook::AppendableLines() {
  // A line added past the save's lines, in room kept for it, touches none of them; a
  // copy of every line would cost a key press many milliseconds.
  if (lines_.use_count() > 1 && lines_->size() == lines_->capacity()) return CopyLines();
  return *lines_;
}

bool ResultBook::Append(std::string line) {
  try {
    MakeRoomForOne(edits_);
    MakeRoomForOne(unsaved_);
    MakeRoomForOne(session_);
    LogEdit edit;
    edit.kind = LogEdit::Kind::kAppend;
    edit.generation = generation_ + 1;
    edit.index = Size();
    edit.line = line;
    ThrowIfAllocationFails();
    std::vector<std::string>& lines = AppendableLines();
    lines.push_back(std::move(line));
    // Nothing from here on can fail.
    ++generation_;
    edits_.push_back(std::move(edit));
    unsaved_.push_back(generation_);
    state_.unsaved = unsaved_.size();
    session_.push_back(lines.size() - 1);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
  Tell([this](BookWatcher& watcher) { watcher.OnAppended(*this); });
  SubmitSave(false);
  return true;
}

bool ResultBook::Remove(std::size_t index) {
  if (index >= Size()) return false;
  try {
    MakeRoomForOne(edits_);
    LogEdit edit;
    edit.kind = LogEdit::Kind::kRemove;
    edit.generation = generation_ + 1;
    edit.index = index;
    edit.line = Line(index);
    std::vector<std::string>& lines = WritableLines();
    const std::size_t firstUnsaved = lines.size() - unsaved_.size();
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
    ++generation_;
    edits_.push_back(std::move(edit));
    if (index >= firstUnsaved) unsaved_.erase(unsaved_.begin() + static_cast<std::ptrdiff_t>(index - firstUnsaved));
    state_.unsaved = unsaved_.size();
    std::erase(session_, index);
    for (std::size_t& line : session_) line -= line > index ? 1 : 0;
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
  Tell([this, index](BookWatcher& watcher) { watcher.OnRemoved(*this, index); });
  SubmitSave(Size() == 0);
  return true;
}

bool ResultBook::Replace(std::size_t index, std::string line) {
  if (index >= Size()) return false;
  if (Line(index) == line) return true;
  try {
    MakeRoomForOne(edits_);
    LogEdit edit;
    edit.kind = LogEdit::Kind::kReplace;
    edit.generation = generation_ + 1;
    edit.index = index;
    edit.line = Line(index);
    edit.replacement = line;
    WritableLines()[index] = std::move(line);
    ++generation_;
    edits_.push_back(std::move(edit));
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
  Tell([this, index](BookWatcher& watcher) { watcher.OnReplaced(*this, index); });
  SubmitSave(false);
  return true;
}

bool ResultBook::Reset() {
  try {
    MakeRoomForOne(edits_);
    LogEdit edit;
    edit.kind = LogEdit::Kind::kRemoveAll;
    edit.generation = generation_ + 1;
    auto empty = std::make_shared<std::vector<std::string>>();
    // The edit keeps the lines it removes, to take out only those from a file that
    // changed meanwhile; they are moved there unless a save still writes them.
    if (lines_.use_count() > 1) {
      edit.lines = *lines_;
    } else {
      edit.lines = std::move(*lines_);
    }
    lines_ = std::move(empty);
    inFlightLines_.reset();
    ++generation_;
    edits_.push_back(std::move(edit));
    unsaved_.clear();
    state_.unsaved = 0;
    session_.clear();
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
  Tell([this](BookWatcher& watcher) { watcher.OnReloaded(*this); });
  SubmitSave(true);
  return true;
}

void ResultBook::Save() { SubmitSave(false); }

void ResultBook::Flush() { store_.Flush(); }

void ResultBook::AddWatcher(BookWatcher* watcher) {
  if (std::find(watchers_.begin(), watchers_.end(), watcher) == watchers_.end()) watchers_.push_back(watcher);
}

void ResultBook::RemoveWatcher(BookWatcher* watcher) { std::erase(watchers_, watcher); }

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
    job.snapshot = std::span<const std::string>(lines_->data(), lines_->size());
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
void ResultBook::Rebase(std::vector<std::string> merged) {
  ThrowIfAllocationFails();
  auto lines = std::make_shared<std::vector<std::string>>(ApplyEdits(std::move(merged), edits_));
  std::vector<std::size_t> session = FindSessionLines(*lines_, session_, *lines);
  lines_ = std::move(lines);
  session_ = std::move(session);
  // The unsaved solves, appended after the save, are still the last lines.
  if (unsaved_.size() > lines_->size()) {
    unsaved_.erase(unsaved_.begin(), unsaved_.end() - static_cast<std::ptrdiff_t>(lines_->size()));
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
  if (reloaded) Tell([this](BookWatcher& watcher) { watcher.OnReloaded(*this); });
  if (pending_) {
    pending_ = false;
    SubmitSave(pendingDelete_);
  }
  state_.saving = inFlight_ || pending_;
  Tell([this](BookWatcher& watcher) { watcher.OnSaveStateChanged(*this); });
}

bool ResultBook::OutOfMemory() {
  state_.failed = true;
  state_.error = kErrorNotEnoughMemory;
  Tell([this](BookWatcher& watcher) { watcher.OnSaveStateChanged(*this); });
  return false;
}

}  // namespace tw::results
