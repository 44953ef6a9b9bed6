#pragma once
// The changes this run made to a log since it was last saved, and how they are laid
// over the file's lines when the file turns out to have changed outside the program.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tw::results {

struct LogEdit {
  enum class Kind {
    kAppend,   // `line` added at the end
    kRemove,   // `line`, at `index` when the edit was made, removed
    kReplace,  // `line` at `index` rewritten as `replacement`
    kRemoveAll // every line in `lines` removed (a reset)
  };
  Kind kind = Kind::kAppend;
  std::uint64_t generation = 0;  // the book's change counter when the edit was made
  std::size_t index = 0;
  std::string line;
  std::string replacement;
  std::vector<std::string> lines;
};

// The index of `line` in `lines`: the one at `index` when it is equal, else the equal
// line nearest to `index` (the earlier of two as near); lines.size() when there is none.
std::size_t NearestEqualLine(const std::vector<std::string>& lines, std::size_t index, const std::string& line);

// `base` (the file's lines as read now) with `edits` applied in order. An append
// always lands at the end; a remove or a replace applies only if its exact line is
// still there (the one at its index, else the nearest equal line), so nothing that
// another program wrote is lost and nothing this run did not see is changed.
std::vector<std::string> ApplyEdits(std::vector<std::string> base, const std::vector<LogEdit>& edits);

}  // namespace tw::results
