#include "storage/settings_schema.h"

#include <charconv>

namespace tw::settings {

std::optional<int> ParseNumber(const NumberKey& key, std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc{} || stop != end) return key.fallback;
  if (value < key.minimum || value > key.maximum) return key.fallback;
  return value;
}

std::optional<int> DelayKey::Parse(std::string_view stored) const {
  // Digits only: no sign, no blanks, at most as many as the maximum has.
  if (stored.empty() || stored.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : stored) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > maximum) return std::nullopt;
  return value;
}

std::string DelayKey::Text(std::optional<int> milliseconds) const {
  return milliseconds ? std::to_string(*milliseconds) : std::string(kDisabledText);
}

}  // namespace tw::settings
