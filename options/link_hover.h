#pragma once
// Which control of the options window lies under the pointer, and what a mouse move
// there does to the link emphasis. Worked on the layout table so that the answer
// follows the table's stacking (a later row in front), not the native windows' order.
#include <array>
#include <functional>

namespace tw::options {

// The three link labels in the order the emphasis is set.
inline constexpr std::array<const char*, 3> kLinkNames{"lblURL1", "lblURL2", "lblURL3"};

// The front-most shown control at a point of the client area (twips), as an index into
// the layout table, or -1 for the window's own background. `shown(i)` says whether the
// control itself is shown; a control inside a hidden frame is never hit.
int LayoutControlAt(int x, int y, const std::function<bool(int)>& shown);

enum class HoverKind { Nothing, Emphasise, Reset };

struct HoverEffect {
  HoverKind kind;
  int link;  // index into kLinkNames when kind is Emphasise
};

// A move over a link emphasises it; over the window background, the About frame's
// background, the credit line or the notice line it clears all three; elsewhere nothing.
HoverEffect HoverEffectOf(int controlIndex);

}  // namespace tw::options
