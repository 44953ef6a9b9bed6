// A plain list of times, one a line, read into one session; and which reader a file
// goes to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/import_file.h"
#include "exchange/plain_list.h"
#include "exchange/twisty_timer.h"
#include "tests/host/exchange_test_support.h"

namespace tw::exchange {
namespace {

using testing::Latin1Import;
using testing::ReadFixture;
using Lines = std::vector<std::string>;

TEST(PlainListImport, EachLineWithATimeIsASolveAndTheRestIsShown) {
  ImportOptions options = Latin1Import();
  options.listSessionName = "Week";
  options.listEvent = "333oh";
  const ImportResult result = ImportFile(ReadFixture("plain_list.txt"), options);
  ASSERT_TRUE(result.Ok()) << result.error;
  const ImportReport& report = result.report;
  EXPECT_EQ(report.format, "list of times");
  ASSERT_EQ(report.sessions.size(), 1u);
  EXPECT_EQ(report.sessions[0].name, "Week");
  EXPECT_EQ(report.sessions[0].event, "333oh");
  // Undated lines stop when the caller says; a +2 as printed holds its two seconds;
  // milliseconds are cut to the hundredth.
  EXPECT_EQ(report.sessions[0].lines,
            (Lines{"#Date: 14/11/2023 | Time: 22:13:20 | Result: 00:00:12:34",
                   "#Date: 14/11/2023 | Time: 22:13:20 | Result: 00:01:02:35",
                   "#Date: 14/11/2023 | Time: 22:13:20 | Result: 00:00:12:34 (+2) | Scramble: R U R'",
                   "#Date: 14/11/2023 | Time: 22:13:20 | Result: 00:00:12:34 (DNF)",
                   "#Date: 14/11/2023 | Time: 22:13:20 | Result: 00:00:00:00 (DNF)",
                   "#Date: 14/11/2023 | Time: 22:13:20 | Result: 01:00:02:35",
                   "#Date: 14/11/2023 | Time: 22:13:32 | Result: 00:00:09:87 | Scramble: F2 | Comment: good one",
                   "#Date: 15/11/2023 | Time: 00:00:00 | Result: 00:00:10:50"}));
  // The first line, without a digit, names the list: a header, not a line left out.
  EXPECT_EQ(report.unreadable, 1u);
  EXPECT_EQ(report.problems, Lines{"line 11: \"twelve\" holds no time"});
}

TEST(PlainListImport, TimesThatDoNotReadAreNoSolves) {
  const char* const notTimes[] = {"12.", "12.3456", "1:60.00", "1:2:3:4.00", "DNF(", "DNF12.34", "+", "100:00:00.00",
                                  "12,34"};
  for (const char* text : notTimes) {
    const ImportResult result = ImportPlainList(std::string("1.00\n") + text + "\n", Latin1Import());
    EXPECT_EQ(result.report.solves, 1u) << text;
    EXPECT_EQ(result.report.unreadable, 1u) << text;
  }
}

TEST(PlainListImport, AFileWithoutTimesIsRefused) {
  // Bytes that are no text are named so, never quoted.
  EXPECT_EQ(ImportFile(std::string("PK\x03\x04\x14\0\x06\0binary", 15), Latin1Import()).error, "It is not a text file.");
  EXPECT_EQ(ImportFile("\x89PNG\r\n\x1A\n\x01\x02\x03\x04\x05\x06\x07\x08IHDR\x01\x02\x03", Latin1Import()).error,
            "It is not a text file.");
  EXPECT_EQ(ImportFile("Times\nhello 12\n", Latin1Import()).error,
            "It is not a list of times: line 2 (\"hello 12\") holds no time.");
  EXPECT_EQ(ImportFile("\xEF\xBB\xBF\r\n  \r\n", Latin1Import()).error, "It holds no times.");
  EXPECT_EQ(ImportFile(std::string("\xFF\xFE" "1\0" "2\0", 6), Latin1Import()).error,
            "It is saved as UTF-16 text; save it as UTF-8 and import it again.");
}

TEST(ImportFile, TellsTheKindsApartByHowTheyStart) {
  EXPECT_EQ(KindOf("\xEF\xBB\xBF{\"session1\": []}"), FileKind::CsTimer);
  EXPECT_EQ(KindOf(" \r\n{}"), FileKind::CsTimer);
  EXPECT_EQ(KindOf(std::string("\xEF\xBB\xBF") + std::string(kTwistyTimerHeader) + "\n"), FileKind::TwistyTimer);
  EXPECT_EQ(KindOf("Puzzle,Category\n"), FileKind::PlainList);
  EXPECT_EQ(KindOf("{\"sessions\": [], \"solves\": []}"), FileKind::CubeDesk);
  EXPECT_EQ(KindOf("{\"properties\": {}, \"session1\": [], \"solves\": []}"), FileKind::CsTimer);
  EXPECT_EQ(KindOf("No.;Time;Comment;Scramble;Date;P.1\r\n"), FileKind::CsTimerCsv);
  EXPECT_EQ(KindOf("Time,Comment,Scramble,Date\n"), FileKind::CubeTime);
  EXPECT_EQ(KindOf("\xEF\xBB\xBFNo.,Date,Time,Result,Penalty,Seconds,Scramble,Comment\r\n"), FileKind::OwnCsv);
  EXPECT_EQ(KindOf("\"1:12.77\";\"R U\";\"2017-06-19T00:52:50.614-07:00\"\n"), FileKind::TwistyList);
  EXPECT_EQ(KindOf("\"1:12.77\";\"R U\"\n"), FileKind::PlainList);
  EXPECT_EQ(KindOf("12.34\n"), FileKind::PlainList);
}

}  // namespace
}  // namespace tw::exchange
