#pragma once
#include <windows.h>

namespace tw {
// Posted by the precise timer's callback thread; wParam is the timer's id.
inline constexpr UINT kPreciseTickMessage = WM_APP + 1;
}  // namespace tw
