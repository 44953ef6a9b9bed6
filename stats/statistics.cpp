#include "stats/statistics.h"

#include <algorithm>
#include <optional>

namespace tw::stats {

namespace {

constexpr std::size_t kGrowthDivisor = 16;
constexpr std::size_t kGrowthSlots = 256;

}  // namespace

Statistics::Statistics() {
  windows_.reserve(kAverageKinds.size());
  for (std::size_t row = 0; row < kAverageKinds.size(); ++row) {
    windows_.emplace_back(kAverageKinds[row].size, kAverageKinds[row].trim);
  }
  best_sums_.fill(SlidingAverage::kDnfSum);
}

void Statistics::Clear() {
  // shrink_to_fit: after a Reset the memory of a long log goes back.
  for (auto* series : {&results_, &average5_, &average12_}) {
    series->clear();
    series->shrink_to_fit();
  }
  new_bests_.clear();
  for (SlidingAverage& window : windows_) window.Clear();
  best_sums_.fill(SlidingAverage::kDnfSum);
  all_.Clear();
  since_start_.Clear();
  unread_ = 0;
}

void Statistics::Load(const std::vector<std::string>& lines, std::size_t sinceStart) {
  Begin(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) Read(lines[i], i >= sinceStart);
}

void Statistics::Load(const storage::LineArena& lines, std::size_t sinceStart) {
  Begin(lines.Size());
  std::size_t i = 0;
  lines.ForEach([&](std::string_view line) { Read(line, i++ >= sinceStart); });
}

void Statistics::Begin(std::size_t count) {
  Clear();
  // One slot per line and a little room to grow: a long log's series get no doubling
  // slack, and the solves of this run append without moving them.
  const std::size_t room = count + count / kGrowthDivisor + kGrowthSlots;
  for (auto* series : {&results_, &average5_, &average12_}) series->reserve(room);
}

void Statistics::Read(std::string_view line, bool sinceStart) {
  const std::optional<Hundredths> result = ReadResult(line);
  if (!result) {
    ++unread_;
    return;
  }
  Add(*result, sinceStart);
}

void Statistics::Append(std::string_view line) { Read(line, true); }

void Statistics::Add(Hundredths result, bool sinceStart) {
  if (result != kDnf && result < best_sums_[kSingleRow]) new_bests_.push_back(results_.size());
  results_.push_back(result);
  all_.Add(result);
  if (sinceStart) since_start_.Add(result);
  for (std::size_t row = 0; row < windows_.size(); ++row) {
    SlidingAverage& window = windows_[row];
    window.Push(result);
    if (window.Full()) best_sums_[row] = std::min(best_sums_[row], window.KeptSum());
  }
  const auto running = [this](std::size_t row) {
    return windows_[row].Full() ? windows_[row].Current() : kNoAverage;
  };
  average5_.push_back(running(kAverageOf5Row));
  average12_.push_back(running(kAverageOf12Row));
}

std::array<RowFigures, kAverageKinds.size()> Statistics::Rows() const {
  std::array<RowFigures, kAverageKinds.size()> rows;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const SlidingAverage& window = windows_[row];
    const bool shown = window.Full();
    rows[row] = RowFigures{kAverageKinds[row].name, kAverageKinds[row].size, shown,
                           shown ? window.Current() : kDnf, window.AverageOfSum(best_sums_[row])};
  }
  return rows;
}

std::size_t Statistics::MemoryBytes() const {
  std::size_t bytes = sizeof(*this);
  for (const auto* series : {&results_, &average5_, &average12_}) bytes += series->capacity() * sizeof(Hundredths);
  bytes += new_bests_.capacity() * sizeof(std::size_t);
  for (const SlidingAverage& window : windows_) bytes += window.MemoryBytes();
  return bytes;
}

}  // namespace tw::stats
