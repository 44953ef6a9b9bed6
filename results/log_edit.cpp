#include "results/log_edit.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace tw::results {

std::size_t NearestEqualLine(const std::vector<std::string>& lines, std::size_t index, const std::string& line) {
  const std::size_t size = lines.size();
  if (index < size && lines[index] == line) return index;
  if (index > size) index = size;  // the nearest is then the last one
  for (std::size_t distance = 1; distance <= index || index + distance < size; ++distance) {
    if (distance <= index && lines[index - distance] == line) return index - distance;
    if (index + distance < size && lines[index + distance] == line) return index + distance;
  }
  return size;
}

namespace {

// Each line of `removed` takes away one equal line of `lines`: the first still there,
// or the last when `fromTheEnd`.
void RemoveEach(std::vector<std::string>& lines, std::span<const std::string> removed, bool fromTheEnd) {
  std::unordered_map<std::string_view, std::size_t> left;
  for (const std::string& line : removed) ++left[line];
  std::vector<bool> gone(lines.size(), false);
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::size_t i = fromTheEnd ? lines.size() - 1 - n : n;
    const auto found = left.find(lines[i]);
    if (found == left.end() || found->second == 0) continue;
    --found->second;
    gone[i] = true;
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (gone[i]) continue;
    if (kept != i) lines[kept] = std::move(lines[i]);
    ++kept;
  }
  lines.resize(kept);
}

bool RunAt(const std::vector<std::string>& lines, std::size_t at, std::span<const std::string> run) {
  return std::equal(run.begin(), run.end(), lines.begin() + static_cast<std::ptrdiff_t>(at));
}

// Where `run` starts in `lines` as one piece, nearest to `index`; lines.size() when
// it is nowhere whole.
std::size_t NearestRun(const std::vector<std::string>& lines, std::size_t index, std::span<const std::string> run) {
  if (run.empty() || run.size() > lines.size()) return lines.size();
  const std::size_t last = lines.size() - run.size();
  index = std::min(index, last);
  for (std::size_t distance = 0; distance <= index || index + distance <= last; ++distance) {
    if (distance <= index && RunAt(lines, index - distance, run)) return index - distance;
    if (distance > 0 && index + distance <= last && RunAt(lines, index + distance, run)) return index + distance;
  }
  return lines.size();
}

std::ptrdiff_t At(const std::vector<std::string>& lines, std::size_t index) {
  return static_cast<std::ptrdiff_t>(std::min(index, lines.size()));
}

}  // namespace

std::vector<std::string> ApplyEdits(std::vector<std::string> base, const std::vector<LogEdit>& edits) {
  for (const LogEdit& edit : edits) {
    switch (edit.kind) {
      case LogEdit::Kind::kAppend:
        base.push_back(edit.line);
        break;
      case LogEdit::Kind::kRemove: {
        const std::size_t at = NearestEqualLine(base, edit.index, edit.line);
        if (at < base.size()) base.erase(base.begin() + static_cast<std::ptrdiff_t>(at));
        break;
      }
      case LogEdit::Kind::kReplace: {
        const std::size_t at = NearestEqualLine(base, edit.index, edit.line);
        if (at < base.size()) base[at] = edit.replacement;
        break;
      }
      case LogEdit::Kind::kRemoveAll:
        RemoveEach(base, edit.Lines(), false);
        break;
      case LogEdit::Kind::kInsert:
        base.insert(base.begin() + At(base, edit.index), edit.line);
        break;
      case LogEdit::Kind::kInsertAll:
        base.insert(base.begin() + At(base, edit.index), edit.Lines().begin(), edit.Lines().end());
        break;
      case LogEdit::Kind::kAppendAll:
        base.insert(base.end(), edit.Lines().begin(), edit.Lines().end());
        break;
      case LogEdit::Kind::kRemoveRun: {
        const std::size_t at = NearestRun(base, edit.index, edit.Lines());
        if (at < base.size()) {
          base.erase(base.begin() + static_cast<std::ptrdiff_t>(at),
                     base.begin() + static_cast<std::ptrdiff_t>(at + edit.Lines().size()));
        } else {
          // Someone changed the run meanwhile: each of its lines still there goes, the
          // last equal one, as an import put them at the end.
          RemoveEach(base, edit.Lines(), true);
        }
        break;
      }
    }
  }
  return base;
}

}  // namespace tw::results
