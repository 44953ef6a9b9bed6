#include "stats/result_reading.h"

#include "results/solve.h"

namespace tw::stats {

// The line is read where it is written: results/ owns the result line's format.
std::optional<Hundredths> ReadResult(std::string_view line) {
  const std::optional<results::LoggedResult> result = results::ReadLoggedResult(line);
  if (!result) return std::nullopt;
  if (result->penalty == results::Penalty::Dnf) return kDnf;
  // Two-digit hours keep every readable time far below kDnf.
  return static_cast<Hundredths>(result->time);
}

}  // namespace tw::stats
