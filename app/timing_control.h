#pragma once
#include <string>
#include <string_view>

namespace tw {

enum class SpaceAction { None, StartCountdown, StartTiming, StopAndRecord };

inline constexpr std::string_view kEnabled = "Enabled";
inline constexpr std::string_view kDisabled = "Disabled";

// What a Space key-down does, from the "Countdown" setting and the two timers.
// A held key's repeats only ever set a running countdown back to "3": they never
// start or stop a solve.
SpaceAction DecideSpace(std::string_view countdownSetting, bool counterEnabled, bool countdownRunning,
                        bool repeat);

struct LocalTime {
  int year, month, day, hour, minute, second;
};

// "#Date: DD/MM/YYYY | Time: HH:MM:SS | Result: hh:mm:ss:cc" with the user's
// date and time separators standing for "/" and ":" in the date and the time.
std::string BuildResultLine(const LocalTime& when, std::string_view dateSeparator, std::string_view timeSeparator,
                            std::string_view hour, std::string_view min, std::string_view sec,
                            std::string_view msec);

}  // namespace tw
