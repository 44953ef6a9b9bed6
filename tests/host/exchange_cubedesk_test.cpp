// CubeDesk's back-up read into sessions, and the fields of a solve that do not read
// named with their session and solve.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/cubedesk.h"
#include "exchange/import_file.h"
#include "tests/host/exchange_test_support.h"

namespace tw::exchange {
namespace {

using testing::Latin1Import;
using testing::ReadFixture;
using Lines = std::vector<std::string>;

TEST(CubeDeskImport, EachSessionInItsOrderWithItsEventPenaltiesAndStops) {
  const ImportResult result = ImportFile(ReadFixture("cubedesk_backup.json"), Latin1Import());
  ASSERT_TRUE(result.Ok()) << result.error;
  const ImportReport& report = result.report;
  EXPECT_EQ(report.format, "CubeDesk");
  EXPECT_FALSE(report.intoCurrent);
  EXPECT_EQ(report.emptySessions, 1u);
  ASSERT_EQ(report.sessions.size(), 3u);

  // The stop is "ended_at", or the start plus the time measured; a +2's "time" holds
  // its two seconds; a DNF's time is the one measured.
  EXPECT_EQ(report.sessions[0].name, "Main");
  EXPECT_EQ(report.sessions[0].event, "333");
  EXPECT_EQ(report.sessions[0].lines,
            (Lines{"#Date: 14/11/2023 | Time: 22:13:32 | Result: 00:00:12:34 | Scramble: R U R' U'",
                   "#Date: 14/11/2023 | Time: 22:15:12 | Result: 00:00:14:50 (+2) | Scramble: F2 B2 | Comment: pop",
                   "#Date: 14/11/2023 | Time: 22:16:50 | Result: 00:00:10:59 (DNF) | Scramble: L D"}));
  EXPECT_EQ(report.sessions[1].name, "Feet & more");
  EXPECT_EQ(report.sessions[1].event, "222");
  EXPECT_EQ(report.sessions[1].lines,
            Lines{"#Date: 14/11/2023 | Time: 22:20:04 | Result: 00:00:04:56 | Scramble: U2 F | Comment: Zw\xF6lf"});
  // A solve of a session the file does not list goes into one named for its cube type.
  EXPECT_EQ(report.sessions[2].name, "Pyraminx");
  EXPECT_EQ(report.sessions[2].event, "pyram");
  EXPECT_EQ(report.sessions[2].lines.size(), 1u);

  EXPECT_EQ(report.unreadable, 1u);
  EXPECT_EQ(report.problems,
            Lines{"session \"Feet & more\", solve 1: \"time\" is a string where a number belongs"});
}

TEST(CubeDeskImport, AWrongTypeIsNamedByItsSessionSolveAndField) {
  const auto problem = [](const char* solve) {
    const std::string file = std::string(R"({"sessions": [{"id": 7, "name": "Main"}], "solves": [)") + solve + "]}";
    return ImportCubeDesk(file, Latin1Import()).error;
  };
  EXPECT_EQ(problem(R"({"time": 1.5, "session_id": 7, "dnf": "no"})"),
            "None of its solves could be read; the first: session \"Main\", solve 1: \"dnf\" is a string where true or "
            "false belongs.");
  EXPECT_EQ(problem(R"({"time": 1.5, "session_id": 7, "scramble": ["R", "U"]})"),
            "None of its solves could be read; the first: session \"Main\", solve 1: \"scramble\" is an array where "
            "text belongs.");
  EXPECT_EQ(problem(R"({"session_id": 7, "started_at": "today"})"),
            "None of its solves could be read; the first: session \"Main\", solve 1: \"started_at\" is a string where "
            "a number belongs.");
  EXPECT_EQ(problem("12"),
            "None of its solves could be read; the first: session \"3x3x3\", solve 1: it is a number where a solve's "
            "object belongs.");
  EXPECT_EQ(ImportCubeDesk(R"({"sessions": [], "solves": {}})", Latin1Import()).error,
            "It is not a CubeDesk back-up: \"solves\" is not a list of solves.");
}

}  // namespace
}  // namespace tw::exchange
