#pragma once
// Rubik's Clock in the WCA's notation: "UR4+" pushes the top-right pin up (the others
// down), turns a wheel beside it four hours clockwise and puts the pins down again; U,
// R, D, L push two pins up, ALL all four; "3-" turns three hours back; y2 turns the
// clock over about its vertical axis, 12 o'clock staying on top.
//
// A pin up joins the four front dials around it; the joined dials turn together, and a
// corner dial among them turns its twin on the back (the same gear) the other way. So
// the nine front dials and the five back dials that are not corners move freely, the
// back corners mirror the front ones, and each of the 12^14 states is one set of hours
// for the fourteen turns the WCA writes: UR DR DL UL U R D L ALL y2 U R D L ALL.
//
// The state is the 18 dials: the front's nine, then the back's nine as seen from the
// back (12 o'clock on top), each read row by row and written as its hour with 12 as 0
// and 10, 11 as a, b.
#include <array>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace tw::scramble {

inline constexpr int kClockDials = 9;
inline constexpr int kClockHours = 12;
inline constexpr int kClockTurns = 14;  // the turns of a WCA scramble

struct ClockState {
  std::array<int, kClockDials> front{};  // hours, 0..11 with 12 o'clock as 0
  std::array<int, kClockDials> back{};
  bool operator==(const ClockState&) const = default;
};

std::string ClockText(const ClockState& state);
// What a sequence of notation does to a solved clock, or nothing for other text.
std::optional<ClockState> ClockAfter(std::string_view text);

// Every dial uniformly random (the back corners follow the front's).
ClockState RandomClock(std::mt19937_64& rng);
// The WCA scramble that makes the state: the fourteen turns, each 0+ to 6+ or 1- to 5-.
std::string ClockScramble(const ClockState& state);

}  // namespace tw::scramble
