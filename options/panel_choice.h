#pragma once
// The decisions the options window makes from the settings file, kept free of windows.
#include <functional>
#include <optional>
#include <string>

#include "resources/options_layout.h"

namespace tw::options {

enum class Panel { Setup, Result, About };

const layout::options::PanelRow& PanelRowOf(Panel panel);

// The panel to select at load. `readLastFrame` is called once per comparison, in the
// order About, Result, Setup, and a value matches only letter for letter.
std::optional<Panel> RestoredPanel(const std::function<std::string()>& readLastFrame);

// What Exit stores under "Last Frame": the first selected of Setup, About, Result, or
// the empty text when none is.
std::string LastFrameToStore(bool setupSelected, bool aboutSelected, bool resultSelected);

// The state a switch loads from its stored value: checked for exactly "Enabled",
// unchecked for exactly "Disabled" (read a second time), and nothing otherwise, which
// leaves the box in its layout table's state.
std::optional<int> StoredSwitchState(const std::function<std::string()>& readSwitch);

// The value a switch's click stores.
const char* SwitchValue(int checkState);

inline constexpr const char* kEnabled = "Enabled";
inline constexpr const char* kDisabled = "Disabled";

}  // namespace tw::options
