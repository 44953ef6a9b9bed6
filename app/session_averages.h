#pragma once
// The figures of the line under the digits: the current average of 5 and of 12 and the
// mean of the shown session's log, kept up to date one change of the log at a time
// (the watcher of a result book tells each change), never by reading the whole log
// again after a solve.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/result_reading.h"

namespace tw {

class SessionAverages {
 public:
  // The whole log, oldest line first.
  void Load(const std::vector<std::string>& lines);
  void Append(std::string_view line);
  void Remove(std::size_t index);
  void Replace(std::size_t index, std::string_view line);
  void Clear();

  // "ao5 12.34  ao12 13.02  mean 13.50 (52)": the averages of the latest 5 and 12
  // results (the fastest and slowest dropped, "DNF" when two are DNF, "-" until there
  // are enough), the mean of the timed ones and the count of results, DNFs included.
  // Lines that hold no result count nowhere.
  std::string Text() const;

 private:
  void Count(const std::optional<stats::Hundredths>& result, int sign);
  std::optional<stats::Hundredths> Latest(std::size_t size, std::vector<stats::Hundredths>& out) const;
  std::string AverageText(std::size_t size) const;

  std::vector<std::optional<stats::Hundredths>> results_;  // one per line of the log
  std::int64_t timedSum_ = 0;
  std::int64_t timed_ = 0;
  std::int64_t solves_ = 0;
};

}  // namespace tw
