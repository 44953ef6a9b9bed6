#pragma once
// Every key of the settings file, declared once: its name, its type, what a missing
// key is read as and which values it takes. Values are compared letter for letter,
// case included: "enabled" is no switch's value.
#include <array>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tw::settings {

inline constexpr std::string_view kFileName = "Setting.ini";
// The one section; the banner lines stand before it, where the profile calls never look.
inline constexpr std::string_view kSection = "General Settings";

// ---- Switches: "Enabled" or "Disabled".
inline constexpr std::string_view kEnabledText = "Enabled";
inline constexpr std::string_view kDisabledText = "Disabled";

// A switch as read: anything but the two exact texts is kOther, which a reader may
// treat differently from both (the timer ignores a Space under an unknown
// "Countdown"; the options window leaves the check box in its layout table's state).
enum class Switch { kEnabled, kDisabled, kOther };

// The timer and the options window read a missing key differently (the timer
// counts down and logs when the keys are missing, the options window shows them off).
enum class Reader { kTimer, kOptionsWindow };

struct SwitchKey {
  std::string_view name;
  Switch missingForTimer;
  Switch missingForOptions;

  constexpr Switch Missing(Reader reader) const {
    return reader == Reader::kTimer ? missingForTimer : missingForOptions;
  }
};

constexpr Switch ParseSwitch(std::string_view text) {
  if (text == kEnabledText) return Switch::kEnabled;
  if (text == kDisabledText) return Switch::kDisabled;
  return Switch::kOther;
}

// The text a switch is written as.
constexpr std::string_view SwitchText(bool enabled) { return enabled ? kEnabledText : kDisabledText; }

inline constexpr SwitchKey kCountdown{"Countdown", Switch::kEnabled, Switch::kDisabled};
inline constexpr SwitchKey kLogResult{"Log Result", Switch::kEnabled, Switch::kDisabled};
inline constexpr SwitchKey kShowHour{"Show Hour", Switch::kDisabled, Switch::kDisabled};
// Beyond the first three: written only once used, a missing key is off.
inline constexpr SwitchKey kShowScramble{"Show Scramble", Switch::kDisabled, Switch::kDisabled};
inline constexpr SwitchKey kInspection{"Inspection", Switch::kDisabled, Switch::kDisabled};
// Any key at all, not only Space, stops a running solve.
inline constexpr SwitchKey kAnyKeyStops{"Any Key Stops", Switch::kDisabled, Switch::kDisabled};
// The line of averages under the digits.
inline constexpr SwitchKey kShowAverages{"Show Averages", Switch::kDisabled, Switch::kDisabled};

inline constexpr std::array<const SwitchKey*, 7> kSwitchKeys = {&kCountdown,    &kLogResult,  &kShowHour,
                                                                &kShowScramble, &kInspection, &kAnyKeyStops,
                                                                &kShowAverages};

// ---- Texts: one of a few values, or any text at all when `allowed` is empty.
struct TextKey {
  std::string_view name;
  std::string_view missing;  // what a missing key is read as
  std::span<const std::string_view> allowed;

  constexpr bool Allows(std::string_view text) const {
    if (allowed.empty()) return true;
    for (std::string_view value : allowed) {
      if (value == text) return true;
    }
    return false;
  }
};

// The options window's panel at its last Exit; empty when none was selected.
inline constexpr std::string_view kLastFrameSetup = "Setup";
inline constexpr std::string_view kLastFrameResult = "Result";
inline constexpr std::string_view kLastFrameAbout = "About";
inline constexpr std::string_view kLastFrameNone = "";
inline constexpr std::array<std::string_view, 4> kLastFrameValues = {kLastFrameSetup, kLastFrameResult,
                                                                     kLastFrameAbout, kLastFrameNone};
inline constexpr TextKey kLastFrame{"Last Frame", kLastFrameAbout, kLastFrameValues};

// Whether a companion window (the statistics, the scramble picture) was shown at the
// end of the last run.
inline constexpr std::string_view kShownText = "Shown";
inline constexpr std::string_view kHiddenText = "Hidden";
inline constexpr std::array<std::string_view, 2> kShownValues = {kShownText, kHiddenText};

// ---- Delays: "Disabled" (off) or a whole number of milliseconds. Stored as text, so
// they are read and written as a TextKey; Parse and Text turn that text into the
// delay and back.
struct DelayKey {
  TextKey text;
  int maximum;                  // a larger number is a hand edit and reads as off
  std::span<const int> offered; // the delays the options window lists

  // The delay in milliseconds, or nothing (off) for "Disabled", a missing key and
  // anything but plain decimal digits within [0, maximum].
  std::optional<int> Parse(std::string_view stored) const;
  // The text that stores a delay; off is "Disabled".
  std::string Text(std::optional<int> milliseconds) const;
};

// Hold Space this long before a solve may start (the timer shows it is ready); off,
// the solve starts at the press.
inline constexpr std::array<int, 4> kHoldToStartOffered = {0, 300, 550, 1000};
inline constexpr DelayKey kHoldToStart{{"Hold To Start", kDisabledText, {}}, 5000, kHoldToStartOffered};

// Where solves are timed: the keyboard, or a competition timer heard on a sound
// input. Missing means the keyboard.
inline constexpr std::string_view kTimerInputKeyboard = "Keyboard";
inline constexpr std::string_view kTimerInputStackmat = "Stackmat";
inline constexpr std::array<std::string_view, 2> kTimerInputValues = {kTimerInputKeyboard, kTimerInputStackmat};
inline constexpr TextKey kTimerInput{"Timer Input", kTimerInputKeyboard, kTimerInputValues};
// The sound input a competition timer is heard on, by the name Windows shows; missing
// or empty means the system's default input.
inline constexpr TextKey kStackmatDevice{"Stackmat Device", "", {}};

