// Every figure the statistics window shows, copied as plain text: the averages, both
// tallies and the note on unread lines, in columns that line up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stats/statistics.h"
#include "stats/table_text.h"

namespace tw::stats {
namespace {

std::vector<std::string> Log() {
  return {
      "#Date: 10/12/2026 | Time: 14:03:07 | Result: 00:00:10:00",
      "#Date: 10/12/2026 | Time: 14:04:07 | Result: 00:00:12:00",
      "edited by hand",
      "#Date: 10/12/2026 | Time: 14:05:07 | Result: 00:00:31:20 (DNF)",
      "#Date: 10/12/2026 | Time: 14:06:07 | Result: 00:01:02:35",
  };
}

TEST(FiguresText, TheAveragesThenBothTalliesThenTheUnreadNote) {
  Statistics stats;
  stats.Load(Log(), 3);  // the last two lines were logged since the start
  EXPECT_EQ(FiguresText(stats),
            "           current     best\r\n"
            "single     1:02.35    10.00\r\n"
            "mean of 3      DNF      DNF\r\n"
            "\r\n"
            "                   all  since start\r\n"
            "solves               4            2\r\n"
            "DNFs                 1            1\r\n"
            "mean             28.12      1:02.35\r\n"
            "deviation        24.22         0.00\r\n"
            "\r\n"
            "1 line not read\r\n");
}

TEST(FiguresText, AnEmptyLogHasHeadingsAndNoFigures) {
  Statistics stats;
  EXPECT_EQ(FiguresText(stats),
            "  current     best\r\n"
            "\r\n"
            "                   all  since start\r\n"
            "solves               0            0\r\n"
            "DNFs                 0            0\r\n"
            "mean                 -            -\r\n"
            "deviation            -            -\r\n");
  EXPECT_EQ(UnreadNote(2), "2 lines not read");
}

}  // namespace
}  // namespace tw::stats
