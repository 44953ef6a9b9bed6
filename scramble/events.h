#pragma once
// The events a session can be for: the WCA's, each by its id ("333", "pyram", ...),
// and after them the 3x3x3 training kinds ("333pll", ...), a random state inside a
// subset of the cube such as the last layer or the PLL cases. One table holds each
// event's id, the name it is shown by, the kind of scramble it gets and the names
// other timers give it, for sessions, scrambles, import and export alike.
#include <array>
#include <optional>
#include <span>
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

// The event of a new session, of a session without one and of whatever is not known.
inline constexpr std::string_view kDefaultEventId = "333";

struct EventRow {
  std::string_view id;            // the WCA's id, also ours
  std::string_view name;          // as a person reads it
  std::optional<Event> kind;      // its scramble; none for an event scrambled as the 3x3x3
  std::string_view csTimerType;   // csTimer's scramble type for the event
  std::string_view twistyPuzzle;  // Twisty Timer's puzzle, "" when it has none of its own
};

// Every event in the order a session's event is chosen from.
std::span<const EventRow> EventRows();
// The row of an id, or none for an id we do not know.
const EventRow* FindEvent(std::string_view id);

// The scramble kind of an id; none for an id we do not know or one without a kind.
std::optional<Event> EventFromId(std::string_view id);
std::string_view IdOf(Event event);
std::string_view NameOf(Event event);

// The name of an event, or the id itself for one we do not know.
std::string_view EventName(std::string_view id);
// Whether the event is a 3x3x3 training kind, which csTimer knows only by its nearest
// scramble type.
bool IsTrainingEvent(std::string_view id);
// The event of a csTimer scramble type; the default event for one that is no event of ours.
std::string_view EventOfCsTimerType(std::string_view scrambleType);
// The csTimer scramble type of an event; the default event's for an id we do not know.
std::string_view CsTimerTypeOfEvent(std::string_view id);
// The event of a Twisty Timer puzzle; the default event for one that is no event of ours.
std::string_view EventOfTwistyPuzzle(std::string_view puzzle);

}  // namespace tw::scramble
