#include <gtest/gtest.h>

#include "app/change_note.h"

namespace tw {
namespace {

using Kind = results::ResultBook::Change::Kind;

TEST(ChangeNote, SaysWhatTheStepDidAndHowToGoBack) {
  const std::string plain = "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34";
  const std::string plusTwo = "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:14:34 (+2)";
  const std::string dnf = "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34 (DNF)";
  const struct {
    results::ResultBook::Change change;
    bool undo;
    const char* note;
  } cases[] = {
      {{Kind::kLogged, plain, 1}, true, "removed 12.34, Ctrl+Y restores it"},
      {{Kind::kLogged, plain, 1}, false, "logged 12.34, Ctrl+Z takes it back"},
      {{Kind::kRemoved, plusTwo, 1}, true, "restored 14.34+, Ctrl+Y does it again"},
      {{Kind::kPenalty, dnf, 1}, true, "changed to DNF(12.34), Ctrl+Y does it again"},
      {{Kind::kReset, "", 120}, true, "restored 120 results, Ctrl+Y does it again"},
      {{Kind::kImported, "", 1}, false, "imported 1 result, Ctrl+Z takes it back"},
      {{Kind::kComment, "a hand edit", 1}, true, "changed to a line, Ctrl+Y does it again"},
  };
  for (const auto& c : cases) EXPECT_EQ(ChangeNote(c.change, c.undo), c.note);
}

}  // namespace
}  // namespace tw
