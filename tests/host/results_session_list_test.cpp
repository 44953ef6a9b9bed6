#include <gtest/gtest.h>

#include <map>
#include <string>

#include "results/session_list.h"

namespace tw::results {
namespace {

SessionList FromKeys(const std::map<std::string, std::string>& keys) {
  return SessionList::Read([&keys](std::string_view key) -> std::optional<std::string> {
    const auto found = keys.find(std::string(key));
    if (found == keys.end()) return std::nullopt;
    return found->second;
  });
}

std::string Numbers(const SessionList& list) {
  std::string text;
  for (const Session& s : list.All()) text += std::to_string(s.number) + ":" + s.name + "/" + s.event + " ";
  return text;
}

TEST(SessionList, MissingKeysAreTheFirstSessionAlone) {
  const SessionList list = FromKeys({});
  EXPECT_EQ(Numbers(list), "1:3x3x3/333 ");
  EXPECT_EQ(list.Current().number, 1);
  EXPECT_EQ(SessionFileName(1), "Result.lst");
  EXPECT_EQ(SessionFileName(12), "Result 12.lst");
}

TEST(SessionList, DamagedKeysAreReadAsWellAsTheyCanBe) {
  const struct {
    std::map<std::string, std::string> keys;
    const char* expected;
    int current;
  } cases[] = {
      {{{"Sessions", "1,2"}, {"Session 2 Name", "OH"}, {"Session 2 Event", "333oh"}, {"Current Session", "2"}},
       "1:3x3x3/333 2:OH/333oh ", 2},
      // The first session is always there and first; repeats, junk and out-of-range numbers are left out.
      {{{"Sessions", "3, 3,x,0,1000,-2,,2"}, {"Current Session", "7"}}, "1:3x3x3/333 3:Session 3/333 2:Session 2/333 ", 1},
      {{{"Sessions", "2,1"}, {"Session 1 Name", "Main"}, {"Current Session", "1x"}}, "1:Main/333 2:Session 2/333 ", 1},
      {{{"Session 5 Name", "not listed"}, {"Current Session", "5"}}, "1:3x3x3/333 ", 1},
  };
  for (const auto& c : cases) {
    const SessionList list = FromKeys(c.keys);
    EXPECT_EQ(Numbers(list), c.expected);
    EXPECT_EQ(list.Current().number, c.current);
  }
}

TEST(SessionList, AddRenameRemoveAndTheKeysThatStoreThem) {
  SessionList list = FromKeys({});
  EXPECT_EQ(list.Add("2x2", "222"), 2);
  EXPECT_EQ(list.Add("Pyra\r\nminx", "pyram"), 3);
  EXPECT_TRUE(list.Remove(2));
  EXPECT_FALSE(list.Remove(1)) << "the first session is never removed";
  EXPECT_EQ(list.Add("4x4", "444"), 2) << "the lowest free number";
  EXPECT_TRUE(list.SetCurrent(1));
  EXPECT_TRUE(list.Rename(3, "Pyraminx", "pyram"));
  EXPECT_FALSE(list.Rename(3, "", "pyram"));
  EXPECT_EQ(Numbers(list), "1:3x3x3/333 3:Pyraminx/pyram 2:4x4/444 ");

  std::map<std::string, std::string> stored;
  for (const auto& [key, value] : list.Keys()) stored[key] = value;
  EXPECT_EQ(stored["Sessions"], "1,3,2");
  EXPECT_EQ(stored["Current Session"], "3");
  const SessionList again = FromKeys(stored);
  EXPECT_EQ(Numbers(again), Numbers(list));
  EXPECT_EQ(again.Current().number, 3);

  // Removing the current session goes back to the first.
  EXPECT_TRUE(list.Remove(3));
  EXPECT_EQ(list.Current().number, 1);
}

}  // namespace
}  // namespace tw::results
