// The Result panel's sessions row: new, rename, switch and delete, import and export.
#include <gtest/gtest.h>

#include "tests/win32/options_window_fixture.h"

namespace tw {
namespace {

using namespace options_testing;

TEST_F(SessionRowTest, TheRowStandsUnderTheResultFrameAndShowsTheFirstSession) {
  OptionsWindow& window = LoadWithShelf();
  struct Place {
    const char* name;
    int left, top, width, height;  // in the client area, twips
  };
  const Place places[] = {
      // The frame as its table puts it.
      {"fraResult", 120, 600, 5655, 2895},
      {"cmdRemove", 240, 600 + 2350, 2655, 375},
      {"cmdReset", 3000, 600 + 2350, 2655, 375},
      // 120 under the Result frame, as the Practice frame under the Setup frame.
      {"fraSession", 120, 3615, 5655, 1215},
      {"cmdNewSession", 240, 3615 + 720, 999, 375},
      {"cmdExport", 240 + 4 * 1104, 3615 + 720, 999, 375},
      // 105 under the last frame.
      {"cmdExit", 120, 3615 + 1215 + 105, 5655, 375},
  };
  for (const Place& p : places) {
    const RECT box = ClientBox(window, p.name);
    EXPECT_EQ(box.left, window.Px(p.left)) << p.name;
    EXPECT_EQ(box.top, window.Px(p.top)) << p.name;
    EXPECT_EQ(box.right - box.left, window.Px(p.width)) << p.name;
    EXPECT_EQ(box.bottom - box.top, window.Px(p.height)) << p.name;
  }
  const RECT list = ClientBox(window, "lstResult");
  EXPECT_EQ(list.left, window.Px(240));
  EXPECT_EQ(list.top, window.Px(840));
  // 1005 from Exit's top to the window's bottom, the layout's frame included.
  EXPECT_EQ(window.ClientHeight(), 4935 + 1005 - 480);
  EXPECT_EQ(window.SessionItems(), std::vector<std::string>{"3x3x3 (3x3x3)"});
  EXPECT_EQ(window.SessionSelected(), 0);
  for (const char* name : {"cboSession", "cmdNewSession", "cmdRenameSession", "cmdImport", "cmdExport"}) {
    EXPECT_TRUE(Usable(window, name)) << name;
  }
  EXPECT_FALSE(Usable(window, "cmdDeleteSession")) << "the first session cannot be deleted";
  EXPECT_EQ(Setting("Sessions"), "<missing>") << "showing the row writes nothing";

  // Without a shelf the row shows the same, its buttons off.
  SetOptionsSessionShelf(nullptr);
  EXPECT_EQ(window.SessionItems(), std::vector<std::string>{"3x3x3 (3x3x3)"});
  for (const char* name : {"cboSession", "cmdNewSession", "cmdDeleteSession", "cmdImport", "cmdExport"}) {
    EXPECT_FALSE(Usable(window, name)) << name;
  }
}

TEST_F(SessionRowTest, NewRenameSwitchAndDeleteGoThroughTheShelfAndTheListFollows) {
  const std::vector<std::string> first = {Solved(1234), Solved(2345)};
  OptionsWindow& window = LoadWithShelf(first);
  std::vector<std::pair<bool, options::SessionChoice>> asked;
  std::optional<options::SessionChoice> answer = options::SessionChoice{"2x2x2", "222"};
  options::SetSessionAnswerForTesting([&](bool isNew, const options::SessionChoice& current) {
    asked.emplace_back(isNew, current);
    return answer;
  });

  window.onCmdNewSessionClick();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], std::make_pair(true, options::SessionChoice{"", "333"})) << "a new session of the event shown";
  EXPECT_EQ(window.SessionItems(), (std::vector<std::string>{"3x3x3 (3x3x3)", "2x2x2 (2x2x2)"}));
  EXPECT_EQ(window.SessionSelected(), 1);
  EXPECT_EQ(window.lstResult.Book(), &shelf->CurrentBook());
  EXPECT_EQ(window.lstResult.Count(), 0);
  EXPECT_TRUE(Usable(window, "cmdDeleteSession"));
  EXPECT_EQ(Setting("Session 2 Name"), "2x2x2");
  shelf->CurrentBook().Append(Solved(345));

  answer = std::nullopt;  // Cancel
  window.onCmdNewSessionClick();
  EXPECT_EQ(window.SessionItems().size(), 2u);

