#include "exchange/text_conversion.h"

#include <algorithm>
#include <cstdint>

namespace tw::exchange {

namespace {

constexpr unsigned char kFirstNonAscii = 0x80;

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < kFirstNonAscii; });
}

// The length of the UTF-8 sequence a lead byte starts, 0 for a byte that cannot lead.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead < 0xE0) return 2;
  if (lead >= 0xE0 && lead < 0xF0) return 3;
  if (lead >= 0xF0 && lead < 0xF5) return 4;
  return 0;
}

}  // namespace

std::string ConvertText(const TextConverter& convert, std::string_view text) {
  if (!convert || IsAscii(text)) return std::string(text);
  return convert(text);
}

std::string_view WithoutBom(std::string_view text) {
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  return text;
}

std::string Latin1ToUtf8(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size() * 2);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < kFirstNonAscii) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

std::string Utf8ToLatin1(std::string_view text) {
  std::string latin1;
  latin1.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = SequenceLength(lead);
    if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
      latin1 += '?';
      ++i;
      continue;
    }
    std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    bool valid = true;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      valid = valid && (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    latin1 += valid && code <= 0xFF ? static_cast<char>(code) : '?';
    i += valid ? static_cast<std::size_t>(length) : 1;
  }
  return latin1;
}

}  // namespace tw::exchange
