#include "scramble/events.h"

#include <algorithm>

namespace tw::scramble {
namespace {

constexpr std::array kRows{
    EventRow{"333", "3x3x3", Event::k333, "333", "333"},
    EventRow{"222", "2x2x2", Event::k222, "222so", "222"},
    EventRow{"444", "4x4x4", Event::k444, "444wca", "444"},
    EventRow{"555", "5x5x5", Event::k555, "555wca", "555"},
    EventRow{"666", "6x6x6", Event::k666, "666wca", "666"},
    EventRow{"777", "7x7x7", Event::k777, "777wca", "777"},
    EventRow{"333bf", "3x3x3 Blindfolded", Event::k333bf, "333ni", "333bld"},
    EventRow{"333fm", "3x3x3 Fewest Moves", Event::k333fm, "333fm", "333fmc"},
    EventRow{"333oh", "3x3x3 One-Handed", Event::k333oh, "333oh", "333oh"},
    EventRow{"clock", "Clock", Event::kClock, "clkwca", "clock"},
    EventRow{"minx", "Megaminx", Event::kMinx, "mgmp", "mega"},
    EventRow{"pyram", "Pyraminx", Event::kPyram, "pyrso", "pyra"},
    EventRow{"skewb", "Skewb", Event::kSkewb, "skbso", "skewb"},
    EventRow{"sq1", "Square-1", Event::kSq1, "sqrs", "sq1"},
    EventRow{"444bf", "4x4x4 Blindfolded", Event::k444bf, "444bld", "444bld"},
    EventRow{"555bf", "5x5x5 Blindfolded", Event::k555bf, "555bld", "555bld"},
    EventRow{"333mbf", "3x3x3 Multi-Blind", Event::k333mbf, "r3ni", "333mbld"},
    EventRow{"333ft", "3x3x3 With Feet", std::nullopt, "333ft", ""},
    // The 3x3x3 training kinds, each with csTimer's nearest scramble type.
    EventRow{"333ll", "3x3x3 training: Last layer", Event::k333ll, "ll", ""},
    EventRow{"333pll", "3x3x3 training: PLL", Event::k333pll, "pll", ""},
    EventRow{"333oll", "3x3x3 training: OLL", Event::k333oll, "oll", ""},
    EventRow{"333zbll", "3x3x3 training: ZBLL", Event::k333zbll, "zbll", ""},
    EventRow{"333cross", "3x3x3 training: Cross solved", Event::k333cross, "f2l", ""},
    EventRow{"333lsll", "3x3x3 training: Last slot and last layer", Event::k333lsll, "lsll2", ""},
    EventRow{"333l6e", "3x3x3 training: Roux last six edges", Event::k333l6e, "lse", ""},
    EventRow{"333cmll", "3x3x3 training: Roux CMLL", Event::k333cmll, "cmll", ""},
    EventRow{"333ru", "3x3x3 training: 2-generator (R, U)", Event::k333ru, "2gen", ""},
    EventRow{"333edges", "3x3x3 training: Edges only", Event::k333edges, "edges", ""},
    EventRow{"333corners", "3x3x3 training: Corners only", Event::k333corners, "corners", ""},
};

constexpr bool EveryKindHasOneRow() {
  std::array<int, kAllEvents.size() + kTrainingEvents.size()> rows{};
  for (const EventRow& row : kRows) {
    if (row.kind) ++rows[static_cast<std::size_t>(*row.kind)];
  }
  return std::all_of(rows.begin(), rows.end(), [](int count) { return count == 1; });
}
static_assert(EveryKindHasOneRow());
static_assert(kRows.front().id == kDefaultEventId);

// Types older csTimer versions listed among the WCA events.
struct Alias {
  std::string_view csTimerType;
  std::string_view event;
};
constexpr std::array kOlderCsTimerTypes{Alias{"clko", "clock"}, Alias{"r3", "333mbf"}};

const EventRow& RowOf(Event event) {
  return *std::find_if(kRows.begin(), kRows.end(), [&](const EventRow& row) { return row.kind == event; });
}

}  // namespace

std::span<const EventRow> EventRows() { return kRows; }

const EventRow* FindEvent(std::string_view id) {
  const auto found = std::find_if(kRows.begin(), kRows.end(), [&](const EventRow& row) { return row.id == id; });
  return found == kRows.end() ? nullptr : &*found;
}

std::optional<Event> EventFromId(std::string_view id) {
  const EventRow* row = FindEvent(id);
  return row ? row->kind : std::nullopt;
}

std::string_view IdOf(Event event) { return RowOf(event).id; }
std::string_view NameOf(Event event) { return RowOf(event).name; }

std::string_view EventName(std::string_view id) {
  const EventRow* row = FindEvent(id);
  return row ? row->name : id;
}

bool IsTrainingEvent(std::string_view id) {
  const auto kind = EventFromId(id);
  return kind && IsTraining(*kind);
}

std::string_view EventOfCsTimerType(std::string_view scrambleType) {
  for (const EventRow& row : kRows) {
    if (row.csTimerType == scrambleType) return row.id;
  }
  for (const Alias& alias : kOlderCsTimerTypes) {
    if (alias.csTimerType == scrambleType) return alias.event;
  }
  return kDefaultEventId;
}

std::string_view CsTimerTypeOfEvent(std::string_view id) {
  const EventRow* row = FindEvent(id);
  return (row ? *row : kRows.front()).csTimerType;
}

std::string_view EventOfTwistyPuzzle(std::string_view puzzle) {
  if (puzzle.empty()) return kDefaultEventId;
  for (const EventRow& row : kRows) {
    if (row.twistyPuzzle == puzzle) return row.id;
  }
  return kDefaultEventId;
}

}  // namespace tw::scramble
