#pragma once
// The changes this run made to a log since it was last saved, and how they are laid
// over the file's lines when the file turns out to have changed outside the program.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/line_arena.h"

namespace tw::results {

struct LogEdit {
  enum class Kind {
    kAppend,     // `line` added at the end
    kRemove,     // `line`, at `index` when the edit was made, removed
    kReplace,    // `line` at `index` rewritten as `replacement`
    kRemoveAll,  // every line of Lines() removed (a reset)
    kInsert,     // `line` put back at `index` (a remove taken back)
    kInsertAll,  // Lines() put back at `index` (a reset taken back)
    kAppendAll,  // Lines() added at the end (an import)
    kRemoveRun,  // Lines(), added as one run at `index`, removed (an import taken back)
  };
  Kind kind = Kind::kAppend;
  std::uint64_t generation = 0;  // the book's change counter when the edit was made
  std::size_t index = 0;
  std::string line;
  std::string replacement;
  // The lines of an edit of many. They are seen through a view taken on the book's
  // thread and kept alive by their owner: often the book's own lines, which the book
  // never changes while anything else holds them, so that a store may read them on its
  // own thread and an import or a reset costs no copy of them.
  storage::LineSpan Lines() const { return lines_; }
  void HoldLines(std::shared_ptr<const storage::LineArena> owner, std::size_t first, std::size_t count) {
    lines_ = owner->Span(first, count);
    owner_ = std::move(owner);
  }
  void HoldLines(storage::LineArena lines) {
    const std::size_t count = lines.Size();
    HoldLines(std::make_shared<const storage::LineArena>(std::move(lines)), 0, count);
  }

 private:
  std::shared_ptr<const storage::LineArena> owner_;
  storage::LineSpan lines_;
};

// The index of `line` in `lines`: the one at `index` when it is equal, else the equal
// line nearest to `index` (the earlier of two as near); lines.size() when there is none.
std::size_t NearestEqualLine(const storage::LineArena& lines, std::size_t index, std::string_view line);

// `base` (the file's lines as read now) with `edits` applied in order. An append
// always lands at the end and a line put back lands at its index (the end when the
// file is shorter now); a remove or a replace applies only if its exact line is still
// there (the one at its index, else the nearest equal line), so nothing that another
// program wrote is lost and nothing this run did not see is changed.
storage::LineArena ApplyEdits(storage::LineArena base, const std::vector<LogEdit>& edits);

}  // namespace tw::results
