// The book's history: every change of this run as one step, taken back and done again.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "results/result_book.h"
#include "results/result_book_parts.h"

namespace tw::results {

using book_parts::HashLines;
using book_parts::MakeRoomForOne;

std::size_t ResultBook::FindRun(const Step& step) const {
  const storage::LineArena& lines = *lines_;
  if (step.count == 0) return std::min(step.index, lines.Size());
  if (step.count > lines.Size() || !step.hash) return lines.Size();
  const std::size_t last = lines.Size() - step.count;
  const std::size_t index = std::min(step.index, last);
  auto runAt = [&](std::size_t at) {
    return lines[at] == step.line &&
           HashLines(lines.Span(at, step.count)) == *step.hash;
  };
  for (std::size_t distance = 0; distance <= index || index + distance <= last; ++distance) {
    if (distance <= index && runAt(index - distance)) return index - distance;
    if (distance > 0 && index + distance <= last && runAt(index + distance)) return index + distance;
  }
  return lines.Size();
}

std::optional<ResultBook::Change> ResultBook::Undo() { return TakeStep(true); }

std::optional<ResultBook::Change> ResultBook::Redo() { return TakeStep(false); }

std::optional<ResultBook::Change> ResultBook::TakeStep(bool undo) {
  std::vector<Step>& from = undo ? undo_ : redo_;
  std::vector<Step>& to = undo ? redo_ : undo_;
  if (from.empty()) return std::nullopt;
  Step& step = from.back();
  Step next;
  next.kind = step.kind;
  Change change;
  change.kind = step.kind;
  Done done;
  bool found = true;
  // Everything that may run out of memory comes before the change itself: once the
  // book has changed, the step is taken.
  try {
    MakeRoomForOne(to);
    switch (step.kind) {
      case Change::Kind::kLogged:
      case Change::Kind::kRemoved: {
        change.line = step.line;
        // Taking back a logged line and doing a removal again both take it out.
        if (undo == (step.kind == Change::Kind::kLogged)) {
          const std::size_t at = NearestEqualLine(Lines(), step.index, step.line);
          found = at < Size();
          if (!found) break;
          next.sessionLine = std::binary_search(session_.begin(), session_.end(), at);
          done = RemoveLine(at, next.line);
          next.unsavedLine = done.wasUnsaved;
          next.index = at;
          break;
        }
        done = step.kind == Change::Kind::kLogged
                   ? AppendLine(step.line)
                   : InsertLine(step.index, step.line, step.sessionLine, step.unsavedLine);
        next.line = std::move(step.line);
        next.index = done.index;
        break;
      }
      case Change::Kind::kPenalty:
      case Change::Kind::kComment: {
        const std::string& now = undo ? step.after : step.line;
        const std::string& then = undo ? step.line : step.after;
        const std::size_t at = NearestEqualLine(Lines(), step.index, now);
        found = at < Size();
        if (!found) break;
        change.line = then;
        std::string replaced;
        done = ReplaceLine(at, then, replaced);
        next.line = std::move(step.line);
        next.after = std::move(step.after);
        next.index = at;
        break;
      }
      case Change::Kind::kReset:
      case Change::Kind::kImported: {
        change.count = step.count;
        // Taking back an import and doing a reset again both take a run out of the book.
        if (undo == (step.kind == Change::Kind::kImported)) {
          const std::size_t at = FindRun(step);
          found = at < Size() || step.count == 0;
          if (!found) break;
          change.line = step.line;
          done = RemoveRun(at, step.count, undo ? LogEdit::Kind::kRemoveRun : LogEdit::Kind::kRemoveAll, next);
          next.line = std::move(step.line);
          next.hash = step.hash;
          break;
        }
        const storage::LineArena& run = *step.lines;
        std::string first = run.Empty() ? std::string() : std::string(run.Front());
        change.line = first;
        const std::uint64_t hash = step.hash ? *step.hash : HashLines(run);
        if (step.kind == Change::Kind::kReset) {
          done = InsertRun(step);
        } else {
          done = AppendRun(run.All());
        }
        next.index = done.index;
        next.count = step.count;
        next.line = std::move(first);
        next.hash = hash;
        break;
      }
    }
  } catch (const std::bad_alloc&) {
    OutOfMemory();
    return std::nullopt;
  }
  from.pop_back();
  if (!found) return std::nullopt;
  to.push_back(std::move(next));
  Finish(done);
  return change;
}

}  // namespace tw::results
