// The options window as a whole: loading, the panel switch, every way of closing it,
// the focus, the keys, and every control standing and fitting as laid out.
#include <gtest/gtest.h>

#include "tests/win32/options_window_fixture.h"

namespace tw {
namespace {

using namespace options_testing;

TEST_F(OptionsWindowTest, LoadRestoresTheLastPanelByExactName) {
  struct Case {
    const char* settings;
    const char* option;  // selected option button, "" for none
    PanelExpectation panel;
  };
  const Case cases[] = {
      {"", "optAbout", {"Twistwatch | About", 5085, 4560, "fraAbout"}},  // first start: defaults
      {"Last Frame=About\r\n", "optAbout", {"Twistwatch | About", 5085, 4560, "fraAbout"}},
      // The Result panel has grown by the Sessions frame (1215) and its gap (120), the
      // Setup panel by the Practice frame (1935) and its gap (120).
      {"Last Frame=Result\r\n", "optResult", {"Twistwatch | Result", 4125 + 1335, 3600 + 1335, "fraResult"}},
      {"Last Frame=Setup\r\n", "optSetup", {"Twistwatch | Setup", 2445 + 2055, 1920 + 2055, "fraSetup"}},
      {"Countdown=Enabled\r\n", "optAbout", {"Twistwatch | About", 5085, 4560, "fraAbout"}},  // key missing
      {"Last Frame=result\r\n", "", {"?", 5085, 4560, ""}},
      {"Last Frame=\r\n", "", {"?", 5085, 4560, ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    OptionsWindow& window = LoadOptions(*c.settings ? Settings(c.settings) : "");
    ExpectPanel(window, c.panel);
    EXPECT_EQ(window.optAbout.Value(), std::string(c.option) == "optAbout");
    EXPECT_EQ(window.optResult.Value(), std::string(c.option) == "optResult");
    EXPECT_EQ(window.optSetup.Value(), std::string(c.option) == "optSetup");
    TearDown();
    SetUp();
  }
}

TEST_F(OptionsWindowTest, NewWindowShowsOnlyTheAboutPanelsControls) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=none\r\n"));
  EXPECT_TRUE(Shown(window.Control("fraAbout")));
  EXPECT_TRUE(Shown(window.Control("lblURL2")));
  EXPECT_TRUE(Shown(window.Control("Label3")));
  for (const char* covered : {"fraSetup", "chkLogResult", "chk3SecCD", "fraResult", "lstResult", "cmdRemove",
                              "fraPractice", "fraSession", "cboSession", "cmdImport"}) {
    EXPECT_FALSE(Shown(Named(window, covered))) << covered;
  }
}

TEST_F(OptionsWindowTest, EverySwitchLeavesExactlyOnePanelOnScreen) {
  OptionsWindow& window = LoadOptions("");
  struct Case {
    OptionButton OptionsWindow::*option;
    PanelExpectation panel;
    std::vector<const char*> shown, hidden;
  };
  const Case cases[] = {
      {&OptionsWindow::optSetup,
       {"Twistwatch | Setup", 2445 + 2055, 1920 + 2055, "fraSetup"},
       {"fraSetup", "chkLogResult", "chkShowHour", "chk3SecCD", "fraPractice", "chkShowScramble", "chkAnyKeyStops",
        "chkInspection", "lblHoldToStart", "cboHoldToStart"},
       {"fraAbout", "lblURL1", "Frame1", "Image1", "fraResult", "lstResult", "cmdReset", "fraSession",
        "cboSession", "cmdExport"}},
      {&OptionsWindow::optResult,
       {"Twistwatch | Result", 4125 + 1335, 3600 + 1335, "fraResult"},
       {"fraResult", "lstResult", "cmdRemove", "cmdReset", "fraSession", "lblSession"},
       {"fraAbout", "Label1", "fraSetup", "chk3SecCD", "fraPractice", "cboHoldToStart"}},
      {&OptionsWindow::optAbout,
       {"Twistwatch | About", 5085, 4560, "fraAbout"},
       {"fraAbout", "Label1", "Label2", "Frame1", "Label3", "Image1", "lblURL3"},
       {"fraSetup", "chkShowHour", "fraResult", "cmdRemove", "fraPractice", "chkInspection", "fraSession",
        "cmdImport"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.panel.caption);
    (window.*c.option).SetValue(true);
    ExpectPanel(window, c.panel);
    for (const char* name : c.shown) {
      EXPECT_TRUE(Shown(Named(window, name))) << name;
      EXPECT_TRUE(IsWindowEnabled(Named(window, name))) << name;
    }
    for (const char* name : c.hidden) {
      EXPECT_FALSE(Shown(Named(window, name))) << name;
      EXPECT_FALSE(IsWindowEnabled(Named(window, name))) << name;
    }
    // The option row and Exit belong to no panel.
    EXPECT_TRUE(Shown(window.Control("cmdExit")));
    EXPECT_TRUE(Shown(window.Control("optResult")));
  }
}

TEST_F(OptionsWindowTest, ExitRemembersThePanelButTheTitleBarDoesNot) {
  OptionsWindow& window = LoadOptions("");
  window.optSetup.SetValue(true);
  window.onCmdExitClick();
  EXPECT_FALSE(OptionsWindowLoaded());
  EXPECT_EQ(Setting("Last Frame"), "Setup");

  frmMore(owner->Handle());
  ASSERT_TRUE(OptionsWindowLoaded());
  EXPECT_EQ(window.Caption(), "Twistwatch | Setup");
  window.optResult.SetValue(true);
  SendMessageA(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(OptionsWindowLoaded());
  EXPECT_EQ(Setting("Last Frame"), "Setup");
}

TEST_F(OptionsWindowTest, ExitWithNoPanelSelectedStoresTheEmptyText) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=SETUP\r\n"));
  window.onCmdExitClick();
  EXPECT_EQ(Setting("Last Frame"), "");
}

TEST_F(OptionsWindowTest, DockingIsHeldWhileLoadedAndReleasedByEitherWayOfClosing) {
  OptionsWindow& window = LoadOptions("");
  HWND hwnd = window.Handle();
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&docking::DockingWindowProc));
  // Unloading restores the form's own procedure before the window goes; a hook left
  // behind would outlive its window.
  window.Unload();
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(OptionsWindowLoaded());
}

TEST_F(OptionsWindowTest, F1AfterF2ShowsTheSameInstanceWithoutLoadingAgainButWithNewResults) {
  Start(Settings("Last Frame=Result\r\nShow Hour=Disabled\r\n"), {"#1"});
  ToggleShowHour(owner->Handle());  // F2: loads hidden, then turns the hours on
  OptionsWindow& window = *OptionsWindowInstance();
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(window.chkShowHour.Value(), 1);
  HWND loadedHandle = window.Handle();

  // Neither the file nor a new result may make F1 run the load again...
  storage::WriteINI("General Settings", "Last Frame", "Setup", Path("Setting.ini"));
  book->Append("#2");  // a solve logged while the window waited hidden
  bool checked = false;
  ModalScript::Run(owner->Handle(), [&] {
    checked = true;
    EXPECT_EQ(window.Handle(), loadedHandle);
    EXPECT_TRUE(window.Visible());
    EXPECT_FALSE(IsWindowEnabled(owner->Handle())) << "the main window takes no keys while it is open";
    EXPECT_EQ(window.Caption(), "Twistwatch | Result");
    // ...but the Result panel lists every logged result, so a Remove keeps them all.
    EXPECT_EQ(window.lstResult.Items(), (std::vector<std::string>{"#1", "#2"}));
    window.onCmdExitClick();
  });
  EXPECT_TRUE(checked);
  EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
  EXPECT_FALSE(OptionsWindowLoaded());
  EXPECT_EQ(Setting("Last Frame"), "Result");
}

TEST_F(OptionsWindowTest, F1OnAFreshStartShowsTheWindowCentredAndOwnedByTheMainWindow) {
  Start("");
  bool checked = false;
  ModalScript::Run(owner->Handle(), [&] {
    checked = true;
    OptionsWindow& window = *OptionsWindowInstance();
    EXPECT_EQ(GetWindow(window.Handle(), GW_OWNER), owner->Handle());
    RECT r;
    GetWindowRect(window.Handle(), &r);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    SendMessageA(window.Handle(), WM_CLOSE, 0, 0);
  });
  EXPECT_TRUE(checked);
  EXPECT_FALSE(OptionsWindowLoaded());
}

TEST_F(OptionsWindowTest, EveryWayOfClosingTheModalWindowGivesTheMainWindowItsKeysBack) {
  struct Case {
    const char* how;
    std::function<void(OptionsWindow&)> close;
  };
  const Case cases[] = {
      {"Exit", [](OptionsWindow& w) { SendMessageA(w.Control("cmdExit"), BM_CLICK, 0, 0); }},
      {"title bar", [](OptionsWindow& w) { SendMessageA(w.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      // Real key strokes, through the modal loop and the dialog manager as a user's.
      {"Alt+F4", [](OptionsWindow&) { SendKeys({{VK_MENU, true}, {VK_F4, true}, {VK_F4, false}, {VK_MENU, false}}); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    Start(Settings("Last Frame=Setup\r\n"));
    owner->Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == owner->Handle(); }));
    DestroyWatch::main = owner->Handle();
    DestroyWatch::seen = false;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &DestroyWatch::Hook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    {
      const WhileModal closing(
          [&] {
            OptionsWindow& window = *OptionsWindowInstance();
            DestroyWatch::watched = window.Handle();
            c.close(window);
          },
          [] { return OptionsWindowLoaded() ? OptionsWindowInstance()->Handle() : nullptr; });
      ShowOptionsWindow(owner->Handle());
    }
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(DestroyWatch::seen);
    EXPECT_TRUE(DestroyWatch::mainEnabled) << "the main window must take input again before the window goes";
    EXPECT_EQ(DestroyWatch::active, owner->Handle());
    EXPECT_EQ(GetActiveWindow(), owner->Handle());
    EXPECT_EQ(GetForegroundWindow(), owner->Handle());
    EXPECT_FALSE(OptionsWindowLoaded());
    TearDown();
    SetUp();
  }
}

TEST_F(OptionsWindowTest, AltSpaceOpensTheOptionsWindowsSystemMenu) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Setup\r\n"));
  window.Show();
  SetFocus(window.Control("chkLogResult"));
  static bool menuOpened;
  menuOpened = false;
  static HWND watched;
  watched = window.Handle();
  HHOOK hook = SetWindowsHookExA(
      WH_CALLWNDPROC,
      [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_ENTERMENULOOP && call->hwnd == watched) menuOpened = true;
        return CallNextHookEx(nullptr, code, wParam, lParam);
      },
      nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  // The menu runs its own loop; a timer inside it closes the menu again.
  const UINT_PTR closer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
  MSG msg{window.Control("chkLogResult"), WM_SYSCHAR, ' ', 1 | (1 << 29), 0, {0, 0}};
  if (!IsDialogMessageA(window.Handle(), &msg)) DispatchMessageA(&msg);
  KillTimer(nullptr, closer);
  UnhookWindowsHookEx(hook);
  EXPECT_TRUE(menuOpened);
  EXPECT_TRUE(OptionsWindowLoaded());
}

TEST_F(OptionsWindowTest, UnloadingWithTheMainWindowEndsAWindowLoadedByF2) {
  Start("");
  ToggleShowHour(owner->Handle());
  ASSERT_TRUE(OptionsWindowLoaded());
  UnloadOptionsWindow();
  EXPECT_FALSE(OptionsWindowLoaded());
  UnloadOptionsWindow();  // a second call finds nothing to do
}

TEST_F(OptionsWindowTest, ControlsStandWhereTheLayoutTablePutsThem) {
  OptionsWindow& window = LoadOptions("");
  struct Case {
    const char* name;
    const char* text;
  };
  const Case captions[] = {
      {"optSetup", "&Setup"}, {"optResult", "&Result"}, {"optAbout", "A&bout"},
      {"cmdExit", "E&xit"},   {"cmdRemove", "Re&move Selected"}, {"cmdReset", "R&eset"},
      {"chk3SecCD", "3 seconds &countdown before start the counter"},
      {"chkShowHour", "Show &hour"}, {"chkLogResult", "&Log result automatically"},
      {"chkShowScramble", "Show scr&amble"}, {"chkInspection", "WCA &inspection (15 s)"},
      {"chkAnyKeyStops", "Any &key stops the timer"}, {"lblHoldToStart", "Hold &to start:"}, {"fraPractice", "Practice"},
      {"fraSession", "Sessions"}, {"lblSession", "Sessi&on:"}, {"cmdNewSession", "&New..."},
      {"cmdRenameSession", "Ren&ame..."}, {"cmdDeleteSession", "&Delete..."}, {"cmdImport", "&Import..."},
      {"cmdExport", "Ex&port..."},
      {"Label1", "Twistwatch"}, {"Label2", "Version 1.0"}, {"fraAbout", "About"},
  };
  for (const Case& c : captions) EXPECT_EQ(Text(Named(window, c.name)), c.text) << c.name;
  EXPECT_EQ(Text(window.Control("Label3")).rfind("This software used to count", 0), 0u);

  // Frame offset plus the control's own: Image1 lies in Frame1 in fraAbout.
  RECT image;
  GetWindowRect(window.Control("Image1"), &image);
  MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&image), 2);
  EXPECT_EQ(image.left, window.Px(120 + 120 + 3840));
  EXPECT_EQ(image.top, window.Px(600 + 720 + 550));

