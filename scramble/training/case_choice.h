#pragma once
// The cases a session drills, kept as their names joined by commas ("Ua,Ub,T"); all
// of them when the text is empty.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scramble/training/last_layer_cases.h"

namespace tw::scramble::training {

// One flag per case, or nothing when the text names something that is no case, names
// none, or is otherwise damaged.
std::optional<std::vector<bool>> ReadCaseChoice(const LastLayerCases& cases, std::string_view text);
// The same, reading a damaged text as every case chosen.
std::vector<bool> CaseChoiceOrAll(const LastLayerCases& cases, std::string_view text);
// The text that keeps the choice: "" when every case (or none) is chosen.
std::string CaseChoiceText(const LastLayerCases& cases, const std::vector<bool>& chosen);

}  // namespace tw::scramble::training
