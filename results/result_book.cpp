#include "results/result_book.h"

#include "results/result_book_parts.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <iterator>
#include <new>
#include <span>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tw::results {

using book_parts::HashLines;
using book_parts::KeepSpareRoom;
using book_parts::MakeRoomForOne;
using book_parts::NextRevision;
using book_parts::ThrowIfAllocationFails;
using storage::LineArena;
using storage::LineSpan;

namespace {

std::atomic<bool> g_failNextAllocation{false};

// Room kept past the lines for appends while a save holds them: more than anyone logs
// during one save, and an eighth more for a long log, so that it grows geometrically.
constexpr std::size_t kMinimumSpareRoom = 64;
// Bytes kept for each line of room: a line with a long scramble and a comment.
constexpr std::size_t kSpareLineBytes = 256;
std::size_t SpareRoom(std::size_t size) { return std::max<std::size_t>(size / 8, 4 * kMinimumSpareRoom); }
std::size_t SpareBytes(std::size_t bytes) {
  return std::max<std::size_t>(bytes / 8, 4 * kMinimumSpareRoom * kSpareLineBytes);
}

}  // namespace

namespace book_parts {

std::uint64_t NextRevision() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

void ThrowIfAllocationFails() {
  if (g_failNextAllocation.exchange(false)) throw std::bad_alloc();
}

// Moving every line to a larger block costs milliseconds (the new block's pages are
// touched for the first time): done at load, it is done again only every size/8 solves.
void KeepSpareRoom(LineArena& lines) {
  if (lines.HasRoomFor(kMinimumSpareRoom, kMinimumSpareRoom * kSpareLineBytes)) return;
  try {
    lines.Reserve(SpareRoom(lines.Size()), SpareBytes(lines.Bytes()));
  } catch (const std::bad_alloc&) {
    // Without it all the same: an append while a save runs then copies the lines.
  }
}

}  // namespace book_parts

namespace testing {
void FailNextAllocation() { g_failNextAllocation.store(true); }
}  // namespace testing

ResultBook::ResultBook(LogStore& store) : store_(store), lines_(std::make_shared<LineArena>()) {
  store_.SetDone([this](SaveOutcome outcome) { OnSaveDone(std::move(outcome)); });
}

ResultBook::~ResultBook() { store_.SetDone({}); }

