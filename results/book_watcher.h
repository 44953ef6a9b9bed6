#pragma once
#include <cstddef>

namespace tw::results {

class ResultBook;

// A window that shows a book follows it through this: every change of the book's
// lines or of its save state is told to every watcher, on the UI thread, after the
// book has changed. A watcher never changes the book from inside these calls.
class BookWatcher {
 public:
  virtual ~BookWatcher() = default;
  // One line added at the end.
  virtual void OnAppended(const ResultBook& book) = 0;
  // The line at `index` removed; the lines after it moved up by one.
  virtual void OnRemoved(const ResultBook& book, std::size_t index) = 0;
  // The line at `index` rewritten in place (a penalty or a comment).
  virtual void OnReplaced(const ResultBook& book, std::size_t index) = 0;
  // Anything else: a reset, an outside change merged, an undo of several lines.
  // The watcher reads the whole book again.
  virtual void OnReloaded(const ResultBook& book) = 0;
  // The save state changed (saved, failed, unread, how many unsaved).
  virtual void OnSaveStateChanged(const ResultBook& book) = 0;
};

}  // namespace tw::results
