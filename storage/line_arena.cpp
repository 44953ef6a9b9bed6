#include "storage/line_arena.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace tw::storage {

namespace {

// Where the line starting at `from` ends: its first CR or LF, or the end of the bytes.
std::size_t LineEndAt(std::string_view bytes, std::size_t from) {
  const char* const begin = bytes.data() + from;
  const std::size_t left = bytes.size() - from;
  const void* lf = std::memchr(begin, '\n', left);
  const std::size_t lfAt = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : left;
  const void* cr = std::memchr(begin, '\r', lfAt);
  return from + (cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - begin) : lfAt);
}

// The packed form of one line, made before the block changes: packing straight into
// the block could move it, and a save on another thread may be reading it.
std::string PackedCopy(std::string_view line) {
  std::string packed;
  packed.reserve(PackedSize(line));
  PackLine(line, packed);
  return packed;
}


}  // namespace

LineArena LineArena::FromFileBytes(std::string bytes) {
  LineArena arena;
  const std::size_t lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
  arena.ends_.reserve(lines + lines / 8);
  const std::string_view view(bytes);
  // Each line packs to no more than the bytes it was read from with its line end,
  // unless it holds many escaped bytes: written back where it was read, it overwrites
  // only bytes already read. A line that does not fit sends the rest to a block of its own.
  std::string packedLine;
  std::string elsewhere;
  bool inPlace = true;
  std::size_t written = 0;
  std::size_t at = 0;
  while (at < view.size()) {
    const std::size_t end = LineEndAt(view, at);
    const bool crLf = end + 1 < view.size() && view[end] == '\r' && view[end + 1] == '\n';
    const std::size_t next = end == view.size() ? end : end + (crLf ? 2 : 1);
    packedLine.clear();
    PackLine(view.substr(at, end - at), packedLine);
    if (inPlace && written + packedLine.size() > next) {
      elsewhere.assign(bytes.data(), written);
      inPlace = false;
    }
    if (inPlace) {
      std::memmove(bytes.data() + written, packedLine.data(), packedLine.size());
      written += packedLine.size();
    } else {
      elsewhere.append(packedLine);
      written = elsewhere.size();
    }
    if (written > kMaxBytes) throw std::bad_alloc();
    arena.ends_.push_back(static_cast<std::uint32_t>(written));
    at = next;
  }
  arena.bytes_.reserve(written + written / 8);
  arena.bytes_.assign(inPlace ? bytes.data() : elsewhere.data(), written);
  return arena;
}

LineArena LineArena::FromLines(const std::vector<std::string>& lines) {
  LineArena arena;
  std::size_t bytes = 0;
  for (const std::string& line : lines) bytes += PackedSize(line);
  arena.Reserve(lines.size(), bytes);
  for (const std::string& line : lines) arena.PushBack(line);
  return arena;
}

void LineArena::CheckGrowth(std::size_t bytes) const {
  if (bytes_.size() + bytes > kMaxBytes) throw std::bad_alloc();
}

void LineArena::Reserve(std::size_t lines, std::size_t bytes) {
  CheckGrowth(bytes);
  ends_.reserve(ends_.size() + lines);
  bytes_.reserve(bytes_.size() + bytes);
}

void LineArena::PushPacked(std::string_view packedWithEnd) {
  CheckGrowth(packedWithEnd.size());
  if (ends_.size() == ends_.capacity()) ends_.reserve(std::max<std::size_t>(ends_.size() * 2, 16));
  bytes_.append(packedWithEnd);
  ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
}

void LineArena::PushBack(std::string_view line) { PushPacked(PackedCopy(line)); }

void LineArena::Append(LineSpan run) { Insert(Size(), run); }

void LineArena::ShiftEnds(std::size_t from, std::ptrdiff_t by) {
  for (std::size_t i = from; i < ends_.size(); ++i) {
    ends_[i] = static_cast<std::uint32_t>(static_cast<std::ptrdiff_t>(ends_[i]) + by);
  }
}

void LineArena::Insert(std::size_t at, std::string_view line) {
  if (at >= Size()) {
    PushBack(line);
    return;
  }
  const std::string packed = PackedCopy(line);
  CheckGrowth(packed.size());
  // Room first: the inserts below then move bytes without allocating.
  if (ends_.size() == ends_.capacity()) ends_.reserve(ends_.size() * 2);
  if (bytes_.capacity() - bytes_.size() < packed.size()) {
    bytes_.reserve(std::max(bytes_.size() * 2, bytes_.size() + packed.size()));
  }
  const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
  bytes_.insert(begin, packed);
  ends_.insert(ends_.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::uint32_t>(begin));
  ShiftEnds(at, static_cast<std::ptrdiff_t>(packed.size()));
}

void LineArena::Insert(std::size_t at, LineSpan run) {
  if (run.Empty()) return;
  at = std::min(at, Size());
  // The run may be a part of these very lines: its bytes are then taken before anything moves.
  std::string copy;
  std::string_view packed = run.Packed();
  if (run.Arena() == this) {
    copy.assign(packed);
    packed = copy;
  }
  CheckGrowth(packed.size());
  // The run's line ends where they fall here: its own, moved by where it begins.
  const std::string_view before = run.Arena()->Packed(run.begin().Index());
  const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
  std::vector<std::uint32_t> runEnds;
  runEnds.reserve(run.Size());
  for (std::size_t i = 0; i < run.Size(); ++i) {
    const std::size_t end = run.Arena()->ends_[run.begin().Index() + i];
    runEnds.push_back(static_cast<std::uint32_t>(begin + end - before.size()));
  }
  ends_.reserve(ends_.size() + run.Size());
  bytes_.reserve(bytes_.size() + packed.size());
  bytes_.insert(begin, packed);
  ends_.insert(ends_.begin() + static_cast<std::ptrdiff_t>(at), runEnds.begin(), runEnds.end());
  ShiftEnds(at + run.Size(), static_cast<std::ptrdiff_t>(packed.size()));
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
  std::string packed = PackedCopy(line);
  packed.pop_back();  // the line end stays where it is
  const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
  const std::size_t oldSize = ends_[at] - begin - 1;
  if (packed.size() > oldSize) {
    CheckGrowth(packed.size() - oldSize);
    if (bytes_.capacity() - bytes_.size() < packed.size() - oldSize) {
      bytes_.reserve(std::max(bytes_.size() * 2, bytes_.size() + packed.size()));
    }
  }
  bytes_.replace(begin, oldSize, packed);
  ShiftEnds(at, static_cast<std::ptrdiff_t>(packed.size()) - static_cast<std::ptrdiff_t>(oldSize));
}

void LineArena::Clear() {
  bytes_.clear();
  ends_.clear();
}

std::vector<std::string> LineArena::ToStrings() const {
  std::vector<std::string> lines;
  lines.reserve(Size());
  ForEach([&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

}  // namespace tw::storage
