#include "app/timer_phase.h"

namespace tw::timing {

namespace {

State With(const State& state, Phase phase) { return State{phase, state.countdownTicking, false}; }

Step BeginHold(const State& state, const Settings& settings, bool inspecting) {
  const Phase phase = *settings.holdDelayMs <= 0 ? Phase::Ready : Phase::Holding;
  return Step{Action::BeginHold, State{phase, state.countdownTicking, inspecting}};
}

Step OnSpace(const State& state, bool repeat, const Settings& settings) {
  // A held key's repeats never start or stop a solve.
  switch (state.phase) {
    case Phase::Running:
      // Every started solve stops, whatever the countdown switch says by now.
      if (repeat) return Step{Action::None, state};
      return Step{Action::StopAndRecord, With(state, Phase::Idle)};
    case Phase::Inspection:
      if (repeat) return Step{Action::None, state};
      if (settings.holdDelayMs) return BeginHold(state, settings, true);
      return Step{Action::StartFromInspection, With(state, Phase::Running)};
    case Phase::Holding:
    case Phase::Ready:
      return Step{Action::None, state};
    case Phase::Idle:
      if (repeat) return Step{Action::None, state};
      // Inspection takes the countdown's place when it is on.
      if (settings.inspection && !state.countdownTicking) {
        return Step{Action::StartInspection, With(state, Phase::Inspection)};
      }
      // So does hold to start.
      if (settings.holdDelayMs) return BeginHold(state, settings, false);
      break;
    case Phase::Countdown:
      break;
  }
  // Idle or counting down: the countdown switch decides. A held key only ever sets a
  // running countdown back to "3".
  switch (settings.countdown) {
    case Switch::kEnabled:
      if (repeat && !state.countdownTicking) return Step{Action::None, state};
      return Step{Action::StartCountdown, State{Phase::Countdown, true, false}};
    case Switch::kDisabled:
      if (repeat) return Step{Action::None, state};
      return Step{Action::StartTiming, With(state, Phase::Running)};
    case Switch::kOther:
      break;
  }
  return Step{Action::None, state};
}

Step OnSpaceUp(const State& state) {
  const Phase back = state.inspecting ? Phase::Inspection : Phase::Idle;
  if (state.phase == Phase::Holding) return Step{Action::CancelHold, State{back, state.countdownTicking, false}};
  if (state.phase != Phase::Ready) return Step{Action::None, state};
  return Step{state.inspecting ? Action::StartFromInspection : Action::StartTiming, With(state, Phase::Running)};
}

Step OnEscape(const State& state) {
  // Escape leaves a countdown running: it starts the count when it reaches zero.
  switch (state.phase) {
    case Phase::Running:
      return Step{Action::StopCounter, With(state, Phase::Idle), true};
    case Phase::Inspection:
      return Step{Action::CancelInspection, With(state, Phase::Idle), true};
    case Phase::Holding:
    case Phase::Ready:
      // Inspection held under the key ends with it.
      if (state.inspecting) return Step{Action::CancelInspection, With(state, Phase::Idle), true};
      return Step{Action::CancelHold, With(state, Phase::Idle), true};
    case Phase::Idle:
    case Phase::Countdown:
      break;
  }
  return Step{Action::ClearDisplay, state};
}

// A competition timer as the input: its pads start and stop the solve.
Step OnCompetitionTimer(const State& state, Event event) {
  const bool waiting = state.phase == Phase::Idle || state.phase == Phase::Inspection ||
                       state.phase == Phase::Holding || state.phase == Phase::Ready;
  const bool inspecting = state.phase == Phase::Inspection || state.inspecting;
  const Phase back = inspecting ? Phase::Inspection : Phase::Idle;
  switch (event) {
    case Event::TimerHands:
      if (!waiting || state.phase == Phase::Holding) return Step{Action::None, state};
      return Step{Action::ShowHands, State{Phase::Holding, state.countdownTicking, inspecting}};
    case Event::TimerReady:
      if (!waiting || state.phase == Phase::Ready) return Step{Action::None, state};
      return Step{Action::ShowReady, State{Phase::Ready, state.countdownTicking, inspecting}};
    case Event::TimerStarted:
      if (!waiting) return Step{Action::None, state};
      return Step{inspecting ? Action::StartFromInspection : Action::StartTiming, With(state, Phase::Running)};
    case Event::TimerStopped:
      if (state.phase != Phase::Running) return Step{Action::None, state};
      return Step{Action::StopAndRecord, With(state, Phase::Idle)};
    case Event::TimerReset:
      // Reset mid-solve: nothing is logged. Hands lifted without a start: back to waiting.
      if (state.phase == Phase::Running) return Step{Action::StopCounter, With(state, Phase::Idle), true};
      if (state.phase == Phase::Holding || state.phase == Phase::Ready) {
        return Step{Action::CancelHold, State{back, state.countdownTicking, false}};
      }
      return Step{Action::None, state};
    default:
      break;
  }
  return Step{Action::None, state};
}

}  // namespace

HoldCue CueOf(const State& state) {
  HoldColour colour = HoldColour::None;
  if (state.phase == Phase::Holding) colour = HoldColour::Holding;
  if (state.phase == Phase::Ready) colour = HoldColour::Ready;
  return HoldCue{colour, colour != HoldColour::None && state.inspecting};
}

Step Decide(const State& state, Event event, const Settings& settings, std::int64_t runningMs) {
  const bool tooSoon = state.phase == Phase::Running && runningMs < kShortestSolveMs;
  if (settings.competitionTimer) {
    switch (event) {
      case Event::Space:
        // Space only starts inspection; the timer's pads do the rest.
        if (state.phase == Phase::Idle && settings.inspection) {
          return Step{Action::StartInspection, With(state, Phase::Inspection)};
        }
        return Step{Action::None, state};
      case Event::SpaceRepeat:
      case Event::SpaceUp:
      case Event::OtherKey:
      case Event::HoldReady:
      case Event::CountdownDone:
      case Event::HourLimit:
        return Step{Action::None, state};
      case Event::Escape:
        return OnEscape(state);
      default:
        return OnCompetitionTimer(state, event);
    }
  }
  switch (event) {
    case Event::Space:
    case Event::SpaceRepeat:
      if (tooSoon) return Step{Action::None, state};
      return OnSpace(state, event == Event::SpaceRepeat, settings);
    case Event::SpaceUp:
      return OnSpaceUp(state);
    case Event::OtherKey:
      if (state.phase != Phase::Running || !settings.anyKeyStops || tooSoon) return Step{Action::None, state};
      return Step{Action::StopAndRecord, With(state, Phase::Idle)};
    case Event::Escape:
      return OnEscape(state);
    case Event::HoldReady:
      if (state.phase != Phase::Holding) return Step{Action::None, state};
      return Step{Action::ShowReady, State{Phase::Ready, state.countdownTicking, state.inspecting}};
    case Event::CountdownDone:
      // Whatever happened meanwhile, the countdown's end starts the count (again).
      if (!state.countdownTicking) return Step{Action::None, state};
      return Step{Action::StartTiming, State{Phase::Running, false, false}};
    case Event::HourLimit:
      if (state.phase != Phase::Running) return Step{Action::None, state};
      return Step{Action::StopCounter, With(state, Phase::Idle)};
    case Event::TimerHands:
    case Event::TimerReady:
    case Event::TimerStarted:
    case Event::TimerStopped:
    case Event::TimerReset:
      break;  // a competition timer heard while the keyboard is the input
  }
  return Step{Action::None, state};
}

}  // namespace tw::timing
