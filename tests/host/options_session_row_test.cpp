// The Result panel's session row in words: how a session is listed, what a typed name
// becomes, what an import asks before it writes, and which format an export takes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/cstimer.h"
#include "exchange/plain_list.h"
#include "exchange/text_conversion.h"
#include "options/session_row.h"

namespace tw::options {
namespace {

TEST(SessionRow, ListsASessionByNameAndEvent) {
  EXPECT_EQ(SessionItemText({1, "3x3x3", "333"}), "3x3x3 (3x3x3)");
  EXPECT_EQ(SessionItemText({2, "OH", "333oh"}), "OH (3x3x3 One-Handed)");
  EXPECT_EQ(SessionItemText({3, "Mine", "xyz"}), "Mine (xyz)") << "an event it does not know shows its id";
}

TEST(SessionRow, ATypedNameBecomesOneTrimmedLineOrNothing) {
  struct Case {
    const char* typed;
    const char* name;
  };
  const Case cases[] = {
      {"2x2x2", "2x2x2"},     {"  Two by two \t", "Two by two"}, {"one\r\ntwo", "one  two"},
      {"a\tb", "a b"},        {" \t\r\n ", ""},                  {"", ""},
      {"Brötchen", "Brötchen"},
  };
  for (const Case& c : cases) EXPECT_EQ(CleanSessionName(c.typed), c.name) << c.typed;
  // A name another program gave is made one line too, and never left empty.
  EXPECT_EQ(ImportedSessionName("Two\nlines "), "Two lines");
  EXPECT_EQ(ImportedSessionName(" \r\n"), "Imported");
}

TEST(SessionRow, CountsReadAsAPersonWritesThem) {
  EXPECT_EQ(Counted(0, "solve", "solves"), "0 solves");
  EXPECT_EQ(Counted(1, "solve", "solves"), "1 solve");
  EXPECT_EQ(Counted(999, "solve", "solves"), "999 solves");
  EXPECT_EQ(Counted(1000, "solve", "solves"), "1,000 solves");
  EXPECT_EQ(Counted(1234567, "line", "lines"), "1,234,567 lines");
}

TEST(SessionRow, AnExportIsCsvOnlyForANameEndingInCsv) {
  struct Case {
    const char* path;
    ExportFormat format;
  };
  const Case cases[] = {
      {"C:\\out\\2x2x2.csv", ExportFormat::Csv}, {"SHOUT.CSV", ExportFormat::Csv},
      {"x.csv.txt", ExportFormat::CsTimer},       {"x.txt", ExportFormat::CsTimer},
      {"csv", ExportFormat::CsTimer},             {"x", ExportFormat::CsTimer},
      {"C:\\a.csv\\x", ExportFormat::CsTimer},
  };
  for (const Case& c : cases) EXPECT_EQ(ExportFormatOf(c.path), c.format) << c.path;
  EXPECT_EQ(ExportFileName("2x2x2: OH?"), "2x2x2 OH");
  EXPECT_EQ(ExportFileName("a/b\\c*d\"e<f>g|h"), "abcdefgh");
  EXPECT_EQ(ExportFileName(". ."), "Results") << "a name the system would not keep";
  EXPECT_EQ(FileNameOf("C:\\Users\\me\\times.txt"), "times.txt");
  EXPECT_EQ(FileNameOf("times.txt"), "times.txt");
}

exchange::ImportReport SessionsReport(std::size_t sessions) {
  exchange::ImportReport report;
  report.format = std::string(exchange::kCsTimerFormat);
  for (std::size_t i = 0; i < sessions; ++i) {
    report.sessions.push_back({"S" + std::to_string(i + 1), "222", std::vector<std::string>(i + 1, "#")});
    report.solves += i + 1;
  }
  return report;
}

TEST(SessionRow, TheImportQuestionSaysWhatTheFileHoldsBeforeAnythingIsWritten) {
  exchange::ImportReport report = SessionsReport(12);
  report.sessions[0].name = "Br\xF6tchen";  // the log's code page
  report.unreadable = 7;
  report.problems = {"session \"S2\", solve 3: no time", "session \"S4\", solve 1: a negative time"};
  report.emptySessions = 1;
  const std::string question = ImportQuestion(report, "all.txt", "3x3x3 (3x3x3)", &exchange::Latin1ToUtf8);
  EXPECT_EQ(question,
            "Import \"all.txt\"?\n\n"
            "csTimer file: 12 sessions, 78 solves.\n"
            "    Brötchen (2x2x2): 1 solve\n"
            "    S2 (2x2x2): 2 solves\n"
            "    S3 (2x2x2): 3 solves\n"
            "    S4 (2x2x2): 4 solves\n"
            "    S5 (2x2x2): 5 solves\n"
            "    S6 (2x2x2): 6 solves\n"
            "    S7 (2x2x2): 7 solves\n"
            "    S8 (2x2x2): 8 solves\n"
            "    S9 (2x2x2): 9 solves\n"
            "    S10 (2x2x2): 10 solves\n"
            "    and 2 more sessions\n"
            "7 solves could not be read and are left out:\n"
            "    session \"S2\", solve 3: no time\n"
            "    session \"S4\", solve 1: a negative time\n"
            "    ...\n"
            "1 session without a solve is left out.\n"
            "\nEach session becomes a new session here.");
  EXPECT_FALSE(ImportsIntoCurrentSession(report));

  exchange::ImportReport list;
  list.format = std::string(exchange::kPlainListFormat);
  list.intoCurrent = true;
  list.sessions.push_back({"Imported", "333", {"#", "#"}});
  list.solves = 2;
  list.unreadable = 1;
  list.problems = {"line 3: not a time"};
  EXPECT_TRUE(ImportsIntoCurrentSession(list));
  EXPECT_EQ(ImportQuestion(list, "times.txt", "OH (3x3x3 One-Handed)", nullptr),
            "Import \"times.txt\"?\n\n"
            "List of times: 2 solves.\n"
            "1 line could not be read and is left out:\n"
            "    line 3: not a time\n"
            "\nThe solves go into the session \"OH (3x3x3 One-Handed)\".");
  // A timer's name keeps its spelling at the start of the sentence.
  list.format = "csTimer session export";
  list.unreadable = 0;
  EXPECT_EQ(ImportQuestion(list, "s.csv", "OH", nullptr).substr(0, 50),
            "Import \"s.csv\"?\n\ncsTimer session export: 2 solves.");
}

}  // namespace
}  // namespace tw::options
