#pragma once
// The sessions one import made, taken back together. The import is one step of undo
// in each session it made; once that step is taken back in any of them (Ctrl+Z while
// it is shown), every session the import made goes (each still holding just what the
// import put there has that step taken back too), and the session shown when the
// import ran is shown again. One import is remembered at a time: the next replaces it.
#include <cstddef>
#include <functional>
#include <map>
#include <vector>

#include "results/book_watcher.h"

namespace tw::results {
class SessionShelf;
}

namespace tw::exchange {

class ImportUndo : public results::BookWatcher {
 public:
  // `made`: each session's number and how many lines the import put in it;
  // `sessionsChanged` tells the list shown that sessions went.
  ImportUndo(results::SessionShelf& shelf, int shown, std::map<int, std::size_t> made,
             std::function<void()> sessionsChanged);
  // Books outlive no watcher of theirs and are never reached from here once the shelf
  // is gone: leaving them is Forget's, while they are there.
  ~ImportUndo() override = default;
  ImportUndo(const ImportUndo&) = delete;
  ImportUndo& operator=(const ImportUndo&) = delete;

  // Stops following the sessions' books.
  void Forget();

  void OnAppended(const results::ResultBook& book) override { Check(book); }
  void OnRemoved(const results::ResultBook& book, std::size_t /*index*/) override { Check(book); }
  void OnReplaced(const results::ResultBook& /*book*/, std::size_t /*index*/) override {}
  void OnReloaded(const results::ResultBook& book) override { Check(book); }
  void OnSaveStateChanged(const results::ResultBook& /*book*/) override {}

  // Takes the import back now (the books have told their watchers).
  void TakeBack();

 private:
  void Check(const results::ResultBook& book);

  results::SessionShelf& shelf_;
  int shown_;
  std::map<int, std::size_t> made_;
  std::function<void()> sessionsChanged_;
  bool pending_ = false;
};

// Remembers the last import, forgetting the one before.
void RememberImport(results::SessionShelf& shelf, int shown, std::map<int, std::size_t> made,
                    std::function<void()> sessionsChanged);
// Forgets the last import while its shelf is still there (the shelf is about to go,
// or another takes its place).
void ForgetImport();

}  // namespace tw::exchange
