#include <gtest/gtest.h>

#include <random>

#include "scramble/big_cube.h"
#include "scramble/event_scrambler.h"

namespace tw::scramble {
namespace {

TEST(Cube444Scramble, Dev) {
  EventScrambler scrambler(Event::k444, 1);
  const BigCube cube(4);
  for (int i = 0; i < 20; ++i) {
    const EventScramble s = scrambler.Next();
    std::printf("%s\n", s.text.c_str());
    EXPECT_EQ(cube.StateAfter(s.text), s.state);
  }
}

}  // namespace
}  // namespace tw::scramble
