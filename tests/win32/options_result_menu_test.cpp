// The Result panel's work on one line: its menu, the comment box, a solve's details,
// and the keys that reach them.
#include <gtest/gtest.h>

#include "tests/win32/options_window_fixture.h"

namespace tw {
namespace {

using namespace options_testing;

TEST_F(ResultMenuTest, TheLinesMenuChangesTheLineThroughTheBook) {
  const std::vector<std::string> lines = {Solved(1234), "a note typed by hand", Solved(2345, results::Penalty::Dnf)};
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), lines);
  using options::LineCommand;
  EXPECT_EQ(Choose(window, 0, LineCommand::PlusTwo), "xooo" "o");
  EXPECT_EQ(book->Line(0), Solved(1434, results::Penalty::PlusTwo));
  EXPECT_EQ(store->lines, book->Lines()) << "saved at once";
  EXPECT_EQ(window.lstResult.SelectedIndex(), 0) << "the line stays selected";
  EXPECT_EQ(Choose(window, 0, LineCommand::Dnf), "oxoo" "o");
  EXPECT_EQ(book->Line(0), Solved(1234, results::Penalty::Dnf));
  EXPECT_EQ(Choose(window, 0, LineCommand::NoPenalty), "ooxo" "o");
  EXPECT_EQ(book->Line(0), Solved(1234));

  // A line that reads as no result can only be removed: its greyed items do nothing.
  EXPECT_EQ(Choose(window, 1, LineCommand::PlusTwo), "----" "o");
  EXPECT_EQ(book->Line(1), lines[1]);

  // The comment box is asked with the line's comment and sets the one given.
  std::vector<std::string> asked;
  std::optional<std::string> answer = "bad cross";
  options::SetCommentAnswerForTesting([&](const std::string& current) {
    asked.push_back(current);
    return answer;
  });
  Choose(window, 2, LineCommand::Comment);
  EXPECT_EQ(book->Line(2), Solved(2345, results::Penalty::Dnf, "bad cross"));
  answer = std::nullopt;  // Cancel changes nothing
  Choose(window, 2, LineCommand::Comment);
  EXPECT_EQ(asked, (std::vector<std::string>{"", "bad cross"}));
  EXPECT_EQ(book->Line(2), Solved(2345, results::Penalty::Dnf, "bad cross"));

  Choose(window, 1, LineCommand::Remove);
  EXPECT_EQ(book->Lines(), (std::vector<std::string>{Solved(1234), Solved(2345, results::Penalty::Dnf, "bad cross")}));
  EXPECT_EQ(store->lines, book->Lines());
  EXPECT_EQ(window.lstResult.SelectedIndex(), 1);

  // No menu without a selected line.
  window.lstResult.SetSelectedIndex(-1);
  bool shown = false;
  SetLineMenuChooserForTesting([&](HMENU) { return shown = true, 0; });
  SendMessageA(window.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.lstResult.Handle()),
               MAKELPARAM(-1, -1));
  EXPECT_FALSE(shown);
}

