#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "docking/hook_table.h"

namespace tw::docking {
namespace {

using FakeProc = int (*)(int);
int OwnProcA(int) { return 1; }
int OwnProcB(int) { return 2; }
int OwnProcC(int) { return 3; }
int HookProc(int) { return 99; }

using FakeHandle = int;
constexpr FakeHandle WindowA = 101;
constexpr FakeHandle WindowB = 102;
constexpr FakeHandle WindowC = 103;

// Stands in for the window system: each window's current procedure, replaced on request.
class HookTableTest : public ::testing::Test {
 protected:
  void Register(FakeHandle window) {
    table.Register(window, [this](FakeHandle hooked) {
      ++installs;
      return std::exchange(procs[hooked], &HookProc);
    });
  }
  void Unregister(FakeHandle window) {
    table.Unregister(window, [this](FakeHandle hooked, FakeProc previous) {
      restored.push_back(hooked);
      procs[hooked] = previous;
    });
  }
  std::vector<FakeHandle> LiveHandles() const {
    std::vector<FakeHandle> handles;
    for (const auto& entry : table.Entries()) handles.push_back(entry.hWnd);
    return handles;
  }

  HookTable<FakeHandle, FakeProc> table;
  std::map<FakeHandle, FakeProc> procs{{WindowA, &OwnProcA}, {WindowB, &OwnProcB}, {WindowC, &OwnProcC}};
  int installs = 0;
  std::vector<FakeHandle> restored;
};

TEST_F(HookTableTest, StartsWithNoStorage) {
  EXPECT_EQ(table.HookCount(), 0);
  EXPECT_EQ(table.HookCapacity(), 0);
  EXPECT_EQ(table.SlotCount(), 0u);
}

TEST_F(HookTableTest, FirstRegistrationSizesToElevenSlotsAndStoresThePreviousProc) {
  Register(WindowA);
  EXPECT_EQ(table.HookCount(), 1);
  EXPECT_EQ(table.HookCapacity(), 10);
  EXPECT_EQ(table.SlotCount(), 11u);
  ASSERT_EQ(LiveHandles(), std::vector<FakeHandle>{WindowA});
  EXPECT_EQ(table.Entries()[0].PrevWndProc, &OwnProcA);
  EXPECT_EQ(procs[WindowA], &HookProc);
}

TEST_F(HookTableTest, EachRegistrationKeepsTenSpareSlotsAboveTheLiveOnes) {
  Register(WindowA);
  Register(WindowB);
  EXPECT_EQ(table.HookCapacity(), 11);
  Register(WindowC);
  EXPECT_EQ(table.HookCapacity(), 12);
  EXPECT_EQ(table.SlotCount(), 13u);
  EXPECT_EQ(LiveHandles(), (std::vector<FakeHandle>{WindowA, WindowB, WindowC}));
}

TEST_F(HookTableTest, ReRegisteringAfterRemovalReusesSpareSlots) {
  Register(WindowA);
  Register(WindowB);
  Unregister(WindowB);
  Register(WindowB);
  EXPECT_EQ(table.HookCapacity(), 11);
  EXPECT_EQ(table.SlotCount(), 12u);
  EXPECT_EQ(LiveHandles(), (std::vector<FakeHandle>{WindowA, WindowB}));
  EXPECT_EQ(table.PreviousProc(WindowB), &OwnProcB);
}

TEST_F(HookTableTest, StorageNeverShrinks) {
  Register(WindowA);
  Register(WindowB);
  Register(WindowC);
  Unregister(WindowA);
  Unregister(WindowB);
  Unregister(WindowC);
  EXPECT_EQ(table.HookCount(), 0);
  EXPECT_EQ(table.HookCapacity(), 12);
  EXPECT_EQ(table.SlotCount(), 13u);
  Register(WindowC);
  EXPECT_EQ(table.HookCapacity(), 12);
  EXPECT_EQ(LiveHandles(), std::vector<FakeHandle>{WindowC});
}

TEST_F(HookTableTest, DuplicateRegistrationStillGrowsButHooksOnlyOnce) {
  Register(WindowA);
  Register(WindowA);
  EXPECT_EQ(table.HookCount(), 1);
  EXPECT_EQ(table.HookCapacity(), 11);
  EXPECT_EQ(installs, 1);
  // Hooking twice would have saved the hook itself as the previous procedure.
  EXPECT_EQ(table.PreviousProc(WindowA), &OwnProcA);
  Unregister(WindowA);
  EXPECT_EQ(procs[WindowA], &OwnProcA);
  EXPECT_EQ(table.HookCount(), 0);
}

TEST_F(HookTableTest, UnregisteringTheMiddleOfThreeKeepsTheOthersInOrder) {
  Register(WindowA);
  Register(WindowB);
  Register(WindowC);
  Unregister(WindowB);
  EXPECT_EQ(table.HookCount(), 2);
  EXPECT_EQ(LiveHandles(), (std::vector<FakeHandle>{WindowA, WindowC}));
  EXPECT_EQ(table.Entries()[1].PrevWndProc, &OwnProcC);
  EXPECT_EQ(procs[WindowB], &OwnProcB);
  EXPECT_EQ(procs[WindowA], &HookProc);
  EXPECT_EQ(procs[WindowC], &HookProc);
}

TEST_F(HookTableTest, UnregisteringAnUnknownWindowOrFromAnEmptyTableDoesNothing) {
  Unregister(WindowA);
  Register(WindowA);
  Unregister(WindowB);
  EXPECT_TRUE(restored.empty());
  EXPECT_EQ(LiveHandles(), std::vector<FakeHandle>{WindowA});
  EXPECT_EQ(table.HookCapacity(), 10);
}

TEST_F(HookTableTest, PreviousProcIsFoundOnlyForLiveEntries) {
  Register(WindowA);
  Register(WindowB);
  EXPECT_EQ(table.PreviousProc(WindowB), &OwnProcB);
  EXPECT_EQ(table.PreviousProc(WindowC), std::nullopt);
  Unregister(WindowB);
  // WindowB's old entry still sits in a spare slot, which must not count.
  EXPECT_EQ(table.PreviousProc(WindowB), std::nullopt);
}

// The program's bound is 32,757; a table with a bound of three shows the same rule.
TEST(HookTableLimit, RegistrationsBeyondTheLiveEntryBoundAreIgnored) {
  HookTable<int, int, 3> table;
  int installs = 0;
  auto install = [&installs](int handle) {
    ++installs;
    return -handle;
  };
  for (int handle = 1; handle <= 4; ++handle) table.Register(handle, install);
  EXPECT_EQ(table.HookCount(), 3);
  EXPECT_EQ(table.HookCapacity(), 12);
  EXPECT_EQ(installs, 3);
  EXPECT_EQ(table.PreviousProc(4), std::nullopt);

  table.Unregister(1, [](int, int) {});
  table.Register(4, install);
  EXPECT_EQ(table.PreviousProc(4), -4);
  EXPECT_EQ(table.HookCapacity(), 12);
}

}  // namespace
}  // namespace tw::docking
