#pragma once
// The main window's layout. Lengths in twips, colours 0x00BBGGRR.
#include <array>
#include <cstdint>

namespace tw::layout {

// The window frame the layout's outer sizes include.
inline constexpr int kLayoutFrameWidth = 90;    // 45 left + 45 right
inline constexpr int kLayoutFrameHeight = 480;  // 435 title bar + 45 bottom

namespace main {

inline constexpr const char* kCaption = "Twistwatch";
inline constexpr int kClientWidth = 7800;
inline constexpr int kClientHeight = 2295;
inline constexpr std::uint32_t kBackColor = 0x00FFFFFF;
inline constexpr std::uint32_t kDigitColor = 0x00000000;
inline constexpr std::uint32_t kCountdownColor = 0x000000FF;

inline constexpr const char* kDigitFace = "Digital-7";
inline constexpr int kDigitCentiPoints = 9975;
inline constexpr int kCountdownCentiPoints = 10200;
inline constexpr int kBold = 700;

inline constexpr unsigned kCounterIntervalMs = 1;
inline constexpr unsigned kCountdownIntervalMs = 1000;

struct LabelRow {
  const char* name;
  const char* text;
  int left, top, width, height;
  bool visible;
  bool countdown;  // red on opaque white, 102 pt; the others black on transparent
  bool border;     // thin single-line border
};

// Front to back: an earlier row is drawn over the later ones.
inline constexpr std::array<LabelRow, 8> kLabels{{
    {"lbl3SecCD", "3", 120, 120, 7575, 2055, false, true, false},
    {"lblSeparator0", ":", 2280, 120, 495, 2055, false, false, false},
    {"lblHour", "00", 120, 120, 2055, 2055, false, false, false},
    {"lblSeparator2", ":", 5040, 120, 495, 2055, true, false, false},
    {"lblSeparator1", ":", 2280, 120, 495, 2055, true, false, false},
    {"lblSec", "00", 2880, 120, 2055, 2055, true, false, false},
    {"lblMSec", "00", 5640, 120, 2055, 2055, true, false, false},
    {"lblMin", "00", 120, 120, 2055, 2055, true, false, false},
}};

// The hidden result list is never shown; its place is kept for completeness.
inline constexpr int kResultListLeft = 120, kResultListTop = 1680, kResultListWidth = 1215,
                     kResultListHeight = 450;

// One column of the Show Hour layout. Widths are outer widths, frame included.
struct ShowHourColumn {
  bool hourVisible;
  int windowWidth;
  int hourLeft, minLeft, secLeft, msecLeft;
  int separator0Left, separator1Left, separator2Left;
  int countdownWidth;
};

inline constexpr ShowHourColumn kHourShown{true, 10650, 120, 2880, 5640, 8400, 2280, 5040, 7800, 10335};
inline constexpr ShowHourColumn kHourHidden{false, 7890, 120, 120, 2880, 5640, 2280, 2280, 5040, 7575};

inline constexpr const ShowHourColumn& ShowHourLayout(bool hourShown) {
  return hourShown ? kHourShown : kHourHidden;
}

// Added to the window: the scramble row that "Show Scramble" adds under the
// digits. The window grows by kScrambleRowHeight; the row spans the client width.
inline constexpr const char* kScrambleFace = "Tahoma";
inline constexpr int kScrambleCentiPoints = 1300;
inline constexpr int kScrambleTop = 2235;
inline constexpr int kScrambleRowHeight = 480;
// Below the scramble's last line when it takes more than one.
inline constexpr int kScrambleRowPadding = 165;
inline constexpr std::uint32_t kScrambleColor = 0x00303030;
// Shown until the first scramble is ready.
inline constexpr const char* kScramblePlaceholder = "Preparing a scramble...";
inline constexpr const char* kScrambleUnavailable = "Scrambles unavailable";

}  // namespace main
}  // namespace tw::layout
