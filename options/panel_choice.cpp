#include "options/panel_choice.h"

namespace tw::options {

const layout::options::PanelRow& PanelRowOf(Panel panel) {
  return layout::options::kPanels[static_cast<std::size_t>(panel)];
}

std::optional<Panel> RestoredPanel(const std::function<std::string()>& readLastFrame) {
  for (Panel panel : {Panel::About, Panel::Result, Panel::Setup}) {
    if (readLastFrame() == PanelRowOf(panel).name) return panel;
  }
  return std::nullopt;
}

std::string LastFrameToStore(bool setupSelected, bool aboutSelected, bool resultSelected) {
  if (setupSelected) return PanelRowOf(Panel::Setup).name;
  if (aboutSelected) return PanelRowOf(Panel::About).name;
  if (resultSelected) return PanelRowOf(Panel::Result).name;
  return {};
}

std::optional<int> StoredSwitchState(const std::function<std::string()>& readSwitch) {
  if (readSwitch() == kEnabled) return 1;
  if (readSwitch() == kDisabled) return 0;
  return std::nullopt;
}

const char* SwitchValue(int checkState) { return checkState == 1 ? kEnabled : kDisabled; }

}  // namespace tw::options
