#pragma once
// The lines of a result log held as the file holds them: one block of bytes, every
// line followed by CR LF, and where each line ends. A line costs its bytes and four
// more, whatever its length, and the block is the file's image as it is written.
// Lines are bytes in the ANSI code page, never converted; NUL is a byte like any other.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace tw::storage {

class LineArena;

// Lines [first, first + count) of an arena, read in place.
class LineSpan {
 public:
  class Iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    Iterator() = default;
    Iterator(const LineArena* arena, std::size_t index) : arena_(arena), index_(index) {}
    std::string_view operator*() const;
    std::string_view operator[](difference_type n) const { return *(*this + n); }
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
  std::string_view operator[](std::size_t i) const;
  std::string_view Front() const { return (*this)[0]; }
  Iterator begin() const { return Iterator(arena_, first_); }
  Iterator end() const { return Iterator(arena_, first_ + count_); }
  // The lines' file image: each followed by CR LF.
  std::string_view FileBytes() const;
  const LineArena* Arena() const { return arena_; }

 private:
  const LineArena* arena_ = nullptr;
  std::size_t first_ = 0;
  std::size_t count_ = 0;
};

class LineArena {
 public:
  using Iterator = LineSpan::Iterator;

  LineArena() = default;
  // The lines of a file image. A line ends at CR LF, at a lone LF (a hand edit) or at
  // a lone CR (an old Mac editor); a last line without a line end is still a line.
  // A log written by us (every line ending in CR LF) keeps its bytes where they are.
  static LineArena FromFileBytes(std::string bytes);
  static LineArena FromLines(const std::vector<std::string>& lines);

  std::size_t Size() const { return ends_.size(); }
  bool Empty() const { return ends_.empty(); }
  std::string_view operator[](std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(bytes_.data() + begin, ends_[i] - begin - kLineEndSize);
  }
  std::string_view Front() const { return (*this)[0]; }
  std::string_view Back() const { return (*this)[Size() - 1]; }
  Iterator begin() const { return Iterator(this, 0); }
  Iterator end() const { return Iterator(this, Size()); }
  LineSpan Span(std::size_t first, std::size_t count) const { return LineSpan(*this, first, count); }
  LineSpan All() const { return LineSpan(*this, 0, Size()); }

  // The file image of the first `count` lines (all of them by default): each line
  // followed by CR LF. An empty log is no bytes.
  std::string_view FileBytes() const { return std::string_view(bytes_.data(), bytes_.size()); }
  std::string_view FileBytes(std::size_t count) const {
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
      if (keep(i)) kept.PushBack((*this)[i]);
    }
    *this = std::move(kept);
  }
  void Clear();

  // Room for this many more lines of this many bytes in all (line ends included),
  // so that adding them moves nothing already held.
  void Reserve(std::size_t lines, std::size_t bytes);
  bool HasRoomFor(std::size_t lines, std::size_t lineBytes) const {
    return ends_.capacity() - ends_.size() >= lines &&
           bytes_.capacity() - bytes_.size() >= lineBytes + lines * kLineEndSize;
  }
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

  static constexpr std::size_t kLineEndSize = 2;
  // Offsets are 32 bits: a log this large is refused before it is read.
  static constexpr std::size_t kMaxBytes = 0xffffffffu;

 private:
  void CheckGrowth(std::size_t lines, std::size_t bytes) const;
  // A view into these very bytes, which a change may move.
  bool Holds(std::string_view line) const;
  void ShiftEnds(std::size_t from, std::ptrdiff_t by);

  std::string bytes_;
  std::vector<std::uint32_t> ends_;  // past each line's CR LF
};

inline std::string_view LineSpan::Iterator::operator*() const { return (*arena_)[index_]; }
inline std::string_view LineSpan::operator[](std::size_t i) const { return (*arena_)[first_ + i]; }
inline std::string_view LineSpan::FileBytes() const {
  if (count_ == 0) return {};
  const std::string_view all = arena_->FileBytes(first_ + count_);
  const std::size_t begin = arena_->FileBytes(first_).size();
  return all.substr(begin);
}

}  // namespace tw::storage
