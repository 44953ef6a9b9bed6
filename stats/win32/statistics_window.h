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
#include "toolkit/win32/form.h"

namespace tw {

// A window of its own beside the two designed ones: the averages cubers rank and
// track progress by, tallies of the whole log and of this session, and a chart of
// every solve. It follows the log of record (a results::ResultBook) and changes
// nothing of it.
// The figures of a long log take a while to work out, so they are worked out only
// when asked for (EnsureFresh: once the program has painted, or at the first F3);
// until then changes to the book cost nothing here.
// It never takes the keyboard from the timer: it is shown without activation, and
// the timer's keys pressed while it has the focus go to onTimerKey.
// Created without an owner (a top-level window of its own); the main window's
// unload unloads it.
class StatisticsWindow : public Form, public results::BookWatcher {
 public:
  explicit StatisticsWindow(results::ResultBook& book);
  ~StatisticsWindow() override;

  // Follows another book from now on (a switch of session); the caption names the
  // session unless it is the first ("").
  void Attach(results::ResultBook& book, std::string sessionName = {});
  // The timer's window and what its keys do: the window opens beside it, stays under
  // it where they overlap, and passes Space, Escape and F1-F4 on to `onKey` only
  // while the timer's window is enabled (no modal question of ours is showing).
  // The form's window is looked up when needed, so it may be loaded later.
  void SetTimer(const Form& timer, std::function<void(int vk, int shift, bool repeat)> onKey);
  // The same with the timer's window itself, which must exist already.
  void SetTimer(HWND timer, std::function<void(int vk, int shift, bool repeat)> onKey);
  // Works the figures out if the book changed since they last were.
  void EnsureFresh();
  // F3: loads the window if needed, shows it without activation (figures fresh) or
  // hides it, and remembers its visibility.
  void Toggle();
  // At start-up: loads and shows it (without activation) if it was shown last time.
  void RestoreFromSettings();
  // Space, Escape and F1-F4 pressed while this window has the focus.
  std::function<void(int vk, int shift, bool repeat)> onTimerKey;

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

 private:
  void Recount();
  void ShowCaption();
  void ShowWithoutActivation();
  void HideAndReturnActivation();
  void ApplyStoredPlacement();
  void PlaceBesideTimer();
  bool CaptionOnScreen() const;
  void KeepUnderTimer(WINDOWPOS& position) const;
  HWND TimerWindow() const { return timer_ ? timer_() : nullptr; }
  bool TimerTakesKeys() const;
  void SavePlacement() const;
  void Refresh();
  void PaintWindow();
  void PaintFigures(HDC dc, int& chartTop);
  std::optional<stats::RowFigures> ShownRow(int size) const;

  results::ResultBook* book_;
  std::string sessionName_;
  stats::Statistics statistics_;
  bool fresh_ = false;  // the figures are those of the book as it is
  std::function<HWND()> timer_;  // the timer's window, or nullptr while there is none
  stats::ChartPainter chart_;
  BackBuffer back_buffer_;
  HWND previous_active_ = nullptr;  // given the activation back when this window hides
};

}  // namespace tw
