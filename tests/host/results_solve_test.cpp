// The one reading and writing of a result line, and how this run's edits are laid
// over a log someone else changed.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "results/log_edit.h"
#include "results/solve.h"

namespace tw::results {
namespace {

using Lines = std::vector<std::string>;

constexpr LocalTime kStopped{2026, 12, 7, 14, 5, 9};
constexpr Hundredths kHour = 360000;

Solve MakeSolve(Hundredths time, Penalty penalty = Penalty::None, std::string scramble = "",
                std::string comment = "", std::string dateSeparator = "/", std::string timeSeparator = ":") {
  Solve solve;
  solve.when = kStopped;
  solve.time = time;
  solve.penalty = penalty;
  solve.scramble = std::move(scramble);
  solve.comment = std::move(comment);
  solve.dateSeparator = std::move(dateSeparator);
  solve.timeSeparator = std::move(timeSeparator);
  return solve;
}

bool SameSolve(const Solve& a, const Solve& b) {
  return a.when.year == b.when.year && a.when.month == b.when.month && a.when.day == b.when.day &&
         a.when.hour == b.when.hour && a.when.minute == b.when.minute && a.when.second == b.when.second &&
         a.time == b.time && a.penalty == b.penalty && a.scramble == b.scramble && a.comment == b.comment &&
         a.dateSeparator == b.dateSeparator && a.timeSeparator == b.timeSeparator;
}

TEST(ResultLine, IsWrittenInTheLogsFormAndReadBackFieldForField) {
  struct Case {
    Solve solve;
    const char* line;
  };
  const Case cases[] = {
      {MakeSolve(1234), "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34"},
      {MakeSolve(0), "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:00:00"},
      {MakeSolve(6520), "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:01:05:20"},
      {MakeSolve(kHour - 1), "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:59:59:99"},
      // A late start's two seconds past the hour: whole hours, never "00:60".
      {MakeSolve(kHour + 150, Penalty::PlusTwo), "#Date: 07/12/2026 | Time: 14:05:09 | Result: 01:00:01:50 (+2)"},
      {MakeSolve(1702, Penalty::PlusTwo), "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:17:02 (+2)"},
      {MakeSolve(3120, Penalty::Dnf, "R U R' U'"),
       "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:31:20 (DNF) | Scramble: R U R' U'"},
      {MakeSolve(999, Penalty::None, "", "pop"), "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:09:99 | Comment: pop"},
      // A comment may hold anything but a line break, field names included.
      {MakeSolve(999, Penalty::PlusTwo, "F2 B", "a | Scramble: x | Comment: y  "),
       "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:09:99 (+2) | Scramble: F2 B | Comment: a | Scramble: x | "
       "Comment: y  "},
      // The user's separators, as long as they are.
      {MakeSolve(1234, Penalty::None, "", "", ".", "."), "#Date: 07.12.2026 | Time: 14.05.09 | Result: 00:00:12:34"},
      {MakeSolve(1234, Penalty::None, "", "", ". ", " h "),
       "#Date: 07. 12. 2026 | Time: 14 h 05 h 09 | Result: 00:00:12:34"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(c.solve), c.line);
    const std::optional<Solve> read = Parse(c.line);
    ASSERT_TRUE(read) << c.line;
    EXPECT_TRUE(SameSolve(*read, c.solve)) << c.line;
  }
}

// Scrambles of more than one line (Megaminx, Multi-Blind) and comments typed over
// lines stay one entry of the log.
TEST(ResultLine, LineBreaksInAScrambleOrACommentNeverSplitTheEntry) {
  const std::string line = Format(MakeSolve(999, Penalty::None, "R++ D-- U\nR-- D++ U'", "one\r\ntwo"));
  EXPECT_EQ(line, "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:09:99 | Scramble: R++ D-- U R-- D++ U' | "
                  "Comment: one  two");
}

TEST(ResultLine, APenaltyChangedAfterTheStopIsWrittenAsInspectionWritesIt) {
  const std::string head = "#Date: 07/12/2026 | Time: 14:05:09 | Result: ";
  struct Case {
    const char* what;
    const char* none;
    const char* plusTwo;
    const char* dnf;
  };
  // Each result is one solve under the three penalties: any of them goes to any other.
  const Case cases[] = {
      {"a plain time", "00:00:12:34", "00:00:14:34 (+2)", "00:00:12:34 (DNF)"},
      {"the two seconds carry into the minutes and the hours", "00:59:59:00", "01:00:01:00 (+2)",
       "00:59:59:00 (DNF)"},
      {"scramble and comment stay", "00:00:09:99 | Scramble: R U' | Comment: a (+2) | b",
       "00:00:11:99 (+2) | Scramble: R U' | Comment: a (+2) | b",
       "00:00:09:99 (DNF) | Scramble: R U' | Comment: a (+2) | b"},
      {"no time at all", "00:00:00:00", "00:00:02:00 (+2)", "00:00:00:00 (DNF)"},
  };
  const Penalty penalties[] = {Penalty::None, Penalty::PlusTwo, Penalty::Dnf};
  for (const Case& c : cases) {
    const std::string lines[] = {head + c.none, head + c.plusTwo, head + c.dnf};
    for (const std::string& from : lines) {
      const std::optional<Solve> solve = Parse(from);
      ASSERT_TRUE(solve) << from;
      for (std::size_t to = 0; to < 3; ++to) {
        EXPECT_EQ(Format(WithPenalty(*solve, penalties[to])), lines[to]) << c.what << ": " << from;
      }
    }
  }
  // A +2 never takes a line past two digits of hours, and one that says less than its
  // two seconds (written by hand) is no time at all without them.
  struct Edge {
    const char* from;
    Penalty penalty;
    const char* to;
  };
  const Edge edges[] = {
      {"99:59:59:99", Penalty::PlusTwo, "99:59:59:99 (+2)"},
      {"99:59:58:50", Penalty::PlusTwo, "99:59:59:99 (+2)"},
      {"99:59:59:99 (DNF)", Penalty::PlusTwo, "99:59:59:99 (+2)"},
      {"99:59:59:99 (+2)", Penalty::None, "99:59:57:99"},
      {"00:00:01:00 (+2)", Penalty::None, "00:00:00:00"},
  };
  for (const Edge& e : edges) {
    const std::optional<Solve> solve = Parse(head + e.from);
    ASSERT_TRUE(solve) << e.from;
    const std::string line = Format(WithPenalty(*solve, e.penalty));
    EXPECT_EQ(line, head + e.to);
    EXPECT_TRUE(Parse(line)) << line;
  }
}

TEST(ResultLine, AnythingElseIsAHandEditKeptAsItIs) {
  const char* const lines[] = {
      "",
      "garbage",
      "Result: 00:00:12:34",
      "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34 ",  // trailing blank
      "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:60:00:00",
      "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:60:00",
      "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:1:23",
      "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00.00.12.34",
      "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34 (+3)",
      "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34 (dnf)",
      "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34 (DNF) (+2)",
      "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34 | Scramble: ",
      "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34 | Comment: ",
      "#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34 | Tag: x",
      "#Date: 07/12-2026 | Time: 14:05:09 | Result: 00:00:12:34",
      "#Date: 07/12/2026 | Time: 14:05.09 | Result: 00:00:12:34",
      "#Date: 07/13/2026 | Time: 14:05:09 | Result: 00:00:12:34",
      "#Date: 07/12/02026 | Time: 14:05:09 | Result: 00:00:12:34",
      "#Date: 7/12/2026 | Time: 14:05:09 | Result: 00:00:12:34",
      "#Date: 07/12/2026 | Time: 24:05:09 | Result: 00:00:12:34",
      "#Date: 2026-12-07 | Time: 2:05:09 PM | Result: 00:00:12:34",
      "#date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34",
  };
  for (const char* line : lines) EXPECT_FALSE(Parse(line)) << line;
}

TEST(ResultLine, CountsLikeTheStatisticsReadIt) {
  struct Case {
    const char* line;
    std::optional<Hundredths> counted;
  };
  const Case cases[] = {
      {"#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34", 1234},
      {"#Date: 07/12/2026 | Time: 14:05:09 | Result: 01:00:01:50 (+2)", kHour + 150},
      {"#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:31:20 (DNF) | Scramble: R", std::nullopt},
      // Found by name, blanks forgiven, and never in a scramble or a comment.
      {"#Date: 2026-12-07 | Time: 2:05:09 PM | Result: 00:00:12:34  ", 1234},
      {"#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34 | Comment: Result: 00:00:01:00", 1234},
      {"#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34 (+2) | Scramble: U | Comment: x", 1234},
      {"#Date: 07/12/2026 | Time: 14:05:09 | Result: 00:00:12:34 | Tag: x", std::nullopt},
      {"#Date: 07/12/2026 | Time: 14:05:09 | Comment: Result: 00:00:01:00", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(CountedTime(c.line), c.counted) << c.line;
}

TEST(ApplyEdits, LaysThisRunsEditsOverTheFileAsItIsNow) {
  auto edit = [](LogEdit::Kind kind, std::size_t index, std::string line, std::string replacement = "") {
    LogEdit e;
    e.kind = kind;
    e.index = index;
    e.line = std::move(line);
    e.replacement = std::move(replacement);
    return e;
  };
  auto many = [](LogEdit::Kind kind, std::size_t index, Lines lines) {
    LogEdit e;
    e.kind = kind;
    e.index = index;
    e.HoldLines(storage::LineArena::FromLines(lines));
    return e;
  };
  using K = LogEdit::Kind;
  struct Case {
    const char* what;
    Lines base;
    std::vector<LogEdit> edits;
    Lines merged;
  };
  const Case cases[] = {
      {"appends land at the end", {"a", "x"}, {edit(K::kAppend, 1, "b")}, {"a", "x", "b"}},
      {"a remove finds its line where it moved", {"x", "a", "b"}, {edit(K::kRemove, 1, "b")}, {"x", "a"}},
      {"a remove of a line gone already does nothing", {"a", "c"}, {edit(K::kRemove, 1, "b")}, {"a", "c"}},
      {"of equal lines the one at its index goes", {"d", "x", "d"}, {edit(K::kRemove, 2, "d")}, {"d", "x"}},
      {"of equal lines the nearest goes", {"d", "x", "y", "z", "d"}, {edit(K::kRemove, 3, "d")}, {"d", "x", "y", "z"}},
      {"an index past the end finds the last", {"a", "b"}, {edit(K::kRemove, 9, "b")}, {"a"}},
      {"a replace rewrites only its own line", {"x", "a", "b"}, {edit(K::kReplace, 0, "a", "a2")}, {"x", "a2", "b"}},
      {"a replace of a line gone does nothing", {"x"}, {edit(K::kReplace, 0, "a", "a2")}, {"x"}},
      {"a reset takes each of its lines once",
       {"a", "b", "a", "x", "b"},
       {many(K::kRemoveAll, 0, {"a", "b", "a"})},
       {"x", "b"}},
      {"a line put back goes to its index", {"a", "c"}, {edit(K::kInsert, 1, "b")}, {"a", "b", "c"}},
      {"a line put back past the end goes last", {"a"}, {edit(K::kInsert, 5, "b")}, {"a", "b"}},
      {"a reset taken back puts its lines first", {"x"}, {many(K::kInsertAll, 0, {"a", "b"})}, {"a", "b", "x"}},
      {"an import lands at the end", {"a", "x"}, {many(K::kAppendAll, 1, {"b", "c"})}, {"a", "x", "b", "c"}},
      {"an import taken back takes its own run, nearest where it went",
       {"b", "c", "a", "b", "c", "x"},
       {many(K::kRemoveRun, 3, {"b", "c"})},
       {"b", "c", "a", "x"}},
      {"an import changed outside loses only the lines still there, the last ones",
       {"b", "a", "b", "c2", "x"},
       {many(K::kRemoveRun, 2, {"b", "c"})},
       {"b", "a", "c2", "x"}},
      {"edits apply in order",
       {"a"},
       {edit(K::kAppend, 1, "b"), edit(K::kReplace, 1, "b", "b2"), edit(K::kRemove, 0, "a")},
       {"b2"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ApplyEdits(storage::LineArena::FromLines(c.base), c.edits), c.merged) << c.what;
}

}  // namespace
}  // namespace tw::results
