#pragma once
#include <windows.h>

#include <cstddef>

namespace tw::options {

// Owns a GDI bitmap.
class Bitmap {
 public:
  Bitmap() = default;
  explicit Bitmap(HBITMAP bitmap) : bitmap_(bitmap) {}
  Bitmap(Bitmap&& other) noexcept : bitmap_(other.Release()) {}
  Bitmap& operator=(Bitmap&& other) noexcept;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  ~Bitmap() { Reset(); }

  HBITMAP get() const { return bitmap_; }
  explicit operator bool() const { return bitmap_ != nullptr; }
  HBITMAP Release();
  void Reset();

 private:
  HBITMAP bitmap_ = nullptr;
};

// The first frame of an image file (the About picture is an animated GIF shown still),
// stretched to width x height pixels and laid on `background` where it is transparent.
// Decoded by Windows Imaging Component; an empty Bitmap when the bytes do not decode.
// The calling thread must already be in a COM apartment (the program enters one at
// start-up, for the shell as well).
Bitmap DecodeStillPicture(const void* bytes, std::size_t size, int width, int height, COLORREF background);

// The About picture from the program's own resources, or an empty Bitmap when the
// executable carries none (the test program does not).
Bitmap LoadAboutPicture(int width, int height, COLORREF background);

}  // namespace tw::options
