#pragma once
// The WCA's events, each by its id ("333", "pyram", ...) and the name it is shown by,
// and after them the 3x3x3 training kinds ("333pll", ...): a random state inside a
// subset of the cube, such as the last layer or the PLL cases.
#include <array>
#include <optional>
#include <string_view>

namespace tw::scramble {

enum class Event {
  k333,
  k222,
  k444,
  k555,
  k666,
  k777,
  k333bf,
  k333oh,
  k333fm,
  k333mbf,
  k444bf,
  k555bf,
  kPyram,
  kSkewb,
  kSq1,
  kMinx,
  kClock,
  k333ll,
  k333pll,
  k333oll,
  k333zbll,
  k333cross,
  k333lsll,
  k333l6e,
  k333cmll,
  k333ru,
  k333edges,
  k333corners,
};

inline constexpr std::array kAllEvents = {
    Event::k333,   Event::k222,   Event::k444,    Event::k555,    Event::k666,   Event::k777,
    Event::k333bf, Event::k333oh, Event::k333fm,  Event::k333mbf, Event::k444bf, Event::k555bf,
    Event::kPyram, Event::kSkewb, Event::kSq1,    Event::kMinx,   Event::kClock,
};

inline constexpr std::array kTrainingEvents = {
    Event::k333ll,   Event::k333pll,  Event::k333oll, Event::k333zbll,  Event::k333cross,   Event::k333lsll,
    Event::k333l6e,  Event::k333cmll, Event::k333ru,  Event::k333edges, Event::k333corners,
};

constexpr bool IsTraining(Event event) { return event >= Event::k333ll; }
// Whether a session of the event chooses the cases it drills (PLL and OLL).
constexpr bool HasCases(Event event) { return event == Event::k333pll || event == Event::k333oll; }

std::optional<Event> EventFromId(std::string_view id);
std::string_view IdOf(Event event);
std::string_view NameOf(Event event);

}  // namespace tw::scramble
