#pragma once
// The WCA events a session can be for, by the WCA's own ids ("333", "222", "pyram",
// ...), then the 3x3x3 training kinds ("333pll", ...), and the names other timers give
// them.
#include <span>
#include <string_view>

namespace tw::exchange {

inline constexpr std::string_view kDefaultEvent = "333";

struct Event {
  std::string_view id;           // the WCA's id, also ours
  std::string_view name;         // as a person reads it
  std::string_view csTimerType;  // csTimer's scramble type for the event
  std::string_view twistyPuzzle;  // Twisty Timer's puzzle, "" when it has none of its own
};

std::span<const Event> Events();
// Whether the event is a 3x3x3 training kind, which csTimer knows only by its nearest
// scramble type.
bool IsTrainingEvent(std::string_view event);

// The event of a csTimer scramble type; the 3x3x3 for one that is no WCA event.
std::string_view EventOfCsTimerType(std::string_view scrambleType);
// The csTimer scramble type of an event; the 3x3x3's for an id we do not know.
std::string_view CsTimerTypeOfEvent(std::string_view event);
// The event of a Twisty Timer puzzle; the 3x3x3 for one that is no WCA event.
std::string_view EventOfTwistyPuzzle(std::string_view puzzle);
// The name of an event, or the id itself for one we do not know.
std::string_view EventName(std::string_view event);

}  // namespace tw::exchange
