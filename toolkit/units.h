#pragma once
// Layout lengths are in twips (1/1440 inch); windows work in pixels at their own DPI.
namespace tw {

inline constexpr int kTwipsPerInch = 1440;

// Twips to pixels at the given DPI, rounded to the nearest pixel.
int TwipsToPixels(int twips, int dpi);
// Pixels at the given DPI to twips, rounded to the nearest twip.
int PixelsToTwips(int pixels, int dpi);

}  // namespace tw
