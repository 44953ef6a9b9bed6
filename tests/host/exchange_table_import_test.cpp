// The exports of one session as a table, read into the session shown: our own CSV
// (read back whole), csTimer's session export, Twisty Timer's list and CubeTime's CSV.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/csv_export.h"
#include "exchange/import_file.h"
#include "exchange/table_import.h"
#include "tests/host/exchange_test_support.h"

namespace tw::exchange {
namespace {

using testing::Latin1Export;
using testing::Latin1Import;
using testing::ReadFixture;
using Lines = std::vector<std::string>;

struct Expected {
  const char* fixture;
  const char* format;
  Lines lines;
  Lines problems;
};

TEST(TableImport, EachFormatIsReadWithItsDatesAndPenaltiesIntoTheSessionShown) {
  const Expected cases[] = {
      // csTimer dates a solve at its start, in the user's zone: the stop is the start
      // plus the time measured (a +2's two seconds not counted); a +2 as shown holds
      // them; a quoted comment keeps its separators.
      {"cstimer_session.csv",
       "csTimer session export",
       {"#Date: 14/11/2023 | Time: 22:13:32 | Result: 00:00:12:34 | Scramble: R U R' U'",
        "#Date: 14/11/2023 | Time: 22:15:02 | Result: 00:00:14:00 (+2) | Scramble: F2 B2 | Comment: pop",
        "#Date: 14/11/2023 | Time: 22:16:50 | Result: 00:00:10:59 (DNF) | Scramble: L D | Comment: a; b \"quoted\"",
        "#Date: 14/11/2023 | Time: 22:21:02 | Result: 00:01:02:05 | Scramble: U"},
       {"line 6: the time \"abc\" is no time"}},
      // The date is the stop, with its own zone; a fourth field says DNF.
      {"twisty_list.txt",
       "Twisty Timer list",
       {"#Date: 14/11/2023 | Time: 22:13:32 | Result: 00:00:12:34 | Scramble: R U R' U'",
        "#Date: 19/06/2017 | Time: 07:52:50 | Result: 00:01:12:77 | Scramble: F2 B2",
        "#Date: 14/11/2023 | Time: 22:16:50 | Result: 00:00:10:59 (DNF) | Scramble: L D",
        "#Date: 14/11/2023 | Time: 22:20:00 | Result: 01:02:03:45 | Scramble: (1,0)/ (-3,3)/"},
       {"line 5: the time \"fast\" is no time"}},
      // Seconds cut to the hundredth from their digits; the scramble's commas kept.
      {"cubetime.csv",
       "CubeTime CSV",
       {"#Date: 14/11/2023 | Time: 22:13:32 | Result: 00:00:12:34 | Scramble: R U R' U'",
        "#Date: 14/11/2023 | Time: 22:15:00 | Result: 00:00:09:63 | Scramble: F2 B2 | Comment: said \"wow\", twice",
        "#Date: 14/11/2023 | Time: 22:20:00 | Result: 00:01:02:50 | Scramble: (1,0)/ (-3,3)/",
        "#Date: 14/11/2023 | Time: 22:21:00 | Result: 00:00:00:00 (DNF) | Scramble: L D"},
       {"line 6: the time \"abc\" is no number of seconds"}},
  };
  for (const Expected& expected : cases) {
    SCOPED_TRACE(expected.fixture);
    ImportOptions options = Latin1Import();
    options.listSessionName = "Shown";
    options.listEvent = "222";
    const ImportResult result = ImportFile(ReadFixture(expected.fixture), options);
    ASSERT_TRUE(result.Ok()) << result.error;
    const ImportReport& report = result.report;
    EXPECT_EQ(report.format, expected.format);
    EXPECT_TRUE(report.intoCurrent);
    ASSERT_EQ(report.sessions.size(), 1u);
    EXPECT_EQ(report.sessions[0].name, "Shown");
    EXPECT_EQ(report.sessions[0].event, "222");
    EXPECT_EQ(report.sessions[0].lines, expected.lines);
    EXPECT_EQ(report.problems, expected.problems);
  }
}

TEST(TableImport, DatesWithAZoneAreInstantsAndDatesWithoutOneAreTheUsersWallClock) {
  ImportOptions options = Latin1Import();
  options.zone = FixedOffsetZone(3600);
  const ImportResult list = ImportFile(ReadFixture("twisty_list.txt"), options);
  ASSERT_TRUE(list.Ok()) << list.error;
  EXPECT_EQ(list.report.sessions[0].lines[0], "#Date: 14/11/2023 | Time: 23:13:32 | Result: 00:00:12:34 | Scramble: R U R' U'");
  const ImportResult session = ImportFile(ReadFixture("cstimer_session.csv"), options);
  ASSERT_TRUE(session.Ok()) << session.error;
  EXPECT_EQ(session.report.sessions[0].lines[0], "#Date: 14/11/2023 | Time: 22:13:32 | Result: 00:00:12:34 | Scramble: R U R' U'");
}

TEST(TableImport, OurOwnCsvReadsBackAsTheLinesItWasWrittenFrom) {
  const Lines log{
      "#Date: 14/11/2023 | Time: 22:13:32 | Result: 00:00:12:34 | Scramble: R U R' U'",
      "#Date: 14/11/2023 | Time: 22:15:10 | Result: 00:01:02:35 (+2) | Comment: a, \"quoted\" one",
      "#Date: 01/01/2024 | Time: 00:00:00 | Result: 01:00:02:35 (DNF) | Scramble: L D | Comment: caf\xE9",
      "#Date: 29/02/2024 | Time: 23:59:59 | Result: 00:00:00:00",
  };
  const ExportResult exported = ExportCsv(log, Latin1Export());
  ASSERT_EQ(exported.solves, log.size());
  const ImportResult imported = ImportFile(exported.text, Latin1Import());
  ASSERT_TRUE(imported.Ok()) << imported.error;
  EXPECT_EQ(imported.report.format, "CSV export");
  ASSERT_EQ(imported.report.sessions.size(), 1u);
  EXPECT_EQ(imported.report.sessions[0].lines, log);
  EXPECT_EQ(imported.report.unreadable, 0u);
}

TEST(TableImport, AFileWhoseRowsAllFailNamesTheFirstProblem) {
  const std::string file = "No.;Time;Comment;Scramble;Date;P.1\r\n1;12.34;;U;yesterday;\r\n2;7;;U\r\n";
  EXPECT_EQ(ImportFile(file, Latin1Import()).error,
            "None of its solves could be read; the first: line 2: the date \"yesterday\" is no date.");
  EXPECT_EQ(ImportCubeTime("Time;Comment\n", Latin1Import()).error,
            "It is not a CubeTime CSV: its first line is not \"Time,Comment,Scramble,Date\".");
}

}  // namespace
}  // namespace tw::exchange
