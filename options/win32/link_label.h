#pragma once
#include <windows.h>

namespace tw::options {

// Turns an SS_NOTIFY static into a link the keyboard can reach: it shows a focus
// rectangle while focused, and Enter or Space sends its parent the same STN_CLICKED
// a mouse click sends. Removed again when the static is destroyed.
void MakeKeyboardLink(HWND label);

}  // namespace tw::options
