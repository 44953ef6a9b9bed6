// What a screen reader is told the timer's digits show.
#include <gtest/gtest.h>

#include <string>

#include "app/spoken_digits.h"

namespace tw {
namespace {

TEST(SpokenDigits, ThePhaseWhenItMattersAndTheTimeOtherwise) {
  using timing::Phase;
  struct Case {
    Phase phase;
    const char* digit;
    std::int64_t elapsedMs;
    bool dnf;
    const char* spoken;
  };
  const Case cases[] = {
      {Phase::Idle, "3", 0, false, "0.00"},
      {Phase::Idle, "3", 12'349, false, "12.34"},  // the hundredths shown, never rounded up
      {Phase::Idle, "DNF", 62'350, true, "DNF (1:02.35)"},
      {Phase::Running, "3", 3'600'000 - 10, false, "59:59.99"},
      {Phase::Holding, "3", 4'560, false, "4.56"},
      {Phase::Ready, "3", 4'560, false, "ready"},
      {Phase::Inspection, "8", 0, false, "inspection 8"},
      {Phase::Inspection, "+2", 0, false, "inspection +2"},
      {Phase::Countdown, "2", 0, false, "countdown 2"},
  };
  for (const Case& c : cases) EXPECT_EQ(SpokenDigits(c.phase, c.digit, c.elapsedMs, c.dnf), c.spoken) << c.spoken;
}

}  // namespace
}  // namespace tw
