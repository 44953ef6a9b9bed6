#include "toolkit/win32/services.h"

#include <mmsystem.h>

#include <cstring>
#include <utility>

#include "storage/path_normalizer.h"
#include "storage/win32/app_folder.h"
#include "storage/win32/wide_path.h"
#include "toolkit/event_stamp.h"
#include "toolkit/units.h"
#include "toolkit/win32/system_library.h"

namespace tw {

namespace {

std::string g_app_folder_override;
std::function<std::int64_t()> g_clock;
std::function<void(const std::string&)> g_sound;
std::function<int(HWND, const std::string&, const std::string&, unsigned)> g_message_box;

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

std::string AppFolder() {
  if (!g_app_folder_override.empty()) return storage::NormalizePath(g_app_folder_override);
  return storage::ApplicationFolder();
}

void SetAppFolderForTesting(const std::string& folder) { g_app_folder_override = folder; }

std::int64_t NowMs() {
  if (g_clock) return g_clock();
  return MonotonicMs();
}

std::int64_t MonotonicMs() {
  static const std::int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<std::int64_t>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const auto ticks = static_cast<std::int64_t>(now.QuadPart);
  // Split to keep ticks * 1000 from overflowing on long uptimes.
  return (ticks / frequency) * 1000 + (ticks % frequency) * 1000 / frequency;
}

void SetClockForTesting(std::function<std::int64_t()> clock) { g_clock = std::move(clock); }

std::int64_t InputEventMs() {
  const std::int64_t read = NowMs();
  if (g_clock) return read;
  // Wine stamps a key with the X server's own millisecond; Windows with the tick count,
  // whose 15.625 ms show as steps of 15 and 16.
  static EventStamps stamps(RunningUnderWine() ? 1 : 17);
  return read - stamps.CertainWaitMs(read, static_cast<std::uint32_t>(GetMessageTime()));
}

namespace {
decltype(&sndPlaySoundW) SoundPlayer() {
  static const auto play = SystemFunction<decltype(&sndPlaySoundW)>("winmm.dll", "sndPlaySoundW");
  return play;
}
}  // namespace

bool PlaySoundAsync(const std::string& path) {
  if (g_sound) {
    g_sound(path);
    return true;
  }
  const auto play = SoundPlayer();
  return play && play(storage::Widen(path).c_str(), SND_ASYNC | SND_NODEFAULT);
}

bool SoundPlayerAvailable() { return SoundPlayer() != nullptr; }

void WarmSoundOutput() {
  static bool warmed = false;
  if (g_sound || warmed) return;
  warmed = true;
  // The first sound otherwise waits for the system to find its audio devices (about a
  // tenth of a second under Wine): a countdown's first beep would come late.
  const HANDLE worker = CreateThread(
      nullptr, 0,
      [](void*) -> DWORD {
        using CountDevices = UINT(WINAPI*)();
        if (const auto count = SystemFunction<CountDevices>("winmm.dll", "waveOutGetNumDevs")) count();
        return 0;
      },
      nullptr, 0, nullptr);
  if (worker) CloseHandle(worker);
}

void SetSoundPlayerForTesting(std::function<void(const std::string&)> player) { g_sound = std::move(player); }

int ShowMessageBox(HWND owner, const std::string& text, const std::string& title, unsigned style) {
  if (g_message_box) return g_message_box(owner, text, title, style);
  // Texts are UTF-8, so a path the ANSI code page cannot hold is shown as it is.
  return MessageBoxW(owner, storage::Widen(text).c_str(), storage::Widen(title).c_str(), style);
}

void SetMessageBoxForTesting(
    std::function<int(HWND, const std::string&, const std::string&, unsigned)> answer) {
  g_message_box = std::move(answer);
}

int ScreenWidthTwips(int dpi) { return PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), dpi); }

std::wstring AnsiToWide(const std::string& text) { return storage::Widen(text, CP_ACP); }

bool CopyTextToClipboard(HWND owner, const std::string& text) {
  if (!OpenClipboard(owner)) return false;
  bool copied = false;
  if (EmptyClipboard()) {
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
      if (void* bytes = GlobalLock(memory)) {
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        copied = SetClipboardData(CF_TEXT, memory) != nullptr;
      }
      // The clipboard owns the memory once it took it, and only then.
      if (!copied) GlobalFree(memory);
    }
  }
  CloseClipboard();
  return copied;
}

}  // namespace tw
