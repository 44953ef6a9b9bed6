#include "options/hold_choice.h"

#include <algorithm>

#include "resources/options_layout.h"
#include "storage/settings_schema.h"

namespace tw::options {

namespace {

std::string ItemText(std::optional<int> delay) {
  if (!delay) return layout::options::kHoldOff;
  return std::to_string(*delay) + layout::options::kMillisecondsSuffix;
}

}  // namespace

HoldChoices HoldChoicesFor(std::string_view stored) {
  const std::optional<int> delay = settings::kHoldToStart.Parse(stored);
  std::vector<int> listed(settings::kHoldToStartOffered.begin(), settings::kHoldToStartOffered.end());
  if (delay && std::find(listed.begin(), listed.end(), *delay) == listed.end()) {
    listed.insert(std::upper_bound(listed.begin(), listed.end(), *delay), *delay);
  }
  HoldChoices choices;
  choices.items.push_back(ItemText(std::nullopt));
  choices.delays.push_back(std::nullopt);
  for (const int ms : listed) {
    if (delay == ms) choices.selected = static_cast<int>(choices.items.size());
    choices.items.push_back(ItemText(ms));
    choices.delays.push_back(ms);
  }
  return choices;
}

}  // namespace tw::options
