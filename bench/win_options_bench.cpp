// The options window under Wine with a 100,000-line log: F1 to the Result panel
// painted, from an unloaded window and from one F2 left loaded hidden; a Remove; and
// the memory the Result panel adds to the process.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_util.h"
#include "bench/win_bench_util.h"
#include "options/win32/options_window.h"
#include "results/result_book.h"
#include "storage/win32/settings.h"
#include "toolkit/win32/form.h"
#include "toolkit/win32/services.h"

namespace {

constexpr double kShowTargetMs = 100.0;
constexpr double kRemoveTargetMs = 16.0;
constexpr double kBytesPerMb = 1024.0 * 1024.0;
// Never left waiting in the modal loop when the list does not paint.
constexpr UINT kGiveUpMs = 5000;

// A log kept in memory whose saves succeed at once: the figures are the window's
// cost, not the disk's.
class MemoryStore : public tw::results::LogStore {
 public:
  explicit MemoryStore(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  tw::results::LoadedLog Load() override {
    tw::results::LoadedLog log;
    log.state = tw::results::LoadedLog::State::kRead;
    log.lines = lines_;
    return log;
  }
  void Save(tw::results::SaveJob job) override {
    tw::results::SaveOutcome outcome;
    outcome.generation = job.generation;
    outcome.saved = true;
    job = {};  // the store lets go of the lines before it answers
    if (done_) done_(std::move(outcome));
  }
  void SetDone(std::function<void(tw::results::SaveOutcome)> done) override { done_ = std::move(done); }
  void Flush() override {}
  std::string Describe() const override { return "memory"; }

 private:
  std::vector<std::string> lines_;
  std::function<void(tw::results::SaveOutcome)> done_;
};

// Committed private pages, walked region by region (Wine leaves PrivateUsage at 0).
SIZE_T CommittedPrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION info;
  for (auto* address = static_cast<char*>(nullptr); VirtualQuery(address, &info, sizeof info) == sizeof info;
       address = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    if (info.RegionSize == 0) break;
  }
  return total;
}

// The moment the Result panel's list has drawn its lines, seen from inside the modal
// loop: the list paints in a posted WM_PAINT, which no hook sees end, but it draws each
// line through a WM_DRAWITEM sent to the window. The first one posts the title bar's
// close, which arrives once the paint that is under way has drawn every line.
struct PaintWatch {
  static inline double paintedAt = 0;
  static inline bool closing = false;
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    tw::OptionsWindow* window = tw::OptionsWindowInstance();
    if (code == HC_ACTION && call->message == WM_DRAWITEM && window && call->hwnd == window->Handle() &&
        reinterpret_cast<const DRAWITEMSTRUCT*>(call->lParam)->hwndItem == window->Control("lstResult")) {
      paintedAt = tw::bench::NowPreciseMs();
      if (!closing) PostMessageA(window->Handle(), WM_CLOSE, 0, 0);
      closing = true;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (tw::OptionsWindowLoaded()) PostMessageA(tw::OptionsWindowInstance()->Handle(), WM_CLOSE, 0, 0);
  }
};

// F1: from the key to the list painted; 0 when it never painted.
double ShowMs(HWND owner) {
  PaintWatch::paintedAt = 0;
  PaintWatch::closing = false;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, &PaintWatch::Hook, nullptr, GetCurrentThreadId());
  const UINT_PTR timer = SetTimer(nullptr, 0, kGiveUpMs, &PaintWatch::GiveUp);
  const double start = tw::bench::NowPreciseMs();
  tw::ShowOptionsWindow(owner);
  KillTimer(nullptr, timer);
  UnhookWindowsHookEx(hook);
  return PaintWatch::paintedAt == 0 ? 0 : PaintWatch::paintedAt - start;
}

template <typename Prepare>
double MedianShowMs(HWND owner, Prepare prepare) {
  std::vector<double> times;
  for (int run = 0; run < tw::bench::kResultLogRuns; ++run) {
    prepare();
    times.push_back(ShowMs(owner));
  }
  return tw::bench::Median(std::move(times));
}

