#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>

namespace tw {

class Form;

// A window timer. Intervals of 10 ms and more use SetTimer; shorter ones use a
// 1 ms multimedia timer whose callback only posts a tick to the window, so every
// tick is handled on the UI thread and keeps coming inside modal loops and drags.
class Timer {
 public:
  Timer(Form& owner, unsigned intervalMs, std::function<void()> onTick);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // What makes the ticks while the timer is enabled. A precise timer falls back to the
  // window timer, and so to its 10-16 ms, when winmm or a multimedia timer cannot be had.
  enum class Source { None, Multimedia, WindowTimer };

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
  // Whether the interval asks for the multimedia timer; Running() says whether it got it.
  bool Precise() const { return interval_ < kSetTimerFloorMs; }
  Source Running() const { return source_; }
  // A precise timer then ticks only when the count of whole periods since the
  // origin (a NowMs() reading) changes: a display of hundredths needs no more,
  // and the UI thread wakes a tenth as often. A period of 0 ticks every time.
  void AlignTicks(std::int64_t originMs, unsigned periodMs);

  // Called by the owning form for its WM_TIMER or precise-tick message.
  void Dispatch();
  UINT_PTR Id() const { return id_; }

  static constexpr unsigned kSetTimerFloorMs = 10;

 private:
  static void CALLBACK PreciseCallback(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR);
  void Start();
  void Stop();

  Form& owner_;
  unsigned interval_;
  std::function<void()> onTick_;
  UINT_PTR id_;
  bool enabled_ = false;
  Source source_ = Source::None;
  UINT mmTimer_ = 0;
  std::atomic<bool> pending_{false};
  std::atomic<std::int64_t> origin_{0};
  std::atomic<unsigned> period_{0};
  std::atomic<std::int64_t> last_slot_{-1};
};

}  // namespace tw
