#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/win32/main_window.h"
#include "docking/win32/docking.h"
#include "options/win32/options_window.h"
#include "stats/win32/statistics_window.h"
#include "toolkit/win32/system_library.h"

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

// Keeps the statistics window in step with the main window's log. The figures of a
// long log take a while to work out, so they are worked out only once the program
// has painted its window (or at the first F3, if that comes sooner); until then
// changes to the log cost nothing here.
class StatisticsLink {
 public:
  StatisticsLink(tw::StatisticsWindow& window, const tw::ListBox& log) : window_(window), log_(log) {}

  void Refresh() {
    window_.SetLog(log_.Items(), Count() - session_lines_);
    fresh_ = true;
  }
  void EnsureFresh() {
    if (!fresh_) Refresh();
  }
  void Logged() {
    ++session_lines_;
    if (fresh_) window_.OnAppended(log_.TextAt(log_.Count() - 1));
  }
  void Reloaded() {
    fresh_ = false;
    if (window_.Visible()) Refresh();
  }
  void Removed(std::size_t index) {
    // The lines logged this run are the last ones: one of them may have gone.
    if (session_lines_ > 0 && index + session_lines_ >= Count() + 1) --session_lines_;
    if (fresh_) window_.OnRemoved(index, log_.Items());
  }
  void Reset() {
    session_lines_ = 0;
    if (fresh_) window_.OnReset();
  }

 private:
  std::size_t Count() const { return static_cast<std::size_t>(log_.Count()); }

  tw::StatisticsWindow& window_;
  const tw::ListBox& log_;
  std::size_t session_lines_ = 0;
  bool fresh_ = false;
};

// Posted to the UI thread once the main window is painted, for what start-up need not
// wait for; lost in a modal loop, which is harmless: F3 then works the figures out
// itself, and the first sound or precise timer loads winmm.
constexpr UINT kStatisticsIdleMessage = WM_APP + 41;

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
  StatisticsLink link(statistics, main.lstTmpResult);
  main.onF1 = [] { tw::ShowOptionsWindow(); };
  main.onF2 = [] { tw::ToggleShowHour(); };
  main.onF3 = [&] {
    link.EnsureFresh();
    statistics.Toggle();
  };
  main.onResultLogged = [&link] { link.Logged(); };
  main.onResultsReloaded = [&link] { link.Reloaded(); };
  main.onResultRemoved = [&link](std::size_t index) { link.Removed(index); };
  main.onResultsReset = [&link] { link.Reset(); };
  statistics.onTimerKey = [&main](int vk, int shift, bool repeat) { main.onKeyDown(vk, shift, repeat); };
  main.onUnloadExtra = [&statistics] {
    tw::UnloadOptionsWindow();
    statistics.Unload();
  };
  main.quitOnUnload = true;
  if (!main.Load()) return 0;
  main.Show();
  UpdateWindow(main.Handle());  // painted before the statistics' turn: posted messages come first
  statistics.RestoreFromSettings();
  if (statistics.Visible()) link.Refresh();
  PostThreadMessageA(GetCurrentThreadId(), kStatisticsIdleMessage, 0, 0);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == nullptr && msg.message == kStatisticsIdleMessage) {
      // The first Space then finds the precise timers and the sounds loaded.
      tw::PreloadSystemLibrary("winmm.dll");
      link.EnsureFresh();
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
