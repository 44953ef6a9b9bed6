// The generated assets, checked the way the program and Windows will use them:
// the sound files by the lengths the start-up insists on, the digit font through
// GDI, the icon and pointer through user32 and the About picture through WIC.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

// The build passes the source folder as a Unix path; Wine maps those through Z:.
std::string AssetPath(const char* name) {
  std::string root = TW_SOURCE_DIR;
  if (!root.empty() && root[0] == '/') root = "Z:" + root;
  return root + "/resources/" + name;
}

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U32(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

uint16_t U16(const std::vector<unsigned char>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

std::string Tag(const std::vector<unsigned char>& b, size_t at) {
  return std::string(b.begin() + at, b.begin() + at + 4);
}

TEST(Resources, SoundFilesHaveTheLengthsStartUpAcceptsAndPlainPcmHeaders) {
  struct Case {
    const char* name;
    size_t size;
  };
  for (const Case& c : {Case{"Beep.wav", 1282}, Case{"Ding.wav", 80856}}) {
    SCOPED_TRACE(c.name);
    const auto wav = ReadAll(AssetPath(c.name));
    ASSERT_EQ(wav.size(), c.size);
    EXPECT_EQ(Tag(wav, 0), "RIFF");
    EXPECT_EQ(U32(wav, 4), wav.size() - 8);
    EXPECT_EQ(Tag(wav, 8), "WAVE");
    EXPECT_EQ(Tag(wav, 12), "fmt ");
    EXPECT_EQ(U16(wav, 20), 1) << "PCM";
    const uint16_t channels = U16(wav, 22), bits = U16(wav, 34);
    EXPECT_EQ(U32(wav, 28), U32(wav, 24) * channels * bits / 8) << "byte rate";
    EXPECT_EQ(Tag(wav, 36), "data");
    EXPECT_EQ(U32(wav, 40), wav.size() - 44);
  }
}

// Removes the private font again so later tests in this process still see a
// system without "Digital-7", as the start-up's missing-font path needs.
class PrivateFont {
 public:
  explicit PrivateFont(std::string path) : path_(std::move(path)) {
    added_ = AddFontResourceExA(path_.c_str(), FR_PRIVATE, nullptr);
  }
  ~PrivateFont() {
    if (added_ > 0) RemoveFontResourceExA(path_.c_str(), FR_PRIVATE, nullptr);
  }
  PrivateFont(const PrivateFont&) = delete;
  PrivateFont& operator=(const PrivateFont&) = delete;
  int added() const { return added_; }

 private:
  std::string path_;
  int added_ = 0;
};

struct DigitCanvas {
  static constexpr int kSize = 160;
  HDC dc = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = nullptr;
  HFONT font = nullptr;
  HGDIOBJ old_bitmap = nullptr;
  HGDIOBJ old_font = nullptr;

  explicit DigitCanvas(int weight) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kSize;
    info.bmiHeader.biHeight = -kSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_bitmap = SelectObject(dc, bitmap);
    // The digit labels' font: 99.75 pt at 96 dpi is a 133 px em.
    font = CreateFontA(-133, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Digital-7");
    old_font = SelectObject(dc, font);
  }
  ~DigitCanvas() {
    SelectObject(dc, old_font);
    SelectObject(dc, old_bitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  DigitCanvas(const DigitCanvas&) = delete;
  DigitCanvas& operator=(const DigitCanvas&) = delete;

  std::string Face() {
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    return face;
  }
  int Width(const char* text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    return size.cx;
  }
  // Draws the text at the top left and returns the rectangle its ink covers.
  RECT Ink(const char* text) {
    RECT all{0, 0, kSize, kSize};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, 0, 0, text, lstrlenA(text));
    GdiFlush();
    RECT ink{kSize, kSize, -1, -1};
    const auto* px = static_cast<const uint32_t*>(bits);
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x)
        if ((px[y * kSize + x] & 0xFF) < 0x80) {
          ink.left = std::min<LONG>(ink.left, x);
          ink.top = std::min<LONG>(ink.top, y);
          ink.right = std::max<LONG>(ink.right, x + 1);
          ink.bottom = std::max<LONG>(ink.bottom, y + 1);
        }
    return ink;
  }
};

TEST(Resources, DigitFontLoadsPrivatelyAndItsDigitsFitTheLabels) {
  const PrivateFont font(AssetPath("Digital-7.ttf"));
  ASSERT_GT(font.added(), 0);
  DigitCanvas canvas(FW_BOLD);
  EXPECT_EQ(canvas.Face(), "Digital-7");

  TEXTMETRICA metrics{};
  ASSERT_TRUE(GetTextMetricsA(canvas.dc, &metrics));
  EXPECT_EQ(metrics.tmWeight, FW_BOLD);
  EXPECT_EQ(metrics.tmCharSet, ANSI_CHARSET);

  WORD glyphs[12] = {};
  ASSERT_EQ(GetGlyphIndicesA(canvas.dc, "0123456789:-", 12, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 12u);
  for (WORD g : glyphs) EXPECT_NE(g, 0xFFFF);

  // Digit labels are 137 px square, separator labels 33 px wide.
  EXPECT_LE(canvas.Width("00"), 137);
  EXPECT_GE(canvas.Width("00"), 120);
  EXPECT_LE(canvas.Width(":"), 33);

  const RECT ink = canvas.Ink("88");
  EXPECT_LE(ink.right - ink.left, 137);
  EXPECT_GE(ink.bottom - ink.top, 85) << "digits should fill most of the label's height";
  EXPECT_GE(ink.top, 8);
  EXPECT_LE(ink.bottom, 137 - 8);
  const RECT colon = canvas.Ink(":");
  EXPECT_LE(colon.right, 33);
  EXPECT_GT(colon.bottom - colon.top, 40) << "two dots, one above the other";
}

TEST(Resources, IconHoldsEveryListedSize) {
  // LoadImage stretches the nearest image to any size asked for, so the directory
  // itself must list each size.
  const auto ico = ReadAll(AssetPath("twistwatch.ico"));
  ASSERT_GE(ico.size(), 6u);
  ASSERT_EQ(U16(ico, 2), 1) << "icon, not cursor";
  std::vector<int> listed;
  for (size_t i = 0; i < U16(ico, 4) && 6 + 16 * i + 16 <= ico.size(); ++i) listed.push_back(ico[6 + 16 * i]);
  EXPECT_EQ(listed, (std::vector<int>{16, 32, 48, 128}));

  for (int size : {16, 32, 48, 128}) {
    SCOPED_TRACE(size);
    HICON icon = static_cast<HICON>(
        LoadImageA(nullptr, AssetPath("twistwatch.ico").c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
    EXPECT_EQ(colour.bmBitsPixel, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

TEST(Resources, HandPointerHasItsHotSpotOnTheFingerTip) {
  HCURSOR cursor = LoadCursorFromFileA(AssetPath("hand.cur").c_str());
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 12u);
  EXPECT_EQ(info.yHotspot, 1u);
  BITMAP mask{};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmWidth, 32);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyCursor(cursor);
}

template <typename T>
struct ComPtr {
  T* p = nullptr;
  ~ComPtr() {
    if (p) p->Release();
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
};

TEST(Resources, AboutPictureDecodesAsA25FrameGifOf120By40) {
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ASSERT_TRUE(SUCCEEDED(init));
  {
    ComPtr<IWICImagingFactory> factory;
    ASSERT_EQ(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    const std::string path = AssetPath("about.gif");
    const std::wstring wide(path.begin(), path.end());
    ComPtr<IWICBitmapDecoder> decoder;
    ASSERT_EQ(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                 &decoder),
              S_OK);
    GUID format{};
    decoder->GetContainerFormat(&format);
    EXPECT_TRUE(IsEqualGUID(format, GUID_ContainerFormatGif));
    UINT frames = 0;
    decoder->GetFrameCount(&frames);
    EXPECT_EQ(frames, 25u);

    ComPtr<IWICPalette> palette;
    ASSERT_EQ(factory->CreatePalette(&palette), S_OK);
    ASSERT_EQ(decoder->CopyPalette(palette.p), S_OK);
    UINT colours = 0;
    palette->GetColorCount(&colours);
    EXPECT_EQ(colours, 256u);

    ComPtr<IWICBitmapFrameDecode> first;
    ASSERT_EQ(decoder->GetFrame(0, &first), S_OK);
    UINT width = 0, height = 0;
    first->GetSize(&width, &height);
    ASSERT_EQ(width, 120u);
    ASSERT_EQ(height, 40u);

    // Decoding the first frame's pixels proves the LZW stream, not just the headers:
    // white margins around dark letters and a coloured cube.
    ComPtr<IWICFormatConverter> converter;
    ASSERT_EQ(factory->CreateFormatConverter(&converter), S_OK);
    ASSERT_EQ(converter->Initialize(first.p, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                    WICBitmapPaletteTypeCustom),
              S_OK);
    std::vector<uint32_t> pixels(120 * 40);
    ASSERT_EQ(converter->CopyPixels(nullptr, 120 * 4, static_cast<UINT>(pixels.size() * 4),
                                    reinterpret_cast<BYTE*>(pixels.data())),
              S_OK);
    int white = 0, dark = 0, coloured = 0;
    for (uint32_t p : pixels) {
      const int b = p & 0xFF, g = (p >> 8) & 0xFF, r = (p >> 16) & 0xFF;
      if (r > 240 && g > 240 && b > 240) ++white;
      else if (r < 80 && g < 80 && b < 80) ++dark;
      else if (std::max({r, g, b}) - std::min({r, g, b}) > 100) ++coloured;
    }
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(pixels.back() & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_GT(white, 120 * 40 / 2);
    EXPECT_GT(dark, 200);
    EXPECT_GT(coloured, 200);
  }
  CoUninitialize();
}

}  // namespace
