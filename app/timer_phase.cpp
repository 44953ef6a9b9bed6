#include "app/timer_phase.h"

namespace tw::timing {

namespace {

State With(const State& state, Phase phase) { return State{phase, state.countdownTicking}; }

Step OnSpace(const State& state, bool repeat, const Settings& settings) {
  switch (state.phase) {
    case Phase::Running:
      // Every started solve stops, whatever the countdown switch says by now.
      if (repeat) return Step{Action::None, state};
      return Step{Action::StopAndRecord, With(state, Phase::Idle)};
    case Phase::Inspection:
      if (repeat) return Step{Action::None, state};
      return Step{Action::StartFromInspection, With(state, Phase::Running)};
    case Phase::Idle:
      if (repeat) return Step{Action::None, state};
      // Inspection takes the countdown's place when it is on.
      if (settings.inspection && !state.countdownTicking) {
        return Step{Action::StartInspection, With(state, Phase::Inspection)};
      }
      break;
    case Phase::Countdown:
      break;
  }
  // Idle or counting down: the countdown switch decides. A held key only ever sets a
  // running countdown back to "3".
  switch (settings.countdown) {
    case Switch::kEnabled:
      if (repeat && !state.countdownTicking) return Step{Action::None, state};
      return Step{Action::StartCountdown, State{Phase::Countdown, true}};
    case Switch::kDisabled:
      if (repeat) return Step{Action::None, state};
      return Step{Action::StartTiming, With(state, Phase::Running)};
    case Switch::kOther:
      break;
  }
  return Step{Action::None, state};
}

}  // namespace

Step Decide(const State& state, Event event, const Settings& settings) {
  switch (event) {
    case Event::Space:
    case Event::SpaceRepeat:
      return OnSpace(state, event == Event::SpaceRepeat, settings);
    case Event::Escape:
      // Escape leaves a countdown running: it starts the count when it reaches zero.
      if (state.phase == Phase::Running) return Step{Action::StopCounter, With(state, Phase::Idle), true};
      if (state.phase == Phase::Inspection) return Step{Action::CancelInspection, With(state, Phase::Idle), true};
      return Step{Action::ClearDisplay, state};
    case Event::CountdownDone:
      // Whatever happened meanwhile, the countdown's end starts the count (again).
      if (!state.countdownTicking) return Step{Action::None, state};
      return Step{Action::StartTiming, State{Phase::Running, false}};
    case Event::HourLimit:
      if (state.phase != Phase::Running) return Step{Action::None, state};
      return Step{Action::StopCounter, With(state, Phase::Idle)};
  }
  return Step{Action::None, state};
}

}  // namespace tw::timing
