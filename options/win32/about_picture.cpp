#include "options/win32/about_picture.h"

#include <objbase.h>
#include <shlwapi.h>
#include <wincodec.h>

#include <utility>
#include <vector>

#include "resources/resource_ids.h"
#include "toolkit/win32/system_library.h"

namespace tw::options {

namespace {

// Holds one COM reference.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (ptr_) ptr_->Release();
  }
  T* operator->() const { return ptr_; }
  T* get() const { return ptr_; }
  T** out() { return &ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

 private:
  T* ptr_ = nullptr;
};

// Premultiplied BGRA laid over an opaque colour, written as a bottom-up 24-bit DIB:
// a 32-bit bitmap with zero alpha would show as a hole in a themed static.
Bitmap Composite(const std::vector<BYTE>& bgra, int width, int height, COLORREF background) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) return Bitmap(bitmap);
  const int stride = (width * 3 + 3) & ~3;
  const BYTE back[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
  for (int y = 0; y < height; ++y) {
    const BYTE* src = bgra.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4;
    BYTE* dst = static_cast<BYTE*>(bits) + static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(stride);
    for (int x = 0; x < width; ++x, src += 4, dst += 3) {
      const int alpha = src[3];
      for (int c = 0; c < 3; ++c) dst[c] = static_cast<BYTE>(src[c] + back[c] * (255 - alpha) / 255);
    }
  }
  GdiFlush();
  return Bitmap(bitmap);
}

}  // namespace

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    Reset();
    bitmap_ = other.Release();
  }
  return *this;
}

HBITMAP Bitmap::Release() { return std::exchange(bitmap_, nullptr); }

void Bitmap::Reset() {
  if (bitmap_) DeleteObject(std::exchange(bitmap_, nullptr));
}

Bitmap DecodeStillPicture(const void* bytes, std::size_t size, int width, int height, COLORREF background) {
  if (!bytes || size == 0 || width <= 0 || height <= 0) return {};
  ComRef<IStream> stream;
  using MemStreamFunction = decltype(&SHCreateMemStream);
  static const auto createMemStream = SystemFunction<MemStreamFunction>("shlwapi.dll", "SHCreateMemStream");
  if (!createMemStream) return {};
  *stream.out() = createMemStream(static_cast<const BYTE*>(bytes), static_cast<UINT>(size));
  ComRef<IWICImagingFactory> factory;
  ComRef<IWICBitmapDecoder> decoder;
  ComRef<IWICBitmapFrameDecode> frame;
  ComRef<IWICFormatConverter> converter;
  ComRef<IWICBitmapScaler> scaler;
  if (!stream ||
      FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.out()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.out())) ||
      FAILED(decoder->GetFrame(0, frame.out())) || FAILED(factory->CreateFormatConverter(converter.out())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(factory->CreateBitmapScaler(scaler.out())) ||
      FAILED(scaler->Initialize(converter.get(), static_cast<UINT>(width), static_cast<UINT>(height),
                                WICBitmapInterpolationModeFant))) {
    return {};
  }
  std::vector<BYTE> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  if (FAILED(scaler->CopyPixels(nullptr, static_cast<UINT>(width) * 4, static_cast<UINT>(pixels.size()),
                                pixels.data()))) {
    return {};
  }
  return Composite(pixels, width, height, background);
}

Bitmap LoadAboutPicture(int width, int height, COLORREF background) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDR_ABOUT_GIF), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!resource) return {};
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  return DecodeStillPicture(bytes, SizeofResource(module, resource), width, height, background);
}

}  // namespace tw::options
