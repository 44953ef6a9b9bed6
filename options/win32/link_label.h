#pragma once
#include <windows.h>

#include <functional>

namespace tw::options {

// Says whether a point on the screen, inside the label's window, is the label's own.
using PointOwner = std::function<bool(POINT screen)>;

// Turns an SS_NOTIFY static into a link the keyboard can reach: it shows a focus
// rectangle while focused, and Enter or Space sends its parent the same STN_CLICKED
// a mouse click sends. Where `owns` denies a point (another control is stacked in front
// there by design), the label lets the pointer through to the window beneath it, so a
// click lands on the control the hover shows. Removed again when the static is destroyed.
void MakeKeyboardLink(HWND label, PointOwner owns = {});

}  // namespace tw::options
