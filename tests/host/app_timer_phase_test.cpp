#include <gtest/gtest.h>

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
    const Step step = Decide(State{r.phase, r.ticking}, r.event, Settings{r.countdown, r.inspection});
    EXPECT_EQ(step.action, r.action);
    EXPECT_STREQ(Name(step.next.phase), Name(r.next));
    EXPECT_EQ(step.next.countdownTicking, r.nextTicking);
  }
}

TEST(TimerPhase, EscapeClearsTheDisplayWhenItStopsSomething) {
  EXPECT_TRUE(Decide(State{Phase::Running, false}, Event::Escape, {}).clearDisplay);
  EXPECT_TRUE(Decide(State{Phase::Inspection, false}, Event::Escape, {}).clearDisplay);
  EXPECT_FALSE(Decide(State{Phase::Running, false}, Event::HourLimit, {}).clearDisplay);
}

}  // namespace
}  // namespace tw::timing
