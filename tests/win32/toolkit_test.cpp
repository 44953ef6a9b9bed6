#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/win32/controls.h"
#include "toolkit/win32/form.h"
#include "toolkit/win32/messages.h"
#include "toolkit/win32/services.h"

namespace tw {
namespace {

FormDesign TestDesign(const char* caption) {
  return FormDesign{caption, 3000, 1500, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0x00FFFFFF,
                    FontSpec{"Tahoma", 825, FW_NORMAL}, 0, true};
}

class TestForm : public Form {
 public:
  explicit TestForm(const char* caption = "toolkit test") : Form(TestDesign(caption)) {}
  std::vector<std::string> events;
  bool refuse = false;

 protected:
  bool OnLoad() override {
    events.push_back("load");
    return !refuse;
  }
  void OnUnload() override { events.push_back("unload"); }
  void OnKeyDown(int vk, int shift, bool repeat) override {
    events.push_back("key " + std::to_string(vk) + " " + std::to_string(shift) + (repeat ? " repeat" : ""));
  }
};

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

TEST(Form, LoadedFormsAreListedInLoadOrderUntilUnloaded) {
  TestForm first("first"), second("second");
  ASSERT_TRUE(second.Load());
  ASSERT_TRUE(first.Load());
  EXPECT_EQ(Form::LoadedWindowHandles(), (std::vector<HWND>{second.Handle(), first.Handle()}));
  EXPECT_FALSE(second.Visible());
  second.Unload();
  EXPECT_EQ(second.events, (std::vector<std::string>{"load", "unload"}));
  EXPECT_EQ(Form::LoadedWindowHandles(), std::vector<HWND>{first.Handle()});
  // Closing from the title bar runs the unload handler too.
  SendMessageA(first.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(first.IsLoaded());
  EXPECT_EQ(first.events.back(), "unload");
  EXPECT_TRUE(Form::LoadedForms().empty());
}

TEST(Form, RefusedLoadEndsTheWindowWithoutItsUnloadHandler) {
  TestForm form;
  form.refuse = true;
  EXPECT_FALSE(form.Load());
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(form.events, std::vector<std::string>{"load"});
  EXPECT_TRUE(Form::LoadedForms().empty());
}

TEST(Form, ClientSizeIsTheDesignedSizeAndTheFrameComesOnTop) {
  TestForm form;
  ASSERT_TRUE(form.Load());
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, form.Px(3000));
  EXPECT_EQ(client.bottom, form.Px(1500));
  EXPECT_GT(form.OuterWidth(), 3000);
  form.SetClientSize(4500, 1500);
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, form.Px(4500));
  form.Unload();
}

TEST(Form, KeysArriveWithShiftStateAndRepeatFlagAndAltSpaceIsASpace) {
  TestForm form;
  ASSERT_TRUE(form.Load());
  SendMessageA(form.Handle(), WM_KEYDOWN, VK_SPACE, 1);
  SendMessageA(form.Handle(), WM_KEYDOWN, VK_SPACE, 1 | (1 << 30));
  SendMessageA(form.Handle(), WM_SYSKEYDOWN, VK_SPACE, 1 | (1 << 29));
  EXPECT_EQ(form.events, (std::vector<std::string>{"load", "key 32 0", "key 32 0 repeat", "key 32 0"}));
  form.Unload();
}

TEST(Timer, TicksOnlyWhileEnabledAndDropsATickQueuedBeforeDisabling) {
  TestForm form;
  ASSERT_TRUE(form.Load());
  int precise = 0, coarse = 0;
  Timer fast(form, 1, [&] { ++precise; });
  Timer slow(form, 20, [&] { ++coarse; });
  EXPECT_TRUE(fast.Precise());
  EXPECT_FALSE(slow.Precise());
  fast.SetEnabled(true);
  slow.SetEnabled(true);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 300) {
    Pump();
    Sleep(1);
  }
  EXPECT_GT(precise, 50);  // far more than a 10-16 ms window timer could give
  EXPECT_GT(coarse, 3);
  fast.SetEnabled(false);
  slow.SetEnabled(false);
  PostMessageA(form.Handle(), kPreciseTickMessage, fast.Id(), 0);
  const int before = precise;
  Sleep(50);
  Pump();
  EXPECT_EQ(precise, before);
  form.Unload();
}

