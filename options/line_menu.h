#pragma once
// The Result panel's menu for one line of the log: what each command is called, and
// which apply to the line. Worked on the line's text, free of windows.
#include <array>
#include <optional>
#include <string_view>

#include "results/solve.h"

namespace tw::options {

enum class LineCommand { NoPenalty, PlusTwo, Dnf, Comment, Remove };

struct LineMenuItem {
  LineCommand command;
  const char* text;  // UTF-8, "&" before the access key
  bool separatorBefore;
  bool enabled;
  bool checked;  // the line's penalty now
};

inline constexpr std::size_t kLineMenuSize = 5;

// The menu for `line`: a penalty or a comment needs a line that reads as a result
// (a hand-edited line is only kept and can only be removed); the line's own penalty
// is the one checked.
std::array<LineMenuItem, kLineMenuSize> LineMenu(std::string_view line);

// The penalty a penalty command gives, or nothing for the other commands.
std::optional<results::Penalty> PenaltyOf(LineCommand command);

}  // namespace tw::options
