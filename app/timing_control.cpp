#include "app/timing_control.h"

#include "app/elapsed_display.h"

namespace tw {

SpaceAction DecideSpace(std::string_view countdownSetting, bool counterEnabled, bool countdownRunning,
                        bool repeat) {
  SpaceAction action = SpaceAction::None;
  if (countdownSetting == kEnabled) {
    action = counterEnabled ? SpaceAction::StopAndRecord : SpaceAction::StartCountdown;
  } else if (countdownSetting == kDisabled) {
    action = counterEnabled ? SpaceAction::StopAndRecord : SpaceAction::StartTiming;
  }
  if (repeat && !(action == SpaceAction::StartCountdown && countdownRunning)) return SpaceAction::None;
  return action;
}

std::string BuildResultLine(const LocalTime& when, std::string_view dateSeparator, std::string_view timeSeparator,
                            std::string_view hour, std::string_view min, std::string_view sec,
                            std::string_view msec) {
  std::string line = "#Date: ";
  line += TwoDigits(when.day);
  line += dateSeparator;
  line += TwoDigits(when.month);
  line += dateSeparator;
  std::string year = std::to_string(when.year);
  if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
  line += year;
  line += " | Time: ";
  line += TwoDigits(when.hour);
  line += timeSeparator;
  line += TwoDigits(when.minute);
  line += timeSeparator;
  line += TwoDigits(when.second);
  line += " | Result: ";
  line += hour;
  line += ':';
  line += min;
  line += ':';
  line += sec;
  line += ':';
  line += msec;
  return line;
}

}  // namespace tw
