#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "storage/settings_schema.h"
#include "toolkit/win32/form.h"
#include "toolkit/window_placement.h"

namespace tw {

// A window of its own beside the timer's (the statistics, the scramble picture). It
// never takes the keyboard from the timer: it is shown without activation, and the
// timer's keys (Space, Escape, F1-F4) pressed while it has the focus go to onTimerKey,
// only while the timer's window is enabled (no modal question of ours is showing).
// Escape and the close button put it away and give the activation back. It never
// covers the timer or another of them: without a place of its own (or with one that
// would cover ours) it opens beside the timer where nothing of ours is; docked to the
// timer, it moves with it when the timer grows or moves (placement::FollowTimer); a
// stored place is brought onto the work area at load. Where a user drags it over the
// timer, it stays under the timer. Created without an owner; the main window's unload
// unloads it. Whether it is shown and where it stands are kept in its own set of keys
// (settings::CompanionKeys), written whenever it is shown, hidden, moved or sized.
class CompanionWindow : public Form {
 public:
  // The timer's window and what its keys do. The form's window is looked up when
  // needed, so it may be loaded later.
  void SetTimer(const Form& timer, std::function<void(int vk, int shift, bool repeat)> onKey);
  ~CompanionWindow() override;
  // The same with the timer's window itself, which must exist already.
  void SetTimer(HWND timer, std::function<void(int vk, int shift, bool repeat)> onKey);
  // Its key (F3, F4): loads the window if needed, shows it without activation or hides
  // it, and keeps its place.
  void Toggle();
  // Loads and shows the window without activation when it was shown at the end of the
  // last run.
  void RestoreFromSettings();
  std::function<void(int vk, int shift, bool repeat)> onTimerKey;

 protected:
  // `toggleKey` toggles the window when no onTimerKey is wired; the keys' sizes give
  // the least client size, in twips.
  CompanionWindow(const FormDesign& design, int toggleKey, const settings::CompanionKeys& keys);

  // Before the window shows: what it draws is brought up to date.
  virtual void BeforeShow() {}

  // At load: the stored client size, then the stored corner when there is one and its
  // caption is on a screen, else beside the timer.
  void ApplyStoredPlace();
  void ShowWithoutActivation();
  void HideAndReturnActivation();
  void SavePlace() const;
  HWND TimerWindow() const { return timer_ ? timer_() : nullptr; }
  bool TimerTakesKeys() const;

  void OnKeyDown(int vk, int shift, bool repeat) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static void OnFormPlaceChanged(HWND window);
  static void FollowTimer(HWND timer, const RECT& before, const RECT& after);
  void PlaceBesideTimer();
  // Placed beside the timer again when it would cover the timer or another of ours.
  void KeepClear();
  bool Following(HWND timer) const;
  placement::Companion AsCompanion() const;
  std::vector<placement::Box> OthersShown() const;
  void MoveTo(const placement::Box& box);
  // Notes where the timer's window is, the place a later change of it is followed from.
  void SeeTimer();
  bool CaptionOnScreen() const;
  void KeepUnderTimer(WINDOWPOS& position) const;

  int toggleKey_;
  const settings::CompanionKeys* keys_;
  std::function<HWND()> timer_;  // the timer's window, or nullptr while there is none
  HWND previous_active_ = nullptr;  // given the activation back when this window hides
  RECT timerSeen_{};                // the timer's outer rectangle as last seen
};

}  // namespace tw
