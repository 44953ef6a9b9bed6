#pragma once
// Small helpers the book's files share: its changes (result_book.cpp), its history
// of them, undo and redo (result_book_history.cpp), and its saves (result_book_saving.cpp).
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/line_arena.h"

namespace tw::results::book_parts {

// Revisions count across every book, so that no two books' ever meet.
std::uint64_t NextRevision();
// Throws std::bad_alloc when a test asked the next change to run out of memory.
void ThrowIfAllocationFails();
// Keeps room past the lines for the solves logged while a save holds them.
void KeepSpareRoom(storage::LineArena& lines);

// Grows a list ahead of the change that needs one more place, so the change itself
// cannot fail for memory half-way.
template <typename T>
inline void MakeRoomForOne(std::vector<T>& items) {
  if (items.size() < items.capacity()) return;
  items.reserve(std::max<std::size_t>(items.size() * 2, 8));
}

// Tells a run of lines from any other: a run the step needs is taken as still the
// same when its first line and this hash are.
template <typename Lines>
inline std::uint64_t HashLines(const Lines& lines) {
  const std::hash<std::string_view> hashLine;
  std::uint64_t hash = 14695981039346656037ull;
  for (const auto& line : lines) {
    hash = (hash ^ static_cast<std::uint64_t>(hashLine(std::string_view(line)))) * 1099511628211ull;
  }
  return hash;
}

}  // namespace tw::results::book_parts
