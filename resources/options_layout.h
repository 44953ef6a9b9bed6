#pragma once
// The options window's layout. Lengths in twips, colours 0x00BBGGRR.
#include <array>
#include <cstdint>
#include <string_view>

#include "resources/links.h"
#include "resources/main_layout.h"

namespace tw::layout::options {

// The caption until a panel is chosen.
inline constexpr const char* kFirstCaption = "?";
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

enum class Kind { OptionButton, CommandButton, Frame, Label, LinkLabel, Picture, CheckBox, ListBox, FieldLabel, DropDownList };
enum class Align { Left, Center, Right };

struct ControlRow {
  const char* name;
  Kind kind;
  const char* container;  // "" for the window's client area
  const char* caption;
  int left, top, width, height;  // from the container's top-left corner
  int tab;                       // tab position; -1 takes no part in the numbering
  Align align;
  bool whiteBack;  // a white background (frames, check boxes)
  bool checked;    // a check box's state at creation
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
    // Checked at creation: the likelier reading of the box's one setting beyond its caption.
    {"chk3SecCD", Kind::CheckBox, "fraSetup", "3 seconds &countdown before start the counter", 3240, 360, 2175, 495, 20, Align::Left, true, true, false},
    {"chkShowHour", Kind::CheckBox, "fraSetup", "Show &hour", 240, 720, 1095, 255, 2, Align::Left, true, false, false},
    {"chkLogResult", Kind::CheckBox, "fraSetup", "&Log result automatically", 240, 360, 2055, 255, 1, Align::Left, true, false, false},
    // Not "Remove &Selected": its S is also Setup's, and with both on the screen
    // every Alt+S removed a result. The words stay; the access key moves.
    {"cmdRemove", Kind::CommandButton, "fraResult", "Re&move Selected", 120, 2350, 2655, 375, 21, Align::Center, false, false, false},
    {"cmdReset", Kind::CommandButton, "fraResult", "R&eset", 2880, 2350, 2655, 375, 9, Align::Center, false, false, false},
    {"lstResult", Kind::ListBox, "fraResult", "", 120, 240, 5415, 2010, 8, Align::Left, false, false, false},
}};

// ---- Added to the layout -----------------------------------------------------------
// Controls for features that are off until switched on. The three panel frames above
// keep exactly their size and contents: the switches sit in a Practice
// frame of their own under the Setup frame, with the Setup frame's left, width and two
// columns (left 240 and 3240, rows at 360 and 720).
inline constexpr int kPracticeGap = 120;  // between the Setup frame and the Practice frame
inline constexpr int kPracticeTop = 600 + 1215 + kPracticeGap;
// Four rows: two of switches, the timer input, the averages line's switch.
inline constexpr int kPracticeHeight = 1935;
// A drop-down list's field is as high as its font makes it (315 at 96 DPI, centred on
// the row's check boxes); its row gives the height of the list dropped down, five items.
inline constexpr int kDropDownHeight = 1455;

inline constexpr const char* kHoldOff = "Off";
// How a delay reads in the drop-down list: "<milliseconds> ms".
inline constexpr const char* kMillisecondsSuffix = " ms";

// The Result panel's sessions sit in a frame of their own under the Result frame, with
// its left and width: the drop-down list of the sessions over a row of five buttons
// as wide as the list above, 105 apart as Remove and Reset are.
inline constexpr int kSessionGap = 120;  // between the Result frame and the Sessions frame
inline constexpr int kSessionTop = 600 + 2895 + kSessionGap;
inline constexpr int kSessionHeight = 1215;
inline constexpr int kSessionButtonWidth = 999;
inline constexpr int kSessionButtonPitch = kSessionButtonWidth + 105;
// The sessions' list dropped down shows ten of them.
inline constexpr int kSessionDropDownHeight = 2715;

