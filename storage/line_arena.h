#pragma once
// The lines of a result log in one block, each packed (storage/line_codec.h) and
// followed by its packed line end, and where each line ends. A line costs its packed
// bytes (under two fifths of its text for a 3x3x3 result with its scramble) and four more, whatever its length; the block
// unpacks to the file's image as it is written. Lines are read one at a time, each
// unpacked to a LineText of its own, never handed out as a string held per line.
// Lines are bytes in the ANSI code page, never converted; NUL is a byte like any other.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "storage/line_codec.h"
#include "storage/line_text.h"

namespace tw::storage {

class LineArena;

// Lines [first, first + count) of an arena, read in place.
class LineSpan {
 public:
  class Iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = LineText;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = LineText;

    Iterator() = default;
    Iterator(const LineArena* arena, std::size_t index) : arena_(arena), index_(index) {}
    LineText operator*() const;
    LineText operator[](difference_type n) const { return *(*this + n); }
    Iterator& operator++() { ++index_; return *this; }
    Iterator operator++(int) { Iterator was = *this; ++index_; return was; }
    Iterator& operator--() { --index_; return *this; }
    Iterator& operator+=(difference_type n) { index_ = static_cast<std::size_t>(static_cast<difference_type>(index_) + n); return *this; }
    Iterator& operator-=(difference_type n) { return *this += -n; }
    friend Iterator operator+(Iterator at, difference_type n) { return at += n; }
    friend Iterator operator-(Iterator at, difference_type n) { return at -= n; }
    friend difference_type operator-(const Iterator& a, const Iterator& b) {
      return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }
    friend bool operator==(const Iterator& a, const Iterator& b) { return a.index_ == b.index_; }
    friend auto operator<=>(const Iterator& a, const Iterator& b) { return a.index_ <=> b.index_; }
    std::size_t Index() const { return index_; }

   private:
    const LineArena* arena_ = nullptr;
    std::size_t index_ = 0;
  };

  LineSpan() = default;
  LineSpan(const LineArena& arena, std::size_t first, std::size_t count)
      : arena_(&arena), first_(first), count_(count) {}
  std::size_t Size() const { return count_; }
  bool Empty() const { return count_ == 0; }
  LineText operator[](std::size_t i) const;
  std::string_view PackedLine(std::size_t i) const;
  LineText Front() const { return (*this)[0]; }
  Iterator begin() const { return Iterator(arena_, first_); }
  Iterator end() const { return Iterator(arena_, first_ + count_); }
  // The lines packed, each followed by its packed line end.
  std::string_view Packed() const;
  const LineArena* Arena() const { return arena_; }

 private:
  const LineArena* arena_ = nullptr;
  std::size_t first_ = 0;
  std::size_t count_ = 0;
};

class LineArena {
 public:
  using Iterator = LineSpan::Iterator;
  using iterator = Iterator;
  using const_iterator = Iterator;
  using value_type = LineText;

  LineArena() = default;
  // The lines of a file image. A line ends at CR LF, at a lone LF (a hand edit) or at
  // a lone CR (an old Mac editor); a last line without a line end is still a line.
  // The lines are packed where the file's bytes are, then copied once to a block of
  // their size and an eighth more (room for the solves to come), so reading a log
  // holds no more than its bytes and its packed lines at once.
  static LineArena FromFileBytes(std::string bytes);
  static LineArena FromLines(const std::vector<std::string>& lines);

