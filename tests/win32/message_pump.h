#pragma once
// Runs this thread's window messages while a test waits for something a window,
// a timer or a worker thread does.
#include <windows.h>

namespace tw::testing_support {

// Pumps messages until `done` holds or a generous deadline passes; returns `done`.
template <typename Condition>
bool PumpUntil(Condition done, DWORD deadlineMs = 5000) {
  const ULONGLONG start = GetTickCount64();
  while (!done()) {
    if (GetTickCount64() - start > deadlineMs) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(1);
  }
  return true;
}

}  // namespace tw::testing_support
