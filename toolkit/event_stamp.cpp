#include "toolkit/event_stamp.h"

namespace tw {

std::int64_t EventStamps::CertainWaitMs(std::int64_t readMs, std::uint32_t stamp) {
  // Differences of the low 32 bits: right across either clock's wrap.
  const auto sinceStamp = static_cast<std::int32_t>(static_cast<std::uint32_t>(readMs) - stamp);
  if (!soonest_) {
    soonest_ = sinceStamp;
    return 0;
  }
  const auto longer = static_cast<std::int32_t>(static_cast<std::uint32_t>(sinceStamp) - static_cast<std::uint32_t>(*soonest_));
  if (longer > kLongestEventWaitMs) return 0;
  if (longer < 0) {
    soonest_ = sinceStamp;
    return 0;
  }
  return longer > step_ms_ ? longer - step_ms_ : 0;
}

}  // namespace tw
