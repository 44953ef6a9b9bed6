// Twisty Timer's back-up file read into one session for each puzzle and category.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/import_file.h"
#include "exchange/twisty_timer.h"
#include "tests/host/exchange_test_support.h"

namespace tw::exchange {
namespace {

using testing::Latin1Import;
using testing::ReadFixture;
using Lines = std::vector<std::string>;

TEST(TwistyTimerImport, EachPuzzleAndCategoryIsASessionOfItsSolves) {
  const ImportResult result = ImportFile(ReadFixture("twisty_backup.txt"), Latin1Import());
  ASSERT_TRUE(result.Ok()) << result.error;
  const ImportReport& report = result.report;
  EXPECT_EQ(report.format, "Twisty Timer");
  ASSERT_EQ(report.sessions.size(), 4u);
  // The row that only keeps the empty category "Empty" is no solve.
  EXPECT_EQ(report.emptySessions, 1u);
  EXPECT_EQ(report.solves, 5u);

  const ImportedSession& cube = report.sessions[0];
  EXPECT_EQ(cube.name, "3x3x3 Normal");
  EXPECT_EQ(cube.event, "333");
  // The time holds a +2's two seconds already; the date is the stop; quotes and
  // separators inside a field are text, and "null" is no comment.
  EXPECT_EQ(cube.lines,
            (Lines{"#Date: 14/11/2023 | Time: 22:13:32 | Result: 00:00:12:34 | Scramble: R U R' U'",
                   "#Date: 14/11/2023 | Time: 22:14:20 | Result: 00:00:14:34 (+2) | Scramble: D2 B | Comment: pop; \"fast\""}));
  EXPECT_EQ(report.sessions[1].name, "Pyraminx OH");
  EXPECT_EQ(report.sessions[1].event, "pyram");
  EXPECT_EQ(report.sessions[1].lines,
            Lines{"#Date: 14/11/2023 | Time: 22:15:20 | Result: 00:00:05:32 (DNF) | Scramble: U R' L"});
  // A megaminx scramble's rows become one line.
  EXPECT_EQ(report.sessions[2].event, "minx");
  EXPECT_EQ(report.sessions[2].lines,
            Lines{"#Date: 14/11/2023 | Time: 22:16:20 | Result: 00:01:01:23 | Scramble: R++ D-- U R-- D++ U' | Comment: Zw\xF6lf"});
  EXPECT_EQ(report.sessions[3].name, "Square-1 Normal");
  EXPECT_EQ(report.sessions[3].lines,
            Lines{"#Date: 14/11/2023 | Time: 22:18:20 | Result: 01:02:03:45 | Scramble: (1,0)/ | Comment: past an hour"});

  EXPECT_EQ(report.unreadable, 1u);
  EXPECT_EQ(report.problems, Lines{"line 8: the time \"abc\" is no number of milliseconds"});
}

TEST(TwistyTimerImport, RowsThatDoNotReadAreLeftOutAndAnotherFileIsRefused) {
  const std::string file = std::string(kTwistyTimerHeader) +
                           "\r\n\"333\";\"Normal\";\"1000\";\"1700000000000\";\"R\";\"0\"\r\n"
                           "\"333\";\"Normal\";\"1000\";\"1700000000000\";\"R\";\"5\";\"\"\r\n"
                           "\"333\";\"Normal\";\"-4\";\"1700000000000\";\"R\";\"0\";\"\"\r\n"
                           "\"333\";\"Normal\";\"1000\";\"1700000000000\";\"R\";\"0\";\"\"\r\n";
  const ImportResult result = ImportTwistyTimer(file, Latin1Import());
  ASSERT_TRUE(result.Ok()) << result.error;
  EXPECT_EQ(result.report.solves, 1u);
  EXPECT_EQ(result.report.problems,
            (Lines{"line 2: 6 fields where a solve has 7",
                   "line 3: the penalty 5 is neither 0, 1 (+2) nor 2 (DNF)",
                   "line 4: the time -4 ms is negative or longer than 99 hours"}));

  EXPECT_EQ(ImportTwistyTimer("Puzzle;Time\n\"333\";\"1000\"\n", Latin1Import()).error,
            "It is not a Twisty Timer back-up: its first line is not "
            "\"Puzzle,Category,Time(millis),Date(millis),Scramble,Penalty,Comment\".");
}

}  // namespace
}  // namespace tw::exchange
