#pragma once
// One line of a LineArena, unpacked: the text is this object's own, read through a
// std::string_view while the object lives. Only a named LineText converts to a view,
// so a view can never outlive the text it shows:
//   const LineText line = arena[i]; Use(line);   // compiles
//   std::string_view gone = arena[i];            // does not compile
#include <cstddef>
#include <string>
#include <string_view>

#include "storage/line_codec.h"

namespace tw::storage {

class LineText {
 public:
  LineText() = default;
  explicit LineText(std::string_view packed) : size_(UnpackedSize(packed)) {
    if (size_ > kInlineBytes) spill_.resize(size_);
    UnpackLine(packed, Data());
  }
  LineText(const LineText& other) : size_(other.size_), spill_(other.spill_) { CopyInline(other); }
  LineText& operator=(const LineText& other) {
    size_ = other.size_;
    spill_ = other.spill_;
    CopyInline(other);
    return *this;
  }

  std::string_view View() const& { return std::string_view(Data(), size_); }
  std::string_view View() const&& = delete;
  operator std::string_view() const& { return View(); }
  operator std::string_view() const&& = delete;
  std::string Text() const { return std::string(Data(), size_); }
  const char* data() const& { return Data(); }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  friend bool operator==(const LineText& a, const LineText& b) { return a.View() == b.View(); }
  friend bool operator==(const LineText& a, std::string_view b) { return a.View() == b; }
  friend bool operator==(const LineText& a, const std::string& b) { return a.View() == b; }
  friend bool operator==(const LineText& a, const char* b) { return a.View() == b; }

 private:
  // A line with its scramble and a comment fits; a longer one is held on the heap.
  static constexpr std::size_t kInlineBytes = 240;

  const char* Data() const { return size_ > kInlineBytes ? spill_.data() : inline_; }
  char* Data() { return size_ > kInlineBytes ? spill_.data() : inline_; }
  void CopyInline(const LineText& other) {
    if (size_ <= kInlineBytes) std::char_traits<char>::copy(inline_, other.inline_, size_);
  }

  std::size_t size_ = 0;
  std::string spill_;
  char inline_[kInlineBytes];
};

}  // namespace tw::storage
