#pragma once
// A form as accessibility clients (screen readers) read it: the system's own objects for
// the window and its client area, named by the window's caption, and for a form whose
// content is painted rather than made of controls, a value for its client area (the
// timer's digits: "ready", "inspection 8", "12.34").
#include <windows.h>

#include <optional>
#include <string>

namespace tw {

// Answers WM_GETOBJECT for `window` (OBJID_WINDOW or OBJID_CLIENT): the system's
// standard object, everything as it answers, but named by the window's caption and, for
// the client area, valued by what `window` answers to `valueMessage` (its lParam a
// std::optional<std::wstring> to fill; nothing leaves the standard value). 0 for any
// other object asked for, or when the accessibility library cannot be had: the window
// then answers as DefWindowProc does. The object may outlive the window, and then
// answers without it.
LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam, UINT valueMessage);

// Tells accessibility clients that the value of `window`'s client area changed.
void NotifyAccessibleValueChanged(HWND window);

}  // namespace tw
