#pragma once
// The "Hold to start" drop-down list of the Practice frame: its items for what the
// settings file holds, and what each item stores.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw::options {

struct HoldChoices {
  std::vector<std::string> items;           // "Off", then "<ms> ms" rising
  std::vector<std::optional<int>> delays;   // what each item means; nothing is off
  int selected = 0;
};

// Off and the offered delays; a stored delay that is not offered (a hand edit) is
// listed in its place among them and selected, and anything that is no delay is Off.
HoldChoices HoldChoicesFor(std::string_view stored);

}  // namespace tw::options
