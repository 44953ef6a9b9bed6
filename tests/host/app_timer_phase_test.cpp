#include <gtest/gtest.h>

#include <initializer_list>

#include "app/timer_phase.h"

namespace tw::timing {
namespace {

struct Rule {
  Phase phase;
  bool ticking;
  Event event;
  Switch countdown;
  bool inspection;
  Action action;
  Phase next;
  bool nextTicking;
};

const char* Name(Phase p) {
  switch (p) {
    case Phase::Idle: return "Idle";
    case Phase::Countdown: return "Countdown";
    case Phase::Inspection: return "Inspection";
    case Phase::Running: return "Running";
    case Phase::Holding: return "Holding";
    case Phase::Ready: return "Ready";
  }
  return "?";
}

TEST(TimerPhase, EveryKeyInEveryPhase) {
  using enum Phase;
  using enum Event;
  using A = Action;
  constexpr Switch On = Switch::kEnabled, Off = Switch::kDisabled, Odd = Switch::kOther;
  const Rule rules[] = {
      // Idle: the countdown switch decides, inspection takes the countdown's place.
      {Idle, false, Space, On, false, A::StartCountdown, Countdown, true},
      {Idle, false, Space, Off, false, A::StartTiming, Running, false},
      {Idle, false, Space, Odd, false, A::None, Idle, false},
      {Idle, false, Space, Odd, true, A::StartInspection, Inspection, false},
      {Idle, false, Space, On, true, A::StartInspection, Inspection, false},
      {Idle, false, SpaceRepeat, On, false, A::None, Idle, false},
      {Idle, false, SpaceRepeat, Off, false, A::None, Idle, false},
      {Idle, false, SpaceRepeat, On, true, A::None, Idle, false},
      {Idle, false, Escape, On, false, A::ClearDisplay, Idle, false},
      {Idle, false, CountdownDone, On, false, A::None, Idle, false},
      {Idle, false, HourLimit, On, false, A::None, Idle, false},
      // Counting down: Space, held or not, sets it back to "3"; switched off meanwhile,
      // Space starts at once and the countdown keeps ticking.
      {Countdown, true, Space, On, false, A::StartCountdown, Countdown, true},
      {Countdown, true, SpaceRepeat, On, false, A::StartCountdown, Countdown, true},
      {Countdown, true, Space, Off, false, A::StartTiming, Running, true},
      {Countdown, true, SpaceRepeat, Off, false, A::None, Countdown, true},
      {Countdown, true, Space, Odd, false, A::None, Countdown, true},
      {Countdown, true, Space, On, true, A::StartCountdown, Countdown, true},
      {Countdown, true, Escape, On, false, A::ClearDisplay, Countdown, true},
      {Countdown, true, CountdownDone, On, false, A::StartTiming, Running, false},
      // Inspection: the next Space starts the solve; Escape cancels.
      {Inspection, false, Space, On, true, A::StartFromInspection, Running, false},
      {Inspection, false, Space, Odd, true, A::StartFromInspection, Running, false},
      {Inspection, false, Space, Off, false, A::StartFromInspection, Running, false},
      {Inspection, false, SpaceRepeat, On, true, A::None, Inspection, false},
      {Inspection, false, Escape, On, true, A::CancelInspection, Idle, false},
      {Inspection, false, HourLimit, On, true, A::None, Inspection, false},
      // Running: every started solve stops with Space, whatever the switch says now.
      {Running, false, Space, On, false, A::StopAndRecord, Idle, false},
      {Running, false, Space, Off, false, A::StopAndRecord, Idle, false},
      {Running, false, Space, Odd, false, A::StopAndRecord, Idle, false},
      {Running, false, Space, Odd, true, A::StopAndRecord, Idle, false},
      {Running, false, SpaceRepeat, On, false, A::None, Running, false},
      {Running, false, Escape, On, false, A::StopCounter, Idle, false},
      {Running, false, HourLimit, On, false, A::StopCounter, Idle, false},
      // Started at once while a countdown still ran: its end starts the count again,
      // and after a stop it starts a new one.
      {Running, true, CountdownDone, Off, false, A::StartTiming, Running, false},
      {Running, true, Space, Off, false, A::StopAndRecord, Idle, true},
      {Idle, true, CountdownDone, Off, false, A::StartTiming, Running, false},
      {Idle, true, Space, On, true, A::StartCountdown, Countdown, true},
  };
  for (const Rule& r : rules) {
    SCOPED_TRACE(testing::Message() << Name(r.phase) << (r.ticking ? "+ticking" : "") << " event "
                                    << static_cast<int>(r.event) << " countdown " << static_cast<int>(r.countdown)
                                    << (r.inspection ? " inspection" : ""));
    const Step step = Decide(State{r.phase, r.ticking}, r.event, Settings{r.countdown, r.inspection, std::nullopt, false});
    EXPECT_EQ(step.action, r.action);
    EXPECT_STREQ(Name(step.next.phase), Name(r.next));
    EXPECT_EQ(step.next.countdownTicking, r.nextTicking);
  }
}

struct HoldRule {
  Phase phase;
  bool inspecting;
  Event event;
  int delayMs;
  bool inspection;
  Action action;
  Phase next;
  bool nextInspecting;
};

TEST(TimerPhase, HoldToStartStartsOnTheReleaseOnceReady) {
  using enum Phase;
  using enum Event;
  using A = Action;
  const HoldRule rules[] = {
      // Press: red; the delay passed: green; release: the solve starts.
      {Idle, false, Space, 300, false, A::BeginHold, Holding, false},
      {Idle, false, Space, 0, false, A::BeginHold, Ready, false},
      {Holding, false, SpaceRepeat, 300, false, A::None, Holding, false},
      {Holding, false, Space, 300, false, A::None, Holding, false},
      {Holding, false, HoldReady, 300, false, A::ShowReady, Ready, false},
      {Ready, false, SpaceRepeat, 300, false, A::None, Ready, false},
      {Ready, false, HoldReady, 300, false, A::None, Ready, false},
      {Ready, false, SpaceUp, 300, false, A::StartTiming, Running, false},
      // Released early: nothing starts.
      {Holding, false, SpaceUp, 300, false, A::CancelHold, Idle, false},
      {Holding, false, Escape, 300, false, A::CancelHold, Idle, false},
      {Ready, false, Escape, 300, false, A::CancelHold, Idle, false},
      // The release after a stopping press starts nothing.
      {Running, false, Space, 300, false, A::StopAndRecord, Idle, false},
      {Idle, false, SpaceUp, 300, false, A::None, Idle, false},
      {Running, false, SpaceUp, 300, false, A::None, Running, false},
      // With inspection: the press starts it, a hold then starts the solve at its release.
      {Idle, false, Space, 300, true, A::StartInspection, Inspection, false},
      {Inspection, false, SpaceUp, 300, true, A::None, Inspection, false},
      {Inspection, false, Space, 300, true, A::BeginHold, Holding, true},
      {Holding, true, HoldReady, 300, true, A::ShowReady, Ready, true},
      {Holding, true, SpaceUp, 300, true, A::CancelHold, Inspection, false},
      {Ready, true, SpaceUp, 300, true, A::StartFromInspection, Running, false},
      {Ready, true, Escape, 300, true, A::CancelInspection, Idle, false},
  };
  for (const HoldRule& r : rules) {
    SCOPED_TRACE(testing::Message() << Name(r.phase) << (r.inspecting ? "+inspecting" : "") << " event "
                                    << static_cast<int>(r.event) << " delay " << r.delayMs);
    Settings settings;
    settings.inspection = r.inspection;
    settings.holdDelayMs = r.delayMs;
    const Step step = Decide(State{r.phase, false, r.inspecting}, r.event, settings);
    EXPECT_EQ(step.action, r.action);
    EXPECT_STREQ(Name(step.next.phase), Name(r.next));
    EXPECT_EQ(step.next.inspecting, r.nextInspecting);
  }
}

TEST(TimerPhase, AnyKeyStopsOnlyWhenAskedAndNoStopComesTooSoon) {
  Settings settings;
  const State running{Phase::Running, false, false};
  EXPECT_EQ(Decide(running, Event::OtherKey, settings).action, Action::None);
  settings.anyKeyStops = true;
  EXPECT_EQ(Decide(running, Event::OtherKey, settings).action, Action::StopAndRecord);
  EXPECT_EQ(Decide(State{}, Event::OtherKey, settings).action, Action::None);
  // A double tap or a bouncing key: the count goes on.
  EXPECT_EQ(Decide(running, Event::Space, settings, 199).action, Action::None);
  EXPECT_EQ(Decide(running, Event::OtherKey, settings, 5).action, Action::None);
  EXPECT_EQ(Decide(running, Event::Space, settings, 200).action, Action::StopAndRecord);
  // Escape is never a stop that logs.
  EXPECT_EQ(Decide(running, Event::Escape, settings, 5).action, Action::StopCounter);
}

// A competition timer is the clock: its pads start and stop, its ready states colour
// the digits, Space only starts inspection, and a solve it starts after inspection is
// judged then. Its words mean nothing while the keyboard is the input.
TEST(TimerPhase, ACompetitionTimerStartsAndStopsTheSolve) {
  using enum Phase;
  using enum Event;
  using A = Action;
  const HoldRule rules[] = {
      {Idle, false, Space, 0, false, A::None, Idle, false},
      {Idle, false, SpaceUp, 0, false, A::None, Idle, false},
      {Idle, false, TimerHands, 0, false, A::ShowHands, Holding, false},
      {Holding, false, TimerHands, 0, false, A::None, Holding, false},
      {Holding, false, TimerReady, 0, false, A::ShowReady, Ready, false},
      {Ready, false, TimerHands, 0, false, A::ShowHands, Holding, false},
      {Ready, false, SpaceUp, 0, false, A::None, Ready, false},
      {Ready, false, TimerStarted, 0, false, A::StartTiming, Running, false},
      {Idle, false, TimerStarted, 0, false, A::StartTiming, Running, false},  // a packet missed
      {Ready, false, TimerReset, 0, false, A::CancelHold, Idle, false},
      {Running, false, Space, 0, false, A::None, Running, false},
      {Running, false, OtherKey, 0, false, A::None, Running, false},
      {Running, false, TimerStarted, 0, false, A::None, Running, false},
      {Running, false, TimerStopped, 0, false, A::StopAndRecord, Idle, false},
      {Running, false, TimerReset, 0, false, A::StopCounter, Idle, false},
      {Running, false, Escape, 0, false, A::StopCounter, Idle, false},
      {Idle, false, TimerStopped, 0, false, A::None, Idle, false},
      // Inspection: Space starts it, the timer's start ends it and is judged then.
      {Idle, false, Space, 0, true, A::StartInspection, Inspection, false},
      {Inspection, false, Space, 0, true, A::None, Inspection, false},
      {Inspection, false, TimerHands, 0, true, A::ShowHands, Holding, true},
      {Holding, true, TimerReady, 0, true, A::ShowReady, Ready, true},
      {Ready, true, TimerReset, 0, true, A::CancelHold, Inspection, false},
      {Ready, true, TimerStarted, 0, true, A::StartFromInspection, Running, false},
      {Inspection, false, TimerStarted, 0, true, A::StartFromInspection, Running, false},
      {Ready, true, Escape, 0, true, A::CancelInspection, Idle, false},
  };
  for (const HoldRule& r : rules) {
    SCOPED_TRACE(testing::Message() << Name(r.phase) << (r.inspecting ? "+inspecting" : "") << " event "
                                    << static_cast<int>(r.event) << " inspection " << r.inspection);
    Settings settings;
    settings.inspection = r.inspection;
    settings.competitionTimer = true;
    const Step step = Decide(State{r.phase, false, r.inspecting}, r.event, settings);
    EXPECT_EQ(step.action, r.action);
    EXPECT_STREQ(Name(step.next.phase), Name(r.next));
    EXPECT_EQ(step.next.inspecting, r.nextInspecting);
  }
  for (Event event : {TimerHands, TimerReady, TimerStarted, TimerStopped, TimerReset}) {
    EXPECT_EQ(Decide(State{Running, false, false}, event, Settings{}).action, A::None);
    EXPECT_EQ(Decide(State{Idle, false, false}, event, Settings{}).action, A::None);
  }
}

// A held Space during inspection goes red, then green, on the inspection digit (which
// covers the count's digits), as it does on the count's digits without inspection;
// whatever ends the hold takes the colour away.
TEST(TimerPhase, TheHoldsColoursShowOnTheDigitsWatched) {
  using enum Event;
  struct Case {
    bool inspection;
    bool competitionTimer;
    std::initializer_list<Event> events;
    HoldColour colour;
    bool onInspection;
  };
  const Case cases[] = {
      {false, false, {Space}, HoldColour::Holding, false},
      {false, false, {Space, SpaceRepeat, HoldReady}, HoldColour::Ready, false},
      {false, false, {Space, HoldReady, SpaceUp}, HoldColour::None, false},
      {true, false, {Space}, HoldColour::None, false},
      {true, false, {Space, SpaceUp, Space}, HoldColour::Holding, true},
      {true, false, {Space, SpaceUp, Space, SpaceRepeat, HoldReady}, HoldColour::Ready, true},
      {true, false, {Space, SpaceUp, Space, SpaceUp}, HoldColour::None, false},
      {true, false, {Space, SpaceUp, Space, HoldReady, SpaceUp}, HoldColour::None, false},
      {true, false, {Space, SpaceUp, Space, HoldReady, Escape}, HoldColour::None, false},
      {true, true, {Space, TimerHands}, HoldColour::Holding, true},
      {true, true, {Space, TimerHands, TimerReady}, HoldColour::Ready, true},
      {false, true, {TimerHands, TimerReady}, HoldColour::Ready, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "inspection " << c.inspection << " timer " << c.competitionTimer << " after "
                                    << c.events.size() << " events");
    Settings settings;
    settings.inspection = c.inspection;
    settings.holdDelayMs = 300;
    settings.competitionTimer = c.competitionTimer;
    State state;
    for (Event event : c.events) state = Decide(state, event, settings).next;
    EXPECT_EQ(CueOf(state), (HoldCue{c.colour, c.onInspection}));
  }
}

TEST(TimerPhase, EscapeClearsTheDisplayWhenItStopsSomething) {
  EXPECT_TRUE(Decide(State{Phase::Running, false}, Event::Escape, {}).clearDisplay);
  EXPECT_TRUE(Decide(State{Phase::Inspection, false}, Event::Escape, {}).clearDisplay);
  EXPECT_FALSE(Decide(State{Phase::Running, false}, Event::HourLimit, {}).clearDisplay);
}

}  // namespace
}  // namespace tw::timing
