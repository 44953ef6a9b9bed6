#pragma once
// Docking for the program's windows: a hooked window snaps to the work area's edges and
// to its sibling windows while it is moved or resized.
#include <windows.h>

#include <functional>
#include <vector>

namespace tw::docking {

// Replaces the window's procedure with DockingWindowProc; a second call changes nothing.
// Every hooked window must be unhooked by its owner before it is destroyed.
void ActivateDocking(HWND window);
// Puts the window's previous procedure back; a window that is not hooked is left alone.
void DeactivateDocking(HWND window);

// Snaps WM_MOVING and WM_SIZING rectangles and hands every other message, WM_ENTERSIZEMOVE
// included, to the window's previous procedure. Answers 0 for a window that is not hooked.
LRESULT CALLBACK DockingWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The program's loaded windows, visible or not, in load order; their visible ones besides
// the dragged one are snap targets. Without a source only the work area is a target.
void SetDockWindowSource(std::function<std::vector<HWND>()> loadedWindowsInLoadOrder);

}  // namespace tw::docking