  answer = options::SessionChoice{"Two", "pyram"};
  window.onCmdRenameSessionClick();
  EXPECT_EQ(asked.back(), std::make_pair(false, options::SessionChoice{"2x2x2", "222"}));
  EXPECT_EQ(window.SessionItems(), (std::vector<std::string>{"3x3x3 (3x3x3)", "Two (Pyraminx)"}));
  EXPECT_EQ(Setting("Session 2 Event"), "pyram");

  window.SetSessionSelected(0);
  EXPECT_TRUE(shelf->IsFirst());
  EXPECT_EQ(window.lstResult.Book(), book.get());
  EXPECT_EQ(window.lstResult.Count(), 2);
  EXPECT_FALSE(Usable(window, "cmdDeleteSession"));

  // Ctrl+PageDown in the main window, the options window loaded hidden: it follows.
  shelf->Step(+1);
  EXPECT_EQ(window.SessionSelected(), 1);
  EXPECT_EQ(window.lstResult.Count(), 1);

  this->answer = IDNO;
  window.onCmdDeleteSessionClick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("\"Two (Pyraminx)\""), std::string::npos) << boxes[0].text;
  EXPECT_EQ(boxes[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)) << "No the default";
  EXPECT_EQ(window.SessionItems().size(), 2u);
  shelf->FlushAll();
  EXPECT_TRUE(FileExists(Path("Result 2.lst")));

  this->answer = IDYES;
  window.onCmdDeleteSessionClick();
  EXPECT_EQ(window.SessionItems(), std::vector<std::string>{"3x3x3 (3x3x3)"});
  EXPECT_EQ(window.lstResult.Book(), book.get());
  EXPECT_FALSE(FileExists(Path("Result 2.lst")));
  EXPECT_FALSE(Usable(window, "cmdDeleteSession"));
  EXPECT_EQ(book->Lines(), first);
}

TEST_F(SessionRowTest, TheSessionBoxAsksForOneNonEmptyLineAndAnEvent) {
  struct Case {
    const char* how;
    const char* typed;
    std::function<void(options::SessionBox&)> act;
    std::optional<options::SessionChoice> answer;
  };
  const auto enter = [](options::SessionBox&) { SendKeys({{VK_RETURN, true}, {VK_RETURN, false}}); };
  const auto escape = [](options::SessionBox&) { SendKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}}); };
  const Case cases[] = {
      {"Enter", "  Two by two \t", enter, options::SessionChoice{"Two by two", "pyram"}},
      {"OK", "OH", [](options::SessionBox& box) { SendMessageA(box.OkButton(), BM_CLICK, 0, 0); },
       options::SessionChoice{"OH", "pyram"}},
      {"Escape", "OH", escape, std::nullopt},
      {"title bar", "OH", [](options::SessionBox& box) { SendMessageA(box.Handle(), WM_CLOSE, 0, 0); }, std::nullopt},
      // With no name there is nothing to accept: Enter leaves the box up, Escape closes it.
      {"Enter without a name", "   ",
       [enter, escape](options::SessionBox& box) {
         EXPECT_FALSE(IsWindowEnabled(box.OkButton()));
         enter(box);
         EXPECT_EQ(options::SessionBox::Current(), &box);
         escape(box);
       },
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    OptionsWindow& window = LoadWithShelf();
    window.Show();
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window.Handle(); }));
    SetFocus(window.Control("cmdRenameSession"));
    std::function<void()> step;
    std::string shownName, shownEvent;
    bool nameFocused = false;
    step = [&] {
      options::SessionBox* box = options::SessionBox::Current();
      ASSERT_NE(box, nullptr);
      shownName = Text(box->NameEdit());
      shownEvent = Text(box->EventList());
      nameFocused = GetFocus() == box->NameEdit();
      EXPECT_FALSE(IsWindowEnabled(window.Handle())) << "modal over the options window";
      SetWindowTextA(box->NameEdit(), c.typed);
      const auto pyraminx = SendMessageA(box->EventList(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>("Pyraminx"));
      SendMessageA(box->EventList(), CB_SETCURSEL, static_cast<WPARAM>(pyraminx), 0);
      c.act(*box);
    };
    {
      const WhileModal modal(step, [] {
        return options::SessionBox::Current() ? options::SessionBox::Current()->Handle() : nullptr;
      });
      EXPECT_EQ(options::AskForSession(window.Handle(), false, {"2x2x2", "222"}), c.answer);
    }
    EXPECT_EQ(shownName, "2x2x2");
    EXPECT_EQ(shownEvent, "2x2x2");
    EXPECT_TRUE(nameFocused);
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
    EXPECT_EQ(GetActiveWindow(), window.Handle());
    EXPECT_EQ(GetFocus(), window.Control("cmdRenameSession")) << "the focus goes back where it was";
    step = nullptr;
    TearDown();
    SetUp();
  }
}