  // The z-order is the tab order: the Setup frame, the Practice frame, Exit, the
  // selected option button alone, then the Result frame with Remove before Reset.
  window.optSetup.SetValue(true);
  std::vector<std::string> order;
  for (HWND child = GetWindow(window.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLongPtrA(child, GWL_STYLE) & WS_TABSTOP) order.push_back(Text(child));
  }
  ASSERT_GE(order.size(), 15u);
  EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 15),
            (std::vector<std::string>{"&Log result automatically", "Show &hour",
                                      "3 seconds &countdown before start the counter", "Show scr&amble",
                                      "Any &key stops the timer", "WCA &inspection (15 s)", "Off", "Keyboard",
                                      "Default sound input", "Show a&verages", "E&xit", "&Setup", "",
                                      "Re&move Selected", "R&eset"}));
  EXPECT_EQ(std::count(order.begin(), order.end(), "&Result") + std::count(order.begin(), order.end(), "A&bout"), 0);

  const LOGFONTA title = FontOf(window.Control("Label1"));
  EXPECT_EQ(title.lfWeight, FW_BOLD);
  EXPECT_EQ(title.lfHeight, -MulDiv(2025, window.Dpi(), 7200));
  EXPECT_EQ(GetWindowLongPtrA(window.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, WS_EX_DLGMODALFRAME);
  EXPECT_EQ(GetWindowLongPtrA(window.Handle(), GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
}

TEST_F(OptionsWindowTest, AccessKeysWorkFromAnywhereInTheWindow) {
  OptionsWindow& window = LoadOptions("");
  window.Show();
  SetFocus(window.Control("cmdExit"));
  const auto altKey = [&](char letter) {
    MSG msg{window.Control("cmdExit"), WM_SYSCHAR, static_cast<WPARAM>(letter), 1 << 29, 0, {0, 0}};
    return IsDialogMessageA(window.Handle(), &msg);
  };
  EXPECT_TRUE(altKey('r'));
  EXPECT_EQ(window.Caption(), "Twistwatch | Result");
  EXPECT_TRUE(altKey('b'));
  EXPECT_EQ(window.Caption(), "Twistwatch | About");
  EXPECT_TRUE(altKey('x'));
  EXPECT_FALSE(OptionsWindowLoaded());
  EXPECT_EQ(Setting("Last Frame"), "About");
}

// One letter, one control, in every panel: an Alt+letter never reaches a control the
// user did not mean (with "&Setup" and "Remove &Selected" both shown, every Alt+S
// removed a result).
TEST_F(OptionsWindowTest, AccessKeysAreUniqueInEveryPanel) {
  OptionsWindow& window = LoadOptions("");
  struct Case {
    OptionButton OptionsWindow::*option;
    std::size_t letters;
  };
  const Case cases[] = {
      {&OptionsWindow::optSetup, 13},  // options, Exit, the three Setup boxes, six practice switches
      {&OptionsWindow::optResult, 12},  // options, Exit, Remove, Reset, the session row's six
      {&OptionsWindow::optAbout, 4},
  };
  for (const Case& c : cases) {
    (window.*c.option).SetValue(true);
    SCOPED_TRACE(window.Caption());
    std::vector<char> letters;
    for (HWND child = GetWindow(window.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const std::string text = Text(child);
      const std::size_t amp = text.find('&');
      char kind[32] = {};
      GetClassNameA(child, kind, sizeof kind);
      const bool plainText = lstrcmpiA(kind, "Static") == 0 && (GetWindowLongPtrA(child, GWL_STYLE) & SS_NOPREFIX);
      if (!Shown(child) || plainText || amp == std::string::npos || amp + 1 >= text.size()) continue;
      const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[amp + 1])));
      EXPECT_EQ(std::count(letters.begin(), letters.end(), letter), 0) << text;
      letters.push_back(letter);
    }
    EXPECT_EQ(letters.size(), c.letters);
  }
}

