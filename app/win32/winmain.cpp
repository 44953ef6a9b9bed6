#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <string_view>

#include "app/change_note.h"
#include "app/win32/main_window.h"
#include "app/win32/single_instance.h"
#include "results/result_book.h"
#include "results/win32/log_file_store.h"
#include "results/win32/session_shelf.h"
#include "toolkit/win32/services.h"
#include "docking/win32/docking.h"
#include "options/win32/options_window.h"
#include "picture/win32/scramble_picture_window.h"
#include "stats/win32/statistics_window.h"
#include "storage/win32/settings.h"
#include "toolkit/win32/system_library.h"

#if defined(__GLIBCXX__)
// A program that ends through std::terminate has no console to print to: the standard
// library's verbose handler, and the demangler it pulls into the exe (about 45 KB of
// its 1 MB), would write its message nowhere. Ending at once is all it can do.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif

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

// Posted to the UI thread once the main window is painted, for what start-up need not
// wait for; lost in a modal loop, which is harmless: F3 then works the figures out
// itself, and the first sound or precise timer loads winmm.
constexpr UINT kStatisticsIdleMessage = WM_APP + 41;

// The store WinMain made serves the settings until WinMain returns, after every window
// declared later is gone.
class StoreInUse {
 public:
  StoreInUse() = default;
  ~StoreInUse() { tw::settings::UseStore(nullptr); }
  StoreInUse(const StoreInUse&) = delete;
  StoreInUse& operator=(const StoreInUse&) = delete;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // A second copy started from the same folder would log over the first one's results:
  // it brings the first one forward instead and ends.
  if (!tw::ClaimSingleInstance(tw::AppFolder())) return 0;
  const ComApartment com;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  tw::Form::RegisterWindowClass(instance);
  tw::docking::SetDockWindowSource(&tw::Form::LoadedWindowHandles);

  // The settings' one owner: every window reads and writes Setting.ini through it and
  // watches it for the keys it shows.
  tw::settings::ProfileSettingsFile settingsFile;
  tw::settings::SettingsStore settings(settingsFile);
  tw::settings::UseStore(&settings);
  const StoreInUse storeInUse;

  // The log of record: the one book of Result.lst, shown by every window.
  tw::results::LogFileStore store(tw::AppFolder() + tw::results::SessionFileName(tw::results::kFirstSession));
  tw::results::ResultBook book(store);
  // Further sessions' books: the windows follow the current one.
  tw::results::SessionShelf shelf(tw::AppFolder(), book);
  // Only the session shown is read at start (by the main window's load).
  tw::MainWindow main(shelf.StartBook());
  tw::StatisticsWindow statistics(shelf.StartBook());
  tw::ScramblePictureWindow picture;
  tw::SetOptionsResultBook(&shelf.StartBook());
  tw::SetOptionsSessionShelf(&shelf);
  shelf.onSwitched = [&] {
    tw::results::ResultBook& current = shelf.CurrentBook();
    main.ShowCurrentSession();
    statistics.Attach(current, shelf.IsFirst() ? std::string() : shelf.Current().name);
    tw::SetOptionsResultBook(&current);
  };
  main.UseShelf(shelf);
  // Every window hears of a setting written anywhere through the store.
  settings.AddWatcher(main);
  main.onF1 = [&main] { tw::ShowOptionsWindow(main.Handle()); };
  main.onF2 = [&main] { tw::ToggleShowHour(main.Handle()); };
  main.onF3 = [&statistics] {
    statistics.EnsureFresh();
    statistics.Toggle();
  };
  statistics.SetTimer(main, [&main](int vk, int shift, bool repeat) { main.onKeyDown(vk, shift, repeat); });
  main.onF4 = [&picture] { picture.Toggle(); };
  main.onScrambleChanged = [&picture](tw::scramble::Event event, const tw::scramble::EventScramble& scramble) {
    picture.Show(event, scramble);
  };
  picture.SetTimer(main, [&main](int vk, int shift, bool repeat) { main.onKeyDown(vk, shift, repeat); });
  main.onUnloadExtra = [&statistics, &picture] {
    tw::UnloadOptionsWindow();
    statistics.Unload();
    picture.Unload();
  };
  main.quitOnUnload = true;
  if (!main.Load()) return 0;
  if (!shelf.IsFirst()) shelf.onSwitched();  // the session last shown
  if (shelf.List().FoundAgain() > 0) main.ShowNote(tw::FoundAgainNote(shelf.List().FoundAgain()));
  main.Show();
  UpdateWindow(main.Handle());  // painted before the statistics' turn: posted messages come first
  statistics.RestoreFromSettings();
  picture.RestoreFromSettings();
  PostThreadMessageA(GetCurrentThreadId(), kStatisticsIdleMessage, 0, 0);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == nullptr && msg.message == kStatisticsIdleMessage) {
      // The first Space then finds the precise timers and the sounds loaded.
      tw::PreloadSystemLibrary("winmm.dll");
      main.PrepareSounds();
      statistics.EnsureFresh();
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // The last saves are on their way to the disk: the program ends once they are there.
  shelf.FlushAll();
  return 0;
}
