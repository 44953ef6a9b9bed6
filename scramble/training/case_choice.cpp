#include "scramble/training/case_choice.h"

#include <algorithm>

namespace tw::scramble::training {

std::optional<std::vector<bool>> ReadCaseChoice(const LastLayerCases& cases, std::string_view text) {
  std::vector<bool> chosen(cases.Count(), false);
  bool any = false;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    std::string_view name = text.substr(0, comma);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    const std::optional<std::size_t> index = cases.IndexOf(name);
    if (!index) return std::nullopt;
    chosen[*index] = true;
    any = true;
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  }
  if (!any) return std::nullopt;
  return chosen;
}

std::vector<bool> CaseChoiceOrAll(const LastLayerCases& cases, std::string_view text) {
  return ReadCaseChoice(cases, text).value_or(std::vector<bool>(cases.Count(), true));
}

std::string CaseChoiceText(const LastLayerCases& cases, const std::vector<bool>& chosen) {
  const auto count = static_cast<std::size_t>(std::count(chosen.begin(), chosen.end(), true));
  if (count == 0 || count >= cases.Count()) return {};
  std::string text;
  for (std::size_t i = 0; i < chosen.size() && i < cases.Count(); ++i) {
    if (!chosen[i]) continue;
    if (!text.empty()) text += ',';
    text += cases.Name(i);
  }
  return text;
}

}  // namespace tw::scramble::training
