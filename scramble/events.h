#pragma once
// The WCA's events, each by its id ("333", "pyram", ...) and the name it is shown by.
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
};

inline constexpr std::array kAllEvents = {
    Event::k333,   Event::k222,   Event::k444,    Event::k555,    Event::k666,   Event::k777,
    Event::k333bf, Event::k333oh, Event::k333fm,  Event::k333mbf, Event::k444bf, Event::k555bf,
    Event::kPyram, Event::kSkewb, Event::kSq1,    Event::kMinx,   Event::kClock,
};

std::optional<Event> EventFromId(std::string_view id);
std::string_view IdOf(Event event);
std::string_view NameOf(Event event);

}  // namespace tw::scramble