void ResultBook::Load() {
  store_.Flush();
  loaded_ = true;
  try {
    LoadedLog log = store_.Load();
    auto lines = std::make_shared<LineArena>(std::move(log.lines));
    KeepSpareRoom(*lines);
    lines_ = std::move(lines);
    edits_.clear();
    unsaved_.clear();
    session_.clear();
    undo_.clear();
    redo_.clear();
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
  revision_ = NextRevision();
  Tell([this](BookWatcher& watcher) { watcher.OnReloaded(*this); });
  Tell([this](BookWatcher& watcher) { watcher.OnSaveStateChanged(*this); });
}

std::size_t ResultBook::SessionStart() const { return session_.empty() ? Size() : session_.front(); }

LineArena& ResultBook::CopyLines(std::size_t addingLines, std::size_t addingBytes) {
  auto copy = std::make_shared<LineArena>();
  const std::size_t lines = lines_->Size() + addingLines;
  const std::size_t bytes = lines_->Bytes() + addingBytes;
  copy->Reserve(lines + SpareRoom(lines), bytes + SpareBytes(bytes));
  copy->Append(lines_->All());
  lines_ = std::move(copy);
  // The save alone holds the old lines now, and lets go of them on its own thread.
  inFlightLines_.reset();
  return *lines_;
}

LineArena& ResultBook::WritableLines() {
  // A save on its way reads its lines on another thread: they are copied, not changed.
  if (lines_.use_count() > 1) return CopyLines();
  return *lines_;
}

LineArena& ResultBook::AppendableLines(std::size_t lines, std::size_t bytes) {
  // A line added past the save's lines, in room kept for it, touches none of them; a
  // copy of every line would cost a key press many milliseconds.
  if (lines_.use_count() > 1 && !lines_->HasRoomFor(lines, bytes)) return CopyLines(lines, bytes);
  return *lines_;
}

LogEdit ResultBook::NewEdit(LogEdit::Kind kind) const {
  LogEdit edit;
  edit.kind = kind;
  edit.generation = generation_ + 1;
  return edit;
}

void ResultBook::CommitEdit(LogEdit&& edit) {
  ++generation_;
  edits_.push_back(std::move(edit));
}

void ResultBook::CountUnsavedInserted(std::size_t at, std::size_t count, bool unsaved) {
  const std::size_t firstUnsaved = Size() - count - unsaved_.size();
  // Lines put back after a solve not yet saved are not saved either, nor is one that was
  // not when it was taken out and goes back where the unsaved begin; those after them
  // then count as saved no sooner than they are, so that the unsaved are still the last.
  const bool afterUnsaved = !unsaved_.empty() && at > firstUnsaved;
  if (!afterUnsaved && !(unsaved && at == firstUnsaved)) return;
  const auto first = unsaved_.insert(unsaved_.begin() + static_cast<std::ptrdiff_t>(at - firstUnsaved), count,
                                     generation_);
  std::fill(first, unsaved_.end(), generation_);
  state_.unsaved = unsaved_.size();
}

ResultBook::Done ResultBook::AppendLine(std::string line) {
  MakeRoomForOne(edits_);
  MakeRoomForOne(unsaved_);
  MakeRoomForOne(session_);
  LogEdit edit = NewEdit(LogEdit::Kind::kAppend);
  edit.index = Size();
  edit.line = line;
  ThrowIfAllocationFails();
  LineArena& lines = AppendableLines(1, storage::PackedSize(line));
  lines.PushBack(line);
  // Nothing from here on can fail.
  CommitEdit(std::move(edit));
  unsaved_.push_back(generation_);
  state_.unsaved = unsaved_.size();
  session_.push_back(lines.Size() - 1);
  return {Told::kAppended, lines.Size() - 1, false};
}

ResultBook::Done ResultBook::RemoveLine(std::size_t index, std::string& removed) {
  MakeRoomForOne(edits_);
  LogEdit edit = NewEdit(LogEdit::Kind::kRemove);
  edit.index = index;
  edit.line = Line(index);
  ThrowIfAllocationFails();
  LineArena& lines = WritableLines();
  const std::size_t firstUnsaved = lines.Size() - unsaved_.size();
  std::string taken = edit.line;
  lines.Erase(index);
  removed = std::move(taken);
  CommitEdit(std::move(edit));
  if (index >= firstUnsaved) unsaved_.erase(unsaved_.begin() + static_cast<std::ptrdiff_t>(index - firstUnsaved));
  state_.unsaved = unsaved_.size();
  std::erase(session_, index);
  for (std::size_t& line : session_) line -= line > index ? 1 : 0;
  return {Told::kRemoved, index, lines.Empty(), index >= firstUnsaved};
}

ResultBook::Done ResultBook::InsertLine(std::size_t index, std::string line, bool sessionLine, bool unsaved) {
  index = std::min(index, Size());
  MakeRoomForOne(edits_);
  MakeRoomForOne(unsaved_);
  MakeRoomForOne(session_);
  LogEdit edit = NewEdit(LogEdit::Kind::kInsert);
  edit.index = index;
  edit.line = line;
  ThrowIfAllocationFails();
  const bool atTheEnd = index == Size();
  if (atTheEnd) {
    AppendableLines(1, storage::PackedSize(line)).PushBack(line);
  } else {
    WritableLines().Insert(index, line);
  }
  CommitEdit(std::move(edit));
  CountUnsavedInserted(index, 1, unsaved);
  for (std::size_t& at : session_) at += at >= index ? 1 : 0;
  if (sessionLine) session_.insert(std::lower_bound(session_.begin(), session_.end(), index), index);
  return {atTheEnd ? Told::kAppended : Told::kReloaded, index, false};
}

ResultBook::Done ResultBook::ReplaceLine(std::size_t index, std::string line, std::string& before) {
  MakeRoomForOne(edits_);
  LogEdit edit = NewEdit(LogEdit::Kind::kReplace);
  edit.index = index;
  edit.line = Line(index);
  edit.replacement = line;
  ThrowIfAllocationFails();
  before = edit.line;
  WritableLines().Replace(index, line);
  CommitEdit(std::move(edit));
  return {Told::kReplaced, index, false};
}

ResultBook::Done ResultBook::ResetLines(Step& step) {
  MakeRoomForOne(edits_);
  LogEdit edit = NewEdit(LogEdit::Kind::kRemoveAll);
  auto empty = std::make_shared<LineArena>();
  std::vector<std::size_t> session = session_;
  ThrowIfAllocationFails();
  // The lines go to the step that can take the reset back, and the edit sees them
  // there, to take out only those from a file that changed meanwhile; they are moved
  // unless a save still writes them.
  auto removed = lines_.use_count() > 1 ? std::make_shared<LineArena>(*lines_)
                                        : std::make_shared<LineArena>(std::move(*lines_));
  edit.HoldLines(removed, 0, removed->Size());
  lines_ = std::move(empty);
  inFlightLines_.reset();
  CommitEdit(std::move(edit));
  unsaved_.clear();
  state_.unsaved = 0;
  session_.clear();
  step.index = 0;
  step.count = removed->Size();
  step.lines = std::move(removed);
  step.session = std::move(session);
  return {Told::kReloaded, 0, true};
}

ResultBook::Done ResultBook::InsertRun(Step& out) {
  const LineArena& run = *out.lines;
  const std::size_t at = std::min(out.index, Size());
  const std::size_t count = run.Size();
  const std::size_t size = Size() + count;
  const std::size_t bytes = lines_->Bytes() + run.Bytes();
  MakeRoomForOne(edits_);
  unsaved_.reserve(unsaved_.size() + count);
  std::vector<std::size_t> session;
  session.reserve(session_.size() + out.session.size());
  LogEdit edit = NewEdit(LogEdit::Kind::kInsertAll);
  edit.index = at;
  auto lines = std::make_shared<LineArena>();
  lines->Reserve(size + SpareRoom(size), bytes + SpareBytes(bytes));
  ThrowIfAllocationFails();
  const LineArena& now = *lines_;
  lines->Append(now.Span(0, at));
  lines->Append(run.All());
  lines->Append(now.Span(at, now.Size() - at));
  edit.HoldLines(lines, at, count);
  lines_ = std::move(lines);
  inFlightLines_.reset();
  CommitEdit(std::move(edit));
  CountUnsavedInserted(at, count, false);
  auto before = std::partition_point(session_.begin(), session_.end(), [at](std::size_t i) { return i < at; });
  session.insert(session.end(), session_.begin(), before);
  for (const std::size_t offset : out.session) session.push_back(at + offset);
  for (auto i = before; i != session_.end(); ++i) session.push_back(*i + count);
  session_ = std::move(session);
  return {Told::kReloaded, at, false};
}

ResultBook::Done ResultBook::RemoveRun(std::size_t at, std::size_t count, LogEdit::Kind kind, Step& out) {
  MakeRoomForOne(edits_);
  LogEdit edit = NewEdit(kind);
  edit.index = at;
  auto removed = std::make_shared<LineArena>();
  const auto first = std::lower_bound(session_.begin(), session_.end(), at);
  const auto last = std::lower_bound(first, session_.end(), at + count);
  std::vector<std::size_t> runSession;
  runSession.reserve(static_cast<std::size_t>(last - first));
  ThrowIfAllocationFails();
  LineArena& lines = WritableLines();
  const std::size_t firstUnsaved = lines.Size() - unsaved_.size();
  removed->Append(lines.Span(at, count));
  lines.Erase(at, count);
  edit.HoldLines(removed, 0, count);
  CommitEdit(std::move(edit));
  const std::size_t unsavedFrom = std::max(at, firstUnsaved);
  if (unsavedFrom < at + count) {
    unsaved_.erase(unsaved_.begin() + static_cast<std::ptrdiff_t>(unsavedFrom - firstUnsaved),
                   unsaved_.begin() + static_cast<std::ptrdiff_t>(at + count - firstUnsaved));
  }
  state_.unsaved = unsaved_.size();
  for (auto i = first; i != last; ++i) runSession.push_back(*i - at);
  const auto kept = session_.erase(first, last);
  for (auto i = kept; i != session_.end(); ++i) *i -= count;
  out.index = at;
  out.count = count;
  out.lines = std::move(removed);
  out.session = std::move(runSession);
  return {Told::kReloaded, at, kind == LogEdit::Kind::kRemoveAll || lines.Empty()};
}

ResultBook::Done ResultBook::AppendRun(LineSpan run) {
  const std::size_t count = run.Size();
  const std::size_t runBytes = run.Packed().size();
  MakeRoomForOne(edits_);
  unsaved_.reserve(unsaved_.size() + count);
  LogEdit edit = NewEdit(LogEdit::Kind::kAppendAll);
  ThrowIfAllocationFails();
  // Past a save's lines in room kept for them, as an append goes.
  if (!lines_->HasRoomFor(count, runBytes)) {
    if (lines_.use_count() > 1) {
      CopyLines(count, runBytes);
    } else {
      lines_->Reserve(count + SpareRoom(lines_->Size() + count), runBytes + SpareBytes(lines_->Bytes() + runBytes));
    }
  }
  LineArena& lines = *lines_;
  const std::size_t first = lines.Size();
  lines.Append(run);
  edit.HoldLines(lines_, first, count);
  CommitEdit(std::move(edit));
  unsaved_.insert(unsaved_.end(), count, generation_);
  state_.unsaved = unsaved_.size();
  return {Told::kReloaded, first, false};
}

void ResultBook::Record(Step&& step) {
  undo_.push_back(std::move(step));
  redo_.clear();
}

void ResultBook::Finish(const Done& done) {
  const std::size_t index = done.index;
  revision_ = NextRevision();
  switch (done.told) {
    case Told::kAppended:
      Tell([this](BookWatcher& watcher) { watcher.OnAppended(*this); });
      break;
    case Told::kRemoved:
      Tell([this, index](BookWatcher& watcher) { watcher.OnRemoved(*this, index); });
      break;
    case Told::kReplaced:
      Tell([this, index](BookWatcher& watcher) { watcher.OnReplaced(*this, index); });
      break;
    case Told::kReloaded:
      Tell([this](BookWatcher& watcher) { watcher.OnReloaded(*this); });
      break;
  }
  SubmitSave(done.deleteWhenEmpty);
}

template <typename Make>
bool ResultBook::RecordChange(Make make) {
  Done done;
  try {
    Step step;
    MakeRoomForOne(undo_);
    done = make(step);
    Record(std::move(step));
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
  Finish(done);
  return true;
}

bool ResultBook::Append(std::string line) {
  return RecordChange([&](Step& step) {
    step.kind = Change::Kind::kLogged;
    step.line = line;
    const Done done = AppendLine(std::move(line));
    step.index = done.index;
    return done;
  });
}

bool ResultBook::Remove(std::size_t index) {
  if (index >= Size()) return false;
  return RecordChange([&](Step& step) {
    step.kind = Change::Kind::kRemoved;
    step.index = index;
    step.sessionLine = std::binary_search(session_.begin(), session_.end(), index);
    const Done done = RemoveLine(index, step.line);
    step.unsavedLine = done.wasUnsaved;
    return done;
  });
}

bool ResultBook::Rewrite(std::size_t index, std::string line, Change::Kind kind) {
  if (Line(index) == line) return true;
  return RecordChange([&](Step& step) {
    step.kind = kind;
    step.index = index;
    step.after = line;
    return ReplaceLine(index, std::move(line), step.line);
  });
}

bool ResultBook::Replace(std::size_t index, std::string line) {
  if (index >= Size()) return false;
  try {
    // Told as a comment when that is all that changed, else as a penalty.
    const std::optional<Solve> before = Parse(Line(index).Text());
    const std::optional<Solve> after = Parse(line);
    const bool comment = before && after && before->comment != after->comment;
    return Rewrite(index, std::move(line), comment ? Change::Kind::kComment : Change::Kind::kPenalty);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
}

bool ResultBook::SetPenalty(std::size_t index, Penalty penalty) {
  if (index >= Size()) return false;
  try {
    std::optional<Solve> solve = Parse(Line(index).Text());
    if (!solve) return false;
    return Rewrite(index, Format(WithPenalty(std::move(*solve), penalty)), Change::Kind::kPenalty);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
}

bool ResultBook::SetComment(std::size_t index, std::string comment) {
  if (index >= Size()) return false;
  // A line break would split the entry in two in the file; a NUL would end it early.
  if (comment.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return false;
  try {
    std::optional<Solve> solve = Parse(Line(index).Text());
    if (!solve) return false;
    solve->comment = std::move(comment);
    std::string line = Format(*solve);
    // Written so that it would not read back as this comment: refused rather than changed.
    const std::optional<Solve> read = Parse(line);
    if (!read || read->comment != solve->comment) return false;
    return Rewrite(index, std::move(line), Change::Kind::kComment);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
}

bool ResultBook::AppendAll(std::vector<std::string> lines) {
  if (lines.empty()) return true;
  return RecordChange([&](Step& step) {
    step.kind = Change::Kind::kImported;
    step.line = lines.front();
    step.count = lines.size();
    step.hash = HashLines(lines);
    const LineArena run = LineArena::FromLines(lines);
    lines = {};
    const Done done = AppendRun(run.All());
    step.index = done.index;
    return done;
  });
}

bool ResultBook::Reset() {
  return RecordChange([&](Step& step) {
    step.kind = Change::Kind::kReset;
    return ResetLines(step);
  });
}

void ResultBook::AddWatcher(BookWatcher* watcher) {
  if (std::find(watchers_.begin(), watchers_.end(), watcher) == watchers_.end()) watchers_.push_back(watcher);
}

void ResultBook::RemoveWatcher(BookWatcher* watcher) { std::erase(watchers_, watcher); }

bool ResultBook::OutOfMemory() {
  state_.failed = true;
  state_.error = kErrorNotEnoughMemory;
  Tell([this](BookWatcher& watcher) { watcher.OnSaveStateChanged(*this); });
  return false;
}

}  // namespace tw::results
