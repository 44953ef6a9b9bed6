// What a host benchmark's model really holds on the heap, read from the allocator
// (glibc), not the model's own account of itself.
#pragma once

#include <malloc.h>

#include <cstddef>

namespace tw::bench {

// Bytes handed out by malloc and not yet freed, small blocks and mapped ones alike.
inline std::size_t HeapBytesInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The heap `build` leaves behind: what it allocated and still holds once it returns.
template <typename Build>
std::ptrdiff_t HeapKeptBy(Build&& build) {
  const std::size_t before = HeapBytesInUse();
  build();
  return static_cast<std::ptrdiff_t>(HeapBytesInUse()) - static_cast<std::ptrdiff_t>(before);
}

}  // namespace tw::bench
