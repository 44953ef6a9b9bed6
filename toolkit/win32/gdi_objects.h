#pragma once
// Owners for the GDI objects a window paints with, so no pen, brush, bitmap or
// memory DC outlives its paint, whichever way the paint ends.
#include <windows.h>

#include <utility>

namespace tw {

// A pen, brush, font or bitmap created for one use, deleted with its owner.
template <typename Handle>
class GdiObject {
 public:
  explicit GdiObject(Handle handle = nullptr) : handle_(handle) {}
  ~GdiObject() {
    if (handle_) DeleteObject(handle_);
  }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_;
};

// An object selected into a DC until the end of the scope, then the previous one back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, previous_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A memory DC compatible with `reference`, deleted at the end of the scope.
class MemoryDc {
 public:
  explicit MemoryDc(HDC reference) : dc_(CreateCompatibleDC(reference)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace tw