// At 96 DPI, the layout's own, and after a move to a 144 DPI screen, every caption, label
// and list item is whole in its control, and no two of a frame's controls overlap.
TEST_F(OptionsWindowTest, EveryTextFitsItsControlAtEveryDpi) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Setup\r\n"));
  for (const int dpi : {96, 144}) {
    SCOPED_TRACE(testing::Message() << dpi << " DPI");
    if (dpi != window.Dpi()) {
      RECT suggested{0, 0, 900, 900};
      SendMessageA(window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
      ASSERT_EQ(window.Dpi(), dpi);
    }
    for (OptionButton OptionsWindow::*option : {&OptionsWindow::optSetup, &OptionsWindow::optResult,
                                                &OptionsWindow::optAbout}) {
      (window.*option).SetValue(true);
      std::vector<std::pair<std::string, RECT>> placed;
      for (int i = 0; i < lo::kAllControlCount; ++i) {
        const lo::ControlRow& row = lo::kAllControls[static_cast<std::size_t>(i)];
        HWND control = Named(window, row.name);
        if (!Shown(control)) continue;
        const bool text = row.kind == lo::Kind::CheckBox || row.kind == lo::Kind::FieldLabel ||
                          row.kind == lo::Kind::CommandButton || row.kind == lo::Kind::OptionButton ||
                          row.kind == lo::Kind::DropDownList || row.kind == lo::Kind::LinkLabel ||
                          (row.kind == lo::Kind::Label && row.align != lo::Align::Right);
        if (text) {
          const Fit fit = TextFit(window, control, row);
          EXPECT_LE(fit.needed.cx, fit.room.cx) << row.name << " cut at the right";
          EXPECT_LE(fit.needed.cy, fit.room.cy) << row.name << " cut at the bottom";
        }
        // The About panel's labels touch as its table puts them; the other panels' controls stand apart.
        if (*row.container && row.kind != lo::Kind::Frame && PanelOf(row) != "fraAbout") {
          RECT r, frame;
          GetWindowRect(control, &r);
          GetWindowRect(Named(window, row.container), &frame);
          EXPECT_TRUE(r.left > frame.left && r.right < frame.right && r.top > frame.top && r.bottom <= frame.bottom)
              << row.name << " out of its frame";
          if (row.kind == lo::Kind::DropDownList) {
            RECT field;
            GetClientRect(control, &field);  // the closed list: its field only
            r.bottom = r.top + field.bottom;
          }
          for (const auto& [other, box] : placed) {
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &r, &box)) << row.name << " over " << other;
          }
          placed.emplace_back(row.name, r);
        }
      }
    }
  }
  // A list item as long as any fits the closed list.
  HWND hold = window.Control("cboHoldToStart");
  SendMessageA(hold, CB_SETCURSEL, 4, 0);
  EXPECT_EQ(Text(hold), "1000 ms");
  const Fit fit = TextFit(window, hold, lo::Row("cboHoldToStart"));
  EXPECT_LE(fit.needed.cx, fit.room.cx);
}

