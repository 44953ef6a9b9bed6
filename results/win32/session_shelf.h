#pragma once
// Every session's log of record, and which one the windows show. WinMain owns the
// shelf; the windows are told when the current session changes and then follow the
// new session's book. A session's book is read the first time it is shown and kept
// (with its undo steps) while the program runs. The shelf follows the save state of
// every book it holds: a save of any of them tries again every other whose save failed.
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "results/book_watcher.h"
#include "results/result_book.h"
#include "results/session_list.h"
#include "results/win32/log_file_store.h"

namespace tw::results {

class SessionShelf : private BookWatcher {
 public:
  // `folder` ends in a backslash; the first session's book is given (WinMain's). Only
  // the book the main window shows first is read at start-up (by the window, at its
  // load): every other session's log is read when it is first shown or needed, and
  // one never read is never written.
  SessionShelf(std::string folder, ResultBook& first);
  SessionShelf(const SessionShelf&) = delete;
  SessionShelf& operator=(const SessionShelf&) = delete;
  ~SessionShelf() override;

  const SessionList& List() const { return list_; }
  const Session& Current() const { return list_.Current(); }
  ResultBook& CurrentBook();
  // The current session's book as it is, not read yet at start-up: the main window's
  // load reads it.
  ResultBook& StartBook();
  // A session's book by its number, read the first time it is asked for.
  ResultBook& BookOf(int number);
  bool IsFirst() const { return list_.Current().number == kFirstSession; }

  // Each tells `onSwitched` when the current session changed. The list is stored at once.
  bool Switch(std::size_t index);
  bool Step(int delta);  // the next (+1) or previous (-1) session, round the list
  // A new session (and a switch to it) under a number whose log is not there yet.
  std::optional<int> Add(std::string name, std::string event, int cubes = 0);
  // A new session after the others while the one shown stays shown (an import).
  std::optional<int> AddUnshown(std::string name, std::string event);
  bool Rename(int number, std::string name, std::string event, int cubes = 0);
  // The PLL or OLL cases the session drills ("" for all); the current session's
  // change tells `onSwitched`, so its scrambles follow.
  bool SetCases(int number, std::string cases);
  // Moves the session's log to the Recycle Bin (the caller asked first) and takes its
  // keys out of the settings file; the first session cannot be deleted. False, with
  // the list unchanged, when the log could not be moved.
  bool Remove(int number);
  // Every session's save on its way reaches the disk (closing).
  void FlushAll();
  // Whether any session holds results that could not be saved.
  bool AnyFailed() const;
  // Every book read so far, the first session's first when it was read: closing asks about each one
  // whose results could not be saved, not only the one shown.
  std::vector<ResultBook*> OpenBooks();
  // The names of the sessions other than the one shown whose results could not be saved.
  std::vector<std::string> UnsavedElsewhere() const;

  std::function<void()> onSwitched;
  // The save state of any book held changed (the caption names every unsaved session).
  std::function<void()> onSaveStateChanged;

 private:
  void Store();
  ResultBook* HeldBook(int number) const;
  // A log already there is another session's (or a stray one): a new session never takes it.
  bool LogThere(int number) const;
  void RetryFailedSaves(const ResultBook& saving);

  // Every change of a book goes through its save, which the shelf follows.
  void OnAppended(const ResultBook&) override {}
  void OnRemoved(const ResultBook&, std::size_t) override {}
  void OnReplaced(const ResultBook&, std::size_t) override {}
  void OnReloaded(const ResultBook&) override {}
  void OnSaveStateChanged(const ResultBook& book) override;
  ResultBook& Shelve(int number);  // the session's book, made but not read

  std::string folder_;
  SessionList list_;
  ResultBook& first_;
  struct Shelved {
    std::unique_ptr<LogFileStore> store;
    std::unique_ptr<ResultBook> book;
  };
  std::map<int, Shelved> books_;
  bool retrying_ = false;
};

}  // namespace tw::results
