#pragma once
// The options window as designed. Lengths in twips, colours 0x00BBGGRR.
#include <array>
#include <cstdint>
#include <string_view>

#include "resources/links.h"
#include "resources/main_layout.h"

namespace tw::layout::options {

inline constexpr const char* kDesignedCaption = "?";
inline constexpr int kClientWidth = 5895;
inline constexpr int kClientHeight = 5085;
inline constexpr std::uint32_t kBackColor = 0x00FFFFFF;
inline constexpr std::uint32_t kLinkColor = 0x00FF0000;

inline constexpr const char* kFontFace = "Tahoma";
inline constexpr int kFontCentiPoints = 825;
inline constexpr int kTitleCentiPoints = 2025;
inline constexpr int kRegular = 400;
inline constexpr int kBold = 700;

// The About picture is a 120 x 40 animation shown still, stretched to its control.
inline constexpr int kPicturePixelWidth = 96;
inline constexpr int kPicturePixelHeight = 32;

inline constexpr const char* kTitle = "Twistwatch";
inline constexpr const char* kVersion = "Version 1.0";
inline constexpr const char* kCredit = "Made with care for speedcubers";
inline constexpr const char* kNotice = "Free software, provided as is, without warranty";
inline constexpr const char* kDescription =
    "This software used to count 'how long you solve the 3x3x3 Rubik's Cube'. Like a stopwatch, "
    "though. But, Twistwatch focussed on usability. Simply hit the 'Space' on your keyboard to "
    "start the timer, hit once agan to stop. Otherwise, hit 'Escape' to reset the counter.";

enum class Kind { OptionButton, CommandButton, Frame, Label, LinkLabel, Picture, CheckBox, ListBox };
enum class Align { Left, Center, Right };

struct ControlRow {
  const char* name;
  Kind kind;
  const char* container;  // "" for the window's client area
  const char* caption;
  int left, top, width, height;  // from the container's top-left corner
  int tab;                       // tab position; -1 takes no part in the numbering
  Align align;
  bool whiteBack;  // designed white background (frames, check boxes)
  bool checked;    // designed state of a check box
  bool titleFont;  // "Tahoma" 20.25 pt bold instead of the window's font
};

inline constexpr int kControlCount = 23;

// Container by container, front first within each, as the window is stacked.
inline constexpr std::array<ControlRow, kControlCount> kControls{{
    {"optAbout", Kind::OptionButton, "", "A&bout", 3960, 120, 1815, 375, 6, Align::Center, false, false, false},
    {"optResult", Kind::OptionButton, "", "&Result", 2040, 120, 1815, 375, 5, Align::Center, false, false, false},
    {"optSetup", Kind::OptionButton, "", "&Setup", 120, 120, 1815, 375, 4, Align::Center, false, false, false},
    {"cmdExit", Kind::CommandButton, "", "E&xit", 120, 4560, 5655, 375, 3, Align::Center, false, false, false},
    {"fraAbout", Kind::Frame, "", "About", 120, 600, 5655, 3855, 10, Align::Left, true, false, false},
    {"fraSetup", Kind::Frame, "", "Setup", 120, 600, 5655, 1215, 0, Align::Left, true, false, false},
    {"fraResult", Kind::Frame, "", "Result", 120, 600, 5655, 2895, 7, Align::Left, true, false, false},
    {"Frame1", Kind::Frame, "fraAbout", "", 120, 720, 5415, 1575, 13, Align::Left, true, false, false},
    {"lblURL2", Kind::LinkLabel, "fraAbout", links::kWebSite, 120, 3480, 5415, 255, 19, Align::Center, false, false, false},
    {"Label7", Kind::Label, "fraAbout", kNotice, 120, 3240, 5415, 255, 18, Align::Center, false, false, false},
    {"lblURL1", Kind::LinkLabel, "fraAbout", links::kHomePage, 120, 2880, 5415, 255, 17, Align::Center, false, false, false},
    {"lblURL3", Kind::LinkLabel, "fraAbout", links::kContactEmail, 120, 2640, 5415, 255, 16, Align::Center, false, false, false},
    {"Label4", Kind::Label, "fraAbout", kCredit, 120, 2400, 5415, 255, 15, Align::Center, false, false, false},
    {"Label2", Kind::Label, "fraAbout", kVersion, 4080, 480, 1095, 255, 12, Align::Center, false, false, false},
    {"Label1", Kind::Label, "fraAbout", kTitle, 120, 240, 5415, 495, 11, Align::Center, false, false, true},
    {"Label3", Kind::Label, "Frame1", kDescription, 120, 240, 3615, 1215, 14, Align::Right, false, false, false},
    {"Image1", Kind::Picture, "Frame1", "", 3840, 550, 1440, 480, -1, Align::Left, false, false, false},
    // Designed checked: the likelier reading of the box's one extra designed setting.
    {"chk3SecCD", Kind::CheckBox, "fraSetup", "3 seconds &countdown before start the counter", 3240, 360, 2175, 495, 20, Align::Left, true, true, false},
    {"chkShowHour", Kind::CheckBox, "fraSetup", "Show &hour", 240, 720, 1095, 255, 2, Align::Left, true, false, false},
    {"chkLogResult", Kind::CheckBox, "fraSetup", "&Log result automatically", 240, 360, 2055, 255, 1, Align::Left, true, false, false},
    {"cmdRemove", Kind::CommandButton, "fraResult", "Remove &Selected", 120, 2350, 2655, 375, 21, Align::Center, false, false, false},
    {"cmdReset", Kind::CommandButton, "fraResult", "R&eset", 2880, 2350, 2655, 375, 9, Align::Center, false, false, false},
    {"lstResult", Kind::ListBox, "fraResult", "", 120, 240, 5415, 2010, 8, Align::Left, false, false, false},
}};

// ---- Beyond the designed layout ----------------------------------------------------
// Controls the design does not have, for features that are off until switched on. They
// sit in free room of their frame (which keeps its designed size) and come after every
// designed control in the tab order; nothing designed above moves for them.
//
// In fraSetup: "Show scramble" in the room right of chkShowHour on its row, the
// designed gap of 105 from that box's designed edge and from the right column;
// "WCA inspection" in the right column below the two-line chk3SecCD, 45 below it and
// 60 above the frame's bottom.
inline constexpr int kAddedControlCount = 2;
inline constexpr std::array<ControlRow, kAddedControlCount> kAddedControls{{
    {"chkShowScramble", Kind::CheckBox, "fraSetup", "Show scr&amble", 1440, 720, 1695, 255, 22, Align::Left, true, false, false},
    {"chkInspection", Kind::CheckBox, "fraSetup", "WCA &inspection (15 s)", 3240, 900, 2175, 255, 23, Align::Left, true, false, false},
}};

// Every control the window creates: the designed rows, then the added ones, so that a
// designed control has the same index in both tables.
inline constexpr int kAllControlCount = kControlCount + kAddedControlCount;
inline constexpr std::array<ControlRow, kAllControlCount> kAllControls = [] {
  std::array<ControlRow, kAllControlCount> all{};
  for (int i = 0; i < kControlCount; ++i) all[static_cast<std::size_t>(i)] = kControls[static_cast<std::size_t>(i)];
  for (int i = 0; i < kAddedControlCount; ++i) {
    all[static_cast<std::size_t>(kControlCount + i)] = kAddedControls[static_cast<std::size_t>(i)];
  }
  return all;
}();

// The index of a control, designed or added, in kAllControls (for a designed one, also
// in kControls), or -1.
inline constexpr int IndexOf(std::string_view name) {
  for (int i = 0; i < kAllControlCount; ++i) {
    if (name == kAllControls[static_cast<std::size_t>(i)].name) return i;
  }
  return -1;
}

inline constexpr const ControlRow& Row(std::string_view name) {
  return kAllControls[static_cast<std::size_t>(IndexOf(name))];
}

// The rows of a table in tab order, those outside the numbering (the picture) last:
// creating the controls in this order makes the window's z-order give the tab order.
template <std::size_t N>
inline constexpr std::array<int, N> TabOrderOf(const std::array<ControlRow, N>& rows) {
  constexpr int count = static_cast<int>(N);
  std::array<int, N> order{};
  int next = 0;
  int highest = -1;
  for (const ControlRow& row : rows) highest = row.tab > highest ? row.tab : highest;
  for (int tab = 0; tab <= highest; ++tab) {
    for (int i = 0; i < count; ++i) {
      if (rows[static_cast<std::size_t>(i)].tab == tab) order[static_cast<std::size_t>(next++)] = i;
    }
  }
  for (int i = 0; i < count; ++i) {
    if (rows[static_cast<std::size_t>(i)].tab < 0) order[static_cast<std::size_t>(next++)] = i;
  }
  return order;
}

// The designed controls in the designed tab order.
inline constexpr std::array<int, kControlCount> TabOrder() { return TabOrderOf(kControls); }

// Every control the window creates, in the order it creates them.
inline constexpr std::array<int, kAllControlCount> WindowTabOrder() { return TabOrderOf(kAllControls); }

struct Point {
  int x, y;
};

// Where a control's top-left corner lies in the window's client area.
inline constexpr Point ClientOrigin(const ControlRow& row) {
  Point origin{row.left, row.top};
  for (std::string_view container = row.container; !container.empty();) {
    const ControlRow& parent = Row(container);
    origin.x += parent.left;
    origin.y += parent.top;
    container = parent.container;
  }
  return origin;
}

// One panel: its option button, its frame and what selecting it does to the window.
// Heights and widths are designed outer sizes.
struct PanelRow {
  const char* name;  // also the value stored under "Last Frame"
  const char* option;
  const char* frame;
  const char* caption;
  int windowHeight;
  int windowWidth;
  int exitTop;
};

inline constexpr std::array<PanelRow, 3> kPanels{{
    {"Setup", "optSetup", "fraSetup", "Twistwatch | Setup", 2925, 5985, 1920},
    {"Result", "optResult", "fraResult", "Twistwatch | Result", 4605, 5985, 3600},
    {"About", "optAbout", "fraAbout", "Twistwatch | About", 5565, 5985, 4560},
}};

// A panel switch shows one frame and hides the others in this order.
inline constexpr std::array<const char*, 3> kFrameSwitchOrder{"fraAbout", "fraResult", "fraSetup"};

}  // namespace tw::layout::options
