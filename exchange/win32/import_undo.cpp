#include "exchange/win32/import_undo.h"

#include <windows.h>

#include <memory>
#include <utility>

#include "results/result_book.h"
#include "results/win32/session_shelf.h"

namespace tw::exchange {

namespace {

std::unique_ptr<ImportUndo> g_last;
UINT_PTR g_timer = 0;

// A watcher never changes a book from inside its calls: the sessions go once the
// message loop runs again, through a thread timer of no delay.
void CALLBACK OnTakeBackTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_timer = 0;
  if (g_last) g_last->TakeBack();
}

}  // namespace

ImportUndo::ImportUndo(results::SessionShelf& shelf, int shown, std::map<int, std::size_t> made,
                       std::function<void()> sessionsChanged)
    : shelf_(shelf), shown_(shown), made_(std::move(made)), sessionsChanged_(std::move(sessionsChanged)) {
  for (const auto& [number, lines] : made_) shelf_.BookOf(number).AddWatcher(this);
}

void ImportUndo::Forget() {
  for (const auto& [number, lines] : made_) {
    if (shelf_.List().IndexOf(number)) shelf_.BookOf(number).RemoveWatcher(this);
  }
  made_.clear();
}

void ImportUndo::Check(const results::ResultBook& book) {
  // The import's step taken back, and nothing done in the book since.
  if (pending_ || book.Size() != 0 || book.CanUndo() || !book.CanRedo()) return;
  pending_ = true;
  g_timer = SetTimer(nullptr, 0, 0, OnTakeBackTimer);
}

void ImportUndo::TakeBack() {
  std::map<int, std::size_t> made = std::move(made_);
  made_.clear();
  for (const auto& [number, lines] : made) {
    if (!shelf_.List().IndexOf(number)) continue;  // deleted meanwhile
    results::ResultBook& book = shelf_.BookOf(number);
    book.RemoveWatcher(this);
    // A session changed since the import keeps what the user did there.
    const bool untouched = book.Size() == lines && book.CanUndo() && !book.CanRedo();
    if (untouched) book.Undo();
    if (book.Size() == 0) shelf_.Remove(number);
  }
  if (const auto index = shelf_.List().IndexOf(shown_)) shelf_.Switch(*index);
  if (sessionsChanged_) sessionsChanged_();
}

void ForgetImport() {
  if (g_last) g_last->Forget();
  g_last.reset();
  if (g_timer != 0) KillTimer(nullptr, g_timer);
  g_timer = 0;
}

void RememberImport(results::SessionShelf& shelf, int shown, std::map<int, std::size_t> made,
                    std::function<void()> sessionsChanged) {
  ForgetImport();
  g_last = std::make_unique<ImportUndo>(shelf, shown, std::move(made), std::move(sessionsChanged));
}

}  // namespace tw::exchange