tw::FormDesign OwnerDesign() {
  return tw::FormDesign{"Twistwatch", 7800, 1500, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0x00FFFFFF,
                        tw::FontSpec{"Tahoma", 825, FW_NORMAL}, 0, true};
}

}  // namespace

int main() {
  using namespace tw::bench;
  // As the program's UI thread: the About picture's decoder needs the apartment.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const TempFolder folder("tw-options-bench-");
  if (!folder.Created()) {
    std::printf("options bench: cannot create %s\n", folder.Path().c_str());
    return 1;
  }
  tw::SetAppFolderForTesting(folder.Path());
  tw::settings::SetFileForTesting(folder.Path() + "Setting.ini");
  WritePrivateProfileStringA("General Settings", "Last Frame", "Result", (folder.Path() + "Setting.ini").c_str());
  const std::vector<std::string> lines = RealisticResultLog();
  MemoryStore store(lines);
  tw::results::ResultBook book(store);
  book.Load();
  tw::SetOptionsResultBook(&book);
  tw::Form owner(OwnerDesign());
  owner.Load();
  owner.Show();
  ShowMs(owner.Handle());  // the process's first dialog pays for the window system's start

  const double freshMs = MedianShowMs(owner.Handle(), [] { tw::UnloadOptionsWindow(); });
  MemoryStore oneLineStore({lines.front()});
  tw::results::ResultBook oneLineBook(oneLineStore);
  oneLineBook.Load();
  tw::SetOptionsResultBook(&oneLineBook);
  const double oneLineMs = MedianShowMs(owner.Handle(), [] { tw::UnloadOptionsWindow(); });
  tw::SetOptionsResultBook(&book);
  // F2 twice: loaded hidden, Show Hour as it was.
  const double hiddenMs = MedianShowMs(owner.Handle(), [&] {
    tw::ToggleShowHour(owner.Handle());
    tw::ToggleShowHour(owner.Handle());
  });

  tw::UnloadOptionsWindow();
  const SIZE_T before = CommittedPrivateBytes();
  tw::OptionsWindow& window = tw::frmMore(owner.Handle());
  const double grownMb = static_cast<double>(CommittedPrivateBytes() - before) / kBytesPerMb;
  const bool complete = window.lstResult.Count() == static_cast<int>(lines.size());
  window.lstResult.SetSelectedIndex(kResultLogLines / 2);
  const double removeStart = NowPreciseMs();
  window.onCmdRemoveClick();
  const double removeMs = NowPreciseMs() - removeStart;
  const bool removed = window.lstResult.Count() == static_cast<int>(lines.size()) - 1 &&
                       window.lstResult.SelectedIndex() == kResultLogLines / 2;
  tw::UnloadOptionsWindow();
  tw::SetOptionsResultBook(nullptr);
  owner.Unload();

  std::printf("options window F1 to the Result panel painted, %d lines: %.1f ms (target <= %.0f ms); "
              "with one line: %.1f ms\n",
              kResultLogLines, freshMs, kShowTargetMs, oneLineMs);
  std::printf("options window F1 after F2 to the Result panel painted, %d lines: %.1f ms (target <= %.0f ms)\n",
              kResultLogLines, hiddenMs, kShowTargetMs);
  std::printf("Result panel Remove of one of %d lines: %.1f ms (target <= %.0f ms)\n", kResultLogLines, removeMs,
              kRemoveTargetMs);
  std::printf("Result panel of %d lines adds %.1f MB of private memory\n", kResultLogLines, grownMb);
  tw::SetAppFolderForTesting("");
  tw::settings::SetFileForTesting("");
  if (SUCCEEDED(com)) CoUninitialize();
  if (freshMs == 0 || oneLineMs == 0 || hiddenMs == 0 || !complete || !removed) {
    std::printf("options bench FAILED: the Result panel did not paint or did not show the book\n");
    return 1;
  }
  return 0;
}
