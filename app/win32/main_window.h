#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/elapsed_display.h"
#include "app/session_averages.h"
#include "app/timer_phase.h"
#include "app/wca_countdown.h"
#include "results/book_watcher.h"
#include "results/result_book.h"
#include "results/win32/session_shelf.h"
#include "scramble/win32/scramble_feed.h"
#include "stackmat/win32/listener.h"
#include "storage/settings_store.h"
#include "toolkit/win32/form.h"

namespace tw {

// The stopwatch window: one row of painted digits worked from the keyboard. It shows
// the timer's phase (timing::State, moved only by timing::Decide) and logs each solve
// into the result book it is given. The book, not this window, is the log of record:
// this window only appends to it and shows whether it is saved.
class MainWindow : public Form, public settings::SettingsWatcher, private results::BookWatcher {
 public:
  explicit MainWindow(results::ResultBook& book);
  ~MainWindow() override;

  // Lays the digit row out for the Show Hour setting: visibility, window width,
  // the lefts and the countdown digit's width. Centring is the caller's.
  void ApplyShowHourLayout(bool hourShown);
  // The settings store wrote a key: the row follows at once where the setting is
  // shown (Show Hour, Show Scramble, Log Result in the caption, the timer input); the
  // others are read at each Space.
  void OnSettingChanged(std::string_view key) override;
  // Readies the system's sound output on a worker when the next solve may sound.
  void PrepareSounds();

  Label& lbl3SecCD;
  Label& lblSeparator0;
  Label& lblHour;
  Label& lblSeparator2;
  Label& lblSeparator1;
  Label& lblSec;
  Label& lblMSec;
  Label& lblMin;
  // Added under the digits: the next scramble, when asked for.
  Label& lblScramble;
  // Added under the digits: the session's averages, when asked for.
  Label& lblAverages;
  Timer tmrCounter;
  Timer tmr3SecCD;
  // Competition inspection, when the "Inspection" setting asks for it: it takes the
  // countdown digit's place and is judged from the clock, not from its ticks.
  Timer tmrInspection;
  // Hold to start: notices when a held Space has been held for the ready delay.
  Timer tmrHold;
  // A competition timer whose count stopped changing without saying it stopped (timers
  // that never send a stop): noticed here.
  Timer tmrTimerStall;

  std::int64_t StartTick = 0;
  std::int64_t ElapsedMs = 0;

  // Handlers, public so the tests can drive them as the window does.
  void onCounterTick();
  void onCountdownTick();
  void onInspectionTick();
  void onHoldTick();
  void onKeyDown(int vk, int shift, bool repeat);
  void onKeyUp(int vk, int shift);
  // Asks, when results could not be saved, whether to try again before the program
  // closes; returns once they are saved or the user let them go. The book shown, and
  // every other session's the shelf holds.
  void ConfirmUnsavedResults();
  void ConfirmUnsavedResults(results::ResultBook& book);
  // The sessions (WinMain's shelf): Ctrl+PageDown and Ctrl+PageUp step through them,
  // the caption names every session whose results are not saved, and closing asks
  // about every book the shelf holds.
  void UseShelf(results::SessionShelf& shelf);
  // The shelf's current session takes the place of the one shown: its book, its name
  // in the caption, its event's scrambles and its last result on the digits.
  void ShowCurrentSession();
  // A note for the caption until the timer next acts ("2 sessions found again").
  void ShowNote(std::string note);
  // Shows or hides the averages line under the digits from the "Show Averages" setting.
  void ApplyAveragesSetting();
  // Shows or hides the scramble row under the digits from the "Show Scramble" setting.
  void ApplyScrambleSetting();
  // The scramble shown for the next solve ("" while none is ready or the row is off).
  const std::string& Scramble() const { return scramble_; }
  timing::Phase Phase() const { return state_.phase; }
  results::ResultBook& Book() { return *book_; }
  // Another session's book takes the place of the one shown; `sessionName` is shown
  // in the caption unless it is the first session (""). The digits show the book's
  // last result, or zeros when it has none.
  void SetBook(results::ResultBook& book, std::string sessionName);
  // The current session's event (a WCA id such as "222"; anything unknown is 3x3x3)
  // decides the scrambles shown; a Multi-Blind session numbers `cubes` scrambles.
  // `cases` is a training session's choice of PLL or OLL cases ("" for all).
  void OnSessionChanged(const std::string& event, int cubes = 0, const std::string& cases = {});
  scramble::Event ScrambleEvent() const { return event_; }

  // The competition timer heard on a sound input when the "Timer Input" setting asks for
  // it (a listener on the "Stackmat Device"); the keyboard otherwise.
  void ApplyTimerInput();
  // What the listener reports, as it reaches the window (public for the tests).
  void OnTimerEvent(const stackmat::ListenerEvent& event);
  void onTimerStallTick();
  bool CompetitionTimer() const { return competitionTimer_; }

