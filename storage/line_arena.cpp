#include "storage/line_arena.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace tw::storage {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Where the line starting at `from` ends: its first CR or LF, or the end of the bytes.
std::size_t LineEndAt(std::string_view bytes, std::size_t from) {
  const char* const begin = bytes.data() + from;
  const std::size_t left = bytes.size() - from;
  const void* lf = std::memchr(begin, '\n', left);
  const std::size_t lfAt = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : left;
  const void* cr = std::memchr(begin, '\r', lfAt);
  return from + (cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - begin) : lfAt);
}

}  // namespace

LineArena LineArena::FromFileBytes(std::string bytes) {
  LineArena arena;
  if (bytes.size() > kMaxBytes) throw std::bad_alloc();
  const std::string_view view(bytes);
  // Lines ending in CR LF stay where they are; at the first that does not, the rest
  // is copied with CR LF after each line.
  std::size_t at = 0;
  arena.ends_.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
  while (at < view.size()) {
    const std::size_t end = LineEndAt(view, at);
    if (end + 1 >= view.size() || view[end] != '\r' || view[end + 1] != '\n') break;
    at = end + kLineEndSize;
    arena.ends_.push_back(static_cast<std::uint32_t>(at));
  }
  if (at == view.size()) {
    arena.bytes_ = std::move(bytes);
    return arena;
  }
  std::string copied;
  copied.reserve(view.size() + view.size() / 8 + kLineEndSize);
  copied.append(view.substr(0, at));
  while (at < view.size()) {
    const std::size_t end = LineEndAt(view, at);
    copied.append(view.substr(at, end - at));
    copied.append(kLineEnd);
    if (copied.size() > kMaxBytes) throw std::bad_alloc();
    arena.ends_.push_back(static_cast<std::uint32_t>(copied.size()));
    if (end == view.size()) break;
    const bool crLf = view[end] == '\r' && end + 1 < view.size() && view[end + 1] == '\n';
    at = end + (crLf ? 2 : 1);
  }
  arena.bytes_ = std::move(copied);
  return arena;
}

LineArena LineArena::FromLines(const std::vector<std::string>& lines) {
  LineArena arena;
  std::size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size() + kLineEndSize;
  arena.Reserve(lines.size(), bytes);
  for (const std::string& line : lines) arena.PushBack(line);
  return arena;
}

void LineArena::CheckGrowth(std::size_t lines, std::size_t bytes) const {
  if (bytes_.size() + bytes + lines * kLineEndSize > kMaxBytes) throw std::bad_alloc();
}

void LineArena::Reserve(std::size_t lines, std::size_t bytes) {
  CheckGrowth(0, bytes);
  ends_.reserve(ends_.size() + lines);
  bytes_.reserve(bytes_.size() + bytes);
}

bool LineArena::Holds(std::string_view line) const {
  return !line.empty() && line.data() >= bytes_.data() && line.data() < bytes_.data() + bytes_.size();
}

void LineArena::PushBack(std::string_view line) {
  if (Holds(line)) return PushBack(std::string(line));
  CheckGrowth(1, line.size());
  if (ends_.size() == ends_.capacity()) ends_.reserve(std::max<std::size_t>(ends_.size() * 2, 16));
  const std::size_t size = bytes_.size();
  try {
    bytes_.append(line);
    bytes_.append(kLineEnd);
  } catch (...) {
    bytes_.resize(size);
    throw;
  }
  ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
}

void LineArena::Append(LineSpan run) { Insert(Size(), run); }

void LineArena::ShiftEnds(std::size_t from, std::ptrdiff_t by) {
  for (std::size_t i = from; i < ends_.size(); ++i) {
    ends_[i] = static_cast<std::uint32_t>(static_cast<std::ptrdiff_t>(ends_[i]) + by);
  }
}

void LineArena::Insert(std::size_t at, std::string_view line) {
  if (Holds(line)) return Insert(at, std::string(line));
  if (at >= Size()) {
    PushBack(line);
    return;
  }
  CheckGrowth(1, line.size());
  const std::size_t added = line.size() + kLineEndSize;
  // Room first: the inserts below then move bytes without allocating.
  if (ends_.size() == ends_.capacity()) ends_.reserve(ends_.size() * 2);
  if (bytes_.capacity() - bytes_.size() < added) bytes_.reserve(std::max(bytes_.size() * 2, bytes_.size() + added));
  const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
  bytes_.insert(begin, kLineEnd);
  bytes_.insert(begin, line);
  ends_.insert(ends_.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::uint32_t>(begin));
  ShiftEnds(at, static_cast<std::ptrdiff_t>(added));
}

void LineArena::Insert(std::size_t at, LineSpan run) {
  if (run.Empty()) return;
  at = std::min(at, Size());
  // The run may be a part of these very lines: its bytes are then taken before anything moves.
  std::string copy;
  std::string_view image = run.FileBytes();
  if (run.Arena() == this) {
    copy.assign(image);
    image = copy;
  }
  CheckGrowth(0, image.size());
  std::vector<std::uint32_t> runEnds;
  runEnds.reserve(run.Size());
  const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
  std::size_t end = begin;
  for (const std::string_view line : run) {
    end += line.size() + kLineEndSize;
    runEnds.push_back(static_cast<std::uint32_t>(end));
  }
  ends_.reserve(ends_.size() + run.Size());
  bytes_.reserve(bytes_.size() + image.size());
  bytes_.insert(begin, image);
  ends_.insert(ends_.begin() + static_cast<std::ptrdiff_t>(at), runEnds.begin(), runEnds.end());
  ShiftEnds(at + run.Size(), static_cast<std::ptrdiff_t>(image.size()));
}

void LineArena::Erase(std::size_t at, std::size_t count) {
  if (count == 0) return;
  const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
  const std::size_t end = ends_[at + count - 1];
  bytes_.erase(begin, end - begin);
  ends_.erase(ends_.begin() + static_cast<std::ptrdiff_t>(at), ends_.begin() + static_cast<std::ptrdiff_t>(at + count));
  ShiftEnds(at, -static_cast<std::ptrdiff_t>(end - begin));
}

void LineArena::Replace(std::size_t at, std::string_view line) {
  if (Holds(line)) return Replace(at, std::string(line));
  const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
  const std::size_t oldSize = ends_[at] - begin - kLineEndSize;
  if (line.size() > oldSize) {
    CheckGrowth(0, line.size() - oldSize);
    if (bytes_.capacity() - bytes_.size() < line.size() - oldSize) {
      bytes_.reserve(std::max(bytes_.size() * 2, bytes_.size() + line.size()));
    }
  }
  bytes_.replace(begin, oldSize, line);
  ShiftEnds(at, static_cast<std::ptrdiff_t>(line.size()) - static_cast<std::ptrdiff_t>(oldSize));
}

void LineArena::Clear() {
  bytes_.clear();
  ends_.clear();
}

std::vector<std::string> LineArena::ToStrings() const {
  std::vector<std::string> lines;
  lines.reserve(Size());
  for (const std::string_view line : *this) lines.emplace_back(line);
  return lines;
}

}  // namespace tw::storage
