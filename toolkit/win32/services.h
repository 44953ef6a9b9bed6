#pragma once
// Process-wide services the windows rely on, each behind a seam a test can replace.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace tw {

inline constexpr int kVersionMajor = TW_VERSION_MAJOR;
inline constexpr int kVersionMinor = TW_VERSION_MINOR;
inline constexpr const char* kAppTitle = "Twistwatch";

// The executable's folder, always ending in a backslash. Paths are UTF-8 text here,
// handed to the system through its wide API, so any folder works.
std::string AppFolder();
// Points AppFolder() elsewhere (a test's temp folder); an empty text restores it.
void SetAppFolderForTesting(const std::string& folder);

// Milliseconds from a 64-bit monotonic clock (QueryPerformanceCounter), so a solve never wraps.
std::int64_t NowMs();
// The real clock behind NowMs(), never replaced; safe from any thread.
std::int64_t MonotonicMs();
// Replaces the clock; an empty function restores the real one.
void SetClockForTesting(std::function<std::int64_t()> clock);
// When the input message being handled happened, in NowMs()'s terms: the clock read
// now, less how much longer than the promptest input it certainly waited by its time
// stamp (see EventStamps), so a key handled late is still timed from when it was
// pressed. UI thread only; a clock set for testing is read as it is.
std::int64_t InputEventMs();

// Plays a sound file asynchronously (sndPlaySoundW, SND_ASYNC); false when the system
// could not start it (no player, no audio device, a file it cannot play): the timer
// goes on silently, but the failure is there to see.
bool PlaySoundAsync(const std::string& path);
// Whether the system's sound player (winmm) could be loaded at all.
bool SoundPlayerAvailable();
// Has a worker make the system find its audio devices, so that the first sound played
// starts on time; the UI thread never waits for it. Once per process; UI thread only.
void WarmSoundOutput();
void SetSoundPlayerForTesting(std::function<void(const std::string&)> player);

// A modal message box; returns the button pressed (IDYES = 6, ...).
// Texts are UTF-8.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& title, unsigned style);
void SetMessageBoxForTesting(
    std::function<int(HWND, const std::string& text, const std::string& title, unsigned style)> answer);

// Puts plain text on the clipboard; false when the clipboard could not be had.
bool CopyTextToClipboard(HWND owner, const std::string& text);

// Text of the settings file or a result line (the ANSI code page) as UTF-16, for a
// caption that shows it letter for letter.
std::wstring AnsiToWide(const std::string& text);

// Width of the primary screen in twips at the given DPI.
int ScreenWidthTwips(int dpi);

}  // namespace tw
