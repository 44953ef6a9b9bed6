#include "options/link_hover.h"

#include <string_view>

#include "resources/options_layout.h"

namespace tw::options {

namespace lo = layout::options;

namespace {

int ControlAtIn(std::string_view container, int x, int y, const std::function<bool(int)>& shown) {
  for (int i = 0; i < lo::kControlCount; ++i) {
    const lo::ControlRow& row = lo::kControls[static_cast<std::size_t>(i)];
    if (container != row.container || !shown(i)) continue;
    if (x < row.left || x >= row.left + row.width || y < row.top || y >= row.top + row.height) continue;
    if (row.kind == lo::Kind::Frame) {
      const int inner = ControlAtIn(row.name, x - row.left, y - row.top, shown);
      return inner >= 0 ? inner : i;
    }
    return i;
  }
  return -1;
}

}  // namespace

int LayoutControlAt(int x, int y, const std::function<bool(int)>& shown) {
  return ControlAtIn("", x, y, shown);
}

HoverEffect HoverEffectOf(int controlIndex) {
  if (controlIndex < 0) return {HoverKind::Reset, -1};
  const std::string_view name = lo::kControls[static_cast<std::size_t>(controlIndex)].name;
  for (int link = 0; link < static_cast<int>(kLinkNames.size()); ++link) {
    if (name == kLinkNames[static_cast<std::size_t>(link)]) return {HoverKind::Emphasise, link};
  }
  if (name == "fraAbout" || name == "Label4" || name == "Label7") return {HoverKind::Reset, -1};
  return {HoverKind::Nothing, -1};
}

}  // namespace tw::options
