#pragma once
// The stopwatch's phase and the rules that move it. The main window shows the phase
// and carries out the action a rule names; it never works the phase out from its
// timers. The start countdown ticks on its own beside the phase: switching the
// countdown off while it runs lets Space start timing at once, and the countdown's
// end then starts the count again.
#include <cstdint>
#include <optional>

#include "storage/settings_schema.h"

namespace tw::timing {

// Holding and Ready belong to hold to start: Space held (red digits), then held long
// enough (green); its release starts the solve.
enum class Phase { Idle, Countdown, Inspection, Running, Holding, Ready };

// What reached the timer: a Space key-down (or one of its auto-repeats), its key-up,
// another key that may stop a solve, Escape, the ready delay of a held Space passed,
// the countdown's last tick, or the one-hour limit of the display. With a competition
// timer as the input, what it says: hands on its pads not yet ready (one hand, or both
// not held long enough), both hands ready, its count started, stopped, or reset.
enum class Event {
  Space,
  SpaceRepeat,
  SpaceUp,
  OtherKey,
  Escape,
  HoldReady,
  CountdownDone,
  HourLimit,
  TimerHands,
  TimerReady,
  TimerStarted,
  TimerStopped,
  TimerReset,
};

// A stored switch as the timer reads it: exactly "Enabled", exactly "Disabled", or
// any other text (a hand edit), which the rules below treat as neither.
using Switch = settings::Switch;

struct State {
  Phase phase = Phase::Idle;
  bool countdownTicking = false;
  // Space is held during inspection: its release starts the solve, judged then.
  bool inspecting = false;
};

struct Settings {
  Switch countdown = Switch::kEnabled;
  bool inspection = false;
  // The ready delay of hold to start in milliseconds; none: a solve starts on the press.
  std::optional<int> holdDelayMs;
  bool anyKeyStops = false;
  // A competition timer is the clock: its pads start and stop solves, Space only
  // starts inspection, and its ready states show as hold to start's colours.
  bool competitionTimer = false;
};

// A stop this soon after the start is a double tap or a bouncing key, not a solve.
inline constexpr std::int64_t kShortestSolveMs = 200;

enum class Action {
  None,
  StartCountdown,       // the digit shows "3" again (also while it runs), a beep
  StartTiming,          // the count starts from this event's clock reading
  StartInspection,      // fifteen seconds of inspection start
  StartFromInspection,  // the solve starts, its penalty judged at this event
  StopAndRecord,        // the count stops at this event's clock reading and is logged
  CancelInspection,     // inspection ends, nothing logged
  StopCounter,          // the count stops, nothing logged (Escape, the one-hour limit)
  ClearDisplay,         // minutes, seconds and hundredths back to "00" (Escape)
  BeginHold,            // red digits; the ready delay starts (the next phase says if it is over)
  ShowReady,            // green digits: the release will start the solve
  CancelHold,           // released too soon (or Escape): black digits, nothing starts
  ShowHands,            // red digits for hands on a competition timer's pads, no delay of ours
};

struct Step {
  Action action = Action::None;
  State next;
  // Escape also clears the display when it stops a count or an inspection.
  bool clearDisplay = false;
};

// What the digits the user watches say about a held Space (or hands on a competition
// timer's pads): nothing, red (held, not yet long enough) or green (the release
// starts). Under inspection the inspection digit is the one watched, since it covers
// the count's digits; otherwise the count's digits wear the colour.
enum class HoldColour { None, Holding, Ready };
struct HoldCue {
  HoldColour colour = HoldColour::None;
  bool onInspection = false;
  friend constexpr bool operator==(const HoldCue&, const HoldCue&) = default;
};
HoldCue CueOf(const State& state);

// `runningMs`: how long the count has run at this event (only read while running).
Step Decide(const State& state, Event event, const Settings& settings, std::int64_t runningMs = kShortestSolveMs);

}  // namespace tw::timing