// The keys and the mouse a user opens the menu with, and Ctrl+Z / Ctrl+Y, as real input
// through the dialog manager.
TEST_F(ResultMenuTest, MenuKeysRightClickAndUndoReachTheList) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), {Solved(100), Solved(200), Solved(300)});
  window.Show();
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window.Handle(); }));
  HWND list = window.lstResult.Handle();
  SetFocus(list);
  int menus = 0;
  SetLineMenuChooserForTesting([&](HMENU) { return ++menus, LineMenuCommandId(options::LineCommand::PlusTwo); });

  window.lstResult.SetSelectedIndex(0);
  SendKeys({{VK_SHIFT, true}, {VK_F10, true}, {VK_F10, false}, {VK_SHIFT, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return menus == 1; }));
  EXPECT_EQ(book->Line(0), Solved(300, results::Penalty::PlusTwo));

  window.lstResult.SetSelectedIndex(1);
  SendKeys({{VK_APPS, true}, {VK_APPS, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return menus == 2; }));
  EXPECT_EQ(book->Line(1), Solved(400, results::Penalty::PlusTwo));

  // A right click picks the line under the pointer first.
  RECT line;
  SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&line));
  const LPARAM at = MAKELPARAM(line.left + 5, line.top + 2);
  SendMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
  SendMessageA(list, WM_RBUTTONUP, 0, at);
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return menus == 3; }));
  EXPECT_EQ(window.lstResult.SelectedIndex(), 2);
  EXPECT_EQ(book->Line(2), Solved(500, results::Penalty::PlusTwo));
  PumpDialogUntil(window.Handle(), [] { return false; }, 200);
  EXPECT_EQ(menus, 3) << "each opened the menu once";

  SendKeys({{VK_CONTROL, true}, {'Z', true}, {'Z', false}, {VK_CONTROL, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return book->Line(2) == Solved(300); }));
  SendKeys({{VK_CONTROL, true}, {'Z', true}, {'Z', false}, {VK_CONTROL, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return book->Line(1) == Solved(200); }));
  SendKeys({{VK_CONTROL, true}, {'Y', true}, {'Y', false}, {VK_CONTROL, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return book->Line(1) == Solved(400, results::Penalty::PlusTwo); }));
  EXPECT_EQ(store->lines, book->Lines());

  // Elsewhere than the Result panel the keys are the controls' own.
  window.optSetup.SetValue(true);
  SetFocus(window.Control("chkLogResult"));
  SendKeys({{VK_CONTROL, true}, {'Z', true}, {'Z', false}, {VK_CONTROL, false}});
  PumpDialogUntil(window.Handle(), [] { return false; }, 200);
  EXPECT_EQ(book->Line(1), Solved(400, results::Penalty::PlusTwo));
}

// The comment box: Enter is OK, Escape and Cancel give nothing, and whichever way it
// closes the options window has the keys again.
TEST_F(OptionsWindowTest, TheCommentBoxAsksForOneLine) {
  struct Case {
    const char* how;
    std::function<void(options::CommentBox&)> act;
    std::optional<std::string> answer;
  };
  const Case cases[] = {
      {"Enter", [](options::CommentBox&) { SendKeys({{VK_RETURN, true}, {VK_RETURN, false}}); }, "new words"},
      {"OK", [](options::CommentBox& box) { SendMessageA(box.OkButton(), BM_CLICK, 0, 0); }, "new words"},
      {"Escape", [](options::CommentBox&) { SendKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}}); }, std::nullopt},
      {"Enter on Cancel",
       [](options::CommentBox& box) {
         SetFocus(box.CancelButton());
         SendKeys({{VK_RETURN, true}, {VK_RETURN, false}});
       },
       std::nullopt},
      {"title bar", [](options::CommentBox& box) { SendMessageA(box.Handle(), WM_CLOSE, 0, 0); }, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), Lines(2));
    window.Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window.Handle(); }));
    SetFocus(window.lstResult.Handle());
    std::function<void()> step;
    std::string shownText;
    bool editFocused = false;
    step = [&] {
      options::CommentBox* box = options::CommentBox::Current();
      ASSERT_NE(box, nullptr);
      char text[64] = {};
      GetWindowTextA(box->Edit(), text, sizeof text);
      shownText = text;
      editFocused = GetFocus() == box->Edit();
      EXPECT_FALSE(IsWindowEnabled(window.Handle())) << "modal over the options window";
      SetWindowTextA(box->Edit(), "new words");
      c.act(*box);
    };
    {
      const WhileModal modal(step, [] {
        return options::CommentBox::Current() ? options::CommentBox::Current()->Handle() : nullptr;
      });
      EXPECT_EQ(options::AskForComment(window.Handle(), "old words"), c.answer);
    }
    EXPECT_EQ(shownText, "old words");
    EXPECT_TRUE(editFocused);
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
    EXPECT_EQ(GetActiveWindow(), window.Handle());
    EXPECT_EQ(GetFocus(), window.lstResult.Handle()) << "the focus goes back where it was";
    step = nullptr;
    TearDown();
    SetUp();
  }
}

