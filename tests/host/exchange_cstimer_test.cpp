// csTimer's export file read into sessions of result lines, and written back so that
// csTimer takes it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "exchange/cstimer.h"
#include "results/solve.h"
#include "tests/host/exchange_test_support.h"

namespace tw::exchange {
namespace {

using testing::kFixtureEpoch;
using testing::Latin1Export;
using testing::Latin1Import;
using testing::ReadFixture;
using Lines = std::vector<std::string>;
using Json = nlohmann::json;

TEST(CsTimerImport, EverySessionWithSolvesBecomesOneInRankOrderWithItsEventAndLocalStops) {
  const ImportResult result = ImportCsTimer(ReadFixture("cstimer_sessions.txt"), Latin1Import());
  ASSERT_TRUE(result.Ok()) << result.error;
  const ImportReport& report = result.report;
  EXPECT_EQ(report.format, "csTimer");
  EXPECT_EQ(report.solves, 5u);
  EXPECT_EQ(report.unreadable, 0u);
  EXPECT_EQ(report.emptySessions, 1u);
  ASSERT_EQ(report.sessions.size(), 2u);

  // Ranked first; its name and comment in the log's code page, what it lacks as '?'.
  EXPECT_EQ(report.sessions[0].name, "Zwei ? W\xFCrfel");
  EXPECT_EQ(report.sessions[0].event, "222");
  EXPECT_EQ(report.sessions[0].lines,
            Lines{"#Date: 14/11/2023 | Time: 22:30:04 | Result: 00:00:04:56 | Scramble: R U F | Comment: Br\xF6tchen ? note"});

  // csTimer keeps names as HTML; the stop is the start plus the measured time; a +2
  // holds its two seconds, a DNF the time measured; several phases count by their total.
  EXPECT_EQ(report.sessions[1].name, "Main & more");
  EXPECT_EQ(report.sessions[1].event, "333");
  EXPECT_EQ(report.sessions[1].lines,
            (Lines{"#Date: 14/11/2023 | Time: 22:13:32 | Result: 00:00:12:34 | Scramble: R U R' U'",
                   "#Date: 14/11/2023 | Time: 22:15:10 | Result: 00:00:12:00 (+2) | Scramble: F2 B2 | Comment: pop",
                   "#Date: 14/11/2023 | Time: 22:16:49 | Result: 00:00:09:87 (DNF) | Scramble: L D",
                   "#Date: 14/11/2023 | Time: 23:20:25 | Result: 01:02:05:67 | Scramble: U | Comment: multi-phase"}));
  for (const ImportedSession& session : report.sessions) {
    for (const std::string& line : session.lines) EXPECT_TRUE(results::Parse(line)) << line;
  }
}

TEST(CsTimerImport, WritesTheUsersZoneAndSeparators) {
  ImportOptions options = Latin1Import();
  options.zone = FixedOffsetZone(3600);
  options.dateSeparator = ".";
  options.timeSeparator = ".";
  const ImportResult result = ImportCsTimer(ReadFixture("cstimer_sessions.txt"), options);
  ASSERT_TRUE(result.Ok()) << result.error;
  EXPECT_EQ(result.report.sessions[1].lines[0],
            "#Date: 14.11.2023 | Time: 23.13.32 | Result: 00:00:12:34 | Scramble: R U R' U'");
}

TEST(CsTimerImport, AFileThatIsNoCsTimerExportNamesItsFirstProblem) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {R"({"session1": [[[0, 1234], "R", "", 1700000000]])",
       "It is not a csTimer export: it is not valid JSON (parse error at line 1, column 48"},
      {"  [1, 2]", "It is not a csTimer export: it holds no JSON object."},
      {R"({"properties": {"sessionData": "{}"}})", "It is not a csTimer export: it holds no session"},
      {R"({"session1": [], "session2": {"a": 1}})",
       "It is not a csTimer export: \"session2\" is not a list of solves."},
      {R"({"session1": "not JSON"})", "It is not a csTimer export: \"session1\" is not a list of solves."},
  };
  for (const Case& c : cases) {
    const ImportResult result = ImportCsTimer(c.text, Latin1Import());
    EXPECT_EQ(result.error.substr(0, std::string(c.error).size()), c.error) << c.text;
    EXPECT_TRUE(result.report.sessions.empty());
  }
}

