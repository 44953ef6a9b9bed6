#include "results/log_edit.h"

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

// Each line of `removed` takes away one equal line of `lines`, the first still there.
void RemoveEach(std::vector<std::string>& lines, const std::vector<std::string>& removed) {
  std::unordered_map<std::string_view, std::size_t> left;
  for (const std::string& line : removed) ++left[line];
  std::size_t kept = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto found = left.find(lines[i]);
    if (found != left.end() && found->second > 0) {
      --found->second;
      continue;
    }
    if (kept != i) lines[kept] = std::move(lines[i]);
    ++kept;
  }
  lines.resize(kept);
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
        RemoveEach(base, edit.lines);
        break;
    }
  }
  return base;
}

}  // namespace tw::results
