#include "results/log_edit.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace tw::results {

using storage::LineArena;
using storage::LineSpan;

std::size_t NearestEqualLine(const LineArena& lines, std::size_t index, std::string_view text) {
  const std::string line = storage::Packed(text);
  const std::size_t size = lines.Size();
  if (index < size && lines.LineIs(index, line)) return index;
  if (index > size) index = size;  // the nearest is then the last one
  for (std::size_t distance = 1; distance <= index || index + distance < size; ++distance) {
    if (distance <= index && lines.LineIs(index - distance, line)) return index - distance;
    if (index + distance < size && lines.LineIs(index + distance, line)) return index + distance;
  }
  return size;
}

namespace {

// Each line of `removed` takes away one equal line of `lines`: the first still there,
// or the last when `fromTheEnd`.
void RemoveEach(LineArena& lines, LineSpan removed, bool fromTheEnd) {
  // By their packed bytes, which stay where they are until KeepIf below.
  std::unordered_map<std::string_view, std::size_t> left;
  for (std::size_t i = 0; i < removed.Size(); ++i) ++left[removed.PackedLine(i)];
  std::vector<bool> gone(lines.Size(), false);
  for (std::size_t n = 0; n < lines.Size(); ++n) {
    const std::size_t i = fromTheEnd ? lines.Size() - 1 - n : n;
    const auto found = left.find(lines.PackedLine(i));
    if (found == left.end() || found->second == 0) continue;
    --found->second;
    gone[i] = true;
  }
  lines.KeepIf([&gone](std::size_t i) { return !gone[i]; });
}

bool RunAt(const LineArena& lines, std::size_t at, LineSpan run) {
  return lines.Span(at, run.Size()).Packed() == run.Packed();
}

// Where `run` starts in `lines` as one piece, nearest to `index`; lines.Size() when
// it is nowhere whole.
std::size_t NearestRun(const LineArena& lines, std::size_t index, LineSpan run) {
  if (run.Empty() || run.Size() > lines.Size()) return lines.Size();
  const std::size_t last = lines.Size() - run.Size();
  index = std::min(index, last);
  for (std::size_t distance = 0; distance <= index || index + distance <= last; ++distance) {
    if (distance <= index && RunAt(lines, index - distance, run)) return index - distance;
    if (distance > 0 && index + distance <= last && RunAt(lines, index + distance, run)) return index + distance;
  }
  return lines.Size();
}

}  // namespace

LineArena ApplyEdits(LineArena base, const std::vector<LogEdit>& edits) {
  for (const LogEdit& edit : edits) {
    switch (edit.kind) {
      case LogEdit::Kind::kAppend:
        base.PushBack(edit.line);
        break;
      case LogEdit::Kind::kRemove: {
        const std::size_t at = NearestEqualLine(base, edit.index, edit.line);
        if (at < base.Size()) base.Erase(at);
        break;
      }
      case LogEdit::Kind::kReplace: {
        const std::size_t at = NearestEqualLine(base, edit.index, edit.line);
        if (at < base.Size()) base.Replace(at, edit.replacement);
        break;
      }
      case LogEdit::Kind::kRemoveAll:
        RemoveEach(base, edit.Lines(), false);
        break;
      case LogEdit::Kind::kInsert:
        base.Insert(std::min(edit.index, base.Size()), edit.line);
        break;
      case LogEdit::Kind::kInsertAll:
        base.Insert(std::min(edit.index, base.Size()), edit.Lines());
        break;
      case LogEdit::Kind::kAppendAll:
        base.Append(edit.Lines());
        break;
      case LogEdit::Kind::kRemoveRun: {
        const std::size_t at = NearestRun(base, edit.index, edit.Lines());
        if (at < base.Size()) {
          base.Erase(at, edit.Lines().Size());
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
