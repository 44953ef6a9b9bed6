// The Result panel's sessions row and the menu on its lines: the options window's
// work on the sessions the shelf keeps and on single result lines.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "exchange/win32/import_undo.h"
#include "exchange/win32/system_exchange.h"
#include "options/session_row.h"
#include "options/win32/comment_box.h"
#include "options/win32/options_window.h"
#include "options/win32/session_box.h"
#include "options/win32/session_exchange.h"
#include "options/win32/solve_box.h"
#include "results/result_book.h"
#include "results/solve.h"
#include "results/win32/session_shelf.h"
#include "scramble/events.h"
#include "storage/win32/settings.h"
#include "toolkit/win32/services.h"

namespace tw {

namespace {

results::SessionShelf* g_shelf = nullptr;
std::function<int(HMENU)> g_menu_chooser;
// Deleting a session asks with No the default: a slip of Enter keeps it.
constexpr unsigned kDeleteStyle = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;

}  // namespace

// ---- The session row.

namespace {

// The sessions as the row lists them; the first session alone without a shelf.
std::vector<results::Session> ShownSessions() {
  if (g_shelf) return g_shelf->List().All();
  return {results::Session{results::kFirstSession, std::string(results::kFirstSessionName),
                           std::string(scramble::kDefaultEventId)}};
}

}  // namespace

void OptionsWindow::SessionsChanged() {
  HWND list = Control("cboSession");
  if (!list) return;
  std::vector<std::string> items;
  for (const results::Session& session : ShownSessions()) items.push_back(options::SessionItemText(session));
  // Refilled only when a text changed: a pick from the list dropped down switches the
  // session at once, and must not close the list under the user's pointer.
  if (items != SessionItems()) {
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  const int current = g_shelf ? static_cast<int>(g_shelf->List().CurrentIndex()) : 0;
  if (SessionSelected() != current) SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(current), 0);
  const bool shelf = g_shelf != nullptr;
  SetUsable("cboSession", shelf);
  constexpr layout::options::ControlName kShelfButtons[] = {"cmdNewSession", "cmdRenameSession", "cmdImport",
                                                             "cmdExport"};
  for (const layout::options::ControlName button : kShelfButtons) SetUsable(button, shelf);
  SetUsable("cmdDeleteSession", shelf && !g_shelf->IsFirst());
  KeepFocusOnScreen(list);
}

std::vector<std::string> OptionsWindow::SessionItems() const {
  HWND list = Control("cboSession");
  std::vector<std::string> items;
  const auto count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto length = static_cast<int>(SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0));
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    items.push_back(std::move(text));
  }
  return items;
}

int OptionsWindow::SessionSelected() const {
  const auto item = static_cast<int>(SendMessageA(Control("cboSession"), CB_GETCURSEL, 0, 0));
  return item == CB_ERR ? -1 : item;
}

void OptionsWindow::SetSessionSelected(int item) {
  SendMessageA(Control("cboSession"), CB_SETCURSEL, static_cast<WPARAM>(item), 0);
  onCboSessionChange();
}

// The list above follows through the shelf's onSwitched, which hands this window the
// session's book.
void OptionsWindow::onCboSessionChange() {
  const int item = SessionSelected();
  if (g_shelf && item >= 0) g_shelf->Switch(static_cast<std::size_t>(item));
  SessionsChanged();
}

void OptionsWindow::onCmdNewSessionClick() {
  if (!g_shelf) return;
  const auto choice = options::AskForSession(Handle(), true, {"", g_shelf->Current().event, g_shelf->Current().cubes});
  // A Multi-Blind session keeps its own number of cubes.
  if (choice && g_shelf) {
    if (const std::optional<int> number = g_shelf->Add(choice->name, choice->event, choice->cubes)) {
      g_shelf->SetCases(*number, choice->cases);
    }
  }
  SessionsChanged();
}

void OptionsWindow::onCmdRenameSessionClick() {
  if (!g_shelf) return;
  const results::Session session = g_shelf->Current();
  const auto choice =
      options::AskForSession(Handle(), false, {session.name, session.event, session.cubes, session.cases});
  // The name is asked for the session shown then; the list may have changed meanwhile.
  if (choice && g_shelf && g_shelf->List().IndexOf(session.number)) {
    g_shelf->Rename(session.number, choice->name, choice->event, choice->cubes);
    g_shelf->SetCases(session.number, choice->cases);
  }
  SessionsChanged();
}

void OptionsWindow::onCmdDeleteSessionClick() {
  if (!g_shelf || g_shelf->IsFirst()) return;
  const results::Session session = g_shelf->Current();
  const std::string item = exchange::AnsiToUtf8(options::SessionItemText(session));
  if (ShowMessageBox(Handle(), options::DeleteQuestion(item), kAppTitle, kDeleteStyle) != IDYES) return;
  if (g_shelf && g_shelf->List().IndexOf(session.number) && !g_shelf->Remove(session.number)) {
    ShowMessageBox(Handle(), std::string(options::kDeleteFailed), kAppTitle, MB_OK | MB_ICONEXCLAMATION);
  }
  SessionsChanged();
}

void OptionsWindow::onCmdImportClick() {
  if (!g_shelf) return;
  const auto path = options::AskForFile(Handle(), options::FileDialogKind::Open, "");
  if (path && g_shelf) options::ImportIntoShelf(Handle(), *path, *g_shelf);
  SessionsChanged();
}

void OptionsWindow::onCmdExportClick() {
  if (!g_shelf) return;
  const std::string suggested = exchange::AnsiToUtf8(options::ExportFileName(g_shelf->Current().name));
  const auto path = options::AskForFile(Handle(), options::FileDialogKind::Save, suggested);
  if (path && g_shelf) options::ExportSessions(Handle(), *path, *g_shelf);
}