TEST(CsTimerImport, SolvesThatDoNotReadAreLeftOutCountedAndTheFirstFewShown) {
  const char* const text = R"({"session1": [
    [[0], "R", "", 1700000000],
    [[0, 1000], "R", "", 1700000000],
    "junk",
    [[4000, 1000], "U", "", 1700000000],
    [[0, -5], "", ""],
    [[0, 360000000], "", "", 1700000000],
    [[0, 2000], "no start"],
    [[-1]],
    [["2000", 1000], "R", "", 1700000000],
    [[0, 1000], 42, "", 1700000000]
  ]})";
  const ImportResult result = ImportCsTimer(text, Latin1Import());
  ASSERT_TRUE(result.Ok()) << result.error;
  EXPECT_EQ(result.report.solves, 2u);
  EXPECT_EQ(result.report.unreadable, 8u);
  EXPECT_EQ(result.report.problems,
            (Lines{"session \"1\", solve 1: its times hold no time",
                   "session \"1\", solve 3: it is a string where a solve's list [times, scramble, comment, start] belongs",
                   "session \"1\", solve 4: a penalty of 4000 ms, which is neither +2 nor DNF",
                   "session \"1\", solve 5: a negative time", "session \"1\", solve 6: a time longer than 99 hours"}));
  // Past the first few, each problem still names its solve and field.
  const ImportResult wrongTypes = ImportCsTimer(R"({"session1": [[["2000", 1000], "R", "", 1], [[0, 1000], 42]]})",
                                                Latin1Import());
  EXPECT_EQ(wrongTypes.error,
            "None of its solves could be read; the first: session \"1\", solve 1: the penalty is a string where a "
            "number belongs.");
  EXPECT_EQ(wrongTypes.report.problems[1], "session \"1\", solve 2: the scramble is a number where text belongs");
  // A solve without its start stops when the caller says undated solves do.
  EXPECT_EQ(result.report.sessions[0].lines[1],
            "#Date: 14/11/2023 | Time: 22:13:20 | Result: 00:00:02:00 | Scramble: no start");
}

TEST(CsTimerImport, OlderFilesKeepSessionsAndPropertiesAsTextAndTheScrambleTypeAsScr) {
  const char* const text =
      R"({"session1": "[[[0, 1000], \"R\", \"\", 1700000000]]",
          "properties": "{\"sessionData\": \"{\\\"1\\\": {\\\"name\\\": \\\"Old\\\", \\\"scr\\\": \\\"pyrso\\\"}}\"}"})";
  const ImportResult result = ImportCsTimer(text, Latin1Import());
  ASSERT_TRUE(result.Ok()) << result.error;
  ASSERT_EQ(result.report.sessions.size(), 1u);
  EXPECT_EQ(result.report.sessions[0].name, "Old");
  EXPECT_EQ(result.report.sessions[0].event, "pyram");
  EXPECT_EQ(result.report.solves, 1u);
}

// What a solve of csTimer's file says, at the log's precision: the penalty, the
// total time in hundredths, the scramble, the comment and the start.
Json Comparable(const Json& solve) {
  return Json::array({solve[0][0], solve[0][1].get<long long>() / 10, solve[1], solve[2], solve[3]});
}