// A Multi-Blind session asks how many cubes its scramble row numbers: the field is
// usable for that event only, starts at the stored number, and takes 2 to 100.
TEST_F(SessionRowTest, TheSessionBoxAsksMultiBlindForItsNumberOfCubes) {
  OptionsWindow& window = LoadWithShelf();
  settings::Write(settings::kMultiBlindCubes, 5);
  window.Show();
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == window.Handle(); }));
  std::function<void()> step;
  bool usableFor222 = true, usableForMultiBlind = false, keptUpOnOne = false;
  std::string shownCubes;
  step = [&] {
    options::SessionBox* box = options::SessionBox::Current();
    ASSERT_NE(box, nullptr);
    usableFor222 = IsWindowEnabled(box->CubesEdit()) != FALSE;
    const auto multiBlind = SendMessageA(box->EventList(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>("3x3x3 Multi-Blind"));
    SendMessageA(box->EventList(), CB_SETCURSEL, static_cast<WPARAM>(multiBlind), 0);
    SendMessageA(box->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box->EventList()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box->EventList()));
    usableForMultiBlind = IsWindowEnabled(box->CubesEdit()) != FALSE;
    shownCubes = Text(box->CubesEdit());
    SetWindowTextA(box->CubesEdit(), "1");
    SendMessageA(box->OkButton(), BM_CLICK, 0, 0);
    keptUpOnOne = options::SessionBox::Current() == box;
    SetWindowTextA(box->CubesEdit(), "12");
    SendMessageA(box->OkButton(), BM_CLICK, 0, 0);
  };
  {
    const WhileModal modal(step, [] {
      return options::SessionBox::Current() ? options::SessionBox::Current()->Handle() : nullptr;
    });
    EXPECT_EQ(options::AskForSession(window.Handle(), true, {"MBLD", "222"}),
              (options::SessionChoice{"MBLD", "333mbf", 12}));
  }
  step = nullptr;
  EXPECT_FALSE(usableFor222);
  EXPECT_TRUE(usableForMultiBlind);
  EXPECT_EQ(shownCubes, "5");
  EXPECT_TRUE(keptUpOnOne) << "one cube is no Multi-Blind attempt";

  // New... gives the session its own number of cubes; the older global count stays as it was.
  options::SetSessionAnswerForTesting([](bool, const options::SessionChoice&) {
    return options::SessionChoice{"MBLD", "333mbf", 7};
  });
  window.onCmdNewSessionClick();
  EXPECT_EQ(Setting("Session 2 Cubes"), "7");
  EXPECT_EQ(Setting("Multi-Blind Cubes"), "5");
  EXPECT_EQ(shelf->Current().cubes, 7);
  EXPECT_EQ(shelf->Current().event, "333mbf");
}