TEST_F(OptionsWindowTest, TheWindowOpensWithTheFocusOnItsPanelsButton) {
  struct Case {
    const char* settings;
    const char* focused;
  };
  const Case cases[] = {
      {"Last Frame=Setup\r\n", "optSetup"},
      {"Last Frame=Result\r\n", "optResult"},
      {"Last Frame=About\r\n", "optAbout"},
      {"Last Frame=none\r\n", "cmdExit"},  // no panel chosen
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    Start(Settings(c.settings), Lines(3));
    // Loaded hidden first (F2), with the focus put on a box meanwhile: F1 still opens on the button.
    OptionsWindow& window = frmMore(owner->Handle());
    bool checked = false;
    ModalScript::Run(owner->Handle(), [&] {
      checked = true;
      EXPECT_EQ(GetFocus(), Named(window, c.focused));
      if (GetFocus() == window.Control("cmdExit")) return;  // no panel: Space there only closes
      // Space there changes nothing: no switch, no line.
      SendMessageA(GetFocus(), WM_KEYDOWN, VK_SPACE, 0);
      SendMessageA(GetFocus(), WM_KEYUP, VK_SPACE, 0);
      EXPECT_EQ(window.chkLogResult.Value(), 0);
      EXPECT_EQ(book->Size(), 3u);
      EXPECT_TRUE(OptionsWindowLoaded());
    });
    EXPECT_TRUE(checked);
    TearDown();
    SetUp();
  }
}