// Enter or a double click on a line opens its details, whose OK is one change of the
// book (one Ctrl+Z); Delete removes the selected line as Remove does. Real keys through
// the dialog manager.
TEST_F(ResultMenuTest, EnterOrADoubleClickOpensTheDetailsAndDeleteRemovesTheLine) {
  OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), {Solved(100), "a note typed by hand", Solved(300)});
  window.Show();
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window.Handle(); }));
  HWND list = window.lstResult.Handle();
  SetFocus(list);
  std::vector<std::string> asked;
  std::optional<options::SolveEdit> answer = options::SolveEdit{results::Penalty::PlusTwo, "pop"};
  options::SetSolveAnswerForTesting([&](const options::SolveDetails& details) {
    asked.push_back(details.date + " " + options::ResultText(details.measured, details.solve.penalty));
    return answer;
  });

  window.lstResult.SetSelectedIndex(2);
  SendKeys({{VK_RETURN, true}, {VK_RETURN, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return asked.size() == 1; }));
  EXPECT_EQ(asked[0], "04/03/2024 05:06:07 3.00");
  EXPECT_EQ(book->Line(2), Solved(500, results::Penalty::PlusTwo, "pop"));
  EXPECT_EQ(store->lines, book->Lines());
  EXPECT_TRUE(IsWindowVisible(window.Handle())) << "Enter opened the details, not closed the window";
  book->Undo();
  EXPECT_EQ(book->Line(2), Solved(300)) << "penalty and comment are one step";

  // A double click on a line picks it and opens it; Cancel changes nothing.
  answer = std::nullopt;
  RECT line;
  SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&line));
  const LPARAM at = MAKELPARAM(line.left + 5, line.top + 2);
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(list, WM_LBUTTONUP, 0, at);
  SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(list, WM_LBUTTONUP, 0, at);
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return asked.size() == 2; }));
  EXPECT_EQ(asked[1], "04/03/2024 05:06:07 1.00");
  EXPECT_EQ(book->Line(0), Solved(100));

  // A line that reads as no result has no details.
  window.lstResult.SetSelectedIndex(1);
  window.onListOpenDetails();
  EXPECT_EQ(asked.size(), 2u);

  // Delete removes the selected line, and Ctrl+Z brings it back.
  SendKeys({{VK_DELETE, true}, {VK_DELETE, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return book->Size() == 2; }));
  EXPECT_EQ(book->Lines(), (std::vector<std::string>{Solved(100), Solved(300)}));
  EXPECT_EQ(window.lstResult.SelectedIndex(), 1) << "as Remove leaves it";
  SendKeys({{VK_CONTROL, true}, {'Z', true}, {'Z', false}, {VK_CONTROL, false}});
  ASSERT_TRUE(PumpDialogUntil(window.Handle(), [&] { return book->Size() == 3; }));
  EXPECT_EQ(book->Line(1), "a note typed by hand");
  window.lstResult.SetSelectedIndex(-1);
  SendKeys({{VK_DELETE, true}, {VK_DELETE, false}});
  PumpDialogUntil(window.Handle(), [] { return false; }, 200);
  EXPECT_EQ(book->Size(), 3u) << "Delete with nothing selected removes nothing";
}

