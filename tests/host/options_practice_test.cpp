// The Practice frame's "Hold to start" list and the Result panel's menu for a line,
// worked out from the settings file's text and the line's text.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "options/hold_choice.h"
#include "options/line_menu.h"
#include "results/solve.h"

namespace tw::options {
namespace {

TEST(HoldChoices, ListOffAndTheOfferedDelaysWithTheStoredOneSelected) {
  const std::vector<std::string> offered = {"Off", "0 ms", "300 ms", "550 ms", "1000 ms"};
  struct Case {
    std::string stored;
    std::vector<std::string> items;
    int selected;
  };
  const Case cases[] = {
      {"Disabled", offered, 0},  // also a missing key
      {"0", offered, 1},
      {"550", offered, 3},
      {"1000", offered, 4},
      // A hand edit of plain milliseconds shows as itself, in its place.
      {"750", {"Off", "0 ms", "300 ms", "550 ms", "750 ms", "1000 ms"}, 4},
      {"5000", {"Off", "0 ms", "300 ms", "550 ms", "1000 ms", "5000 ms"}, 5},
      // Anything else is off.
      {"5001", offered, 0},
      {"300ms", offered, 0},
      {"-300", offered, 0},
      {"enabled", offered, 0},
  };
  for (const Case& c : cases) {
    const HoldChoices choices = HoldChoicesFor(c.stored);
    EXPECT_EQ(choices.items, c.items) << c.stored;
    EXPECT_EQ(choices.selected, c.selected) << c.stored;
    ASSERT_EQ(choices.delays.size(), choices.items.size());
    EXPECT_EQ(choices.delays.front(), std::nullopt);
  }
  const HoldChoices edited = HoldChoicesFor("750");
  EXPECT_EQ(edited.delays, (std::vector<std::optional<int>>{std::nullopt, 0, 300, 550, 750, 1000}));
}

std::string Result(results::Penalty penalty, std::string comment = "") {
  results::Solve solve;
  solve.when = {2024, 5, 6, 7, 8, 9};
  solve.time = 1234;
  solve.penalty = penalty;
  solve.scramble = "R U R' U'";
  solve.comment = std::move(comment);
  return results::Format(solve);
}

// "-" greyed, "o" enabled, "x" enabled and checked, in the menu's order.
std::string Marks(std::string_view line) {
  std::string marks;
  for (const LineMenuItem& item : LineMenu(line)) marks += !item.enabled ? '-' : item.checked ? 'x' : 'o';
  return marks;
}

TEST(LineMenu, OffersWhatAppliesToTheLineAndChecksItsPenalty) {
  EXPECT_EQ(Marks(Result(results::Penalty::None)), "xooo" "o");
  EXPECT_EQ(Marks(Result(results::Penalty::PlusTwo, "slow cross")), "oxoo" "o");
  EXPECT_EQ(Marks(Result(results::Penalty::Dnf)), "ooxo" "o");
  // A line that is no result (a hand edit) is kept as it is: it can only go.
  EXPECT_EQ(Marks("my notes for today"), "----" "o");
  EXPECT_EQ(Marks(""), "----" "o");

  const auto menu = LineMenu(Result(results::Penalty::None));
  std::vector<std::string> texts;
  for (const LineMenuItem& item : menu) texts.push_back(std::string(item.separatorBefore ? "|" : "") + item.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"&No penalty", "+&2", "&DNF", "|&Comment\u2026", "|&Remove"}));
  EXPECT_EQ(PenaltyOf(LineCommand::PlusTwo), results::Penalty::PlusTwo);
  EXPECT_EQ(PenaltyOf(LineCommand::NoPenalty), results::Penalty::None);
  EXPECT_EQ(PenaltyOf(LineCommand::Dnf), results::Penalty::Dnf);
  EXPECT_EQ(PenaltyOf(LineCommand::Comment), std::nullopt);
  EXPECT_EQ(PenaltyOf(LineCommand::Remove), std::nullopt);
}

}  // namespace
}  // namespace tw::options