  std::size_t Size() const { return ends_.size(); }
  bool Empty() const { return ends_.empty(); }
  LineText operator[](std::size_t i) const { return LineText(PackedLine(i)); }
  // Line `i` packed, without its line end: two lines are equal exactly when their
  // packed bytes are, so lines are compared and looked up as these, unpacking none.
  // Good until the lines next change.
  std::string_view PackedLine(std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(bytes_.data() + begin, ends_[i] - begin - 1);
  }
  // Whether line `i` is `line`.
  bool LineIs(std::size_t i, std::string_view packedLine) const { return PackedLine(i) == packedLine; }
  LineText Front() const { return (*this)[0]; }
  LineText Back() const { return (*this)[Size() - 1]; }
  // Lines [first, first + count) one after another, each unpacked into one buffer
  // reused for the next: `read(std::string_view line)` sees a line while it is called.
  template <typename Read>
  void ForEach(std::size_t first, std::size_t count, Read&& read) const {
    std::string buffer;
    for (std::size_t i = first; i < first + count; ++i) {
      const std::string_view packed = PackedLine(i);
      if (buffer.size() < UnpackedBound(packed.size())) buffer.resize(UnpackedBound(packed.size()));
      read(std::string_view(buffer.data(), static_cast<std::size_t>(UnpackLine(packed, buffer.data()) - buffer.data())));
    }
  }
  template <typename Read>
  void ForEach(Read&& read) const { ForEach(0, Size(), read); }
  Iterator begin() const { return Iterator(this, 0); }
  Iterator end() const { return Iterator(this, Size()); }
  LineSpan Span(std::size_t first, std::size_t count) const { return LineSpan(*this, first, count); }
  LineSpan All() const { return LineSpan(*this, 0, Size()); }

  // The first `count` lines (all of them by default) packed, each followed by its
  // packed line end: what UnpackFileImage turns into the file's image. An empty log is
  // no bytes.
  std::string_view Packed() const { return std::string_view(bytes_.data(), bytes_.size()); }
  std::string_view Packed(std::size_t count) const {
    return std::string_view(bytes_.data(), count == 0 ? 0 : ends_[count - 1]);
  }

  // Each change either happens whole or throws std::bad_alloc leaving the lines as they were.
  void PushBack(std::string_view line);
  void Append(LineSpan run);
  void Insert(std::size_t at, std::string_view line);
  void Insert(std::size_t at, LineSpan run);
  void Erase(std::size_t at, std::size_t count = 1);
  void Replace(std::size_t at, std::string_view line);
  // Keeps only the lines `keep` says yes to, in order (the argument is the index).
  template <typename Keep>
  void KeepIf(Keep keep) {
    LineArena kept;
    kept.Reserve(Size(), bytes_.size());
    for (std::size_t i = 0; i < Size(); ++i) {
      if (keep(i)) kept.PushPacked(Span(i, 1).Packed());
    }
    *this = std::move(kept);
  }
  void Clear();

  // Room for this many more lines of this many packed bytes in all (PackedSize: line
  // ends included), so that adding them moves nothing already held.
  void Reserve(std::size_t lines, std::size_t bytes);
  bool HasRoomFor(std::size_t lines, std::size_t packedBytes) const {
    return ends_.capacity() - ends_.size() >= lines && bytes_.capacity() - bytes_.size() >= packedBytes;
  }
  // The packed bytes held.
  std::size_t Bytes() const { return bytes_.size(); }
  // What the lines hold of the heap, room kept for more included.
  std::size_t HeldBytes() const { return bytes_.capacity() + ends_.capacity() * sizeof(std::uint32_t); }

  std::vector<std::string> ToStrings() const;
  friend bool operator==(const LineArena& a, const LineArena& b) {
    return a.bytes_ == b.bytes_ && a.ends_ == b.ends_;
  }
  friend bool operator==(const LineArena& a, const std::vector<std::string>& b) {
    return a.Size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
  }

  // Offsets are 32 bits: a log this large is refused before it is read.
  static constexpr std::size_t kMaxBytes = 0xffffffffu;

 private:
  void PushPacked(std::string_view packedWithEnd);
  void CheckGrowth(std::size_t bytes) const;
  void ShiftEnds(std::size_t from, std::ptrdiff_t by);

  std::string bytes_;
  std::vector<std::uint32_t> ends_;  // past each line's packed line end
};

inline LineText LineSpan::Iterator::operator*() const { return (*arena_)[index_]; }
inline LineText LineSpan::operator[](std::size_t i) const { return (*arena_)[first_ + i]; }
inline std::string_view LineSpan::PackedLine(std::size_t i) const { return arena_->PackedLine(first_ + i); }
inline std::string_view LineSpan::Packed() const {
  if (count_ == 0) return {};
  const std::string_view all = arena_->Packed(first_ + count_);
  const std::size_t begin = arena_->Packed(first_).size();
  return all.substr(begin);
}

}  // namespace tw::storage
