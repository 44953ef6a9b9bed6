// The main window's side of the log of record: the session shown, the edits of the
// last solve after its stop (its penalty, undo and redo), the caption's notes on what is
// not saved or not logged, and the question at closing while results are not saved.
#include <utility>

#include "app/change_note.h"
#include "app/wca_countdown.h"
#include "app/win32/main_window.h"
#include "resources/main_layout.h"
#include "results/solve.h"
#include "storage/win32/result_log_file.h"
#include "storage/win32/settings.h"
#include "storage/win32/wide_path.h"
#include "toolkit/win32/services.h"
#include "toolkit/win32/system_text.h"

namespace tw {

namespace {

namespace L = layout::main;

constexpr unsigned kStyleRetryCancel = MB_RETRYCANCEL | MB_ICONEXCLAMATION;  // 53
// Notes shown after the caption, joined as "Twistwatch \u2014 a, b" (wide, so the dash
// is the same in every ANSI code page).
constexpr const wchar_t* kCaptionNoteSeparator = L" \u2014 ";
constexpr const char* kUnsavedNote = "results not saved";
// Another session's results exist only in memory: "results not saved in OH".
constexpr const char* kUnsavedElsewhereNote = "results not saved in ";
constexpr const char* kNothingToUndoNote = "nothing to undo";
constexpr const char* kNothingToRedoNote = "nothing to redo";
// How far back from the end a switch looks for a session's last result to show.
constexpr std::size_t kLastResultSearch = 1000;
constexpr const char* kNotLoggingNote = "not logging";

std::string UnsavedMessage(std::size_t count, const std::string& path, unsigned long error) {
  std::string what;
  if (count == 0) {
    what = "The latest changes to the results could not be saved";
  } else {
    what = std::to_string(count) + (count == 1 ? " result" : " results") + " could not be saved";
  }
  const std::string limit = storage::ResultLogLimitText(error);
  return what + " to " + path + ".\r\n\r\n" + (limit.empty() ? SystemErrorText(error) : limit) +
         "\r\n\r\nRetry saves them now. Cancel closes Twistwatch without them.";
}

}  // namespace

void MainWindow::SetBook(results::ResultBook& book, std::string sessionName) {
  book_->RemoveWatcher(this);
  book_ = &book;
  book_->AddWatcher(this);
  sessionName_ = std::move(sessionName);
  changeNote_.clear();
  // A solve under way keeps its digits; otherwise they show the session's own last result.
  if (state_.phase == timing::Phase::Idle) ShowLastResult();
  ShowCaption();
  OnReloaded(*book_);
}

void MainWindow::UseShelf(results::SessionShelf& shelf) {
  shelf_ = &shelf;
  shelf_->onSaveStateChanged = [this] { ShowCaption(); };
}

void MainWindow::ShowCurrentSession() {
  if (!shelf_) return;
  const results::Session& session = shelf_->Current();
  SetBook(shelf_->CurrentBook(), shelf_->IsFirst() ? std::string() : session.name);
  OnSessionChanged(session.event, session.cubes, session.cases);
}

void MainWindow::ShowNote(std::string note) {
  changeNote_ = std::move(note);
  ShowCaption();
}

void MainWindow::SetLastPenalty(results::Penalty penalty) {
  if (book_->Size() == 0) return;
  const std::size_t last = book_->Size() - 1;
  if (!book_->SetPenalty(last, penalty)) return;
  const storage::LineText line = book_->Line(last);
  ShowResultOf(line);
}

// The digits show a logged result as its line now reads: a DNF with its mark.
bool MainWindow::ShowResultOf(std::string_view line) {
  const std::optional<results::Solve> solve = results::Parse(line);
  if (!solve) return false;
  ElapsedMs = solve->time * 10;
  ShowFields(ResultFieldsFor(ElapsedMs));
  ShowDnfMark(solve->penalty == results::Penalty::Dnf);
  return true;
}

// The book's last result line, or zeros when there is none near its end.
void MainWindow::ShowLastResult() {
  const std::size_t size = book_->Size();
  for (std::size_t i = size; i > 0 && size - i < kLastResultSearch; --i) {
    const storage::LineText line = book_->Line(i - 1);
    if (ShowResultOf(line)) return;
  }
  ElapsedMs = 0;
  ShowFields(ResultFieldsFor(0));
  ShowDnfMark(false);
}

// The book's last result line near its end, or "" when there is none.
std::string MainWindow::LastResultLine() const {
  const std::size_t size = book_->Size();
  for (std::size_t i = size; i > 0 && size - i < kLastResultSearch; --i) {
    std::string line = book_->Line(i - 1).Text();
    if (results::Parse(line)) return line;
  }
  return {};
}

void MainWindow::UndoOrRedo(bool undo) {
  const bool any = undo ? book_->CanUndo() : book_->CanRedo();
  const std::string lastBefore = any ? LastResultLine() : std::string();
  const std::optional<results::ResultBook::Change> change = undo ? book_->Undo() : book_->Redo();
  if (!any) {
    changeNote_ = undo ? kNothingToUndoNote : kNothingToRedoNote;
    ShowCaption();
    return;
  }
  if (!change) return;
  // A step that took back (or brought again) the last result, or changed it, leaves the
  // digits on the session's last result as it now reads, zeros when none is left.
  if (LastResultLine() != lastBefore) ShowLastResult();
  changeNote_ = ChangeNote(*change, undo);
  ShowCaption();
}

void MainWindow::ShowCaption() {
  if (!Handle()) return;
  // The session's name is text of the settings file, in the ANSI code page; the notes are ASCII.
  std::wstring notes = AnsiToWide(sessionName_);
  const auto add = [&notes](const std::string& note) {
    if (!notes.empty()) notes += L", ";
    notes += storage::Widen(note);
  };
  if (book_->State().failed) add(kUnsavedNote);
  if (shelf_) {
    // Every other session whose results exist only in memory, by name (ANSI, as the settings file holds it).
    for (const std::string& name : shelf_->UnsavedElsewhere()) {
      if (!notes.empty()) notes += L", ";
      notes += storage::Widen(kUnsavedElsewhereNote) + AnsiToWide(name);
    }
  }
  if (!settings::IsEnabled(settings::kLogResult, settings::Reader::kTimer)) add(kNotLoggingNote);
  if (!lineNote_.empty()) add(lineNote_);
  if (!changeNote_.empty()) add(changeNote_);
  std::wstring caption = storage::Widen(L::kCaption);
  if (!notes.empty()) caption += kCaptionNoteSeparator + notes;
  if (caption == captionShown_) return;
  captionShown_ = caption;
  SetWindowTextW(Handle(), caption.c_str());
}

void MainWindow::ConfirmUnsavedResults() {
  ConfirmUnsavedResults(*book_);
  if (!shelf_) return;
  for (results::ResultBook* other : shelf_->OpenBooks()) {
    if (other != book_) ConfirmUnsavedResults(*other);
  }
}

void MainWindow::ConfirmUnsavedResults(results::ResultBook& book) {
  book.Flush();
  while (book.State().failed) {
    const results::SaveState& state = book.State();
    const int answer = ShowMessageBox(Handle(), UnsavedMessage(state.unsaved, book.Describe(), state.error),
                                      kAppTitle, kStyleRetryCancel);
    if (answer != IDRETRY) return;  // the user let them go
    book.Save();
    book.Flush();
  }
}

}  // namespace tw
