#include <gtest/gtest.h>

#include <cstdint>

#include "app/wca_countdown.h"

namespace tw {
namespace {

TEST(Inspection, PenaltyAtTheStartingPress) {
  const struct {
    std::int64_t ms;
    Penalty penalty;
  } cases[] = {{0, Penalty::None},          {14'999, Penalty::None},   {15'000, Penalty::PlusTwo},
               {15'001, Penalty::PlusTwo},  {16'999, Penalty::PlusTwo}, {17'000, Penalty::Dnf},
               {17'001, Penalty::Dnf},      {600'000, Penalty::Dnf}};
  for (const auto& c : cases) EXPECT_EQ(PenaltyFor(c.ms), c.penalty) << c.ms << " ms";
}

TEST(Inspection, DigitCountsDownThenShowsThePenalty) {
  const struct {
    std::int64_t ms;
    const char* text;
    int calls;
  } cases[] = {{0, "15", 0},     {999, "15", 0},    {1'000, "14", 0},  {7'999, "8", 0},   {8'000, "7", 1},
               {11'999, "4", 1}, {12'000, "3", 2},  {14'001, "1", 2},  {14'999, "1", 2},  {15'000, "+2", 2},
               {16'999, "+2", 2}, {17'000, "DNF", 2}, {90'000, "DNF", 2}};
  for (const auto& c : cases) {
    EXPECT_EQ(InspectionText(c.ms), c.text) << c.ms << " ms";
    EXPECT_EQ(CallsDue(c.ms), c.calls) << c.ms << " ms";
  }
}

}  // namespace
}  // namespace tw
