#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "options/link_hover.h"
#include "options/mail_link.h"
#include "options/panel_choice.h"
#include "resources/options_layout.h"

namespace tw::options {
namespace {

namespace lo = layout::options;

// A settings file whose value may change between two reads; it counts the reads.
struct ScriptedReads {
  std::vector<std::string> values;
  int reads = 0;
  std::string operator()() {
    const std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(reads), values.size() - 1);
    ++reads;
    return values[at];
  }
};

TEST(RestoredPanel, ComparesExactlyAndReadsOncePerComparison) {
  struct Case {
    std::string stored;
    std::optional<Panel> panel;
    int reads;
  };
  const Case cases[] = {
      {"About", Panel::About, 1},  {"Result", Panel::Result, 2}, {"Setup", Panel::Setup, 3},
      {"result", std::nullopt, 3}, {"ABOUT", std::nullopt, 3},   {"", std::nullopt, 3},
      {"Setup ", std::nullopt, 3},
  };
  for (const Case& c : cases) {
    ScriptedReads file{{c.stored}};
    EXPECT_EQ(RestoredPanel(std::ref(file)), c.panel) << c.stored;
    EXPECT_EQ(file.reads, c.reads) << c.stored;
  }
}

TEST(RestoredPanel, EachComparisonSeesTheFileAsItIsThen) {
  ScriptedReads file{{"Setup", "Result"}};
  EXPECT_EQ(RestoredPanel(std::ref(file)), Panel::Result);
  ScriptedReads changing{{"Result", "About", "About"}};
  EXPECT_EQ(RestoredPanel(std::ref(changing)), std::nullopt);
}

TEST(LastFrameToStore, TestsSetupThenAboutThenResult) {
  struct Case {
    bool setup, about, result;
    std::string stored;
  };
  const Case cases[] = {
      {false, false, false, ""},     {true, false, false, "Setup"}, {false, true, false, "About"},
      {false, false, true, "Result"}, {true, true, true, "Setup"},  {false, true, true, "About"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LastFrameToStore(c.setup, c.about, c.result), c.stored) << c.setup << c.about << c.result;
  }
}

TEST(StoredSwitchState, OnlyTheExactWordsDecide) {
  struct Case {
    std::string stored;
    std::optional<int> state;
    int reads;
  };
  const Case cases[] = {
      {"Enabled", 1, 1},           {"Disabled", 0, 2},          {"enabled", std::nullopt, 2},
      {"DISABLED", std::nullopt, 2}, {"", std::nullopt, 2},     {"Enabled ", std::nullopt, 2},
  };
  for (const Case& c : cases) {
    ScriptedReads file{{c.stored}};
    EXPECT_EQ(StoredSwitchState(std::ref(file)), c.state) << c.stored;
    EXPECT_EQ(file.reads, c.reads) << c.stored;
  }
  EXPECT_STREQ(SwitchValue(1), "Enabled");
  EXPECT_STREQ(SwitchValue(0), "Disabled");
}

TEST(MailLink, KeepsTheSubjectUnencoded) {
  EXPECT_EQ(MailLink("me@example.org"),
            "mailto:me@example.org?subject=[Twistwatch v1.0] <Put your subject here>");
}

// The last frame a panel shows: its own, or the one beyond the design under it.
const lo::ControlRow& LastFrameOf(const lo::PanelRow& panel) {
  return lo::Row(*panel.addedFrame ? panel.addedFrame : panel.frame);
}

TEST(OptionsLayout, PanelsPutExitBelowTheirLastFrameAndKeepTheWindowAroundIt) {
  for (const auto* panels : {&lo::kBasePanels, &lo::kPanels}) {
    for (const lo::PanelRow& panel : *panels) {
      const lo::ControlRow& frame = panels == &lo::kPanels ? LastFrameOf(panel) : lo::Row(panel.frame);
      EXPECT_EQ(panel.exitTop, frame.top + frame.height + 105) << panel.name;
      EXPECT_EQ(panel.windowHeight - panel.exitTop, 1005) << panel.name;
      EXPECT_EQ(panel.windowWidth - layout::kLayoutFrameWidth, lo::kClientWidth) << panel.name;
      EXPECT_EQ(lo::Row(panel.option).kind, lo::Kind::OptionButton);
    }
  }
  // The About panel is the window as it first opens.
  EXPECT_EQ(lo::kPanels[2].windowHeight - layout::kLayoutFrameHeight, lo::kClientHeight);
  EXPECT_EQ(lo::Row("cmdExit").top, lo::kPanels[2].exitTop);
}

// The Setup frame keeps its size and its three boxes; the switches beyond the
// design sit in a Practice frame of the same left and width 120 under it, and the Setup
// panel alone grows by that frame and its gap.
TEST(OptionsLayout, ThePracticeFrameStandsUnderTheSetupFrame) {
  struct Box {
    const char* name;
    int left, top, width, height;
  };
  const Box setupFrame[] = {
      {"fraSetup", 120, 600, 5655, 1215},    {"chk3SecCD", 3240, 360, 2175, 495},
      {"chkShowHour", 240, 720, 1095, 255}, {"chkLogResult", 240, 360, 2055, 255},
      {"fraResult", 120, 600, 5655, 2895},  {"fraAbout", 120, 600, 5655, 3855},
  };
  for (const Box& b : setupFrame) {
    const lo::ControlRow& row = lo::Row(b.name);
    EXPECT_EQ(std::vector<int>({row.left, row.top, row.width, row.height}),
              std::vector<int>({b.left, b.top, b.width, b.height}))
        << b.name;
  }
  std::vector<std::string> inSetup;
  for (const lo::ControlRow& row : lo::kAllControls) {
    if (std::string(row.container) == "fraSetup") inSetup.push_back(row.name);
  }
  EXPECT_EQ(inSetup, (std::vector<std::string>{"chk3SecCD", "chkShowHour", "chkLogResult"}));

  const lo::ControlRow& practice = lo::Row("fraPractice");
  EXPECT_EQ(practice.kind, lo::Kind::Frame);
  EXPECT_EQ(std::string(practice.caption), "Practice");
  EXPECT_EQ(practice.left, 120);
  EXPECT_EQ(practice.width, 5655);
  EXPECT_EQ(practice.top, 600 + 1215 + 120);
  for (const char* name :
       {"chkShowScramble", "chkInspection", "chkAnyKeyStops", "lblHoldToStart", "cboHoldToStart", "chkShowAverages"}) {
    const lo::ControlRow& row = lo::Row(name);
    EXPECT_EQ(std::string(row.container), "fraPractice") << name;
    EXPECT_LE(row.left + row.width, practice.width - 60) << name;
    // The drop-down list's row is its dropped height; its field is one line high.
    const int height = row.kind == lo::Kind::DropDownList ? 315 : row.height;
    EXPECT_LE(row.top + height, practice.height - 45) << name;
  }

  const int grown = 120 + practice.height;
  EXPECT_EQ(std::string(lo::kPanels[0].addedFrame), "fraPractice");
  EXPECT_EQ(lo::kPanels[0].windowHeight, 2925 + grown);
  EXPECT_EQ(lo::kPanels[0].exitTop, 1920 + grown);
  EXPECT_EQ(lo::kPanels[2].windowHeight, lo::kBasePanels[2].windowHeight) << "About unchanged";
  EXPECT_EQ(lo::kPanels[2].exitTop, lo::kBasePanels[2].exitTop);
  EXPECT_STREQ(lo::kPanels[2].addedFrame, "");
}

// The sessions sit in a frame of their own under the Result frame, which
// keeps its size and its three controls; the window grows by the frame and its gap.
TEST(OptionsLayout, TheSessionsFrameStandsUnderTheResultFrame) {
  std::vector<std::string> inResult;
  for (const lo::ControlRow& row : lo::kAllControls) {
    if (std::string(row.container) == "fraResult") inResult.push_back(row.name);
  }
  EXPECT_EQ(inResult, (std::vector<std::string>{"cmdRemove", "cmdReset", "lstResult"}));

  const lo::ControlRow& sessions = lo::Row("fraSession");
  EXPECT_EQ(sessions.kind, lo::Kind::Frame);
  EXPECT_EQ(sessions.left, 120);
  EXPECT_EQ(sessions.width, 5655);
  EXPECT_EQ(sessions.top, 600 + 2895 + 120);
  const char* buttons[] = {"cmdNewSession", "cmdRenameSession", "cmdDeleteSession", "cmdImport", "cmdExport"};
  int left = 120;  // the list's left, and its width across the five
  for (const char* name : buttons) {
    const lo::ControlRow& row = lo::Row(name);
    EXPECT_EQ(std::string(row.container), "fraSession") << name;
    EXPECT_EQ(row.left, left) << name;
    EXPECT_EQ(row.top + row.height, sessions.height - 120) << name;
    left += row.width + 105;
  }
  EXPECT_EQ(left - 105, 120 + 5415);
  const lo::ControlRow& list = lo::Row("cboSession");
  EXPECT_EQ(list.left + list.width, 120 + 5415);

  const int grown = 120 + sessions.height;
  EXPECT_EQ(std::string(lo::kPanels[1].addedFrame), "fraSession");
  EXPECT_EQ(lo::kPanels[1].windowHeight, 4605 + grown);
  EXPECT_EQ(lo::kPanels[1].exitTop, 3600 + grown);
  EXPECT_EQ(lo::kPanels[1].exitTop, sessions.top + sessions.height + 105);
}

// Tab runs through the Setup frame, then Practice, then Exit; in the Result frame the
// list, Remove, Reset. Frames come before their contents.
TEST(OptionsLayout, TheWindowTabsFrameByFrame) {
  const auto order = lo::WindowTabOrder();
  std::vector<std::string> names;
  for (const int index : order) names.push_back(lo::kAllControls[static_cast<std::size_t>(index)].name);
  const auto at = [&](const char* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
  const std::vector<const char*> setup = {"chkLogResult", "chkShowHour", "chk3SecCD", "chkShowScramble",
                                          "chkAnyKeyStops", "chkInspection", "lblHoldToStart", "cboHoldToStart",
                                          "cmdExit", "optSetup"};
  for (std::size_t i = 1; i < setup.size(); ++i) EXPECT_LT(at(setup[i - 1]), at(setup[i])) << setup[i];
  EXPECT_EQ(at("cboHoldToStart"), at("lblHoldToStart") + 1) << "the label's access key moves to the list";
  EXPECT_EQ(at("cboSession"), at("lblSession") + 1);
  EXPECT_LT(at("cmdReset"), at("cboSession")) << "the session row after the Result frame's own";
  EXPECT_LT(at("lstResult"), at("cmdRemove"));
  EXPECT_LT(at("cmdRemove"), at("cmdReset"));
  for (int i = 0; i < lo::kAllControlCount; ++i) {
    const lo::ControlRow& row = lo::kAllControls[static_cast<std::size_t>(i)];
    if (*row.container) {
      EXPECT_LT(at(row.container), at(row.name)) << row.name;
    }
  }
}

TEST(OptionsLayout, TabOrderVisitsEveryControlOnceWithEachFrameBeforeItsContents) {
  const auto order = lo::TabOrder();
  std::vector<int> position(lo::kControlCount, -1);
  for (int at = 0; at < lo::kControlCount; ++at) {
    const int index = order[static_cast<std::size_t>(at)];
    ASSERT_EQ(position[static_cast<std::size_t>(index)], -1) << "twice: " << index;
    position[static_cast<std::size_t>(index)] = at;
  }
  for (int i = 0; i < lo::kControlCount; ++i) {
    const lo::ControlRow& row = lo::kControls[static_cast<std::size_t>(i)];
    if (row.tab >= 0) {
      EXPECT_EQ(position[static_cast<std::size_t>(i)], row.tab) << row.name;
    }
    if (*row.container) {
      EXPECT_LT(position[static_cast<std::size_t>(lo::IndexOf(row.container))],
                position[static_cast<std::size_t>(i)])
          << row.name;
    }
  }
  EXPECT_EQ(lo::kControls[static_cast<std::size_t>(order.back())].name, std::string("Image1"));
}

TEST(OptionsLayout, NestedControlsSitAtTheirFramesOffset) {
  const lo::Point image = lo::ClientOrigin(lo::Row("Image1"));
  EXPECT_EQ(image.x, 120 + 120 + 3840);
  EXPECT_EQ(image.y, 600 + 720 + 550);
  const lo::Point remove = lo::ClientOrigin(lo::Row("cmdRemove"));
  EXPECT_EQ(remove.x, 240);
  EXPECT_EQ(remove.y, 2950);
}

// Only the frames can be hidden; everything inside a shown frame is shown with it.
std::function<bool(int)> FramesShown(std::vector<std::string> frames) {
  return [frames](int index) {
    const lo::ControlRow& row = lo::kControls[static_cast<std::size_t>(index)];
    if (row.kind != lo::Kind::Frame || std::string(row.container) != "") return true;
    return std::find(frames.begin(), frames.end(), row.name) != frames.end();
  };
}

std::string NameAt(int x, int y, const std::function<bool(int)>& shown) {
  const int index = LayoutControlAt(x, y, shown);
  return index < 0 ? "window" : lo::kControls[static_cast<std::size_t>(index)].name;
}

TEST(LayoutControlAt, FollowsTheTablesStacking) {
  const auto about = FramesShown({"fraAbout"});
  const auto noPanel = FramesShown({"fraAbout", "fraSetup", "fraResult"});
  const auto setup = FramesShown({"fraSetup"});
  struct Case {
    int x, y;
    const std::function<bool(int)>* shown;
    std::string name;
  };
  // About frame at (120, 600); its labels at left 240 in client coordinates.
  const Case cases[] = {
      {60, 60, &about, "window"},
      {200, 200, &about, "optSetup"},
      {2000, 600 + 2640 + 10, &about, "lblURL3"},
      {2000, 600 + 2880 + 5, &about, "lblURL1"},  // the two links touch: lblURL1 is in front
      {2000, 600 + 3480 + 5, &about, "lblURL2"},  // and lblURL2 in front of the notice line
      {2000, 600 + 3240 + 20, &about, "Label7"},
      {2000, 600 + 2400 + 20, &about, "Label4"},
      {150, 2000, &about, "fraAbout"},
      {4300, 600 + 480 + 20, &about, "Label2"},  // the version stands in front of the title
      {1000, 600 + 720 + 400, &about, "Label3"},
      {4500, 600 + 720 + 700, &about, "Image1"},
      {300, 600 + 720 + 1500, &about, "Frame1"},
      {400, 600 + 400, &noPanel, "Label1"},  // before a panel is chosen About shows over the others
      {400, 600 + 400, &setup, "chkLogResult"},
      {2000, 600 + 2880 + 5, &setup, "window"},  // a hidden frame hides its links
  };
  for (const Case& c : cases) EXPECT_EQ(NameAt(c.x, c.y, *c.shown), c.name) << c.x << "," << c.y;
}

TEST(HoverEffectOf, EmphasisesLinksAndClearsOnlyOnTheResetSurfaces) {
  struct Case {
    std::string name;
    HoverKind kind;
    int link;
  };
  const Case cases[] = {
      {"lblURL1", HoverKind::Emphasise, 0}, {"lblURL2", HoverKind::Emphasise, 1},
      {"lblURL3", HoverKind::Emphasise, 2}, {"fraAbout", HoverKind::Reset, -1},
      {"Label4", HoverKind::Reset, -1},     {"Label7", HoverKind::Reset, -1},
      {"Label1", HoverKind::Nothing, -1},   {"Frame1", HoverKind::Nothing, -1},
      {"Label3", HoverKind::Nothing, -1},   {"cmdExit", HoverKind::Nothing, -1},
      {"optAbout", HoverKind::Nothing, -1}, {"fraSetup", HoverKind::Nothing, -1},
  };
  for (const Case& c : cases) {
    const HoverEffect effect = HoverEffectOf(lo::IndexOf(c.name));
    EXPECT_EQ(effect.kind, c.kind) << c.name;
    EXPECT_EQ(effect.link, c.link) << c.name;
  }
  EXPECT_EQ(HoverEffectOf(-1).kind, HoverKind::Reset);
}

}  // namespace
}  // namespace tw::options
