#include "stackmat/win32/listener.h"

#include <objbase.h>

#include <optional>

namespace tw::stackmat {

const char* CaptureApiName(CaptureApi api) {
  switch (api) {
    case CaptureApi::kNone: return "none";
    case CaptureApi::kWasapiRaw: return "WASAPI, raw stream";
    case CaptureApi::kWasapi: return "WASAPI";
    case CaptureApi::kWaveIn: return "waveIn";
  }
  return "none";
}

// Decodes on the capture thread and queues what changed.
class Listener::Sink : public CaptureSink {
 public:
  explicit Sink(Listener& listener) : listener_(listener) {}

  void OnOpened(CaptureApi api, int sampleRate, const FrameLayout& layout) override {
    layout_ = layout;
    decoder_.emplace(sampleRate);
    state_ = decoder_->State();
    ListenerEvent opened;
    opened.api = api;
    listener_.Push(opened);
    ListenerEvent state;
    state.kind = ListenerEvent::Kind::kLineState;
    state.state = *state_;
    listener_.Push(state);
  }

  void OnFrames(const void* frames, std::size_t count) override {
    mono_.clear();
    if (frames == nullptr) {
      mono_.assign(count, 0.0F);
    } else {
      AppendMono(layout_, frames, count, mono_);
    }
    decoder_->Feed(mono_.data(), mono_.size());
    // The line's change first: a window told the line reads shows the packets that follow.
    if (const LineState state = decoder_->State(); state != state_) {
      state_ = state;
      // A line that comes back reads anew: its first packet is news even if it repeats the last.
      if (state != LineState::kReading) last_.reset();
      ListenerEvent event;
      event.kind = ListenerEvent::Kind::kLineState;
      event.state = state;
      listener_.Push(event);
    }
    for (const Packet& packet : decoder_->TakePackets()) {
      if (last_ == packet) continue;
      last_ = packet;
      ListenerEvent event;
      event.kind = ListenerEvent::Kind::kPacket;
      event.packet = packet;
      listener_.Push(event);
    }
  }

 private:
  Listener& listener_;
  FrameLayout layout_;
  std::optional<Decoder> decoder_;
  std::optional<LineState> state_;
  std::optional<Packet> last_;
  std::vector<float> mono_;
};

Listener::Listener() = default;

Listener::~Listener() { Stop(); }

void Listener::Start(HWND window, UINT message, std::wstring deviceId) {
  Stop();
  const std::lock_guard<std::mutex> lock(mutex_);
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  window_ = window;
  message_ = message;
  stopping_ = false;
  thread_ = std::thread(&Listener::Run, this, std::move(deviceId));
}

void Listener::Stop() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!thread_.joinable()) return;
    stopping_ = true;
    SetEvent(stop_);
  }
  thread_.join();
  CloseHandle(stop_);
  stop_ = nullptr;
}

std::vector<ListenerEvent> Listener::TakeEvents() {
  const std::lock_guard<std::mutex> lock(mutex_);
  std::vector<ListenerEvent> taken;
  taken.swap(events_);
  posted_ = false;
  return taken;
}

// Under the lock, so once Stop has set stopping_ no message can reach a window that may be gone.
void Listener::Push(ListenerEvent event) {
  const std::lock_guard<std::mutex> lock(mutex_);
  events_.push_back(std::move(event));
  if (posted_ || stopping_) return;
  posted_ = PostMessageW(window_, message_, 0, 0) != FALSE;
}

namespace {

// A name that a debugger and a processor-time breakdown show. SetThreadDescription is
// newer than Windows 10's first release, so it is looked up, not linked.
void NameThisThread() {
  using Describe = HRESULT(WINAPI*)(HANDLE, PCWSTR);
  const auto describe = reinterpret_cast<Describe>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetThreadDescription")));
  if (describe != nullptr) describe(GetCurrentThread(), L"stackmat capture");
}

}  // namespace

void Listener::Run(std::wstring deviceId) {
  NameThisThread();
  // Nothing may leave a thread's function by an exception: that ends the program.
  try {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    Sink sink(*this);
    CaptureOutcome outcome = CaptureWithWasapi(deviceId, stop_, sink);
    if (outcome.end == CaptureOutcome::End::kCouldNotOpen) {
      const CaptureOutcome fallback = CaptureWithWaveIn(deviceId, stop_, sink);
      // When neither opens, WASAPI's reason is the one that says most.
      if (fallback.end != CaptureOutcome::End::kCouldNotOpen) outcome = fallback;
    }
    if (SUCCEEDED(init)) CoUninitialize();
    if (outcome.end == CaptureOutcome::End::kStopped) return;
    ListenerEvent stopped;
    stopped.kind = ListenerEvent::Kind::kStopped;
    stopped.why = outcome.why;
    Push(std::move(stopped));
  } catch (...) {
    ListenerEvent stopped;
    stopped.kind = ListenerEvent::Kind::kStopped;
    stopped.why = "the capture thread ran out of memory";
    Push(std::move(stopped));
  }
}

}  // namespace tw::stackmat
