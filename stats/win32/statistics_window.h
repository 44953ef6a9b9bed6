#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "results/book_watcher.h"
#include "results/result_book.h"
#include "stats/statistics.h"
#include "stats/win32/chart_painter.h"
#include "toolkit/win32/back_buffer.h"
#include "toolkit/win32/companion_window.h"

namespace tw {

// A window of its own beside the timer and the options window: the averages cubers rank and
// track progress by, tallies of the whole log and of the solves since the program
// started, and a chart of every solve. It follows the log of record (a results::ResultBook) and changes
// nothing of it.
// The figures of a long log take a while to work out, so they are worked out only
// when asked for (EnsureFresh: once the program has painted, or at the first F3);
// until then changes to the book cost nothing here.
// It is a companion of the timer's window (see CompanionWindow): F3 shows and hides it,
// and it never takes the keyboard from the timer.
class StatisticsWindow : public CompanionWindow, public results::BookWatcher {
 public:
  explicit StatisticsWindow(results::ResultBook& book);
  ~StatisticsWindow() override;

  // Follows another book from now on (a switch of session); the caption names the
  // session unless it is the first ("").
  void Attach(results::ResultBook& book, std::string sessionName = {});
  // Works the figures out if the book changed since they last were.
  void EnsureFresh();

  // What the window shows, for the tests: a row's figures as written in the table
  // ("" while the row is not shown), the note on unread lines, the copied figures.
  std::string CurrentText(int size) const;
  std::string BestText(int size) const;
  std::string UnreadNote() const;
  std::string FiguresText() const;
  const stats::Statistics& Figures() const { return statistics_; }
  bool Fresh() const { return fresh_; }
  // Puts every figure on the clipboard as plain text (Ctrl+C); false when the
  // clipboard could not be had.
  bool CopyFigures();

  // The book's changes (results::BookWatcher).
  void OnAppended(const results::ResultBook& book) override;
  void OnRemoved(const results::ResultBook& book, std::size_t index) override;
  void OnReplaced(const results::ResultBook& book, std::size_t index) override;
  void OnReloaded(const results::ResultBook& book) override;
  void OnSaveStateChanged(const results::ResultBook& book) override;

 protected:
  bool OnLoad() override;
  void OnUnload() override;
  void OnKeyDown(int vk, int shift, bool repeat) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  void BeforeShow() override { EnsureFresh(); }

 private:
  void Recount();
  void ShowCaption();
  void Refresh();
  void PaintWindow();
  void PaintFigures(HDC dc, int& chartTop);
  std::optional<stats::RowFigures> ShownRow(int size) const;

  // The figures of the book shown before, kept while that book is as it was: a
  // switch back and forth between two sessions counts neither again.
  struct Kept {
    const results::ResultBook* book = nullptr;
    std::uint64_t revision = 0;
    stats::Statistics figures;
  };

  results::ResultBook* book_;
  std::string sessionName_;
  stats::Statistics statistics_;
  bool fresh_ = false;  // the figures are those of the book as it is
  Kept previous_;
  stats::ChartPainter chart_;
  BackBuffer back_buffer_;
};

}  // namespace tw
