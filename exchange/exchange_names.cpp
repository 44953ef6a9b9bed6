#include "exchange/exchange_names.h"

#include <algorithm>

namespace tw::exchange {

std::string_view FileNameOf(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

ExportFormat ExportFormatOf(std::string_view path) {
  constexpr std::string_view kCsv = ".csv";
  if (path.size() < kCsv.size()) return ExportFormat::CsTimer;
  const std::string_view end = path.substr(path.size() - kCsv.size());
  const bool csv = std::equal(end.begin(), end.end(), kCsv.begin(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
  });
  return csv ? ExportFormat::Csv : ExportFormat::CsTimer;
}

std::string UniqueSessionName(std::string_view name, const std::vector<std::string>& taken) {
  const std::string base = name.empty() ? std::string(kUnnamedImport) : std::string(name);
  const auto isTaken = [&taken](const std::string& candidate) {
    return std::find(taken.begin(), taken.end(), candidate) != taken.end();
  };
  if (!isTaken(base)) return base;
  for (std::size_t n = 2;; ++n) {
    std::string numbered = base + " (" + std::to_string(n) + ")";
    if (!isTaken(numbered)) return numbered;
  }
}

}  // namespace tw::exchange
