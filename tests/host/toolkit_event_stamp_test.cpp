#include "toolkit/event_stamp.h"

#include <gtest/gtest.h>

#include <vector>

namespace tw {
namespace {

struct Press {
  std::int64_t read;
  std::uint32_t stamp;
  std::int64_t certain;
};

void Expect(std::int64_t step, const std::vector<Press>& presses) {
  EventStamps stamps(step);
  for (const Press& p : presses) {
    EXPECT_EQ(stamps.CertainWaitMs(p.read, p.stamp), p.certain) << "read " << p.read << ", stamp " << p.stamp;
  }
}

// The clocks differ by 5,000 ms and some lag; only waits beyond the promptest count.
TEST(EventStampTest, AnEventWaitsAsMuchLongerThanThePromptestAsItsStampSaysLessOneStep) {
  Expect(1, {
                {10'000, 5'000, 0},   // the first: nothing to compare with
                {11'015, 6'000, 14},  // 15 ms longer than the first
                {12'001, 7'000, 0},   // a millisecond: may be the clocks' rounding
                {12'997, 8'000, 0},   // sooner than the first: the promptest from here on
                {14'012, 9'000, 14},
                {15'247, 10'000, 249},  // the longest wait a key is taken to have had
                {16'248, 11'000, 0},    // longer: not this key's stamp (a message sent from code)
                {17'000, 12'000, 2},    // the promptest is still the one before
            });
  // Windows: a stamp tells time to a tick of the tick count.
  Expect(17, {{10'000, 5'000, 0}, {11'016, 6'000, 0}, {12'040, 7'000, 23}});
}

TEST(EventStampTest, TheWaitsAreRightAcrossEitherClocksWrap) {
  Expect(1, {{0xFFFF'FFF0LL, 0xFFFF'FFE0u, 0}, {0x1'0000'0010LL, 0xFFFF'FFF1u, 14}, {0x1'0000'0100LL, 0xF0u, 0}});
}

}  // namespace
}  // namespace tw