TEST(Timer, AlignedTicksComeOncePerPeriod) {
  TestForm form;
  ASSERT_TRUE(form.Load());
  int ticks = 0;
  Timer display(form, 1, [&] { ++ticks; });
  display.AlignTicks(MonotonicMs(), 10);
  display.SetEnabled(true);
  const std::int64_t start = MonotonicMs();
  while (MonotonicMs() - start < 400) {
    Pump();
    Sleep(1);
  }
  display.SetEnabled(false);
  // About one tick per 10 ms period: never the ~1 per ms of an unaligned precise timer.
  EXPECT_GE(ticks, 20);
  EXPECT_LE(ticks, 42);
  form.Unload();
}

TEST(Controls, CheckBoxAndOptionButtonRunTheirHandlerAsAUserClickDoes) {
  TestForm form;
  ASSERT_TRUE(form.Load());
  CheckBox box;
  int boxClicks = 0;
  box.Attach(form.AddControl("BUTTON", "box", BS_CHECKBOX | WS_VISIBLE, 0, 10, 0, 0, 1000, 300),
             [&] { ++boxClicks; });
  box.SetValue(1);
  box.SetValue(1);  // same value: no click
  EXPECT_EQ(box.Value(), 1);
  EXPECT_EQ(boxClicks, 1);
  box.SetValue(0);
  EXPECT_EQ(boxClicks, 2);

  OptionButton a, b;
  std::vector<std::string> clicks;
  a.Attach(form.AddControl("BUTTON", "a", BS_RADIOBUTTON | BS_PUSHLIKE, 0, 11, 0, 300, 500, 300), {&a, &b},
           [&] { clicks.push_back("a"); });
  b.Attach(form.AddControl("BUTTON", "b", BS_RADIOBUTTON | BS_PUSHLIKE, 0, 12, 500, 300, 500, 300), {&a, &b},
           [&] { clicks.push_back("b"); });
  a.SetValue(true);
  b.SetValue(true);
  EXPECT_FALSE(a.Value());
  EXPECT_TRUE(b.Value());
  EXPECT_EQ(clicks, (std::vector<std::string>{"a", "b"}));
  form.Unload();
}

TEST(Controls, NativeListBoxMirrorsTheEntriesAndTheUsersSelection) {
  TestForm form;
  ASSERT_TRUE(form.Load());
  ListBox list(form.AddControl("LISTBOX", "", LBS_NOTIFY | WS_VSCROLL, 0, 13, 0, 0, 2000, 1000));
  for (const char* text : {"one", "two", "three"}) list.Append(text);
  EXPECT_EQ(SendMessageA(list.Handle(), LB_GETCOUNT, 0, 0), 3);
  SendMessageA(list.Handle(), LB_SETCURSEL, 1, 0);  // as a user's click does
  EXPECT_EQ(list.SelectedText(), "two");
  EXPECT_THROW(list.SetSelectedIndex(3), ListIndexError);
  list.RemoveAt(1);
  EXPECT_EQ(SendMessageA(list.Handle(), LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(list.SelectedIndex(), -1);
  EXPECT_THROW(list.RemoveAt(-1), ListIndexError);
  form.Unload();
}

TEST(Label, RepaintsOnlyWhenSomethingChanges) {
  TestForm form;
  ASSERT_TRUE(form.Load());
  Label& label = form.AddLabel(LabelDesign{"lblTest", "00", 120, 120, 1000, 500, true,
                                           FontSpec{"Tahoma", 825, FW_NORMAL}, 0, 0x00FFFFFF, false,
                                           TextAlign::Center, false});
  form.Show();
  UpdateWindow(form.Handle());
  label.SetText("00");
  EXPECT_FALSE(GetUpdateRect(form.Handle(), nullptr, FALSE));
  label.SetText("01");
  RECT dirty;
  ASSERT_TRUE(GetUpdateRect(form.Handle(), &dirty, FALSE));
  const RECT own = label.PixelRect();
  EXPECT_TRUE(EqualRect(&dirty, &own));
  label.SetBold(true);
  EXPECT_TRUE(label.Bold());
  EXPECT_FALSE(label.FontFaceUsed().empty());
  form.Unload();
}

}  // namespace
}  // namespace tw
