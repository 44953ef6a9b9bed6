#include "toolkit/units.h"

#include <cstdint>

namespace tw {

namespace {
int ScaleRounded(int value, int mul, int div) {
  const std::int64_t scaled = static_cast<std::int64_t>(value) * mul;
  const std::int64_t half = div / 2;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / div : (scaled - half) / div);
}
}  // namespace

int TwipsToPixels(int twips, int dpi) { return ScaleRounded(twips, dpi, kTwipsPerInch); }
int PixelsToTwips(int pixels, int dpi) { return ScaleRounded(pixels, kTwipsPerInch, dpi); }

}  // namespace tw
