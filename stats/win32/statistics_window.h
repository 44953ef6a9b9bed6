#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "stats/statistics.h"
#include "stats/win32/chart_painter.h"
#include "toolkit/win32/back_buffer.h"
#include "toolkit/win32/form.h"

namespace tw {

// A window of its own beside the two designed ones: the averages cubers rank and
// track progress by, tallies of the whole log and of this session, and a chart of
// every solve. It reads the log the main window keeps and changes nothing of it.
// It never takes the keyboard from the timer: it is shown without activation, and
// the timer's keys pressed while it has the focus go to onTimerKey.
// Created without an owner (a top-level window of its own); the main window's
// unload unloads it.
class StatisticsWindow : public Form {
 public:
  StatisticsWindow();
  ~StatisticsWindow() override;

  // The whole log; the lines from sessionStart on were logged since the program started.
  void SetLog(const std::vector<std::string>& lines, std::size_t sessionStart);
  void OnAppended(const std::string& line);  // one new solve at the end: incremental
  void OnRemoved(std::size_t index, const std::vector<std::string>& linesAfter);  // Result panel Remove
  void OnReset();                                                                  // Result panel Reset
  // F3: loads the window if needed, shows it without activation or hides it, and
  // remembers its visibility.
  void Toggle();
  // At start-up: loads and shows it (without activation) if it was shown last time.
  void RestoreFromSettings();
  // Space, Escape, F1, F2 and F3 pressed while this window has the focus.
  std::function<void(int vk, int shift, bool repeat)> onTimerKey;

  // What the window shows, for the tests: a row's figures as written in the table
  // ("" while the row is not shown), the note on unread lines, the copied table.
  std::string CurrentText(int size) const;
  std::string BestText(int size) const;
  std::size_t UnreadLines() const { return statistics_.UnreadLines(); }
  std::string UnreadNote() const;
  std::string TableText() const;
  const stats::Statistics& Figures() const { return statistics_; }
  // Puts the table on the clipboard as plain text (Ctrl+C); false when the
  // clipboard could not be had.
  bool CopyTable();

 protected:
  bool OnLoad() override;
  void OnUnload() override;
  void OnKeyDown(int vk, int shift, bool repeat) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void ShowWithoutActivation();
  void HideAndReturnActivation();
  void ApplyStoredPlacement();
  void PlaceBesideTimer();
  void KeepOnScreen();
  void SavePlacement() const;
  void Refresh();
  void PaintWindow();
  void PaintFigures(HDC dc, int& chartTop);
  std::optional<stats::RowFigures> ShownRow(int size) const;

  stats::Statistics statistics_;
  std::size_t session_start_ = 0;
  stats::ChartPainter chart_;
  BackBuffer back_buffer_;
  HWND previous_active_ = nullptr;  // given the activation back when this window hides
  bool placed_ = false;             // the stored placement was applied since the load
};

}  // namespace tw
