#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/win32/main_window.h"
#include "docking/win32/docking.h"
#include "options/win32/options_window.h"
#include "stats/win32/statistics_window.h"

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
  tw::StatisticsWindow statistics;
  tw::SetMainWindow(&main);
  const tw::ListBox& log = main.lstTmpResult;
  // Lines logged since the start of this run, counted from the end of the log.
  std::size_t sessionLines = 0;
  main.onF1 = [] { tw::ShowOptionsWindow(); };
  main.onF2 = [] { tw::ToggleShowHour(); };
  main.onF3 = [&statistics] { statistics.Toggle(); };
  main.onResultLogged = [&] {
    ++sessionLines;
    statistics.OnAppended(log.TextAt(log.Count() - 1));
  };
  main.onResultsReloaded = [&] {
    statistics.SetLog(log.Items(), static_cast<std::size_t>(log.Count()) - sessionLines);
  };
  main.onResultRemoved = [&](std::size_t index) {
    if (index + sessionLines >= static_cast<std::size_t>(log.Count()) + 1 && sessionLines > 0) --sessionLines;
    statistics.OnRemoved(index, log.Items());
  };
  main.onResultsReset = [&] {
    sessionLines = 0;
    statistics.OnReset();
  };
  statistics.onTimerKey = [&main](int vk, int shift, bool repeat) { main.onKeyDown(vk, shift, repeat); };
  main.onUnloadExtra = [&statistics] {
    tw::UnloadOptionsWindow();
    statistics.Unload();
  };
  main.quitOnUnload = true;
  if (!main.Load()) return 0;
  statistics.SetLog(log.Items(), static_cast<std::size_t>(log.Count()));
  main.Show();
  statistics.RestoreFromSettings();

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