int LineMenuCommandId(options::LineCommand command) { return 1 + static_cast<int>(command); }

void SetLineMenuChooserForTesting(std::function<int(HMENU menu)> chooser) { g_menu_chooser = std::move(chooser); }

void OptionsWindow::onListContextMenu(std::optional<POINT> screen) {
  results::ResultBook* book = lstResult.Book();
  const int selected = lstResult.SelectedIndex();
  if (!book || selected < 0 || static_cast<std::size_t>(selected) >= book->Size()) return;
  if (!screen) {
    // From the keyboard: under the selected line, or the list's corner when it is out of view.
    HWND list = lstResult.Handle();
    RECT line{}, client{};
    GetClientRect(list, &client);
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&line));
    POINT at{client.left, client.top};
    if (line.bottom > client.top && line.bottom <= client.bottom) at.y = line.bottom;
    ClientToScreen(list, &at);
    screen = at;
  }
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  const storage::LineText selectedLine = book->Line(static_cast<std::size_t>(selected));
  const auto items = options::LineMenu(selectedLine);
  for (const options::LineMenuItem& item : items) {
    if (item.separatorBefore) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    // The texts are UTF-8 (the ellipsis); the menu takes them as wide text.
    wchar_t text[64] = {};
    MultiByteToWideChar(CP_UTF8, 0, item.text, -1, text, static_cast<int>(std::size(text)));
    UINT flags = MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED);
    if (item.checked) flags |= MF_CHECKED;
    AppendMenuW(menu, flags, static_cast<UINT_PTR>(LineMenuCommandId(item.command)), text);
    if (item.checked) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE;
      info.fType = MFT_STRING | MFT_RADIOCHECK;
      SetMenuItemInfoW(menu, static_cast<UINT>(LineMenuCommandId(item.command)), FALSE, &info);
    }
  }
  const int chosen = g_menu_chooser ? g_menu_chooser(menu)
                                    : static_cast<int>(TrackPopupMenuEx(
                                          menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                          screen->x, screen->y, Handle(), nullptr));
  DestroyMenu(menu);
  for (const options::LineMenuItem& item : items) {
    if (chosen == LineMenuCommandId(item.command) && item.enabled) return onLineCommand(item.command);
  }
}

// Every command goes through the book, which saves it, tells every window and keeps
// it for Undo.
void OptionsWindow::onLineCommand(options::LineCommand command) {
  results::ResultBook* book = lstResult.Book();
  const int selected = lstResult.SelectedIndex();
  if (!book || selected < 0 || static_cast<std::size_t>(selected) >= book->Size()) return;
  const auto index = static_cast<std::size_t>(selected);
  if (const auto penalty = options::PenaltyOf(command)) {
    book->SetPenalty(index, *penalty);
    return;
  }
  if (command == options::LineCommand::Remove) return onCmdRemoveClick();
  const std::string line(book->Line(index));
  const std::optional<results::Solve> solve = results::Parse(line);
  if (!solve) return;
  const std::optional<std::string> comment = options::AskForComment(Handle(), solve->comment);
  // The book may have changed while the question was up (an outside change merged):
  // the comment goes to the line it was asked for, or nowhere.
  if (!comment || *comment == solve->comment || !IsLoaded() || lstResult.Book() != book) return;
  if (index >= book->Size() || book->Line(index) != line) return;
  book->SetComment(index, *comment);
}

// A solve's details, asked for the selected line: OK writes its penalty and comment
// through the book as one change, which one Ctrl+Z takes back. A line that reads as no
// result has no details.
void OptionsWindow::onListOpenDetails() {
  results::ResultBook* book = lstResult.Book();
  const int selected = lstResult.SelectedIndex();
  if (!book || selected < 0 || static_cast<std::size_t>(selected) >= book->Size()) return;
  const auto index = static_cast<std::size_t>(selected);
  const std::string line(book->Line(index));
  const std::optional<options::SolveDetails> details = options::DetailsOf(line);
  if (!details) {
    MessageBeep(MB_OK);
    return;
  }
  // The session's event reads the scramble and draws it.
  const std::string event = g_shelf ? g_shelf->Current().event : std::string(scramble::kDefaultEventId);
  const auto edit =
      options::AskForSolveEdit(Handle(), *details, scramble::EventFromId(event).value_or(scramble::Event::k333));
  // The book may have changed while the box was up: the edit goes to the line it was
  // asked for, or nowhere.
  if (!edit || !IsLoaded() || lstResult.Book() != book) return;
  if (index >= book->Size() || book->Line(index) != line) return;
  if (const auto written = options::EditedLine(line, edit->penalty, edit->comment)) book->Replace(index, *written);
}

// Delete on a selected line removes it, as Remove does.
void OptionsWindow::onListDeleteKey() {
  if (lstResult.SelectedIndex() >= 0) onCmdRemoveClick();
}

bool OptionsWindow::onPanelKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || (msg.wParam != 'Z' && msg.wParam != 'Y')) return false;
  if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)) return false;
  if (!optResult.Value() || GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return false;
  results::ResultBook* book = lstResult.Book();
  if (!book) return true;
  select_after_save_ = false;
  if (msg.wParam == 'Z') {
    book->Undo();
  } else {
    book->Redo();
  }
  return true;
}


void SetOptionsSessionShelf(results::SessionShelf* shelf) {
  // An import is taken back in the shelf it went into, never in another.
  if (shelf != g_shelf) exchange::ForgetImport();
  g_shelf = shelf;
  OptionsSessionsChanged();
}

}  // namespace tw
