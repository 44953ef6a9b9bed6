// The statistics window's keys in the settings file: missing means never used,
// and a hand edit that makes no sense falls back to the default.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "stats/window_placement.h"

namespace tw::stats {
namespace {

StoredPlacement Read(const std::map<std::string, std::string>& keys) {
  return ReadPlacement([&](const char* key) {
    const auto found = keys.find(key);
    return found == keys.end() ? std::string() : found->second;
  });
}

TEST(ReadPlacement, MissingKeysMeanHiddenCentredAndDefaultSize) {
  const StoredPlacement placement = Read({});
  EXPECT_FALSE(placement.shown);
  EXPECT_FALSE(placement.left);
  EXPECT_FALSE(placement.top);
  EXPECT_EQ(placement.widthTwips, kDefaultWidthTwips);
  EXPECT_EQ(placement.heightTwips, kDefaultHeightTwips);
}

TEST(ReadPlacement, TakesWhatWasSaved) {
  const StoredPlacement placement = Read({{"Statistics", "Shown"},
                                          {"Statistics Left", "-1200"},
                                          {"Statistics Top", "40"},
                                          {"Statistics Width", "8000"},
                                          {"Statistics Height", "6000"}});
  EXPECT_TRUE(placement.shown);
  EXPECT_EQ(placement.left, -1200);  // a monitor left of the primary one
  EXPECT_EQ(placement.top, 40);
  EXPECT_EQ(placement.widthTwips, 8000);
  EXPECT_EQ(placement.heightTwips, 6000);
}

TEST(ReadPlacement, NonsenseFallsBackValueByValue) {
  struct Case {
    const char* shown;
    const char* left;
    const char* top;
    const char* width;
    const char* height;
    bool shownRead;
    bool cornerRead;
    int widthRead, heightRead;
  };
  const Case cases[] = {
      {"shown", "10", "x", "8000", "99999999999", false, false, 8000, kDefaultHeightTwips},
      {"Shown ", "10px", "20", "7499", "5400", false, false, kDefaultWidthTwips, kMinimumHeightTwips},
      {"Hidden", "", "20", "144001", "5399", false, false, kDefaultWidthTwips, kDefaultHeightTwips},
      {"Shown", "+10", "20", "-8000", "0x1F40", true, false, kDefaultWidthTwips, kDefaultHeightTwips},
      {"Shown", "10", "20", "144000", "7500.5", true, true, 144000, kDefaultHeightTwips},
  };
  for (const Case& c : cases) {
    const StoredPlacement placement = Read({{"Statistics", c.shown},
                                            {"Statistics Left", c.left},
                                            {"Statistics Top", c.top},
                                            {"Statistics Width", c.width},
                                            {"Statistics Height", c.height}});
    EXPECT_EQ(placement.shown, c.shownRead) << c.shown;
    EXPECT_EQ(placement.left.has_value(), c.cornerRead) << c.left << "," << c.top;
    EXPECT_EQ(placement.top.has_value(), c.cornerRead) << c.left << "," << c.top;
    EXPECT_EQ(placement.widthTwips, c.widthRead) << c.width;
    EXPECT_EQ(placement.heightTwips, c.heightRead) << c.height;
  }
}

}  // namespace
}  // namespace tw::stats
