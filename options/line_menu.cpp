#include "options/line_menu.h"

namespace tw::options {

std::array<LineMenuItem, kLineMenuSize> LineMenu(std::string_view line) {
  const std::optional<results::Solve> solve = results::Parse(line);
  const bool result = solve.has_value();
  const results::Penalty penalty = result ? solve->penalty : results::Penalty::None;
  return {{
      {LineCommand::NoPenalty, "&No penalty", false, result, result && penalty == results::Penalty::None},
      {LineCommand::PlusTwo, "+&2", false, result, result && penalty == results::Penalty::PlusTwo},
      {LineCommand::Dnf, "&DNF", false, result, result && penalty == results::Penalty::Dnf},
      {LineCommand::Comment, "&Comment\u2026", true, result, false},
      {LineCommand::Remove, "&Remove", true, true, false},
  }};
}

std::optional<results::Penalty> PenaltyOf(LineCommand command) {
  switch (command) {
    case LineCommand::NoPenalty:
      return results::Penalty::None;
    case LineCommand::PlusTwo:
      return results::Penalty::PlusTwo;
    case LineCommand::Dnf:
      return results::Penalty::Dnf;
    default:
      return std::nullopt;
  }
}

}  // namespace tw::options