// ---- Whole numbers: decimal digits with an optional minus, nothing else, within
// [minimum, maximum]. Anything else reads as `fallback`, which may be nothing.
struct NumberKey {
  std::string_view name;
  int minimum;
  int maximum;
  std::optional<int> fallback;
};

// A value stored by hand or by an older run that makes no sense reads as the
// key's fallback; so does a missing key (the empty text).
std::optional<int> ParseNumber(const NumberKey& key, std::string_view text);

// ---- A companion window's place, one set of keys for each window: whether it was
// shown, its outer top-left corner in screen pixels (any monitor, so negative too;
// absent: placed beside the timer), and its client size in twips, so a size survives a
// move to a screen of another DPI. A size below the window's least or past 100 inches
// is a hand edit and reads as the window's first size.
inline constexpr int kLargestWindowTwips = 144000;

struct CompanionKeys {
  TextKey shown;
  NumberKey left;
  NumberKey top;
  NumberKey width;   // its minimum and fallback are the window's least and first width
  NumberKey height;  // the same for the height
};

constexpr NumberKey CornerKey(std::string_view name) {
  return NumberKey{name, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), std::nullopt};
}
constexpr NumberKey SizeKey(std::string_view name, int minimumTwips, int firstTwips) {
  return NumberKey{name, minimumTwips, kLargestWindowTwips, firstTwips};
}

inline constexpr int kStatisticsDefaultWidthTwips = 9600;   // 640 pixels at 96 DPI
inline constexpr int kStatisticsDefaultHeightTwips = 7200;  // 480 pixels
inline constexpr int kStatisticsMinimumWidthTwips = 7500;   // the table and the tallies side by side
inline constexpr int kStatisticsMinimumHeightTwips = 5400;  // the table and a readable chart
inline constexpr CompanionKeys kStatisticsWindow{
    TextKey{"Statistics", kHiddenText, kShownValues},
    CornerKey("Statistics Left"),
    CornerKey("Statistics Top"),
    SizeKey("Statistics Width", kStatisticsMinimumWidthTwips, kStatisticsDefaultWidthTwips),
    SizeKey("Statistics Height", kStatisticsMinimumHeightTwips, kStatisticsDefaultHeightTwips),
};

inline constexpr int kScramblePictureDefaultWidthTwips = 4800;   // 320 pixels at 96 DPI
inline constexpr int kScramblePictureDefaultHeightTwips = 3600;  // 240 pixels
inline constexpr int kScramblePictureMinimumTwips = 1800;        // 120 pixels: still a readable net
inline constexpr CompanionKeys kScramblePictureWindow{
    TextKey{"Scramble Picture", kHiddenText, kShownValues},
    CornerKey("Scramble Left"),
    CornerKey("Scramble Top"),
    SizeKey("Scramble Width", kScramblePictureMinimumTwips, kScramblePictureDefaultWidthTwips),
    SizeKey("Scramble Height", kScramblePictureMinimumTwips, kScramblePictureDefaultHeightTwips),
};

inline constexpr std::array<const TextKey*, 6> kTextKeys = {
    &kLastFrame,  &kStatisticsWindow.shown, &kHoldToStart.text,
    &kTimerInput, &kStackmatDevice,         &kScramblePictureWindow.shown};

// How many cubes a Multi-Blind session's scramble row numbers: the fewest an attempt
// may have, up to a hundred.
inline constexpr NumberKey kMultiBlindCubes{"Multi-Blind Cubes", 2, 100, 2};

inline constexpr std::array<const NumberKey*, 9> kNumberKeys = {
    &kStatisticsWindow.left,      &kStatisticsWindow.top,   &kStatisticsWindow.width,
    &kStatisticsWindow.height,    &kScramblePictureWindow.left, &kScramblePictureWindow.top,
    &kScramblePictureWindow.width, &kScramblePictureWindow.height, &kMultiBlindCubes};

// ---- The sessions: keys written only once a session is made or changed. The numbers
// of the sessions in order ("1,2,5"), the one shown, and for each session n the keys
// "Session <n> Name", "Session <n> Event" and, for a Multi-Blind session,
// "Session <n> Cubes" (its number of cubes, within kMultiBlindCubes' range; missing,
// the older global "Multi-Blind Cubes" is the count) and, for a PLL or OLL training
// session that drills only some cases, "Session <n> Cases" (their names, "Ua,Ub,T";
// missing or damaged, every case).
inline constexpr std::string_view kSessions = "Sessions";
inline constexpr std::string_view kCurrentSession = "Current Session";

struct SessionKey {
  std::string_view field;  // "Name" names the key "Session <n> Name"

  std::string For(int number) const;
  // The number in a key of this kind written as For writes it (the letters in any
  // case, as the profile calls compare them), or nothing.
  std::optional<int> NumberIn(std::string_view key) const;
};
inline constexpr SessionKey kSessionName{"Name"};
inline constexpr SessionKey kSessionEvent{"Event"};
inline constexpr SessionKey kSessionCubes{"Cubes"};
inline constexpr SessionKey kSessionCases{"Cases"};
inline constexpr std::array<const SessionKey*, 4> kSessionKeys = {&kSessionName, &kSessionEvent, &kSessionCubes,
                                                                  &kSessionCases};

// ---- The file as first written: these keys, in this order, with these values.
struct DefaultEntry {
  std::string_view key;
  std::string_view value;
};
inline constexpr std::array<DefaultEntry, 4> kDefaultFile = {{
    {kCountdown.name, kEnabledText},
    {kLogResult.name, kEnabledText},
    {kShowHour.name, kDisabledText},
    {kLastFrame.name, kLastFrameAbout},
}};

}  // namespace tw::settings
