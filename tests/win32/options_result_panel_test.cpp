// The Result panel: the list drawn from the book and read by any reader, Remove and Reset.
#include <gtest/gtest.h>

#include "tests/win32/options_window_fixture.h"

namespace tw {
namespace {

using namespace options_testing;

TEST_F(OptionsWindowTest, RemoveKeepsTheListTheBookAndTheLogInStep) {
  struct Case {
    const char* what;
    int count;
    int selected;  // -1 for none
    std::vector<std::string> left;
    int selectedAfter;  // the line that took the removed one's place, or the new last
  };
  const Case cases[] = {
      {"middle", 3, 1, {"#1", "#3"}, 1},
      {"first", 3, 0, {"#2", "#3"}, 0},
      {"last", 3, 2, {"#1", "#2"}, 1},
      {"no selection", 3, -1, {"#1", "#2", "#3"}, -1},  // written again as it is
      {"only", 1, 0, {}, -1},
      {"no selection in an empty list", 0, -1, {}, -1},  // the empty log's file goes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OptionsWindow& window = LoadOptions("", Lines(c.count));
    if (c.count == 0) store->SetFile({});
    if (c.selected >= 0) window.lstResult.SetSelectedIndex(c.selected);
    window.onCmdRemoveClick();
    EXPECT_EQ(window.lstResult.Items(), c.left);
    EXPECT_EQ(book->Lines(), c.left);
    EXPECT_EQ(store->written, 1);
    EXPECT_EQ(store->exists, !c.left.empty());
    EXPECT_EQ(store->lines, c.left);
    EXPECT_EQ(window.lstResult.SelectedIndex(), c.selectedAfter);
    EXPECT_EQ(SendMessageA(window.Control("lstResult"), LB_GETCURSEL, 0, 0),
              c.selectedAfter < 0 ? LB_ERR : static_cast<LRESULT>(c.selectedAfter));
    TearDown();
    SetUp();
  }
}

// A second Remove takes the next line down, never the newest solve far below.
TEST_F(OptionsWindowTest, RemoveTwiceTakesTheLineThatMovedIntoPlace) {
  OptionsWindow& window = LoadOptions("", Lines(4));
  window.lstResult.SetSelectedIndex(1);
  window.onCmdRemoveClick();
  window.onCmdRemoveClick();
  EXPECT_EQ(book->Lines(), (std::vector<std::string>{"#1", "#4"}));
  EXPECT_EQ(store->lines, (std::vector<std::string>{"#1", "#4"}));
  EXPECT_EQ(window.lstResult.SelectedIndex(), 1);
}

TEST_F(OptionsWindowTest, RemoveOfALongLogWritesEveryEntry) {
  OptionsWindow& window = LoadOptions("", Lines(1006));
  window.lstResult.SetSelectedIndex(0);
  window.onCmdRemoveClick();
  std::vector<std::string> left = Lines(1006);
  left.erase(left.begin());
  ASSERT_EQ(left.size(), 1005u);
  EXPECT_EQ(window.lstResult.Items(), left);
  EXPECT_EQ(store->lines, left);
  EXPECT_EQ(window.lstResult.SelectedIndex(), 0);
}

// The log is written on a thread of its own: what a Remove selects waits for the
// outcome of its save, and a line the user picked meanwhile stays picked.
TEST_F(OptionsWindowTest, TheSelectionAfterARemoveWaitsForItsSave) {
  struct Case {
    const char* what;
    bool fails;
    bool userPicks;
    int selected;
  };
  const Case cases[] = {
      {"saved", false, false, 1},
      {"not saved", true, false, -1},
      {"a line picked meanwhile", false, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OptionsWindow& window = LoadOptions("", Lines(3));
    store->holdSaves = true;
    window.lstResult.SetSelectedIndex(1);
    window.onCmdRemoveClick();
    EXPECT_EQ(window.lstResult.Items(), (std::vector<std::string>{"#1", "#3"}));
    EXPECT_EQ(window.lstResult.SelectedIndex(), -1) << "nothing is selected while the save is on its way";
    if (c.userPicks) window.lstResult.SetSelectedIndex(0);
    store->readOnly = c.fails;
    store->Release();
    EXPECT_EQ(window.lstResult.SelectedIndex(), c.selected);
    EXPECT_EQ(book->State().failed, c.fails);
    TearDown();
    SetUp();
  }
}

TEST_F(OptionsWindowTest, ResetAsksThenClearsEverything) {
  struct Case {
    const char* what;
    bool withFile;
    int answer;
    bool cleared;
  };
  const Case cases[] = {
      {"yes with a log", true, IDYES, true},
      {"yes without a log", false, IDYES, true},
      {"no", true, IDNO, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    boxes.clear();
    OptionsWindow& window = LoadOptions("", Lines(3));
    if (!c.withFile) store->DeleteFile();
    answer = c.answer;
    window.onCmdResetClick();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Are you sure want to reset the result?");
    EXPECT_EQ(boxes[0].title, "Twistwatch");
    EXPECT_EQ(boxes[0].style, 36u);
    const std::vector<std::string> expected = c.cleared ? std::vector<std::string>{} : Lines(3);
    EXPECT_EQ(window.lstResult.Items(), expected);
    EXPECT_EQ(book->Lines(), expected);
    EXPECT_EQ(store->exists, c.withFile && !c.cleared);
    EXPECT_EQ(store->written, c.cleared ? 1 : 0);
    TearDown();
    SetUp();
  }
}

TEST_F(OptionsWindowTest, ResetWithALogThatCannotBeDeletedClearsTheListAndSaysSo) {
  OptionsWindow& window = LoadOptions("", Lines(2));
  store->readOnly = true;
  window.onCmdResetClick();
  EXPECT_TRUE(window.lstResult.Items().empty());
  EXPECT_TRUE(book->Lines().Empty());
  EXPECT_TRUE(book->State().failed) << "the main window shows the failure";
  EXPECT_EQ(store->lines, Lines(2));
  EXPECT_TRUE(OptionsWindowLoaded());
}

// A Remove that cannot be saved leaves nothing selected and the file as it was.
TEST_F(OptionsWindowTest, ARemoveThatCannotBeSavedSelectsNothing) {
  OptionsWindow& window = LoadOptions("", Lines(3));
  store->readOnly = true;
  window.lstResult.SetSelectedIndex(1);
  window.onCmdRemoveClick();
  store->readOnly = false;
  EXPECT_EQ(window.lstResult.Items(), (std::vector<std::string>{"#1", "#3"}));
  EXPECT_EQ(window.lstResult.SelectedIndex(), -1);
  EXPECT_EQ(SendMessageA(window.Control("lstResult"), LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_TRUE(book->State().failed);
  EXPECT_EQ(store->lines, Lines(3));

  window.lstResult.SetSelectedIndex(0);  // writable again: the next Remove saves and selects
  window.onCmdRemoveClick();
  EXPECT_FALSE(book->State().failed);
  EXPECT_EQ(store->lines, (std::vector<std::string>{"#3"}));
  EXPECT_EQ(window.lstResult.SelectedIndex(), 0);
}

// A log that could not be read at start-up is neither deleted when the list the user
// sees runs empty nor overwritten: its lines come back in front once it can be read.
TEST_F(OptionsWindowTest, EmptyingTheShownListNeverDeletesALogThatWasNotRead) {
  Start(Settings("Countdown=Disabled\r\n"), Lines(2), [](FakeLogStore& log) { log.unreadable = true; });
  ASSERT_TRUE(book->State().unread);
  book->Append("#new");
  OptionsWindow& window = frmMore(owner->Handle());
  window.lstResult.SetSelectedIndex(0);
  window.onCmdRemoveClick();
  EXPECT_TRUE(window.lstResult.Items().empty());
  window.onCmdResetClick();
  EXPECT_TRUE(store->exists);
  EXPECT_EQ(store->lines, Lines(2));

  store->unreadable = false;
  book->Append("#later");
  EXPECT_EQ(store->lines, (std::vector<std::string>{"#1", "#2", "#later"}));
  EXPECT_EQ(window.lstResult.Items(), book->Lines());
}

// The panel shows the book as it is now, whoever changed it and while it waits hidden:
// a solve logged, a line removed elsewhere, the log merged with an outside change, a
// book of another session.
TEST_F(OptionsWindowTest, TheResultListFollowsTheBook) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), Lines(3));
  window.lstResult.SetSelectedIndex(1);
  book->Append("#4");
  EXPECT_EQ(window.lstResult.Items(), Lines(4));
  EXPECT_EQ(window.lstResult.SelectedIndex(), 1) << "a new line leaves the selection alone";
  book->Remove(0);
  EXPECT_EQ(window.lstResult.Items(), (std::vector<std::string>{"#2", "#3", "#4"}));
  EXPECT_EQ(window.lstResult.SelectedIndex(), 0) << "the selection stays on its line";
  book->Remove(0);
  EXPECT_EQ(window.lstResult.SelectedIndex(), -1) << "and goes with it";

  store->SetFile({"#0"});  // another program rewrote the log
  book->Append("#5");
  EXPECT_EQ(window.lstResult.Items(), book->Lines());
  EXPECT_EQ(window.lstResult.Items().front(), "#0");

  FakeLogStore otherLog(std::vector<std::string>{"#x", "#y"});
  results::ResultBook other(otherLog);
  other.Load();
  SetOptionsResultBook(&other);
  EXPECT_EQ(window.lstResult.Items(), (std::vector<std::string>{"#x", "#y"}));
  book->Append("#6");
  EXPECT_EQ(window.lstResult.Count(), 2) << "the book let go follows no more";
  SetOptionsResultBook(nullptr);
  EXPECT_EQ(window.lstResult.Count(), 0);
  window.onCmdRemoveClick();  // no book: nothing to remove, nothing happens
}

// The list holds no lines of its own, yet it looks, scrolls, takes keys and reads out
// like a list box with text: drawn beside one holding the same lines, every pixel matches.
TEST_F(OptionsWindowTest, TheResultListLooksAndReadsLikeAListBoxWithText) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), Lines(40));
  HWND list = window.Control("lstResult");
  // Made without data; said to have strings once made, so the system converts its text.
  EXPECT_EQ(GetWindowLongPtrA(list, GWL_STYLE) & (LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS),
            LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
  EXPECT_TRUE(IsWindowUnicode(list));
  const lo::ControlRow& row = lo::Row("lstResult");
  const lo::Point at = lo::ClientOrigin(row);
  HWND plain = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                               WS_CHILD | LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                               window.Px(at.x), window.Px(at.y), window.Px(row.width), window.Px(row.height),
                               window.Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(plain, nullptr);
  SendMessageA(plain, WM_SETFONT, static_cast<WPARAM>(SendMessageA(list, WM_GETFONT, 0, 0)), FALSE);
  for (const std::string& line : Lines(40)) SendMessageA(plain, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageA(plain, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0)), 0);

  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), SendMessageA(plain, LB_GETITEMHEIGHT, 0, 0));
  RECT mine, theirs;
  GetWindowRect(list, &mine);
  GetWindowRect(plain, &theirs);
  EXPECT_EQ(mine.bottom - mine.top, theirs.bottom - theirs.top);
  EXPECT_EQ(mine.right - mine.left, theirs.right - theirs.left);

  const auto scrollOf = [](HWND box) {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(box, SB_VERT, &info);
    return std::vector<int>{info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
  };
  struct View {
    int selected, top;
    bool enabled;
  };
  for (const View& v : {View{-1, 0, true}, View{2, 0, true}, View{30, 25, true}, View{5, 3, false}}) {
    SCOPED_TRACE(testing::Message() << "selected " << v.selected << ", top " << v.top);
    for (HWND box : {list, plain}) {
      EnableWindow(box, v.enabled);
      SendMessageA(box, LB_SETCURSEL, static_cast<WPARAM>(v.selected), 0);
      SendMessageA(box, LB_SETTOPINDEX, static_cast<WPARAM>(v.top), 0);
    }
    EXPECT_EQ(Snapshot(list), Snapshot(plain));
    EXPECT_EQ(scrollOf(list), scrollOf(plain));
  }

  // With the focus, its rectangle too.
  window.Show();
  for (HWND box : {list, plain}) {
    EnableWindow(box, TRUE);
    SendMessageA(box, LB_SETCURSEL, 7, 0);
    SendMessageA(box, LB_SETTOPINDEX, 4, 0);
  }
  SetFocus(plain);
  const std::vector<COLORREF> focused = Snapshot(plain);
  SetFocus(list);
  EXPECT_EQ(Snapshot(list), focused);

  // Keys move the selection and scroll the list.
  SendMessageA(list, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(window.lstResult.SelectedIndex(), 39);
  EXPECT_GT(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 20);
  SendMessageA(list, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(window.lstResult.SelectedIndex(), 38);

  // A reader asking for a line's text gets the book's line, in its own character set.
  ASSERT_TRUE(book->Replace(37, "#38 " + storage::Narrow(L"caf\u00E9", CP_ACP)));  // in the log's code page
  const std::string ansi = std::string(book->Line(37));
  const std::wstring wide = storage::Widen(ansi, CP_ACP);
  ASSERT_EQ(wide, L"#38 caf\u00E9") << "code page " << GetACP();
  std::string text(ansi.size() + 1, 'x');
  EXPECT_GE(SendMessageA(list, LB_GETTEXTLEN, 37, 0), static_cast<LRESULT>(ansi.size()));
  EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 37, reinterpret_cast<LPARAM>(text.data())), static_cast<LRESULT>(ansi.size()));
  EXPECT_EQ(text, ansi + '\0');
  std::wstring wideText(wide.size() + 1, L'x');
  EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 37, 0), static_cast<LRESULT>(wide.size()));
  EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 37, reinterpret_cast<LPARAM>(wideText.data())),
            static_cast<LRESULT>(wide.size()));
  EXPECT_EQ(wideText, wide + L'\0') << "UTF-16 to a Unicode caller, never the log's bytes";
  EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 40, 0), LB_ERR);
  EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 40, reinterpret_cast<LPARAM>(wideText.data())), LB_ERR);
  // And the window is named by its caption, as a reader asks for it.
  {
    const ComApartment com;
    using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    const auto fromWindow = reinterpret_cast<FromWindow>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("oleacc.dll"), "AccessibleObjectFromWindow")));
    ASSERT_NE(fromWindow, nullptr);
    IAccessible* accessible = nullptr;
    ASSERT_EQ(fromWindow(window.Handle(), OBJID_WINDOW, __uuidof(IAccessible), reinterpret_cast<void**>(&accessible)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    EXPECT_EQ(accessible->get_accName(self, &name), S_OK);
    EXPECT_EQ(std::wstring(name ? name : L""), L"Twistwatch | Result");
    SysFreeString(name);
    accessible->Release();
  }

  // Through a DPI change, as the form takes a box with text through one: its new
  // font, then its box in the layout table again.
  RECT suggested{0, 0, 900, 900};
  SendMessageA(window.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  ASSERT_EQ(window.Dpi(), 144);
  SendMessageA(plain, WM_SETFONT, static_cast<WPARAM>(SendMessageA(list, WM_GETFONT, 0, 0)), FALSE);
  MoveWindow(plain, window.Px(at.x), window.Px(at.y), window.Px(row.width), window.Px(row.height), FALSE);
  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), SendMessageA(plain, LB_GETITEMHEIGHT, 0, 0));
  GetWindowRect(list, &mine);
  GetWindowRect(plain, &theirs);
  EXPECT_EQ(mine.bottom - mine.top, theirs.bottom - theirs.top);
  for (HWND box : {list, plain}) SendMessageA(box, LB_SETTOPINDEX, 10, 0);
  EXPECT_EQ(Snapshot(list), Snapshot(plain));
  DestroyWindow(plain);
}

