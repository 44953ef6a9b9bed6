#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "options/win32/cases_box.h"
#include "options/win32/session_box.h"
#include "tests/win32/app_fixture.h"
#include "tests/win32/message_pump.h"
#include "toolkit/win32/form.h"

namespace tw {
namespace {

using testing_support::AppFolderTest;
using testing_support::PumpUntil;

FormDesign OwnerDesign() {
  return FormDesign{"Twistwatch", 7800, 1500, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0x00FFFFFF,
                    FontSpec{"Tahoma", 825, FW_NORMAL}, 0, true};
}

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {  // virtual key, down
  std::vector<INPUT> inputs;
  for (const auto& [vk, down] : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::string ItemText(HWND list, int item, int column) {
  char text[512] = {};
  ListView_GetItemText(list, item, column, text, static_cast<int>(sizeof text));
  return text;
}

int ItemOf(HWND list, const char* name) {
  LVFINDINFOA find{};
  find.flags = LVFI_STRING;
  find.psz = name;
  return static_cast<int>(SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

// Runs `step` once the box's modal loop pumps; a box still up 5 s later is closed, so
// no test waits for ever.
class WhileModal {
 public:
  explicit WhileModal(std::function<void()> step) {
    step_ = std::move(step);
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      if (step_) step_();
    });
    rescue_ = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      if (options::CasesBox::Current()) PostMessageA(options::CasesBox::Current()->Handle(), WM_CLOSE, 0, 0);
      if (options::SessionBox::Current()) PostMessageA(options::SessionBox::Current()->Handle(), WM_CLOSE, 0, 0);
    });
  }
  ~WhileModal() {
    KillTimer(nullptr, rescue_);
    step_ = nullptr;
  }
  WhileModal(const WhileModal&) = delete;
  WhileModal& operator=(const WhileModal&) = delete;

 private:
  static inline std::function<void()> step_;
  UINT_PTR rescue_ = 0;
};

class CasesBoxTest : public AppFolderTest {
 protected:
  void SetUp() override {
    AppFolderTest::SetUp();
    owner = std::make_unique<Form>(OwnerDesign());
    ASSERT_TRUE(owner->Load());
    owner->Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == owner->Handle(); }));
  }
  void TearDown() override {
    options::SetCasesAnswerForTesting(nullptr);
    owner.reset();
    AppFolderTest::TearDown();
  }

  // Asks for the cases of `kind` from `current`, acting inside with `act`.
  std::optional<std::string> Ask(scramble::Event kind, const std::string& current,
                                 std::function<void(options::CasesBox&)> act) {
    const WhileModal modal([act] {
      options::CasesBox* box = options::CasesBox::Current();
      ASSERT_NE(box, nullptr);
      act(*box);
    });
    return options::AskForCases(owner->Handle(), kind, current);
  }

  std::unique_ptr<Form> owner;
};

TEST_F(CasesBoxTest, ListsEveryCaseWithItsPictureAndKeepsWhatIsTicked) {
  int count = 0, images = 0;
  bool focused = false;
  std::string tName, tWords;
  bool uaTicked = false, aaTicked = true;
  const auto answer = Ask(scramble::Event::k333pll, "Ua,T", [&](options::CasesBox& box) {
    HWND list = box.List();
    count = ListView_GetItemCount(list);
    images = ImageList_GetImageCount(ListView_GetImageList(list, LVSIL_SMALL));
    focused = GetFocus() == list;
    const int t = ItemOf(list, "T");
    tName = ItemText(list, t, 0);
    tWords = ItemText(list, t, 1);
    uaTicked = box.Ticked(ItemOf(list, "Ua"));
    aaTicked = box.Ticked(ItemOf(list, "Aa"));
    // Space ticks the case with the focus, the first (Aa); Enter is OK.
    SendKeys({{VK_SPACE, true}, {VK_SPACE, false}});
    PumpUntil([&] { return box.Ticked(ItemOf(list, "Aa")); }, 1000);
    SendKeys({{VK_RETURN, true}, {VK_RETURN, false}});
  });
  EXPECT_EQ(count, 21);
  EXPECT_EQ(images, 21);
  EXPECT_TRUE(focused);
  EXPECT_EQ(tName, "T");
  // Read aloud: the sides' top rows, then the top, as a T-perm shows them.
  EXPECT_EQ(tWords,
            "front: green green red; right: blue orange green; back: red blue blue; left: orange red orange; "
            "top: white white white white white white white white white");
  EXPECT_TRUE(uaTicked);
  EXPECT_FALSE(aaTicked);
  EXPECT_EQ(answer, "Aa,T,Ua");
}

TEST_F(CasesBoxTest, CtrlATicksEveryCaseAndNoneTickedIsNoAnswer) {
  const auto all = Ask(scramble::Event::k333oll, "21", [](options::CasesBox& box) {
    SendKeys({{VK_CONTROL, true}, {'A', true}, {'A', false}, {VK_CONTROL, false}});
    PumpUntil([&] { return box.Ticked(0) && box.Ticked(56); }, 1000);
    SendMessageA(box.OkButton(), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(all, "") << "every case is kept as no choice at all";

  bool keptUp = false;
  int count = 0;
  const auto none = Ask(scramble::Event::k333oll, "", [&](options::CasesBox& box) {
    count = ListView_GetItemCount(box.List());
    for (int i = 0; i < count; ++i) box.Tick(i, false);
    SendMessageA(box.OkButton(), BM_CLICK, 0, 0);
    keptUp = options::CasesBox::Current() == &box;
    SendKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
  });
  EXPECT_EQ(count, 57);
  EXPECT_TRUE(keptUp) << "a session drills at least one case";
  EXPECT_EQ(none, std::nullopt);
}

TEST_F(CasesBoxTest, TheSessionBoxAsksForCasesOfPllAndOllOnly) {
  std::vector<std::string> asked;
  options::SetCasesAnswerForTesting([&](scramble::Event kind, const std::string& current) {
    asked.push_back(current);
    return kind == scramble::Event::k333pll ? std::optional<std::string>("Ub,T") : std::nullopt;
  });
  bool usableFor333 = true, usableForPll = false;
  const WhileModal modal([&] {
    options::SessionBox* box = options::SessionBox::Current();
    ASSERT_NE(box, nullptr);
    usableFor333 = IsWindowEnabled(box->CasesButton()) != FALSE;
    const auto pll = SendMessageA(box->EventList(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>("3x3x3 training: PLL"));
    SendMessageA(box->EventList(), CB_SETCURSEL, static_cast<WPARAM>(pll), 0);
    SendMessageA(box->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box->EventList()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box->EventList()));
    usableForPll = IsWindowEnabled(box->CasesButton()) != FALSE;
    SendMessageA(box->CasesButton(), BM_CLICK, 0, 0);
    SendMessageA(box->OkButton(), BM_CLICK, 0, 0);
  });
  const auto choice = options::AskForSession(owner->Handle(), false, {"PLL", "333", 0, ""});
  EXPECT_FALSE(usableFor333);
  EXPECT_TRUE(usableForPll);
  EXPECT_EQ(asked, std::vector<std::string>{""});
  EXPECT_EQ(choice, (options::SessionChoice{"PLL", "333pll", 0, "Ub,T"}));
}

}  // namespace
}  // namespace tw
