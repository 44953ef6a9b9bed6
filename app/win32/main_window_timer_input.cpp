// The main window with a competition timer as its input: a listener hears the timer
// on a sound input, its packets move the digits and the timer phase, and the caption
// says when the line cannot be read.
#include <string>

#include "app/win32/main_window.h"
#include "stackmat/win32/capture_devices.h"
#include "storage/win32/settings.h"
#include "storage/win32/wide_path.h"
#include "toolkit/win32/services.h"

namespace tw {

namespace {

constexpr const char* kNoSignalNote = "no signal";
constexpr const char* kUnreadableNote = "signal unreadable";
// A running count that has not changed for this long has stopped, said or not.
constexpr std::int64_t kStalledMs = 1000;

// The id of the capture device the settings name; the system's default ("") when
// none is named or the one named is not there.
std::wstring DeviceIdNamed(const std::string& name) {
  if (name.empty()) return {};
  const std::wstring wanted = storage::Widen(name);
  for (const stackmat::Device& device : stackmat::CaptureDevices()) {
    if (device.name == wanted) return device.id;
  }
  return {};
}

}  // namespace

void MainWindow::ApplyTimerInput() {
  const bool wanted = settings::Read(settings::kTimerInput) == settings::kTimerInputStackmat;
  listener_.reset();
  tmrTimerStall.SetEnabled(false);
  // A solve under way was timed by the input being left: it is dropped, not finished by the other.
  if (wanted != competitionTimer_ && state_.phase != timing::Phase::Idle) Apply(timing::Event::Escape, NowMs());
  competitionTimer_ = wanted;
  timerRunning_ = false;
  lineNote_.clear();
  if (wanted && Handle()) {
    lineState_ = stackmat::LineState::kNoSignal;
    lineNote_ = kNoSignalNote;
    listener_ = std::make_unique<stackmat::Listener>();
    listener_->Start(Handle(), kTimerInputMessage, DeviceIdNamed(settings::Read(settings::kStackmatDevice)));
    tmrTimerStall.SetEnabled(true);
  }
  ShowCaption();
}

void MainWindow::OnTimerEvent(const stackmat::ListenerEvent& event) {
  using Kind = stackmat::ListenerEvent::Kind;
  switch (event.kind) {
    case Kind::kOpened:
      return;
    case Kind::kPacket:
      OnTimerPacket(event.packet, NowMs());
      return;
    case Kind::kLineState:
      lineState_ = event.state;
      break;
    case Kind::kStopped:
      lineState_ = stackmat::LineState::kNoSignal;
      break;
  }
  lineNote_ = lineState_ == stackmat::LineState::kNoSignal     ? kNoSignalNote
              : lineState_ == stackmat::LineState::kUnreadable ? kUnreadableNote
                                                                : "";
  ShowCaption();
}

void MainWindow::OnTimerPacket(const stackmat::Packet& packet, std::int64_t at) {
  using stackmat::Status;
  if (packet.ms != timerMs_) timerChangedAt_ = at;
  timerMs_ = packet.ms;
  // Only the timer's turn to running starts a solve: a count still running after Escape,
  // or frozen after a stall was logged, starts nothing until the timer is reset or stops.
  const bool started = packet.status == Status::kRunning && !timerRunning_;
  timerRunning_ = packet.status == Status::kRunning;
  switch (packet.status) {
    case Status::kRunning:
      if (started && state_.phase != timing::Phase::Running) Apply(timing::Event::TimerStarted, at);
      if (state_.phase == timing::Phase::Running) ShowElapsed(timerMs_);
      break;
    case Status::kStopped:
      Apply(timing::Event::TimerStopped, at);
      break;
    case Status::kReady:
      Apply(timing::Event::TimerReady, at);
      break;
    case Status::kLeft:
    case Status::kRight:
    case Status::kNotReady:
      Apply(timing::Event::TimerHands, at);
      break;
    case Status::kIdle: {
      const bool wasRunning = state_.phase == timing::Phase::Running;
      Apply(timing::Event::TimerReset, at);
      // Reset on the timer, reset here; a hand lifted from the pads leaves the last time.
      if (wasRunning || (packet.ms == 0 && state_.phase == timing::Phase::Idle)) ClearDisplay();
      break;
    }
  }
}

// Older timers never say they stopped: their count only stops changing. A line that
// goes flat (the cable pulled mid-solve) is no stop: nothing is logged from it.
void MainWindow::onTimerStallTick() {
  if (!competitionTimer_ || state_.phase != timing::Phase::Running) return;
  if (lineState_ != stackmat::LineState::kReading) return;
  const std::int64_t at = NowMs();
  if (at - timerChangedAt_ < kStalledMs) return;
  Apply(timing::Event::TimerStopped, at);
}

}  // namespace tw
