#include "storage/settings_schema.h"

#include <algorithm>
#include <cctype>
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

namespace {

constexpr std::string_view kSessionPrefix = "Session ";

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string SessionKey::For(int number) const {
  return std::string(kSessionPrefix) + std::to_string(number) + " " + std::string(field);
}

std::optional<int> SessionKey::NumberIn(std::string_view key) const {
  const std::size_t fixed = kSessionPrefix.size() + 1 + field.size();
  if (key.size() <= fixed) return std::nullopt;
  if (!SameLetters(key.substr(0, kSessionPrefix.size()), kSessionPrefix)) return std::nullopt;
  if (!SameLetters(key.substr(key.size() - field.size() - 1), " " + std::string(field))) return std::nullopt;
  const std::string_view digits = key.substr(kSessionPrefix.size(), key.size() - fixed);
  int number = 0;
  const auto [stop, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  // Only the number as For writes it: no sign, no leading zero, nothing after it.
  if (error != std::errc{} || stop != digits.data() + digits.size() || number <= 0) return std::nullopt;
  if (digits.front() == '0') return std::nullopt;
  return number;
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
