#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

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

// A stored list that leaves sessions out (damaged by hand, by a crash, by an older
// run) never hides them: each session whose keys or log are present is found again
// after the listed ones, and a new session never takes the number of a log that is there.
TEST(SessionList, DamagedListsFindEverySessionAgainAndNewNeverAdoptsALog) {
  const SessionList::Present present{
      {"Countdown", "Sessions", "Session 3 Name", "session 5 EVENT", "Session 5 Name", "Session 07 Name",
       "Session x Name", "Session -4 Name", "Session 1000 Name", "Session 6 Colour"},
      {"Result.lst", "Result 2.lst", "RESULT 3.LST", "Result 02.lst", "Result 0.lst", "Result -1.lst",
       "Result 2.lst.tmp", "Result  9.lst"}};
  const struct {
    const char* sessions;  // nullptr: the key is missing
    const char* expected;
    std::size_t foundAgain;
  } cases[] = {
      {"-1", "1 2 3 5", 3},
      {nullptr, "1 2 3 5", 3},
      {"", "1 2 3 5", 3},
      {"1,1,5,5", "1 5 2 3", 2},
      {"x,,;5 junk", "1 2 3 5", 3},
      {"3,2,1,5", "1 3 2 5", 0},
      {"1,8", "1 8 2 3 5", 3},
  };
  for (const auto& c : cases) {
    std::map<std::string, std::string> keys = {{"Session 3 Name", "Pyraminx"}, {"Session 5 Name", "OH"}};
    if (c.sessions) keys["Sessions"] = c.sessions;
    SessionList list = SessionList::Read(
        [&keys](std::string_view key) -> std::optional<std::string> {
          const auto found = keys.find(std::string(key));
          if (found == keys.end()) return std::nullopt;
          return found->second;
        },
        present);
    std::string numbers;
    for (const Session& s : list.All()) numbers += (numbers.empty() ? "" : " ") + std::to_string(s.number);
    EXPECT_EQ(numbers, c.expected) << (c.sessions ? c.sessions : "missing");
    EXPECT_EQ(list.FoundAgain(), c.foundAgain) << (c.sessions ? c.sessions : "missing");
    const std::optional<std::size_t> five = list.IndexOf(5);
    ASSERT_TRUE(five) << (c.sessions ? c.sessions : "missing");
    EXPECT_EQ(list.All()[*five].name, "OH");
    // The logs present are taken: the new session gets the lowest number that is neither listed nor there.
    const auto logThere = [](int n) { return n == 4 || n == 6; };
    EXPECT_EQ(list.Add("new", "333", 0, logThere), 7) << (c.sessions ? c.sessions : "missing");
  }
  EXPECT_EQ(SessionOfFile("Result 12.lst"), 12);
  EXPECT_EQ(SessionOfFile("Result.lst"), 1);
  EXPECT_EQ(SessionOfFile("Result 1.lst"), std::nullopt) << "the first session's log is Result.lst";
}

// A Multi-Blind session keeps its own number of cubes; a session stored before each
// kept its own takes the older global count.
TEST(SessionList, EachMultiBlindSessionKeepsItsOwnCount) {
  std::map<std::string, std::string> stored = {
      {"Sessions", "1,2,3,4"},           {"Multi-Blind Cubes", "6"},      {"Session 2 Event", "333mbf"},
      {"Session 3 Event", "333mbf"},     {"Session 3 Cubes", "12"},       {"Session 4 Event", "333mbf"},
      {"Session 4 Cubes", "101"},        {"Session 1 Cubes", "9"}};
  SessionList list = FromKeys(stored);
  const auto cubes = [&list] {
    std::string text;
    for (const Session& s : list.All()) text += std::to_string(s.cubes) + " ";
    return text;
  };
  EXPECT_EQ(cubes(), "0 6 12 6 ") << "3x3x3 has none; a count out of range is the older one";
  EXPECT_EQ(list.Add("MBLD", "333mbf", 40), 5);
  EXPECT_TRUE(list.Rename(3, "MBLD 3", "333mbf"));
  EXPECT_TRUE(list.Rename(4, "no longer", "333"));
  EXPECT_EQ(cubes(), "0 6 12 0 40 ") << "a rename without a count keeps the session's own";
  for (const auto& [key, value] : list.Keys()) stored[key] = value;
  EXPECT_EQ(stored["Session 2 Cubes"], "6") << "the older count, now the session's";
  EXPECT_EQ(stored["Session 5 Cubes"], "40");
  stored["Multi-Blind Cubes"] = "3";
  list = FromKeys(stored);
  EXPECT_EQ(cubes(), "0 6 12 0 40 ") << "two sessions keep two counts whatever the older key says";
  EXPECT_EQ(SessionList::KeysOf(5), (std::vector<std::string>{"Session 5 Name", "Session 5 Event", "Session 5 Cubes",
                                                               "Session 5 Cases"}));
}

TEST(SessionList, AddRenameRemoveAndTheKeysThatStoreThem) {
  SessionList list = FromKeys({});
  EXPECT_EQ(list.Add("2x2", "222"), 2);
  EXPECT_EQ(list.Add("Pyra\r\nminx", "pyram"), 3);
  EXPECT_EQ(list.All().back().name, "Pyra  minx") << "a name is one line of the settings file";
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
