// What the tests of import and export share: the fixture files and options with
// the conversions a test can check byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "exchange/export_types.h"
#include "exchange/import_report.h"

namespace tw::exchange::testing {

// 2023-11-14 22:13:20 UTC, the instant the fixtures' solves start from.
inline constexpr std::int64_t kFixtureEpoch = 1700000000;

inline std::string ReadFixture(const char* name) {
  const std::filesystem::path path = std::filesystem::path(__FILE__).parent_path() / "fixtures" / "exchange" / name;
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file) << path;
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A log in Latin-1, read in UTC, as a user west of Greenwich with an English
// Windows would have it but for the zone.
inline ImportOptions Latin1Import() {
  ImportOptions options;
  options.toLog = Utf8ToLatin1;
  options.undatedStop = kFixtureEpoch;
  return options;
}

inline ExportOptions Latin1Export() {
  ExportOptions options;
  options.toUtf8 = Latin1ToUtf8;
  return options;
}

}  // namespace tw::exchange::testing
