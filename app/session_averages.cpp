#include "app/session_averages.h"

#include "stats/average_rules.h"
#include "stats/time_format.h"

namespace tw {

namespace {

constexpr const char* kNotYet = "-";

}  // namespace

void SessionAverages::Load(const std::vector<std::string>& lines) {
  Clear();
  results_.reserve(lines.size());
  for (const std::string& line : lines) Append(line);
}

void SessionAverages::Append(std::string_view line) {
  results_.push_back(stats::ReadResult(line));
  Count(results_.back(), +1);
}

void SessionAverages::Remove(std::size_t index) {
  if (index >= results_.size()) return;
  Count(results_[index], -1);
  results_.erase(results_.begin() + static_cast<std::ptrdiff_t>(index));
}

void SessionAverages::Replace(std::size_t index, std::string_view line) {
  if (index >= results_.size()) return;
  Count(results_[index], -1);
  results_[index] = stats::ReadResult(line);
  Count(results_[index], +1);
}

void SessionAverages::Clear() {
  results_.clear();
  timedSum_ = timed_ = solves_ = 0;
}

void SessionAverages::Count(const std::optional<stats::Hundredths>& result, int sign) {
  if (!result) return;
  solves_ += sign;
  if (*result == stats::kDnf) return;
  timed_ += sign;
  timedSum_ += sign * static_cast<std::int64_t>(*result);
}

// The latest `size` results, newest last, skipping lines without one.
std::optional<stats::Hundredths> SessionAverages::Latest(std::size_t size,
                                                         std::vector<stats::Hundredths>& out) const {
  out.clear();
  for (auto it = results_.rbegin(); it != results_.rend() && out.size() < size; ++it) {
    if (*it) out.push_back(**it);
  }
  if (out.size() < size) return std::nullopt;
  return stats::AverageOf(out, stats::TrimCount(static_cast<int>(size)));
}

std::string SessionAverages::AverageText(std::size_t size) const {
  std::vector<stats::Hundredths> latest;
  const std::optional<stats::Hundredths> average = Latest(size, latest);
  return average ? stats::FormatTime(*average) : std::string(kNotYet);
}

std::string SessionAverages::Text() const {
  const std::string mean = timed_ > 0 ? stats::FormatTime(stats::RoundedMean(timedSum_, timed_)) : kNotYet;
  return "ao5 " + AverageText(5) + "  ao12 " + AverageText(12) + "  mean " + mean + " (" +
         std::to_string(solves_) + ")";
}

}  // namespace tw
