#include "toolkit/win32/timer.h"

#include <mmsystem.h>

#include "toolkit/win32/system_library.h"

#include <algorithm>
#include <utility>

#include "toolkit/win32/form.h"
#include "toolkit/win32/messages.h"
#include "toolkit/win32/services.h"

namespace tw {

namespace {
UINT_PTR g_next_timer_id = 1;
constexpr UINT kPreciseResolutionMs = 1;
}  // namespace

Timer::Timer(Form& owner, unsigned intervalMs, std::function<void()> onTick)
    : owner_(owner), interval_(intervalMs), onTick_(std::move(onTick)), id_(g_next_timer_id++) {
  owner_.timers_.push_back(this);
}

Timer::~Timer() {
  Stop();
  auto& timers = owner_.timers_;
  timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled) {
    Start();
  } else {
    Stop();
  }
}

namespace {

// winmm is loaded at the first precise timer, not at start-up (WinMain warms it up once
// the window is painted).
struct MultimediaTimers {
  decltype(&timeBeginPeriod) begin;
  decltype(&timeEndPeriod) end;
  decltype(&timeSetEvent) set;
  decltype(&timeKillEvent) kill;
  bool Usable() const { return begin && end && set && kill; }
};

const MultimediaTimers& Winmm() {
  static const MultimediaTimers timers{
      SystemFunction<decltype(&timeBeginPeriod)>("winmm.dll", "timeBeginPeriod"),
      SystemFunction<decltype(&timeEndPeriod)>("winmm.dll", "timeEndPeriod"),
      SystemFunction<decltype(&timeSetEvent)>("winmm.dll", "timeSetEvent"),
      SystemFunction<decltype(&timeKillEvent)>("winmm.dll", "timeKillEvent")};
  return timers;
}

}  // namespace

void Timer::Start() {
  HWND hwnd = owner_.Handle();
  if (!hwnd) return;
  if (!Precise()) {
    if (SetTimer(hwnd, id_, interval_, nullptr) != 0) source_ = Source::WindowTimer;
    return;
  }
  pending_ = false;
  last_slot_ = -1;
  const MultimediaTimers& mm = Winmm();
  if (mm.Usable()) {
    mm.begin(kPreciseResolutionMs);
    mmTimer_ = mm.set(kPreciseResolutionMs, 0, &Timer::PreciseCallback, reinterpret_cast<DWORD_PTR>(this),
                      TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    if (mmTimer_ == 0) mm.end(kPreciseResolutionMs);
  }
  if (mmTimer_ != 0) {
    source_ = Source::Multimedia;
    return;
  }
  // No multimedia timer to be had: fall back to the window timer's resolution.
  if (SetTimer(hwnd, id_, interval_, nullptr) != 0) source_ = Source::WindowTimer;
}

void Timer::AlignTicks(std::int64_t originMs, unsigned periodMs) {
  origin_ = originMs;
  period_ = periodMs;
  last_slot_ = -1;
}

void Timer::Stop() {
  if (mmTimer_ != 0) {
    Winmm().kill(mmTimer_);
    Winmm().end(kPreciseResolutionMs);
    mmTimer_ = 0;
  }
  if (HWND hwnd = owner_.Handle()) KillTimer(hwnd, id_);
  source_ = Source::None;
}

void CALLBACK Timer::PreciseCallback(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* self = reinterpret_cast<Timer*>(user);
  if (const unsigned period = self->period_; period != 0) {
    const std::int64_t slot = (MonotonicMs() - self->origin_) / period;
    if (slot == self->last_slot_.exchange(slot)) return;
  }
  // One tick message in the queue at a time: a busy UI thread gets no flood.
  if (self->pending_.exchange(true)) return;
  if (!PostMessageA(self->owner_.Handle(), kPreciseTickMessage, self->id_, 0)) self->pending_ = false;
}

void Timer::Dispatch() {
  pending_ = false;
  // A tick already queued when the timer was disabled is dropped.
  if (enabled_ && onTick_) onTick_();
}

}  // namespace tw
