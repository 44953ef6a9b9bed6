#pragma once
// When an input event happened, by the time stamp the system put on it: a millisecond
// tick count of its own, from an origin and with a lag behind the program's clock that
// are not known (under Wine it is the X server's time of the key, moved by whatever
// Wine made of it at the first key). What the stamps do tell is how much longer one
// event waited than another: the event handled soonest after its stamp is taken to
// have waited for nothing, and each other one to have waited that much longer, less
// one step of the stamp's clock (16 ms on Windows, 1 under Wine): never more than it did.
#include <cstdint>
#include <optional>

namespace tw {

// A stamp older than a key could have waited is not the key's (a message sent from
// code carries the stamp of whatever came before it) and counts for nothing.
inline constexpr std::int64_t kLongestEventWaitMs = 250;

class EventStamps {
 public:
  explicit EventStamps(std::int64_t stepMs) : step_ms_(stepMs) {}
  // The milliseconds by which an event stamped `stamp` (the tick count's low 32 bits)
  // certainly came before `readMs`, the program's clock read as it is handled.
  std::int64_t CertainWaitMs(std::int64_t readMs, std::uint32_t stamp);

 private:
  std::int64_t step_ms_;
  std::optional<std::int32_t> soonest_;  // the least clock read less stamp seen
};

}  // namespace tw