// The timer input's row: where solves are timed, and the sound input a competition
// timer is heard on (usable only for it).
inline constexpr const char* kTimerInputKeyboard = "Keyboard";
inline constexpr const char* kTimerInputStackmat = "Stackmat timer";
inline constexpr const char* kDefaultSoundInput = "Default sound input";

inline constexpr int kAddedControlCount = 18;
inline constexpr std::array<ControlRow, kAddedControlCount> kAddedControls{{
    {"fraPractice", Kind::Frame, "", "Practice", 120, kPracticeTop, 5655, kPracticeHeight, -1, Align::Left, true, false, false},
    {"chkShowScramble", Kind::CheckBox, "fraPractice", "Show scr&amble", 240, 360, 2895, 255, -1, Align::Left, true, false, false},
    {"chkAnyKeyStops", Kind::CheckBox, "fraPractice", "Any &key stops the timer", 240, 720, 2895, 255, -1, Align::Left, true, false, false},
    {"chkInspection", Kind::CheckBox, "fraPractice", "WCA &inspection (15 s)", 3240, 360, 2175, 255, -1, Align::Left, true, false, false},
    // The label gives its access key to the drop-down list after it.
    {"lblHoldToStart", Kind::FieldLabel, "fraPractice", "Hold &to start:", 3240, 750, 1095, 255, -1, Align::Left, false, false, false},
    {"cboHoldToStart", Kind::DropDownList, "fraPractice", "", 4380, 690, 1035, kDropDownHeight, -1, Align::Left, false, false, false},
    {"lblTimerInput", Kind::FieldLabel, "fraPractice", "Timer in&put:", 240, 1110, 1095, 255, -1, Align::Left, false, false, false},
    {"cboTimerInput", Kind::DropDownList, "fraPractice", "", 1335, 1050, 1800, kDropDownHeight, -1, Align::Left, false, false, false},
    {"cboStackmatDevice", Kind::DropDownList, "fraPractice", "", 3240, 1050, 2175, kDropDownHeight, -1, Align::Left, false, false, false},
    {"chkShowAverages", Kind::CheckBox, "fraPractice", "Show a&verages", 240, 1470, 2895, 255, -1, Align::Left, true, false, false},
    // Access keys clear of the Result panel's own (S, R, B, X, M, E).
    {"fraSession", Kind::Frame, "", "Sessions", 120, kSessionTop, 5655, kSessionHeight, -1, Align::Left, true, false, false},
    {"lblSession", Kind::FieldLabel, "fraSession", "Sessi&on:", 120, 360, 855, 255, -1, Align::Left, false, false, false},
    {"cboSession", Kind::DropDownList, "fraSession", "", 1080, 300, 4455, kSessionDropDownHeight, -1, Align::Left, false, false, false},
    {"cmdNewSession", Kind::CommandButton, "fraSession", "&New...", 120, 720, kSessionButtonWidth, 375, -1, Align::Center, false, false, false},
    {"cmdRenameSession", Kind::CommandButton, "fraSession", "Ren&ame...", 120 + kSessionButtonPitch, 720, kSessionButtonWidth, 375, -1, Align::Center, false, false, false},
    {"cmdDeleteSession", Kind::CommandButton, "fraSession", "&Delete...", 120 + 2 * kSessionButtonPitch, 720, kSessionButtonWidth, 375, -1, Align::Center, false, false, false},
    {"cmdImport", Kind::CommandButton, "fraSession", "&Import...", 120 + 3 * kSessionButtonPitch, 720, kSessionButtonWidth, 375, -1, Align::Center, false, false, false},
    {"cmdExport", Kind::CommandButton, "fraSession", "Ex&port...", 120 + 4 * kSessionButtonPitch, 720, kSessionButtonWidth, 375, -1, Align::Center, false, false, false},
}};
static_assert(120 + 4 * kSessionButtonPitch + kSessionButtonWidth == 120 + 5415, "the buttons span the list's width");