TEST_F(OptionsWindowTest, EscapeClosesTheWindowAsExitDoes) {
  Start(Settings("Last Frame=About\r\n"));
  owner->Show();
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == owner->Handle(); }));
  bool checked = false;
  ModalScript::Run(owner->Handle(), [&] {
    checked = true;
    OptionsWindow& window = *OptionsWindowInstance();
    window.optResult.SetValue(true);
    SetFocus(window.Control("lstResult"));
    MSG msg{GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageA(window.Handle(), &msg));
    EXPECT_FALSE(OptionsWindowLoaded());
  });
  EXPECT_TRUE(checked);
  EXPECT_EQ(Setting("Last Frame"), "Result");
  EXPECT_EQ(GetActiveWindow(), owner->Handle());
}

// F1 shows its panel before it makes the others' controls; once it has, the window is
// the one any other load makes: every control in the tab order's place, each loaded.
TEST_F(OptionsWindowTest, F1MakesThePanelsNotShownAfterTheFirstInTheirTabOrderPlaces) {
  const auto children = [](HWND window) {
    std::vector<std::string> order;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      char kind[32] = {};
      GetClassNameA(child, kind, sizeof kind);
      const LRESULT state = lstrcmpiA(kind, "Button") == 0   ? SendMessageA(child, BM_GETCHECK, 0, 0)
                            : lstrcmpiA(kind, "Static") == 0 ? SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0
                            : lstrcmpiA(kind, "ComboBox") == 0 ? SendMessageA(child, CB_GETCURSEL, 0, 0)
                                                               : 0;
      order.push_back(std::string(kind) + " " + Text(child) + " " + std::to_string(state) +
                      ((GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE) ? " shown" : "") + (IsWindowEnabled(child) ? "" : " disabled"));
    }
    return order;
  };
  const std::string settings = Settings("Last Frame=Result\r\nShow Hour=Enabled\r\nInspection=Enabled\r\n");
  const std::vector<std::string> whole = children(LoadOptions(settings).Handle());
  TearDown();
  SetUp();
  Start(settings);
  bool checked = false;
  ModalScript::Run(owner->Handle(), [&] {
    checked = true;
    OptionsWindow& window = *OptionsWindowInstance();
    ASSERT_TRUE(PumpUntil([&] { return window.Control("chkShowHour") && window.Control("cboStackmatDevice"); }));
    PumpUntil([&] { return children(window.Handle()) == whole; });
    const std::vector<std::string> made = children(window.Handle());
    ASSERT_EQ(made.size(), whole.size());
    for (std::size_t i = 0; i < made.size(); ++i) EXPECT_EQ(made[i], whole[i]) << i;
    EXPECT_EQ(window.chkShowHour.Value(), 1);
    EXPECT_EQ(window.chkInspection.Value(), 1);
    EXPECT_EQ(window.optResult.Value(), true);
  });
  EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace tw
