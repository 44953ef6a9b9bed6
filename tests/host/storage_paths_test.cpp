#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "storage/item_exists.h"
#include "storage/path_normalizer.h"

namespace tw::storage {
namespace {

using namespace std::string_literals;

TEST(NormalizePath, EndsInExactlyOneAddedBackslash) {
  struct Case { std::string in, out; };
  const Case cases[] = {
      {"C:\\Games", "C:\\Games\\"},
      {"C:\\", "C:\\"},
      {"", "\\"},
      {"C:\\Games\\\\", "C:\\Games\\\\"},
      {"C:/Games/", "C:/Games/\\"},  // only a backslash counts as the separator
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizePath(c.in), c.out) << c.in;
}

// A machine with drives C: (fixed) and Z: (remote), a drive Y: whose type query fails,
// and a drive X: with no root directory; it remembers every question asked of it.
class FakeMachine {
 public:
  std::string driveBuffer = PadTo104("C:\\\0X:\\\0Y:\\\0Z:\\\0\0"s);
  std::map<std::string, unsigned> types = {{"C:", 3}, {"X:", 1}, {"Y:", 0}, {"Z:", 4}, {"\\:", 1}};
  std::set<std::string> entries = {"C:\\Games", "C:\\Games\\", "C:\\Games\\a.txt", "Core.txt",
                                   "\\\\server\\share"};

  std::vector<unsigned> bufferLengths;
  std::vector<std::string> typeQueries;
  std::vector<std::string> searches;

  static std::string PadTo104(std::string text) { return text + std::string(104 - text.size(), ' '); }

  ExistenceQueries Queries() {
    return {
        [this](unsigned length) { bufferLengths.push_back(length); return driveBuffer; },
        [this](const std::string& root) {
          typeQueries.push_back(root);
          const auto it = types.find(root);
          return it == types.end() ? 1u : it->second;  // unknown roots: "no root directory"
        },
        [this](const std::string& path) { searches.push_back(path); return entries.count(path) > 0; },
    };
  }
};

TEST(LogicalDriveList, AsksWithRoomForAllDrivesAndTrimsTheUnusedSpaces) {
  FakeMachine machine;
  EXPECT_EQ(LogicalDriveList(machine.Queries()), "C:\\\0X:\\\0Y:\\\0Z:\\\0\0"s);
  EXPECT_EQ(machine.bufferLengths, std::vector<unsigned>{104});

  machine.driveBuffer = std::string(104, ' ');  // the call failed and left the buffer alone
  EXPECT_EQ(LogicalDriveList(machine.Queries()), "");
}

TEST(DriveTypeOf, PassesOneToSixAndTurnsEverythingElseIntoZero) {
  struct Case { unsigned platform; int expected; };
  const Case cases[] = {{0, 0}, {1, 1}, {3, 3}, {6, 6}, {7, 0}, {0xFFFFFFFFu, 0}};
  for (const auto& c : cases) {
    FakeMachine machine;
    machine.types["C:"] = c.platform;
    EXPECT_EQ(DriveTypeOf("C", machine.Queries()), c.expected) << c.platform;
  }
}

TEST(DriveTypeOf, AsksForTheUpperCaseLetterAndColon) {
  FakeMachine machine;
  EXPECT_EQ(DriveTypeOf("  z:\\Games", machine.Queries()), 4);
  EXPECT_EQ(machine.typeQueries, std::vector<std::string>{"Z:"});
}

TEST(DriveTypeOf, BlankTextIsZeroWithoutAsking) {
  FakeMachine machine;
  EXPECT_EQ(DriveTypeOf("", machine.Queries()), 0);
  EXPECT_EQ(DriveTypeOf("   ", machine.Queries()), 0);
  EXPECT_TRUE(machine.typeQueries.empty());
}

TEST(ItemExists, AnswersFromDriveListTypeAndSearch) {
  struct Case {
    std::string path;
    bool expected;
    std::vector<std::string> searches;  // the file searches made, in order
  };
  const Case cases[] = {
      {"C:\\Games", true, {"C:\\Games"}},
      // Surrounding spaces and one trailing backslash are ignored.
      {"C:\\Games\\", true, {"C:\\Games"}},
      {" C:\\Games", true, {"C:\\Games"}},
      {"  C:\\Games\\  ", true, {"C:\\Games"}},
      // Only one backslash goes: the search gets the other.
      {"C:\\Games\\\\", true, {"C:\\Games\\"}},
      {"C:\\Missing", false, {"C:\\Missing"}},
      {"c:\\games\\A.TXT", false, {"c:\\games\\A.TXT"}},  // the search itself decides on case
      // Drive roots in either case need no search.
      {"C:", true, {}},
      {"C:\\", true, {}},
      {"c:", true, {}},
      {"c:\\", true, {}},
      {" z:\\ ", true, {}},
      {"X:", true, {}},  // type 1 still counts as a drive
      // A letter missing from the drive list, or a drive whose type is unknown.
      {"D:\\Games", false, {}},
      {"D:", false, {}},
      {"Y:", false, {}},
      {"Y:\\Games", false, {}},
      // Blank paths.
      {"", false, {}},
      {"    ", false, {}},
      {"\\", false, {}},
      // Paths not starting with a drive letter.
      {"Games", false, {}},                                      // "g" is no drive
      {"Core.txt", true, {"Core.txt"}},                          // "c" is: the search decides
      {"\\\\server\\share", true, {"\\\\server\\share"}},        // "\" is always in the list
  };
  for (const auto& c : cases) {
    FakeMachine machine;
    EXPECT_EQ(ItemExists(c.path, machine.Queries()), c.expected) << '"' << c.path << '"';
    EXPECT_EQ(machine.searches, c.searches) << '"' << c.path << '"';
  }
}

TEST(ItemExists, FindsNothingWhenTheDriveListIsEmpty) {
  FakeMachine machine;
  machine.driveBuffer = std::string(104, ' ');
  EXPECT_FALSE(ItemExists("C:\\Games", machine.Queries()));
  EXPECT_FALSE(ItemExists("C:", machine.Queries()));
  EXPECT_TRUE(machine.typeQueries.empty());
  EXPECT_TRUE(machine.searches.empty());
}

TEST(ItemExists, AsksTheDriveTypeOfTheFirstCharacter) {
  FakeMachine machine;
  ItemExists("\\\\server\\share", machine.Queries());
  ItemExists("z:\\x", machine.Queries());
  EXPECT_EQ(machine.typeQueries, (std::vector<std::string>{"\\:", "Z:"}));
}

}  // namespace
}  // namespace tw::storage
