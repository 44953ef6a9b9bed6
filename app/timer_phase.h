#pragma once
// The stopwatch's phase and the rules that move it. The main window shows the phase
// and carries out the action a rule names; it never works the phase out from its
// timers. The start countdown ticks on its own beside the phase: switching the
// countdown off while it runs lets Space start timing at once, and the countdown's
// end then starts the count again, as the designed timer always did.
#include "storage/settings_schema.h"

namespace tw::timing {

enum class Phase { Idle, Countdown, Inspection, Running };

// What reached the timer: a Space key-down (or one of its auto-repeats), Escape, the
// countdown's last tick, or the one-hour limit of the display.
enum class Event { Space, SpaceRepeat, Escape, CountdownDone, HourLimit };

// A stored switch as the timer reads it: exactly "Enabled", exactly "Disabled", or
// any other text (a hand edit), which the designed rules treat as neither.
using Switch = settings::Switch;

struct State {
  Phase phase = Phase::Idle;
  bool countdownTicking = false;
};

struct Settings {
  Switch countdown = Switch::kEnabled;
  bool inspection = false;
};

enum class Action {
  None,
  StartCountdown,    // the digit shows "3" again (also while it runs), a beep
  StartTiming,       // the count starts from this event's clock reading
  StartInspection,   // fifteen seconds of inspection start
  StartFromInspection,  // the solve starts, its penalty judged at this event
  StopAndRecord,     // the count stops at this event's clock reading and is logged
  CancelInspection,  // inspection ends, nothing logged
  StopCounter,       // the count stops, nothing logged (Escape, the one-hour limit)
  ClearDisplay,      // minutes, seconds and hundredths back to "00" (Escape)
};

struct Step {
  Action action = Action::None;
  State next;
  // Escape also clears the display when it stops a count or an inspection.
  bool clearDisplay = false;
};

Step Decide(const State& state, Event event, const Settings& settings);

}  // namespace tw::timing
