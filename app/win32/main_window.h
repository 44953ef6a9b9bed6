#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "app/wca_countdown.h"
#include "scramble/win32/scramble_feed.h"
#include "toolkit/win32/controls.h"
#include "toolkit/win32/form.h"

namespace tw {

// The stopwatch window: one row of painted digits worked from the keyboard.
// Whether it is idle, counting down or running is read from its two timers.
class MainWindow : public Form {
 public:
  MainWindow();
  ~MainWindow() override;

  // Lays the digit row out for the Show Hour setting: visibility, window width,
  // the lefts and the countdown digit's width. Centring is the caller's.
  void ApplyShowHourLayout(bool hourShown);

  // The result log in memory, oldest first.
  ListBox lstTmpResult;

  Label& lbl3SecCD;
  Label& lblSeparator0;
  Label& lblHour;
  Label& lblSeparator2;
  Label& lblSeparator1;
  Label& lblSec;
  Label& lblMSec;
  Label& lblMin;
  // Beyond the designed window: the next scramble, under the digits when asked for.
  Label& lblScramble;
  Timer tmrCounter;
  Timer tmr3SecCD;
  // Competition inspection, when the "Inspection" setting asks for it: it takes the
  // countdown digit's place and is judged from the clock, not from its ticks.
  Timer tmrInspection;

  std::int64_t StartTick = 0;
  std::int64_t ElapsedMs = 0;

  // Handlers, public so the tests can drive them as the window does.
  void onCounterTick();
  void onCountdownTick();
  void onInspectionTick();
  void onKeyDown(int vk, int shift, bool repeat);
  // Writes the result log from lstTmpResult; false when it could not be saved. A log
  // that could not be read at start-up is read again first and kept in front of the
  // results logged since; while it stays unreadable nothing is written over it.
  bool SaveTmpResultList();
  // Deletes the result log (the Result panel's Reset, or its last entry removed).
  void DeleteResultLog();
  // Whether the latest change to the results could not be saved, and how many logged
  // results exist only in memory since the last save that worked.
  bool SaveFailed() const { return saveFailed_; }
  std::size_t UnsavedResultCount() const { return unsavedResults_; }
  // Whether Result.lst was there at start-up but could not be read (and is not yet merged).
  bool LogUnread() const { return logUnread_; }
  // Asks, when results could not be saved, whether to try again before the program
  // closes; returns once they are saved or the user let them go.
  void ConfirmUnsavedResults();
  // Shows or hides the scramble row under the digits from the "Show Scramble" setting.
  void ApplyScrambleSetting();
  // The scramble shown for the next solve ("" while none is ready or the row is off).
  const std::string& Scramble() const { return scramble_; }

  // Wiring to the options window (F1, F2, its unload with ours, a new logged line)
  // and to the process, set by WinMain; tests leave them empty.
  std::function<void()> onF1, onF2, onF3, onUnloadExtra, onResultLogged;
  // The log in memory changed beyond one new line: an unread log merged in front.
  std::function<void()> onResultsReloaded;
  // The Result panel removed one line, or all of them.
  std::function<void(std::size_t index)> onResultRemoved;
  std::function<void()> onResultsReset;
  bool quitOnUnload = false;

 protected:
  bool OnLoad() override;
  void OnUnload() override;
  void OnKeyDown(int vk, int shift, bool repeat) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnSpace(std::int64_t pressedAt, bool repeat);
  void StartCountdown();
  void OnInspectionSpace(std::int64_t pressedAt, bool repeat);
  void StopInspection();
  void StartTiming(std::int64_t pressedAt);
  void StopAndRecord(std::int64_t pressedAt);
  bool MergeUnreadLog(const std::string& path);
  void ShowSaveState();
  void ShowElapsed(std::int64_t elapsedMs);
  bool CheckSoundFiles();
  bool CheckDisplayFont();

  std::int64_t inspectionStart_ = 0;
  int inspectionCalls_ = 0;
  Penalty penalty_ = Penalty::None;
  void NextScramble();
  bool CopyScramble();
  scramble::ScrambleFeed scrambleFeed_;
  bool scrambleShown_ = false;
  bool scrambleWanted_ = false;  // the row waits for the worker's next scramble
  std::string scramble_;
  bool logUnread_ = false;
  bool saveFailed_ = false;
  bool captionMarked_ = false;
  unsigned long saveError_ = 0;
  std::size_t unsavedResults_ = 0;
};

// The program's one main window (created by WinMain, or by a test).
MainWindow& frmMain();
void SetMainWindow(MainWindow* window);

}  // namespace tw