// Every control the window creates: the rows of kControls, then the added ones, so that
// a control of kControls has the same index in both tables.
inline constexpr int kAllControlCount = kControlCount + kAddedControlCount;
inline constexpr std::array<ControlRow, kAllControlCount> kAllControls = [] {
  std::array<ControlRow, kAllControlCount> all{};
  for (int i = 0; i < kControlCount; ++i) all[static_cast<std::size_t>(i)] = kControls[static_cast<std::size_t>(i)];
  for (int i = 0; i < kAddedControlCount; ++i) {
    all[static_cast<std::size_t>(kControlCount + i)] = kAddedControls[static_cast<std::size_t>(i)];
  }
  return all;
}();

// The index of a control, first or added, in kAllControls (for one of kControls, also
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

// A control named in code, looked up in the table when the code is compiled: a name the
// table does not hold does not compile (the throw is no constant expression).
struct ControlName {
  int index;
  consteval ControlName(const char* name) : index(IndexOf(name)) {
    if (index < 0) throw "no control of that name in kAllControls";
  }
};

// A control's index by its name, for a case label: checked as ControlName is.
consteval int Id(const char* name) { return ControlName(name).index; }

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

// The controls of kControls in their tab order.
inline constexpr std::array<int, kControlCount> TabOrder() { return TabOrderOf(kControls); }

// The order the window creates its controls in, which the dialog manager tabs through:
// the Setup frame, the Practice frame, Exit, the option row, then the Result frame with
// Remove before Reset (so a Tab from the list lands on the button for the line), the
// Sessions frame, then About in its own order.
inline constexpr std::array<const char*, kAllControlCount> kWindowTabOrderNames{
    "fraSetup",  "chkLogResult", "chkShowHour", "chk3SecCD", "fraPractice", "chkShowScramble", "chkAnyKeyStops",
    "chkInspection", "lblHoldToStart", "cboHoldToStart", "lblTimerInput", "cboTimerInput", "cboStackmatDevice", "chkShowAverages", "cmdExit", "optSetup", "optResult", "optAbout",
    "fraResult", "lstResult", "cmdRemove", "cmdReset", "fraSession", "lblSession", "cboSession", "cmdNewSession",
    "cmdRenameSession", "cmdDeleteSession", "cmdImport", "cmdExport", "fraAbout", "Label1", "Label2", "Frame1", "Label3",
    "Label4", "lblURL3", "lblURL1", "Label7", "lblURL2", "Image1"};

// Every control the window creates, as indexes, in the order it creates them.
inline constexpr std::array<int, kAllControlCount> WindowTabOrder() {
  std::array<int, kAllControlCount> order{};
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = IndexOf(kWindowTabOrderNames[i]);
  return order;
}

// Each control is created exactly once.
inline constexpr bool IsPermutation(const std::array<int, kAllControlCount>& order) {
  std::array<bool, kAllControlCount> seen{};
  for (const int index : order) {
    if (index < 0 || seen[static_cast<std::size_t>(index)]) return false;
    seen[static_cast<std::size_t>(index)] = true;
  }
  return true;
}
static_assert(IsPermutation(WindowTabOrder()), "every control once in kWindowTabOrderNames");

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
// Heights and widths are outer sizes, frame included.
struct PanelRow {
  const char* name;  // also the value stored under "Last Frame"
  const char* option;
  const char* frame;
  const char* caption;
  int windowHeight;
  int windowWidth;
  int exitTop;
  const char* addedFrame;  // an added frame shown under the panel's own, or ""
};

// Each panel with its own frame alone, before the added frames grow it.
inline constexpr std::array<PanelRow, 3> kBasePanels{{
    {"Setup", "optSetup", "fraSetup", "Twistwatch | Setup", 2925, 5985, 1920, ""},
    {"Result", "optResult", "fraResult", "Twistwatch | Result", 4605, 5985, 3600, ""},
    {"About", "optAbout", "fraAbout", "Twistwatch | About", 5565, 5985, 4560, ""},
}};

