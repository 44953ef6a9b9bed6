#include "storage/result_log.h"

#include <algorithm>

namespace tw::storage {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
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
    const std::size_t lf = bytes.find('\n');
    std::string_view line = bytes.substr(0, lf);
    if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
  }
  return lines;
}

}  // namespace tw::storage
