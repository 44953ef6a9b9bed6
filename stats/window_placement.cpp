#include "stats/window_placement.h"

#include <charconv>

namespace tw::stats {

namespace {

int SizeWithin(std::string_view text, int minimum, int fallback) {
  const std::optional<int> size = ParseWholeNumber(text);
  return size && *size >= minimum && *size <= kLargestTwips ? *size : fallback;
}

}  // namespace

std::optional<int> ParseWholeNumber(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

StoredPlacement ReadPlacement(const std::function<std::string(const char* key)>& read) {
  StoredPlacement placement;
  placement.shown = read(kShownKey) == kShown;
  const std::optional<int> left = ParseWholeNumber(read(kLeftKey));
  const std::optional<int> top = ParseWholeNumber(read(kTopKey));
  if (left && top) {
    placement.left = left;
    placement.top = top;
  }
  placement.widthTwips = SizeWithin(read(kWidthKey), kMinimumWidthTwips, kDefaultWidthTwips);
  placement.heightTwips = SizeWithin(read(kHeightKey), kMinimumHeightTwips, kDefaultHeightTwips);
  return placement;
}

}  // namespace tw::stats
