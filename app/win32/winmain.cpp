#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/win32/main_window.h"
#include "docking/win32/docking.h"
#include "options/win32/options_window.h"

namespace {

// The UI thread's COM apartment for the program's whole life: the shell may hand a
// link to a handler that needs a single-threaded apartment, and the About picture's
// decoder creates COM objects. Outlives every window, which are declared after it.
class ComApartment {
 public:
  ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT hr_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const ComApartment com;
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