// A line with its scramble and comment reads whole: the list scrolls sideways as far
// as its widest line, drawn as a list box with text draws it scrolled.
TEST_F(OptionsWindowTest, TheResultListScrollsSidewaysToItsWidestLine) {
  const std::string wide = Solved(1234) + " | Scramble: R U R' U' F2 B2 L D' R2 U2 F' L2 B' D2 R' F U2 L' B D' F2 | "
                                          "Comment: a long comment that goes well past the list's right edge";
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), {Solved(100), wide, Solved(200)});
  HWND list = window.lstResult.Handle();
  EXPECT_TRUE(GetWindowLongPtrA(list, GWL_STYLE) & WS_HSCROLL);
  const auto widthOf = [&](const std::string& text) {
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    return static_cast<int>(size.cx);
  };
  const auto extent = [&] { return static_cast<int>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0)); };
  EXPECT_EQ(extent(), widthOf(wide) + 2);

  book->Append(wide + " and more");  // a wider line widens it
  EXPECT_EQ(extent(), widthOf(wide + " and more") + 2);
  book->SetComment(3, "");  // narrower again: the reach stays until the book is read whole
  EXPECT_EQ(extent(), widthOf(wide + " and more") + 2);
  book->SetComment(0, std::string(300, 'w'));
  EXPECT_EQ(extent(), widthOf(std::string(book->Line(0))) + 2);

  // Drawn beside a list box with text, scrolled the same, every pixel matches.
  const lo::ControlRow& row = lo::Row("lstResult");
  const lo::Point at = lo::ClientOrigin(row);
  HWND plain = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL,
                               window.Px(at.x), window.Px(at.y), window.Px(row.width), window.Px(row.height),
                               window.Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(plain, WM_SETFONT, static_cast<WPARAM>(SendMessageA(list, WM_GETFONT, 0, 0)), FALSE);
  for (const std::string& line : book->Lines().ToStrings()) SendMessageA(plain, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageA(plain, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent()), 0);
  for (HWND box : {list, plain}) {
    SendMessageA(box, LB_SETCURSEL, 1, 0);
    for (int i = 0; i < 40; ++i) SendMessageA(box, WM_HSCROLL, SB_LINERIGHT, 0);
  }
  EXPECT_GT(GetScrollPos(list, SB_HORZ), 0);
  EXPECT_EQ(GetScrollPos(list, SB_HORZ), GetScrollPos(plain, SB_HORZ));
  EXPECT_EQ(Snapshot(list), Snapshot(plain));
  DestroyWindow(plain);
}

}  // namespace
}  // namespace tw