// What the window does: the Setup panel also shows the Practice frame and the Result
// panel the Sessions frame, each growing by it and its gap, Exit moving down with it;
// the About panel is unchanged.
inline constexpr std::array<PanelRow, 3> kPanels = [] {
  std::array<PanelRow, 3> panels = kBasePanels;
  panels[0].addedFrame = "fraPractice";
  panels[0].windowHeight += kPracticeGap + kPracticeHeight;
  panels[0].exitTop += kPracticeGap + kPracticeHeight;
  panels[1].addedFrame = "fraSession";
  panels[1].windowHeight += kSessionGap + kSessionHeight;
  panels[1].exitTop += kSessionGap + kSessionHeight;
  return panels;
}();
static_assert(kPanels[1].exitTop == kSessionTop + kSessionHeight + 105, "Exit 105 under the last frame");
static_assert(kPanels[1].windowHeight - kPanels[1].exitTop == 1005, "and 1005 from the window's bottom");

// A panel switch shows one frame and hides the others in this order.
inline constexpr std::array<const char*, 3> kFrameSwitchOrder{"fraAbout", "fraResult", "fraSetup"};

// ---- The comment box of the Result panel's menu: one line of text, OK and Cancel.
// ---- What the small modal boxes share: OK and Cancel at the bottom right.
namespace small_box {
inline constexpr int kMargin = 120;
inline constexpr int kButtonWidth = 1140;
inline constexpr int kButtonHeight = 375;
inline constexpr int kButtonGap = 105;
}  // namespace small_box

namespace comment_box {
inline constexpr const char* kCaption = "Twistwatch | Comment";
inline constexpr const char* kPrompt = "&Comment:";
inline constexpr int kClientWidth = 4500;
inline constexpr int kClientHeight = 1335;
inline constexpr int kMargin = small_box::kMargin;
inline constexpr int kPromptTop = 120;
inline constexpr int kPromptHeight = 255;
inline constexpr int kEditTop = 390;
inline constexpr int kEditHeight = 315;
inline constexpr int kButtonTop = 840;
// The longest comment kept; a line of the log is read whole, so this is only a sanity bound.
inline constexpr int kMaxLength = 1000;
}  // namespace comment_box

// ---- A solve's details, opened from a line of the Result panel: its time and penalty,
// date, scramble with its picture, and its comment. Prompts on the left, the picture
// at the top right, the comment across the whole box over OK and Cancel.
namespace solve_box {
inline constexpr const char* kCaption = "Twistwatch | Solve";
inline constexpr const char* kTimePrompt = "Time:";
inline constexpr const char* kDatePrompt = "Date:";
inline constexpr const char* kPenaltyPrompt = "Penalty:";
inline constexpr const char* kNoPenalty = "&No penalty";
inline constexpr const char* kPlusTwo = "+&2";
inline constexpr const char* kDnf = "&DNF";
inline constexpr const char* kScramblePrompt = "Scramble:";
inline constexpr const char* kCommentPrompt = "&Comment:";
inline constexpr const char* kNoScramble = "(none)";
inline constexpr int kClientWidth = 6600;
inline constexpr int kClientHeight = 3525;
inline constexpr int kMargin = small_box::kMargin;
inline constexpr int kPromptWidth = 870;
inline constexpr int kRowHeight = 255;
inline constexpr int kFieldLeft = 1080;
inline constexpr int kFieldWidth = 2970;
inline constexpr int kTimeTop = 120;
inline constexpr int kDateTop = 435;
inline constexpr int kPenaltyTop = 735;
inline constexpr int kPenaltyHeight = 315;
inline constexpr int kNoPenaltyWidth = 1260;
inline constexpr int kPlusTwoWidth = 630;
inline constexpr int kDnfWidth = 780;
inline constexpr int kScrambleTop = 1170;
inline constexpr int kScrambleHeight = 1200;
// The picture, square, right of the fields.
inline constexpr int kPictureLeft = 4200;
inline constexpr int kPictureTop = 120;
inline constexpr int kPictureSize = 2250;
inline constexpr int kCommentTop = 2565;
inline constexpr int kCommentHeight = 315;
inline constexpr int kButtonTop = 3030;
// A prompt stands this far below the top of its field, level with the field's text.
inline constexpr int kPromptDrop = 45;
}  // namespace solve_box

