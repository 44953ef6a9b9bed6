#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

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
  Timer tmrCounter;
  Timer tmr3SecCD;

  std::int64_t StartTick = 0;
  std::int64_t ElapsedMs = 0;

  // Handlers, public so the tests can drive them as the window does.
  void onCounterTick();
  void onCountdownTick();
  void onKeyDown(int vk, int shift, bool repeat);
  // Writes the result log from lstTmpResult; false when it could not be saved.
  bool SaveTmpResultList();
  // Shows or hides the scramble row under the digits from the "Show Scramble" setting.
  void ApplyScrambleSetting();

  // Wiring to the options window (F1, F2, its unload with ours, a new logged line)
  // and to the process, set by WinMain; tests leave them empty.
  std::function<void()> onF1, onF2, onUnloadExtra, onResultLogged;
  bool quitOnUnload = false;

 protected:
  bool OnLoad() override;
  void OnUnload() override;
  void OnKeyDown(int vk, int shift, bool repeat) override;

 private:
  void StartCountdown();
  void StartTiming();
  void StopAndRecord();
  void ShowElapsed(std::int64_t elapsedMs);
  bool CheckSoundFiles();
  bool CheckDisplayFont();
};

// The program's one main window (created by WinMain, or by a test).
MainWindow& frmMain();
void SetMainWindow(MainWindow* window);

}  // namespace tw