  // Wiring to the other windows (F1, F2, F3, their unload with ours), set by WinMain;
  // tests leave them empty.
  std::function<void()> onF1, onF2, onF3, onF4, onUnloadExtra;
  // Every change of the scramble row: the event and the scramble shown (an empty text
  // while none is, or the row is off).
  std::function<void(scramble::Event, const scramble::EventScramble&)> onScrambleChanged;
  bool quitOnUnload = false;

 protected:
  bool OnLoad() override;
  void OnUnload() override;
  void OnKeyDown(int vk, int shift, bool repeat) override;
  void OnKeyUp(int vk, int shift) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // What the digits say to a screen reader: "ready", "inspection 8", "12.34".
  std::optional<std::wstring> AccessibleValue() const override;

 private:
  // The book's watcher: the save state, and the averages line while it is shown.
  void OnAppended(const results::ResultBook& book) override;
  void OnRemoved(const results::ResultBook& book, std::size_t index) override;
  void OnReplaced(const results::ResultBook& book, std::size_t index) override;
  void OnReloaded(const results::ResultBook& book) override;
  void OnSaveStateChanged(const results::ResultBook&) override { ShowCaption(); }

  void Apply(timing::Event event, std::int64_t at);
  timing::Settings ReadTimingSettings() const;
  static bool StopsWithAnyKey(int vk);
  void StartCountdown();
  void StartInspection(std::int64_t at);
  void StopInspection();
  void StartTiming(std::int64_t at);
  void StopAndRecord(std::int64_t at);
  void ClearDisplay();
  // The caption names what the user must know without a dialog: results not saved,
  // logging off, and what the last Ctrl+Z or Ctrl+Y did.
  void ShowCaption();
  void ShowHoldColour();
  void ShowDnfMark(bool shown);
  void SetLastPenalty(results::Penalty penalty);
  void UndoOrRedo(bool undo);
  bool ShowResultOf(std::string_view line);
  void ShowLastResult();
  std::string LastResultLine() const;
  void ShowElapsed(std::int64_t elapsedMs);
  void ShowFields(const DisplayFields& fields);
  void OnTimerPacket(const stackmat::Packet& packet, std::int64_t at);
  bool CheckSoundFiles();
  bool CheckDisplayFont();
  void NextScramble();
  void ShowScramble(scramble::EventScramble scramble, const std::string& rowText);
  void FitScrambleRow();
  static LabelDesign AveragesDesign();
  // The height the averages line adds under the digits (0 while it is off).
  int AveragesRowHeight() const;
  void ShowAverages();
  void LoadAverages(const results::ResultBook& book);
  bool CopyScramble();

  results::ResultBook* book_;
  results::SessionShelf* shelf_ = nullptr;
  std::string sessionName_;
  scramble::Event event_ = scramble::Event::k333;
  int cubes_ = scramble::kFewestMultiBlindPuzzles;  // a Multi-Blind attempt's scrambles
  std::string cases_;  // a training session's PLL or OLL cases
  timing::State state_;
  std::int64_t inspectionStart_ = 0;
  int inspectionCalls_ = 0;
  Penalty penalty_ = Penalty::None;
  // Made for the current event once the row is wanted, and again at a change of event.
  std::unique_ptr<scramble::ScrambleFeed> scrambleFeed_;
  bool scrambleShown_ = false;
  bool scrambleWanted_ = false;  // the row waits for the worker's next scramble
  std::string scramble_;
  std::string scrambleState_;  // the state scramble_ makes, for the scramble picture
  // The averages line's figures, kept only while it is shown.
  SessionAverages averages_;
  bool averagesShown_ = false;
  std::wstring captionShown_;
  std::string changeNote_;  // what the last undo or redo did, until the next Space
  bool dnfShown_ = false;
  std::int64_t holdStart_ = 0;
  // The worker's word that a scramble is ready; the competition timer's listener's
  // that it has something to take.
  static constexpr UINT kScrambleReadyMessage = WM_APP + 40;
  static constexpr UINT kTimerInputMessage = WM_APP + 42;

  // The competition timer: its listener, the time it shows, when that last changed and
  // how its line reads ("no signal", "signal unreadable" or "" in the caption).
  std::unique_ptr<stackmat::Listener> listener_;
  bool competitionTimer_ = false;
  std::int64_t timerMs_ = 0;
  std::int64_t timerChangedAt_ = 0;
  bool timerRunning_ = false;  // the last packet said running
  stackmat::LineState lineState_ = stackmat::LineState::kNoSignal;
  std::string lineNote_;
};

}  // namespace tw