// The box itself: what it shows of the solve, the time following the penalty picked,
// and what each way of closing it gives.
TEST_F(OptionsWindowTest, TheSolveBoxShowsTheSolveAndGivesItsPenaltyAndComment) {
  results::Solve solve;
  solve.when = {2024, 3, 4, 5, 6, 7};
  solve.time = 1234;
  solve.scramble = "R U R' U' F2";
  solve.comment = "old words";
  const std::optional<options::SolveDetails> details = options::DetailsOf(results::Format(solve));
  ASSERT_TRUE(details);
  struct Case {
    const char* how;
    std::function<void(options::SolveBox&)> act;
    std::optional<options::SolveEdit> answer;
  };
  const Case cases[] = {
      {"Enter", [](options::SolveBox&) { SendKeys({{VK_RETURN, true}, {VK_RETURN, false}}); },
       options::SolveEdit{results::Penalty::PlusTwo, "new words"}},
      {"OK", [](options::SolveBox& box) { SendMessageA(box.OkButton(), BM_CLICK, 0, 0); },
       options::SolveEdit{results::Penalty::PlusTwo, "new words"}},
      {"Alt+C, End, Z, Enter",
       [](options::SolveBox& box) {
         SetFocus(box.PenaltyButton(results::Penalty::PlusTwo));
         SendKeys({{VK_MENU, true}, {'C', true}, {'C', false}, {VK_MENU, false}, {VK_END, true}, {VK_END, false},
                   {'Z', true}, {'Z', false}, {VK_RETURN, true}, {VK_RETURN, false}});
       },
       options::SolveEdit{results::Penalty::PlusTwo, "new wordsz"}},
      {"Escape", [](options::SolveBox&) { SendKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}}); }, std::nullopt},
      {"title bar", [](options::SolveBox& box) { SendMessageA(box.Handle(), WM_CLOSE, 0, 0); }, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), Lines(2));
    window.Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window.Handle(); }));
    SetFocus(window.lstResult.Handle());
    struct Seen {
      std::string time, timeAfter, date, scramble, comment;
      bool picture = false, penaltyFocused = false, modal = false;
    } seen;
    std::function<void()> step = [&] {
      options::SolveBox* box = options::SolveBox::Current();
      ASSERT_NE(box, nullptr);
      seen.time = Text(box->TimeText());
      seen.date = Text(box->DateText());
      seen.scramble = Text(box->ScrambleText());
      seen.comment = Text(box->CommentEdit());
      seen.picture = !box->Drawing().Empty() && SendMessageA(box->Picture(), STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
      seen.penaltyFocused = GetFocus() == box->PenaltyButton(results::Penalty::None);
      seen.modal = !IsWindowEnabled(window.Handle());
      SendMessageA(box->PenaltyButton(results::Penalty::PlusTwo), BM_CLICK, 0, 0);
      seen.timeAfter = Text(box->TimeText());
      SetWindowTextA(box->CommentEdit(), "new words");
      SetFocus(box->CommentEdit());
      c.act(*box);
    };
    {
      const WhileModal modal(step, [] {
        return options::SolveBox::Current() ? options::SolveBox::Current()->Handle() : nullptr;
      });
      EXPECT_EQ(options::AskForSolveEdit(window.Handle(), *details, scramble::Event::k333), c.answer);
    }
    EXPECT_EQ(seen.time, "12.34");
    EXPECT_EQ(seen.timeAfter, "14.34 (+2)");
    EXPECT_EQ(seen.date, "04/03/2024 05:06:07");
    EXPECT_EQ(seen.scramble, "R U R' U' F2");
    EXPECT_EQ(seen.comment, "old words");
    EXPECT_TRUE(seen.picture) << "the cube as the scramble left it";
    EXPECT_TRUE(seen.penaltyFocused) << "it opens on the penalty picked";
    EXPECT_TRUE(seen.modal);
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
    EXPECT_EQ(GetActiveWindow(), window.Handle());
    EXPECT_EQ(GetFocus(), window.lstResult.Handle()) << "the focus goes back where it was";
    step = nullptr;
    TearDown();
    SetUp();
  }
}

// A Megaminx solve's scramble reads as its seven lines and draws; a solve without one
// says so and draws nothing.
TEST_F(OptionsWindowTest, TheSolveBoxWritesTheScrambleAsItsEventDoes) {
  scramble::EventScrambler scrambler(scramble::Event::kMinx, 3);
  const std::string megaminx = scrambler.Next().text;
  results::Solve solve;
  solve.when = {2024, 3, 4, 5, 6, 7};
  solve.time = 6000;
  solve.scramble = megaminx;
  struct Case {
    std::string line;
    std::string scramble;
    bool drawn;
  };
  std::string shownMegaminx;
  for (const char c : megaminx) shownMegaminx += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const Case cases[] = {{results::Format(solve), shownMegaminx, true}, {Solved(100), "(none)", false}};
  for (const Case& c : cases) {
    OptionsWindow& window = LoadOptions(Settings("Last Frame=Result\r\n"), Lines(1));
    std::string scrambleText;
    bool drawn = false;
    {
      options::SolveBox box(*options::DetailsOf(c.line), scramble::Event::kMinx);
      const WhileModal modal(
          [&] {
            scrambleText = Text(box.ScrambleText());
            drawn = !box.Drawing().Empty();
            SendMessageA(box.Handle(), WM_CLOSE, 0, 0);
          },
          [&] { return box.Handle(); });
      EXPECT_EQ(box.Ask(window.Handle()), std::nullopt);
    }
    EXPECT_EQ(scrambleText, c.scramble);
    EXPECT_EQ(drawn, c.drawn);
    TearDown();
    SetUp();
  }
}

}  // namespace
}  // namespace tw
