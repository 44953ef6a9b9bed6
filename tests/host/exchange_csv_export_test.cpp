// A session's solves as a spreadsheet reads them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/csv_export.h"
#include "tests/host/exchange_test_support.h"

namespace tw::exchange {
namespace {

using testing::Latin1Export;

TEST(CsvExport, OneRowASolveQuotedAsRfc4180WithSecondsASpreadsheetCanAverage) {
  const std::vector<std::string> log{
      "#Date: 14/11/2023 | Time: 22:13:32 | Result: 00:00:12:34 | Scramble: R U R' U'",
      "#Date: 14.11.2023 | Time: 22.15.10 | Result: 00:01:02:35 (+2) | Comment: a, \"quoted\" one",
      "a line edited by hand",
      "#Date: 14/11/2023 | Time: 22:16:49 | Result: 01:00:02:35 (DNF) | Scramble: L D | Comment: caf\xE9",
  };
  const ExportResult result = ExportCsv(log, Latin1Export());
  EXPECT_EQ(result.solves, 3u);
  EXPECT_EQ(result.skipped, 1u);
  EXPECT_EQ(result.text,
            "\xEF\xBB\xBFNo.,Date,Time,Result,Penalty,Seconds,Scramble,Comment\r\n"
            "1,2023-11-14,22:13:32,12.34,,12.34,R U R' U',\r\n"
            "2,2023-11-14,22:15:10,1:02.35+,+2,62.35,,\"a, \"\"quoted\"\" one\"\r\n"
            "3,2023-11-14,22:16:49,DNF(1:00:02.35),DNF,,L D,caf\xC3\xA9\r\n");
}

}  // namespace
}  // namespace tw::exchange
