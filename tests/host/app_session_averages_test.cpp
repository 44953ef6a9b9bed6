// The line under the digits follows every change of the log at once: a solve, a
// removal, a penalty, an undo that reloads.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/session_averages.h"

namespace tw {
namespace {

std::string Line(int hundredths, const char* suffix = "") {
  char text[96];
  std::snprintf(text, sizeof text, "#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:%02d:%02d:%02d%s",
                hundredths / 6000, hundredths / 100 % 60, hundredths % 100, suffix);
  return text;
}

TEST(SessionAverages, ReadsAsTheLineUnderTheDigits) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    const char* text;
  };
  const Case cases[] = {
      {"an empty log", {}, "ao5 -  ao12 -  mean - (0)"},
      {"four: no average yet", {Line(1000), Line(1200), Line(1100), Line(900)}, "ao5 -  ao12 -  mean 10.50 (4)"},
      {"five: fastest and slowest dropped",
       {Line(1000), Line(1200), Line(1100), Line(900), Line(1300)},
       "ao5 11.00  ao12 -  mean 11.00 (5)"},
      {"one DNF is the one dropped; the mean leaves it out",
       {Line(1000), Line(1200), Line(1100), Line(900), Line(1300, " (DNF)")},
       "ao5 11.00  ao12 -  mean 10.50 (5)"},
      {"two DNFs: DNF",
       {Line(1000), Line(1200, " (DNF)"), Line(1100), Line(900), Line(1300, " (DNF)")},
       "ao5 DNF  ao12 -  mean 10.00 (5)"},
      {"a line without a result counts nowhere",
       {Line(1000), "a note", Line(1200), Line(1100), Line(900), Line(1300)},
       "ao5 11.00  ao12 -  mean 11.00 (5)"},
      {"minutes as cubers write them",
       {Line(6100), Line(6200), Line(6300), Line(6400), Line(6500)},
       "ao5 1:03.00  ao12 -  mean 1:03.00 (5)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SessionAverages averages;
    averages.Load(c.lines);
    EXPECT_EQ(averages.Text(), c.text);
  }
}

TEST(SessionAverages, FollowsEachChangeAsAReloadWouldRead) {
  std::vector<std::string> lines;
  for (int i = 0; i < 12; ++i) lines.push_back(Line(1000 + 100 * i));
  SessionAverages averages;
  averages.Load(lines);
  EXPECT_EQ(averages.Text(), "ao5 19.00  ao12 15.50  mean 15.50 (12)");

  const auto expectAsReloaded = [&](const char* after) {
    SCOPED_TRACE(after);
    SessionAverages reloaded;
    reloaded.Load(lines);
    EXPECT_EQ(averages.Text(), reloaded.Text());
  };
  lines.push_back(Line(800));
  averages.Append(lines.back());
  EXPECT_EQ(averages.Text(), "ao5 19.00  ao12 15.50  mean 14.92 (13)");
  expectAsReloaded("a solve");
  lines[12] = Line(800, " (DNF)");
  averages.Replace(12, lines[12]);
  expectAsReloaded("a penalty");
  lines.erase(lines.begin() + 12);
  averages.Remove(12);
  EXPECT_EQ(averages.Text(), "ao5 19.00  ao12 15.50  mean 15.50 (12)");
  lines.erase(lines.begin());
  averages.Remove(0);
  expectAsReloaded("the first removed");
  averages.Remove(99);  // no such line: nothing changes
  expectAsReloaded("a removal past the end");
}

}  // namespace
}  // namespace tw
