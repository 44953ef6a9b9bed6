#pragma once
// Where the statistics window was, how large, and whether it was shown, as kept
// in new keys of the settings file's [General Settings]. A missing key means
// the window was never used: hidden, centred, of its default size.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tw::stats {

inline constexpr const char* kShownKey = "Statistics";
inline constexpr const char* kLeftKey = "Statistics Left";
inline constexpr const char* kTopKey = "Statistics Top";
inline constexpr const char* kWidthKey = "Statistics Width";
inline constexpr const char* kHeightKey = "Statistics Height";
inline constexpr const char* kShown = "Shown";
inline constexpr const char* kHidden = "Hidden";

// The client area in twips, so a size survives a move to a screen of another DPI.
inline constexpr int kDefaultWidthTwips = 9600;   // 640 pixels at 96 DPI
inline constexpr int kDefaultHeightTwips = 7200;  // 480 pixels
inline constexpr int kMinimumWidthTwips = 7500;   // the table and the tallies side by side
inline constexpr int kMinimumHeightTwips = 5400;  // the table and a readable chart
inline constexpr int kLargestTwips = 144000;      // 100 inches: anything larger is a hand edit

struct StoredPlacement {
  bool shown = false;
  // The outer window's top-left corner in screen pixels; absent: centred.
  std::optional<int> left, top;
  int widthTwips = kDefaultWidthTwips;
  int heightTwips = kDefaultHeightTwips;
};

// A whole decimal number, nothing else: hand-edited nonsense is absent.
std::optional<int> ParseWholeNumber(std::string_view text);

// The stored placement; `read` gives a key's text, empty when the key is missing.
// Each value that is missing or makes no sense falls back on its own to the
// default; a corner needs both of its numbers.
StoredPlacement ReadPlacement(const std::function<std::string(const char* key)>& read);

}  // namespace tw::stats
