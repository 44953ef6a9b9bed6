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

}  // namespace tw::settings