TEST_F(SessionRowTest, ImportAsksFirstThenAppendsEachOfTheFilesSessionsWithoutASwitch) {
  const std::vector<std::string> first = {Solved(1234)};
  OptionsWindow& window = LoadWithShelf(first);
  // The statistics window follows the session shown, as WinMain wires it.
  StatisticsWindow statistics(*book);
  int switches = 0;
  shelf->onSwitched = [&] {
    ++switches;
    SetOptionsResultBook(&shelf->CurrentBook());
    statistics.Attach(shelf->CurrentBook(), shelf->Current().name);
  };
  WriteFileBytes(Path("from csTimer.txt"), kCsTimerFile);
  AnswerFileDialog(Path("from csTimer.txt"));

  answer = IDNO;
  window.onCmdImportClick();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].first, options::FileDialogKind::Open);
  ASSERT_EQ(boxes.size(), 1u);
  const std::string& question = boxes[0].text;
  for (const char* part : {"Import \"from csTimer.txt\"?", "csTimer file: 2 sessions, 3 solves.", "Main (3x3x3): 2 solves",
                           "Small set (2x2x2): 1 solve", "1 solve could not be read",
                           "solve 2: its times hold no time",
                           "Each session becomes a new session here."}) {
    EXPECT_NE(question.find(part), std::string::npos) << part << " in:\n" << question;
  }
  EXPECT_EQ(boxes[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(window.SessionItems().size(), 1u) << "No writes nothing";
  EXPECT_EQ(Setting("Sessions"), "<missing>");

  answer = IDYES;
  window.onCmdImportClick();
  // A name of two lines is made one, as a typed one is.
  EXPECT_EQ(window.SessionItems(), (std::vector<std::string>{"3x3x3 (3x3x3)", "Main (3x3x3)", "Small set (2x2x2)"}));
  // The session shown stays shown, and so do the windows following it.
  EXPECT_EQ(switches, 0);
  EXPECT_EQ(window.SessionSelected(), 0);
  EXPECT_EQ(&shelf->CurrentBook(), book.get());
  EXPECT_EQ(window.lstResult.Count(), 1);
  statistics.EnsureFresh();
  EXPECT_EQ(statistics.Figures().All().solves, 1);
  EXPECT_EQ(book->Lines(), first);
  EXPECT_FALSE(book->CanUndo());

  const int mainNumber = shelf->List().All()[1].number;
  results::ResultBook& imported = shelf->BookOf(mainNumber);
  ASSERT_EQ(imported.Size(), 2u);
  const std::optional<results::Solve> plusTwo = results::Parse(imported.Line(1).Text());
  ASSERT_TRUE(plusTwo);
  EXPECT_EQ(plusTwo->penalty, results::Penalty::PlusTwo);
  EXPECT_EQ(plusTwo->comment, "pop");
  // Each session's import is one step of undo in its own book.
  EXPECT_TRUE(imported.CanUndo());
  shelf->FlushAll();
  EXPECT_EQ(ReadFileBytes(Path("Result 3.lst")).substr(0, 7), "#Date: ");

  // The same file again: names that exist take " (2)".
  window.onCmdImportClick();
  EXPECT_NE(boxes.back().text.find("Main (2) (3x3x3): 2 solves"), std::string::npos) << boxes.back().text;
  EXPECT_EQ(window.SessionItems(),
            (std::vector<std::string>{"3x3x3 (3x3x3)", "Main (3x3x3)", "Small set (2x2x2)", "Main (2) (3x3x3)",
                                      "Small set (2) (2x2x2)"}));
  EXPECT_EQ(switches, 0);
  window.SetSessionSelected(3);
  EXPECT_EQ(window.lstResult.Count(), 2);
  statistics.EnsureFresh();
  EXPECT_EQ(statistics.Figures().All().solves, 2) << "a switch the user makes is followed";
}

TEST_F(SessionRowTest, UndoInASessionTheImportMadeTakesTheWholeImportBack) {
  const std::vector<std::string> first = {Solved(1234)};
  OptionsWindow& window = LoadWithShelf(first);
  WriteFileBytes(Path("from csTimer.txt"), kCsTimerFile);
  AnswerFileDialog(Path("from csTimer.txt"));
  window.onCmdImportClick();
  ASSERT_EQ(window.SessionItems().size(), 3u);
  window.SetSessionSelected(2);
  ASSERT_TRUE(shelf->CurrentBook().Undo());
  ASSERT_TRUE(PumpUntil([&] { return window.SessionItems().size() == 1u; })) << window.SessionItems().size();
  EXPECT_EQ(window.SessionSelected(), 0) << "the session shown when the import ran";
  EXPECT_EQ(&shelf->CurrentBook(), book.get());
  EXPECT_EQ(Setting("Sessions"), "1");
  EXPECT_EQ(book->Lines(), first);
  shelf->FlushAll();
  EXPECT_FALSE(FileExists(Path("Result 2.lst")));
  EXPECT_FALSE(FileExists(Path("Result 3.lst")));

  // A session of the import used since keeps what was done there.
  window.onCmdImportClick();
  ASSERT_EQ(window.SessionItems().size(), 3u);
  window.SetSessionSelected(1);
  ASSERT_TRUE(shelf->CurrentBook().Append(Solved(999)));
  window.SetSessionSelected(2);
  ASSERT_TRUE(shelf->CurrentBook().Undo());
  ASSERT_TRUE(PumpUntil([&] { return window.SessionItems().size() == 2u; })) << window.SessionItems().size();
  EXPECT_EQ(window.SessionItems(), (std::vector<std::string>{"3x3x3 (3x3x3)", "Main (3x3x3)"}));
  EXPECT_EQ(shelf->BookOf(shelf->List().All()[1].number).Size(), 3u);
}

TEST_F(SessionRowTest, AListOfTimesGoesIntoTheSessionShownAsOneStep) {
  const std::vector<std::string> first = {Solved(1234)};
  OptionsWindow& window = LoadWithShelf(first);
  WriteFileBytes(Path("times.txt"), "12.34\r\n15.02+\r\nnot a time\r\nDNF(9.87)\r\n");
  AnswerFileDialog(Path("times.txt"));
  window.onCmdImportClick();
  ASSERT_EQ(boxes.size(), 1u);
  for (const char* part : {"List of times: 3 solves.", "1 line could not be read",
                           "The solves go into the session \"3x3x3 (3x3x3)\"."}) {
    EXPECT_NE(boxes[0].text.find(part), std::string::npos) << part << " in:\n" << boxes[0].text;
  }
  EXPECT_EQ(window.SessionItems().size(), 1u);
  ASSERT_EQ(book->Size(), 4u);
  EXPECT_EQ(window.lstResult.Count(), 4);
  EXPECT_TRUE(book->Undo());
  EXPECT_EQ(book->Lines(), first);
}

TEST_F(SessionRowTest, AFileThatIsNotWhatItClaimsIsNamedWithItsFirstProblemAndNothingIsWritten) {
  struct Case {
    const char* file;
    std::optional<std::string> bytes;  // none: no such file
    const char* problem;
  };
  const Case cases[] = {
      {"broken.json", "{\"session1\": [[[0, 1234]", "It is not a csTimer export: it is not valid JSON"},
      {"odd.txt", "{\"session1\": 5}", "\"session1\" is not a list of solves"},
      {"notes.txt", "nothing here\r\nat all\r\n", "could not be imported"},
      {"unicode.txt", std::string("\xFF\xFE" "1\0" "2\0", 6), "UTF-16"},
      {"missing.txt", std::nullopt, "could not be read"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    OptionsWindow& window = LoadWithShelf({Solved(1234)});
    if (c.bytes) WriteFileBytes(Path(c.file), *c.bytes);
    AnswerFileDialog(Path(c.file));
    boxes.clear();
    window.onCmdImportClick();
    ASSERT_EQ(boxes.size(), 1u) << "one message, no question";
    EXPECT_NE(boxes[0].text.find(std::string("\"") + c.file + "\""), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find(c.problem), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("Nothing was written."), std::string::npos) << boxes[0].text;
    EXPECT_EQ(boxes[0].style & MB_ICONEXCLAMATION, static_cast<unsigned>(MB_ICONEXCLAMATION));
    EXPECT_EQ(window.SessionItems().size(), 1u);
    EXPECT_EQ(book->Size(), 1u);
    EXPECT_FALSE(book->CanUndo());
    EXPECT_EQ(Setting("Sessions"), "<missing>");
    TearDown();
    SetUp();
  }
}

TEST_F(SessionRowTest, ExportWritesTheSessionShownAsCsvOrCsTimersFileAndSaysWhenItCannot) {
  OptionsWindow& window = LoadWithShelf({Solved(999)});
  options::SetSessionAnswerForTesting([](bool, const options::SessionChoice&) {
    return options::SessionChoice{"2x2x2: OH?", "222"};
  });
  window.onCmdNewSessionClick();
  shelf->CurrentBook().AppendAll({Solved(1234), "a note typed by hand", Solved(2345, results::Penalty::Dnf)});

  AnswerFileDialog(Path("out.csv"));
  window.onCmdExportClick();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].first, options::FileDialogKind::Save);
  EXPECT_EQ(dialogs[0].second, "2x2x2 OH") << "the session's name, as a file may be named";
  const std::string csv = ReadFileBytes(Path("out.csv"));
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBFNo.,Date,Time,Result,Penalty,Seconds,Scramble,Comment\r\n", 0), 0u) << csv;
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3) << csv;
  EXPECT_NE(csv.find("DNF"), std::string::npos);
  ASSERT_EQ(boxes.size(), 1u) << "where it wrote, and the line that is no result left out";
  EXPECT_EQ(boxes[0].text,
            "Exported 2 solves to " + Path("out.csv") + ".\n\n1 line of the session is no result and was left out.");
  EXPECT_EQ(boxes[0].style, static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));

  // csTimer's file may hold every session: No writes the one shown, Yes all of them,
  // Cancel nothing.
  boxes.clear();
  answer = IDNO;
  AnswerFileDialog(Path("out.txt"));
  window.onCmdExportClick();
  ASSERT_EQ(boxes.size(), 2u) << "the question, then where it wrote";
  EXPECT_EQ(boxes[1].text.rfind("Exported 2 solves to " + Path("out.txt") + ".", 0), 0u) << boxes[1].text;
  EXPECT_EQ(boxes[0].text, "Write every session (2) to \"out.txt\"?\n\nYes: every session, each a session of its own "
                           "in csTimer.\nNo: only \"2x2x2: OH? (2x2x2)\".");
  const std::string json = ReadFileBytes(Path("out.txt"));
  EXPECT_EQ(json.rfind("{\"session1\":[[[0,12340]", 0), 0u) << json;
  EXPECT_NE(json.find("2x2x2: OH?"), std::string::npos) << "the session's name goes with it";
  EXPECT_EQ(json.find("session2"), std::string::npos) << "the session shown alone";
  answer = IDYES;
  AnswerFileDialog(Path("all.txt"));
  window.onCmdExportClick();
  const std::string all = ReadFileBytes(Path("all.txt"));
  EXPECT_EQ(all.rfind("{\"session1\":[[[0,9990]", 0), 0u) << "the first session first: " << all;
  EXPECT_NE(all.find("\"session2\":[[[0,12340]"), std::string::npos) << all;
  answer = IDCANCEL;
  AnswerFileDialog(Path("none.txt"));
  window.onCmdExportClick();
  EXPECT_FALSE(FileExists(Path("none.txt")));
  answer = IDYES;

  boxes.clear();
  AnswerFileDialog(Path("no such folder\\out.csv"));
  window.onCmdExportClick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("\"out.csv\" could not be written"), std::string::npos) << boxes[0].text;
  EXPECT_FALSE(FileExists(Path("no such folder\\out.csv")));

  boxes.clear();
  AnswerFileDialog(std::nullopt);  // the dialog cancelled
  window.onCmdExportClick();
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SessionRowTest, ALongImportShowsItsProgressAndCancelStopsItWithNothingWritten) {
  OptionsWindow& window = LoadWithShelf({Solved(1234)});
  window.Show();
  std::string times;
  for (int i = 0; i < 20000; ++i) times += "12.34\r\n";
  WriteFileBytes(Path("many.txt"), times);
  AnswerFileDialog(Path("many.txt"));
  // Every look at the clock finds it 300 ms later: the box shows at the first step.
  SetClockForTesting([this] { return now += 300; });
  struct Seen {
    int steps = 0;
    std::string barClass;
    bool windowsOff = false;
  } seen;
  // Cancel, or Alt+F4 in the box (its close), stops the work.
  std::function<void(options::ProgressBox&)> cancel = [](options::ProgressBox& box) {
    SendMessageA(box.CancelButton(), BM_CLICK, 0, 0);
  };
  options::SetProgressStepForTesting([&](options::WorkProgress& progress) {
    ASSERT_NE(progress.Box(), nullptr);
    ++seen.steps;
    char name[64] = {};
    GetClassNameA(progress.Box()->Bar(), name, sizeof name);
    seen.barClass = name;
    seen.windowsOff = !IsWindowEnabled(window.Handle()) && !IsWindowEnabled(owner->Handle());
    if (cancel) cancel(*progress.Box());
  });
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run == 1 ? "Cancel" : "close");
    window.onCmdImportClick();
    EXPECT_EQ(seen.steps, run);
    EXPECT_EQ(seen.barClass, PROGRESS_CLASSA);
    EXPECT_TRUE(seen.windowsOff) << "nothing else starts while it runs";
    EXPECT_TRUE(boxes.empty()) << "a cancel needs no message";
    EXPECT_EQ(book->Size(), 1u);
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    cancel = [](options::ProgressBox& box) { SendMessageA(box.Handle(), WM_CLOSE, 0, 0); };
  }

  cancel = nullptr;
  window.onCmdImportClick();
  EXPECT_GE(seen.steps, 4);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(book->Size(), 20001u);
  EXPECT_TRUE(IsWindowEnabled(window.Handle()));
}

}  // namespace
}  // namespace tw
