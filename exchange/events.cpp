#include "exchange/events.h"

#include <array>

namespace tw::exchange {

namespace {

constexpr std::array kEvents{
    Event{"333", "3x3x3", "333", "333"},
    Event{"222", "2x2x2", "222so", "222"},
    Event{"444", "4x4x4", "444wca", "444"},
    Event{"555", "5x5x5", "555wca", "555"},
    Event{"666", "6x6x6", "666wca", "666"},
    Event{"777", "7x7x7", "777wca", "777"},
    Event{"333bf", "3x3x3 Blindfolded", "333ni", "333bld"},
    Event{"333fm", "3x3x3 Fewest Moves", "333fm", "333fmc"},
    Event{"333oh", "3x3x3 One-Handed", "333oh", "333oh"},
    Event{"clock", "Clock", "clkwca", "clock"},
    Event{"minx", "Megaminx", "mgmp", "mega"},
    Event{"pyram", "Pyraminx", "pyrso", "pyra"},
    Event{"skewb", "Skewb", "skbso", "skewb"},
    Event{"sq1", "Square-1", "sqrs", "sq1"},
    Event{"444bf", "4x4x4 Blindfolded", "444bld", "444bld"},
    Event{"555bf", "5x5x5 Blindfolded", "555bld", "555bld"},
    Event{"333mbf", "3x3x3 Multi-Blind", "r3ni", "333mbld"},
    Event{"333ft", "3x3x3 With Feet", "333ft", ""},
    // The 3x3x3 training kinds, each with csTimer's nearest scramble type.
    Event{"333ll", "3x3x3 training: Last layer", "ll", ""},
    Event{"333pll", "3x3x3 training: PLL", "pll", ""},
    Event{"333oll", "3x3x3 training: OLL", "oll", ""},
    Event{"333zbll", "3x3x3 training: ZBLL", "zbll", ""},
    Event{"333cross", "3x3x3 training: Cross solved", "f2l", ""},
    Event{"333lsll", "3x3x3 training: Last slot and last layer", "lsll2", ""},
    Event{"333l6e", "3x3x3 training: Roux last six edges", "lse", ""},
    Event{"333cmll", "3x3x3 training: Roux CMLL", "cmll", ""},
    Event{"333ru", "3x3x3 training: 2-generator (R, U)", "2gen", ""},
    Event{"333edges", "3x3x3 training: Edges only", "edges", ""},
    Event{"333corners", "3x3x3 training: Corners only", "corners", ""},
};

// Types older csTimer versions listed among the WCA events.
struct Alias {
  std::string_view csTimerType;
  std::string_view event;
};
constexpr std::array kOlderCsTimerTypes{Alias{"clko", "clock"}, Alias{"r3", "333mbf"}};

}  // namespace

std::span<const Event> Events() { return kEvents; }

bool IsTrainingEvent(std::string_view event) {
  constexpr std::string_view kTrainingName = "3x3x3 training: ";
  return event != EventName(event) && EventName(event).starts_with(kTrainingName);
}

std::string_view EventOfCsTimerType(std::string_view scrambleType) {
  for (const Event& event : kEvents) {
    if (event.csTimerType == scrambleType) return event.id;
  }
  for (const Alias& alias : kOlderCsTimerTypes) {
    if (alias.csTimerType == scrambleType) return alias.event;
  }
  return kDefaultEvent;
}

std::string_view CsTimerTypeOfEvent(std::string_view event) {
  for (const Event& known : kEvents) {
    if (known.id == event) return known.csTimerType;
  }
  return kEvents.front().csTimerType;
}

std::string_view EventOfTwistyPuzzle(std::string_view puzzle) {
  if (puzzle.empty()) return kDefaultEvent;
  for (const Event& event : kEvents) {
    if (event.twistyPuzzle == puzzle) return event.id;
  }
  return kDefaultEvent;
}

std::string_view EventName(std::string_view event) {
  for (const Event& known : kEvents) {
    if (known.id == event) return known.name;
  }
  return event;
}

}  // namespace tw::exchange