// ---- The box New... and Rename... ask with: a session's name and its event.
namespace session_box {
inline constexpr const char* kNewCaption = "Twistwatch | New Session";
inline constexpr const char* kRenameCaption = "Twistwatch | Rename Session";
inline constexpr const char* kNamePrompt = "&Name:";
inline constexpr const char* kEventPrompt = "&Event:";
inline constexpr const char* kCubesPrompt = "&Cubes:";
inline constexpr int kClientWidth = 4500;
inline constexpr int kClientHeight = 1935;
inline constexpr int kMargin = small_box::kMargin;
inline constexpr int kPromptWidth = 795;
inline constexpr int kPromptHeight = 255;
// A prompt stands this far below the top of its field, level with the field's text.
inline constexpr int kPromptDrop = 60;
inline constexpr int kFieldLeft = 960;
inline constexpr int kFieldHeight = 315;
inline constexpr int kNameTop = 120;
inline constexpr int kEventTop = 540;
inline constexpr int kEventDropDownHeight = 3015;  // the events' list dropped down: eleven rows at a time, the rest scrolled
// Multi-Blind's number of cubes, a short field under the event, usable for that event only.
inline constexpr int kCubesTop = 960;
inline constexpr int kCubesWidth = 600;
inline constexpr int kCubesMaxLength = 3;
inline constexpr int kButtonTop = 1440;
// A name is one line a person reads in a list; longer is a paste gone wrong.
inline constexpr int kMaxLength = 64;
// The cases a PLL or OLL training session drills: a button on the cubes' row, at the
// right, usable for those events only.
inline constexpr const char* kCasesButton = "Ca&ses...";
inline constexpr int kCasesWidth = 1140;
}  // namespace session_box

// ---- The cases a PLL or OLL training session drills: a list of them ticked, each
// with its picture, over OK and Cancel.
namespace cases_box {
inline constexpr const char* kPllCaption = "Twistwatch | PLL Cases";
inline constexpr const char* kOllCaption = "Twistwatch | OLL Cases";
inline constexpr const char* kHint = "Space ticks a case, Ctrl+A ticks them all.";
inline constexpr int kClientWidth = 4500;
inline constexpr int kClientHeight = 6000;
inline constexpr int kMargin = small_box::kMargin;
inline constexpr int kListTop = 120;
inline constexpr int kListHeight = 4800;
inline constexpr int kHintTop = 5010;
inline constexpr int kHintHeight = 255;
inline constexpr int kButtonTop = 5505;
// Each case's picture, square.
inline constexpr int kPictureTwips = 720;
}  // namespace cases_box

// ---- The progress of a long import or export: a bar and Cancel.
namespace progress_box {
inline constexpr const char* kImportCaption = "Twistwatch | Import";
inline constexpr const char* kExportCaption = "Twistwatch | Export";
inline constexpr int kClientWidth = 4500;
inline constexpr int kClientHeight = 1080;
inline constexpr int kMargin = 120;
inline constexpr int kBarTop = 120;
inline constexpr int kBarHeight = 300;
inline constexpr int kButtonTop = 585;
inline constexpr int kButtonWidth = 1140;
inline constexpr int kButtonHeight = 375;
// Work that ends sooner shows no window at all.
inline constexpr int kShowAfterMs = 500;
// The bar's range: fine enough that every step of a long import moves it.
inline constexpr int kBarSteps = 1000;
}  // namespace progress_box

}  // namespace tw::layout::options
