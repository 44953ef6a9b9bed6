#include "app/elapsed_display.h"

namespace tw {

std::string TwoDigits(std::int64_t value) {
  std::string text = std::to_string(value);
  if (text.size() < 2) text.insert(0, 2 - text.size(), '0');
  return text;
}

DisplayFields FieldsFor(std::int64_t elapsedMs) {
  // A clock reading from before the start (never expected) shows zero, not garbage.
  if (elapsedMs < 0) elapsedMs = 0;
  const std::int64_t seconds = elapsedMs / 1000;
  const std::int64_t minutes = seconds / 60;
  return DisplayFields{TwoDigits(minutes / 60), TwoDigits(minutes), TwoDigits(seconds % 60),
                       TwoDigits((elapsedMs % 1000) / 10), minutes > kLimitMinutes};
}

DisplayFields ResultFieldsFor(std::int64_t resultMs) {
  DisplayFields f = FieldsFor(resultMs);
  const std::int64_t minutes = (resultMs < 0 ? 0 : resultMs) / 60'000;
  f.min = TwoDigits(minutes % 60);
  f.limitReached = false;
  return f;
}

}  // namespace tw