TEST(CsTimerExport, ARoundTripGivesCsTimerBackTheSameSolvesNamesAndEvents) {
  const std::string original = ReadFixture("cstimer_sessions.txt");
  // The log holds UTF-8 here, so nothing is lost to a code page; any zone will do as
  // long as both ways use it.
  ImportOptions importOptions;
  importOptions.zone = FixedOffsetZone(-5 * 3600);
  const ImportResult imported = ImportCsTimer(original, importOptions);
  ASSERT_TRUE(imported.Ok()) << imported.error;

  std::vector<Lines> logs;
  for (const ImportedSession& session : imported.report.sessions) logs.push_back(session.lines);
  logs[1].push_back("a line edited by hand");
  std::vector<ExportSession> chosen;
  for (std::size_t i = 0; i < logs.size(); ++i) {
    chosen.push_back({imported.report.sessions[i].name, imported.report.sessions[i].event, logs[i]});
  }
  ExportOptions exportOptions;
  exportOptions.zone = importOptions.zone;
  const ExportResult exported = ExportCsTimer(chosen, exportOptions);
  EXPECT_EQ(exported.solves, 5u);
  EXPECT_EQ(exported.skipped, 1u);
  // csTimer's import knows its own file by this start.
  ASSERT_TRUE(exported.text.starts_with(R"({"session1")")) << exported.text.substr(0, 40);

  const Json before = Json::parse(original);
  const Json after = Json::parse(exported.text);
  const Json beforeData = Json::parse(before["properties"]["sessionData"].get<std::string>());
  const Json afterData = Json::parse(after["properties"]["sessionData"].get<std::string>());
  EXPECT_EQ(after["properties"]["sessionN"], 2);
  // The file's sessions in rank order, the empty one left out.
  const std::pair<const char*, const char*> sessions[] = {{"session2", "2"}, {"session1", "1"}};
  for (std::size_t i = 0; i < 2; ++i) {
    const std::string number = std::to_string(i + 1);
    const Json& was = before[sessions[i].first];
    const Json& is = after["session" + number];
    ASSERT_EQ(is.size(), was.size()) << number;
    for (std::size_t k = 0; k < was.size(); ++k) EXPECT_EQ(Comparable(is[k]), Comparable(was[k])) << number;
    EXPECT_EQ(afterData[number]["name"], beforeData[sessions[i].second]["name"]);
    EXPECT_EQ(afterData[number]["opt"]["scrType"], beforeData[sessions[i].second]["opt"]["scrType"]);
    EXPECT_EQ(afterData[number]["rank"], i + 1);
  }
}

TEST(CsTimerExport, TextLeavesTheLogsCodePageAsUtf8) {
  const Lines log{"#Date: 14/11/2023 | Time: 22:13:32 | Result: 00:00:12:34 | Comment: caf\xE9"};
  const ExportSession session{"Caf\xE9 <1>", "pyram", log};
  const ExportResult exported = ExportCsTimer({&session, 1}, Latin1Export());
  const Json file = Json::parse(exported.text);
  EXPECT_EQ(file["session1"][0][2], "caf\xC3\xA9");
  EXPECT_EQ(file["session1"][0][3], kFixtureEpoch);
  const Json data = Json::parse(file["properties"]["sessionData"].get<std::string>());
  EXPECT_EQ(data["1"]["name"], "Caf\xC3\xA9 &lt;1&gt;");
  EXPECT_EQ(data["1"]["opt"]["scrType"], "pyrso");

  // Without a converter a byte that is no UTF-8 costs that character, not the file.
  const Lines raw{"#Date: 14/11/2023 | Time: 22:13:32 | Result: 00:00:12:34 | Comment: \"q\" \\ caf\xE9"};
  const ExportSession rawSession{"raw", "333", raw};
  EXPECT_EQ(Json::parse(ExportCsTimer({&rawSession, 1}, ExportOptions()).text)["session1"][0][2],
            "\"q\" \\ caf\xEF\xBF\xBD");
}

TEST(Exchange, ProgressIsToldEverySoManySolvesAndCanStopTheWork) {
  ImportOptions options = Latin1Import();
  std::vector<std::size_t> seen;
  options.progressEvery = 2;
  options.progress = [&](std::size_t done, std::size_t total) {
    EXPECT_EQ(total, 5u);
    seen.push_back(done);
    return true;
  };
  const std::string file = ReadFixture("cstimer_sessions.txt");
  ASSERT_TRUE(ImportCsTimer(file, options).Ok());
  EXPECT_EQ(seen, (std::vector<std::size_t>{2, 4, 5}));  // the last call says it is done

  options.progress = [](std::size_t, std::size_t) { return false; };
  EXPECT_EQ(ImportCsTimer(file, options).error, kStoppedMessage);

  const Lines log(10, "#Date: 14/11/2023 | Time: 22:13:32 | Result: 00:00:12:34");
  const ExportSession session{"1", "333", log};
  ExportOptions exportOptions;
  exportOptions.progress = [](std::size_t done, std::size_t) { return done < 4; };
  exportOptions.progressEvery = 2;
  const ExportResult stopped = ExportCsTimer({&session, 1}, exportOptions);
  EXPECT_TRUE(stopped.stopped);
  EXPECT_TRUE(stopped.text.empty());
}

}  // namespace
}  // namespace tw::exchange
