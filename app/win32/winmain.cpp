#include <windows.h>
#include <commctrl.h>

#include "app/win32/main_window.h"
#include "docking/win32/docking.h"
#include "options/win32/options_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  tw::Form::RegisterWindowClass(instance);
  tw::docking::SetDockWindowSource(&tw::Form::LoadedWindowHandles);

  tw::MainWindow main;
  tw::SetMainWindow(&main);
  main.onF1 = [] { tw::ShowOptionsWindow(); };
  main.onF2 = [] { tw::ToggleShowHour(); };
  main.onUnloadExtra = [] { tw::UnloadOptionsWindow(); };
  main.quitOnUnload = true;
  if (!main.Load()) return 0;
  main.Show();

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
