#include "scramble/events.h"

#include <algorithm>

namespace tw::scramble {
namespace {

struct EventInfo {
  Event event;
  std::string_view id;
  std::string_view name;
};

constexpr std::array<EventInfo, kAllEvents.size() + kTrainingEvents.size()> kEventInfo{{
    {Event::k333, "333", "3x3x3 Cube"},
    {Event::k222, "222", "2x2x2 Cube"},
    {Event::k444, "444", "4x4x4 Cube"},
    {Event::k555, "555", "5x5x5 Cube"},
    {Event::k666, "666", "6x6x6 Cube"},
    {Event::k777, "777", "7x7x7 Cube"},
    {Event::k333bf, "333bf", "3x3x3 Blindfolded"},
    {Event::k333oh, "333oh", "3x3x3 One-Handed"},
    {Event::k333fm, "333fm", "3x3x3 Fewest Moves"},
    {Event::k333mbf, "333mbf", "3x3x3 Multi-Blind"},
    {Event::k444bf, "444bf", "4x4x4 Blindfolded"},
    {Event::k555bf, "555bf", "5x5x5 Blindfolded"},
    {Event::kPyram, "pyram", "Pyraminx"},
    {Event::kSkewb, "skewb", "Skewb"},
    {Event::kSq1, "sq1", "Square-1"},
    {Event::kMinx, "minx", "Megaminx"},
    {Event::kClock, "clock", "Clock"},
    {Event::k333ll, "333ll", "3x3x3 training: Last layer"},
    {Event::k333pll, "333pll", "3x3x3 training: PLL"},
    {Event::k333oll, "333oll", "3x3x3 training: OLL"},
    {Event::k333zbll, "333zbll", "3x3x3 training: ZBLL"},
    {Event::k333cross, "333cross", "3x3x3 training: Cross solved"},
    {Event::k333lsll, "333lsll", "3x3x3 training: Last slot and last layer"},
    {Event::k333l6e, "333l6e", "3x3x3 training: Roux last six edges"},
    {Event::k333cmll, "333cmll", "3x3x3 training: Roux CMLL"},
    {Event::k333ru, "333ru", "3x3x3 training: 2-generator (R, U)"},
    {Event::k333edges, "333edges", "3x3x3 training: Edges only"},
    {Event::k333corners, "333corners", "3x3x3 training: Corners only"},
}};

const EventInfo& InfoOf(Event event) { return kEventInfo[static_cast<std::size_t>(event)]; }

}  // namespace

std::optional<Event> EventFromId(std::string_view id) {
  const auto found = std::find_if(kEventInfo.begin(), kEventInfo.end(), [&](const EventInfo& i) { return i.id == id; });
  if (found == kEventInfo.end()) return std::nullopt;
  return found->event;
}

std::string_view IdOf(Event event) { return InfoOf(event).id; }
std::string_view NameOf(Event event) { return InfoOf(event).name; }

}  // namespace tw::scramble
