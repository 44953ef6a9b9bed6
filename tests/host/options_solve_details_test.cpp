// The solve details box's reading of a result line and the line its OK writes back.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "options/solve_details.h"
#include "results/solve.h"
#include "scramble/event_scrambler.h"

namespace tw::options {
namespace {

using results::Penalty;

const std::string kPlain = "#Date: 25.12.2026 | Time: 14-03-59 | Result: 00:01:02:35";
const std::string kPlusTwo = "#Date: 25.12.2026 | Time: 14-03-59 | Result: 00:00:14:34 (+2) | Scramble: R U F";

TEST(SolveDetails, ReadsTheLineWithItsOwnSeparatorsAndTheMeasuredTime) {
  const std::optional<SolveDetails> details = DetailsOf(kPlusTwo);
  ASSERT_TRUE(details);
  EXPECT_EQ(details->date, "25.12.2026 14-03-59");
  EXPECT_EQ(details->measured, 1234) << "the +2 is not part of what was measured";
  EXPECT_EQ(details->solve.scramble, "R U F");
  EXPECT_FALSE(DetailsOf("a note typed by hand"));

  struct Case {
    results::Hundredths measured;
    Penalty penalty;
    const char* text;
  };
  for (const Case& c : {Case{1234, Penalty::None, "12.34"}, Case{1234, Penalty::PlusTwo, "14.34 (+2)"},
                        Case{6235, Penalty::Dnf, "DNF (1:02.35)"}, Case{5900, Penalty::PlusTwo, "1:01.00 (+2)"}}) {
    EXPECT_EQ(ResultText(c.measured, c.penalty), c.text);
  }
}

TEST(SolveDetails, OkWritesThePenaltyAndTheCommentOnOneLineOrNothingWhenUnchanged) {
  struct Case {
    std::string line;
    Penalty penalty;
    std::string comment;
    std::optional<std::string> written;
  };
  const Case cases[] = {
      {kPlain, Penalty::None, "", std::nullopt},
      {kPlusTwo, Penalty::PlusTwo, "", std::nullopt},
      {kPlain, Penalty::PlusTwo, "", "#Date: 25.12.2026 | Time: 14-03-59 | Result: 00:01:04:35 (+2)"},
      {kPlusTwo, Penalty::Dnf, "pop", "#Date: 25.12.2026 | Time: 14-03-59 | Result: 00:00:12:34 (DNF) | Scramble: R U F | Comment: pop"},
      {kPlusTwo + " | Comment: old", Penalty::PlusTwo, "", kPlusTwo},
      {kPlain, Penalty::None, "two\r\nlines", kPlain + " | Comment: two  lines"},
      {"a note typed by hand", Penalty::Dnf, "x", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EditedLine(c.line, c.penalty, c.comment), c.written) << c.line;
    if (c.written) {
      EXPECT_TRUE(results::Parse(*c.written)) << "reads back: " << *c.written;
    }
  }
}

// The log keeps a scramble on one line; the box gives it back as the event wrote it, so
// its picture is the state the solve started from.
TEST(SolveDetails, MultiBlindAndMegaminxScramblesAreWrittenAgainAsTheirEventWritesThem) {
  for (const scramble::Event event : {scramble::Event::k333mbf, scramble::Event::kMinx, scramble::Event::k222}) {
    scramble::EventScrambler scrambler(event, 7, 12);
    const scramble::EventScramble drawn = scrambler.Next();
    results::Solve solve;
    solve.when = {2026, 12, 25, 14, 3, 59};
    solve.time = 1234;
    solve.scramble = drawn.text;
    const std::optional<SolveDetails> details = DetailsOf(results::Format(solve));
    ASSERT_TRUE(details);
    const std::string written = ScrambleAsWritten(event, details->solve.scramble);
    EXPECT_EQ(written, drawn.text) << scramble::IdOf(event);
    EXPECT_EQ(scramble::StateAfter(event, written), drawn.state) << scramble::IdOf(event);
  }
}

}  // namespace
}  // namespace tw::options
