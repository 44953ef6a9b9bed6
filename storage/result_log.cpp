#include "storage/result_log.h"

#include <algorithm>

namespace tw::storage {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf16LittleEndianMark = "\xff\xfe";
constexpr std::string_view kUtf16BigEndianMark = "\xfe\xff";
}  // namespace

std::string SerializeResultLog(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + kLineEnd.size();
  std::string bytes;
  bytes.reserve(size);
  for (const std::string& line : lines) {
    bytes += line;
    bytes += kLineEnd;
  }
  return bytes;
}

std::vector<std::string> ParseResultLog(std::string_view bytes) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
  while (!bytes.empty()) {
    // A CR before the next LF ends the line there, alone or as the start of CR LF.
    const std::size_t lf = bytes.find('\n');
    const std::size_t cr = bytes.substr(0, lf).find('\r');
    const std::size_t end = cr == std::string_view::npos ? lf : cr;
    lines.emplace_back(bytes.substr(0, end));
    if (end == std::string_view::npos) break;
    const bool crLf = end == cr && end + 1 == lf;
    bytes.remove_prefix(end + (crLf ? 2 : 1));
  }
  return lines;
}

bool IsUtf16Text(std::string_view bytes) {
  return bytes.starts_with(kUtf16LittleEndianMark) || bytes.starts_with(kUtf16BigEndianMark);
}

}  // namespace tw::storage
