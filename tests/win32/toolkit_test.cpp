#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "toolkit/win32/controls.h"
#include "toolkit/win32/form.h"
#include "toolkit/win32/messages.h"
#include "toolkit/win32/services.h"
#include "toolkit/win32/timer.h"

namespace tw {

void PrintTo(Timer::Source source, std::ostream* out) {
  constexpr const char* kNames[] = {"no timer", "the multimedia timer", "a window timer"};
  *out << kNames[static_cast<int>(source)];
}

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
  void OnKeyUp(int vk, int shift) override { events.push_back("up " + std::to_string(vk) + " " + std::to_string(shift)); }
  void OnKeyDown(int vk, int shift, bool repeat) override {
    events.push_back("key " + std::to_string(vk) + " " + std::to_string(shift) + (repeat ? " repeat" : ""));
  }
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kMarkMessage) {
      ++marks;
      return 0;
    }
    return Form::WndProc(message, wParam, lParam);
  }

 public:
  // A message posted behind others: once it has arrived, so have they.
  static constexpr UINT kMarkMessage = WM_APP + 50;
  int marks = 0;
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

TEST(Form, ClientSizeIsTheLayoutSizeAndTheFrameComesOnTop) {
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
  // Key-ups too (hold to start starts at the release), Alt+Space's among them.
  SendMessageA(form.Handle(), WM_KEYUP, VK_SPACE, 1 | (3u << 30));
  SendMessageA(form.Handle(), WM_SYSKEYUP, VK_SPACE, 1 | (1 << 29) | (3u << 30));
  EXPECT_EQ(form.events, (std::vector<std::string>{"load", "key 32 0", "key 32 0 repeat", "key 32 0", "up 32 0",
                                                   "up 32 0"}));
  form.Unload();
}

// The sound player's absence is there to see: a timer whose sounds are lost does not
// pass for one that plays them. (An asynchronous play of a missing file is accepted
// by Wine and only fails later, so the call's answer is not asserted here.)
TEST(Services, TheSoundPlayerIsLoaded) { EXPECT_TRUE(SoundPlayerAvailable()); }

// Pumps the thread's messages until the condition holds or a generous deadline passes:
// the machines are shared, so a test waits for behaviour, never for a rate.
template <typename Condition>
bool PumpUntil(Condition done, std::int64_t deadlineMs = 5000) {
  const std::int64_t start = MonotonicMs();
  while (!done()) {
    if (MonotonicMs() - start > deadlineMs) return false;
    Pump();
    Sleep(1);
  }
  return true;
}

void PumpFor(std::int64_t ms) {
  const std::int64_t start = MonotonicMs();
  PumpUntil([&] { return MonotonicMs() - start >= ms; }, ms + 1000);
}

TEST(Timer, TicksOnlyWhileEnabledAndDropsATickQueuedBeforeDisabling) {
  TestForm form;
  ASSERT_TRUE(form.Load());
  constexpr int kSomeTicks = 3;
  int precise = 0, coarse = 0;
  Timer fast(form, 1, [&] { ++precise; });
  Timer slow(form, 20, [&] { ++coarse; });
  EXPECT_TRUE(fast.Precise());
  EXPECT_FALSE(slow.Precise());
  EXPECT_EQ(fast.Running(), Timer::Source::None);
  EXPECT_EQ(slow.Running(), Timer::Source::None);
  fast.SetEnabled(true);
  slow.SetEnabled(true);
  // The 1 ms timer runs on the multimedia timer, not on a window timer's 10-16 ms.
  EXPECT_EQ(fast.Running(), Timer::Source::Multimedia);
  EXPECT_EQ(slow.Running(), Timer::Source::WindowTimer);
  EXPECT_TRUE(PumpUntil([&] { return precise >= kSomeTicks && coarse >= kSomeTicks; }))
      << precise << " precise and " << coarse << " window-timer ticks";
  fast.SetEnabled(false);
  slow.SetEnabled(false);
  EXPECT_EQ(fast.Running(), Timer::Source::None);
  EXPECT_EQ(slow.Running(), Timer::Source::None);
  PostMessageA(form.Handle(), kPreciseTickMessage, fast.Id(), 0);
  PostMessageA(form.Handle(), TestForm::kMarkMessage, 0, 0);
  const int precise_before = precise, coarse_before = coarse;
  EXPECT_TRUE(PumpUntil([&] { return form.marks == 1; }));
  EXPECT_EQ(precise, precise_before);
  EXPECT_EQ(coarse, coarse_before);
  form.Unload();
}

// A modal loop of the system's own (a dialog box here; message boxes, the options
// window and window drags run loops like it): the count must not stop there.
struct ModalDialog {
  static inline HWND window = nullptr;
  static constexpr UINT_PTR kGiveUpTimer = 1;
  static constexpr UINT kGiveUpMs = 10000;

  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) {
      window = hwnd;
      SetTimer(hwnd, kGiveUpTimer, kGiveUpMs, nullptr);  // never leave the test waiting in the loop
      return TRUE;
    }
    if (msg == WM_TIMER && wParam == kGiveUpTimer) EndDialog(hwnd, -1);
    return FALSE;
  }

  // Runs the dialog's modal loop until something in it calls EndDialog.
  static INT_PTR Run(HWND owner) {
    struct alignas(DWORD) Template {
      DLGTEMPLATE dialog;
      WORD menu, windowClass, title;
    } design{{WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 0, 0, 0, 100, 50}, 0, 0, 0};
    const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &design.dialog, owner, &Proc, 0);
    window = nullptr;
    return result;
  }
};

TEST(Timer, PreciseTicksKeepComingInsideAModalLoop) {
  TestForm form;
  ASSERT_TRUE(form.Load());
  constexpr int kTicksInsideTheLoop = 3;
  int inside = 0;
  Timer fast(form, 1, [&] {
    if (!ModalDialog::window) return;
    if (++inside == kTicksInsideTheLoop) EndDialog(ModalDialog::window, IDOK);
  });
  fast.SetEnabled(true);
  ASSERT_EQ(fast.Running(), Timer::Source::Multimedia) << "a window timer ticks in modal loops anyway";
  EXPECT_EQ(ModalDialog::Run(form.Handle()), IDOK) << "the loop was left by its deadline, after " << inside
                                                   << " ticks";
  EXPECT_GE(inside, kTicksInsideTheLoop);
  fast.SetEnabled(false);
  form.Unload();
}

TEST(Timer, AlignedTicksComeAtMostOncePerPeriod) {
  TestForm form;
  ASSERT_TRUE(form.Load());
  constexpr unsigned kPeriodMs = 10;
  constexpr std::int64_t kWatchMs = 200;
  int ticks = 0;
  Timer display(form, 1, [&] { ++ticks; });
  const std::int64_t origin = MonotonicMs();
  display.AlignTicks(origin, kPeriodMs);
  const std::int64_t first_slot = (MonotonicMs() - origin) / kPeriodMs;
  display.SetEnabled(true);
  ASSERT_EQ(display.Running(), Timer::Source::Multimedia);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
  PumpFor(kWatchMs);
  display.SetEnabled(false);
  const std::int64_t last_slot = (MonotonicMs() - origin) / kPeriodMs;
  // Ticks come, but never two in one period: an unaligned 1 ms timer would give about ten.
  // A loaded machine can only lower the count, so the bound cannot flake.
  EXPECT_LE(ticks, last_slot - first_slot + 1);
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
