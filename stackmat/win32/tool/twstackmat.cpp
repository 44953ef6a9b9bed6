// twstackmat: lists the sound inputs a timer can be plugged into, or listens to one and
// prints what the timer says, a line at a time, for a person checking a cable and for
// the tests that play a timer into a real audio device.
//
//   twstackmat devices                       id<TAB>name, the default first (UTF-8)
//   twstackmat listen [DEVICE-ID] [SECONDS]  until standard input ends, "quit" is read,
//                                            or SECONDS pass
//
// listen prints "opened <how>", "state <no-signal|unreadable|reading>",
// "packet <state> <ms> <digits>" for each new packet, "stopped <why>" if capture ends,
// then "thread <name> <ms>" for each thread that took processor time over its life,
// and last "cpu <ms> wall <ms>": the process's processor time from the capture's
// opening to its end, and the time that took.
#include <windows.h>
// After windows.h: it needs its types.
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "stackmat/win32/capture_devices.h"
#include "stackmat/win32/listener.h"
#include "storage/win32/wide_path.h"

namespace {

using tw::stackmat::LineState;
using tw::stackmat::ListenerEvent;
using tw::stackmat::Status;

constexpr UINT kEventsMessage = WM_APP + 1;
constexpr wchar_t kWindowClass[] = L"TwStackmatTool";

const char* StatusName(Status status) {
  switch (status) {
    case Status::kIdle: return "idle";
    case Status::kReady: return "ready";
    case Status::kLeft: return "left";
    case Status::kRight: return "right";
    case Status::kNotReady: return "not-ready";
    case Status::kRunning: return "running";
    case Status::kStopped: return "stopped";
  }
  return "?";
}

const char* StateName(LineState state) {
  switch (state) {
    case LineState::kNoSignal: return "no-signal";
    case LineState::kUnreadable: return "unreadable";
    case LineState::kReading: return "reading";
  }
  return "?";
}

ULONGLONG CpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return (ticks(kernel) + ticks(user)) / 10000;
}

tw::stackmat::Listener* g_listener = nullptr;
// When capture opened: its start-up is not listening.
ULONGLONG g_openedCpu = 0;
ULONGLONG g_openedAt = 0;

void Print(const ListenerEvent& event) {
  switch (event.kind) {
    case ListenerEvent::Kind::kOpened:
      g_openedCpu = CpuMs();
      g_openedAt = GetTickCount64();
      std::printf("opened %s\n", tw::stackmat::CaptureApiName(event.api));
      break;
    case ListenerEvent::Kind::kPacket:
      std::printf("packet %s %lld %d\n", StatusName(event.packet.status), static_cast<long long>(event.packet.ms),
                  event.packet.thousandths ? 6 : 5);
      break;
    case ListenerEvent::Kind::kLineState:
      std::printf("state %s\n", StateName(event.state));
      break;
    case ListenerEvent::Kind::kStopped:
      std::printf("stopped %s\n", event.why.c_str());
      break;
  }
  std::fflush(stdout);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kEventsMessage && g_listener != nullptr) {
    for (const ListenerEvent& event : g_listener->TakeEvents()) Print(event);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Standard input ends or says "quit": the listening ends.
DWORD WINAPI WatchInput(void* done) {
  char line[256];
  while (std::fgets(line, sizeof line, stdin) != nullptr) {
    if (std::strncmp(line, "quit", 4) == 0) break;
  }
  SetEvent(static_cast<HANDLE>(done));
  return 0;
}

ULONGLONG ThreadCpuMs(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return 0;
  const auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return (ticks(kernel) + ticks(user)) / 10000;
}

// The thread's description where the system has one (looked up: it is newer than
// Windows 10's first release), else its id.
std::string ThreadName(HANDLE thread, DWORD id) {
  using Describe = HRESULT(WINAPI*)(HANDLE, PWSTR*);
  static const auto describe = reinterpret_cast<Describe>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetThreadDescription")));
  PWSTR description = nullptr;
  std::string name;
  if (describe != nullptr && SUCCEEDED(describe(thread, &description)) && description != nullptr) {
    name = tw::storage::Narrow(description);
    LocalFree(description);
  }
  for (char& c : name) {
    if (c == ' ') c = '-';
  }
  return name.empty() ? "id-" + std::to_string(id) : name;
}

// Where the processor time goes: the capture thread, the main thread, the system's audio threads.
void PrintThreads() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != GetCurrentProcessId()) continue;
    const HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
    if (thread == nullptr) continue;
    const ULONGLONG ms = ThreadCpuMs(thread);
    const std::string name =
        entry.th32ThreadID == GetCurrentThreadId() ? "main" : ThreadName(thread, entry.th32ThreadID);
    if (ms > 0) std::printf("thread %s %llu\n", name.c_str(), ms);
    CloseHandle(thread);
  }
  CloseHandle(snapshot);
}

int Devices() {
  for (const tw::stackmat::Device& device : tw::stackmat::CaptureDevices()) {
    std::printf("%s\t%s\n", tw::storage::Narrow(device.id).c_str(), tw::storage::Narrow(device.name).c_str());
  }
  return 0;
}

int Listen(const std::wstring& deviceId, double seconds) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);
  const HWND window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      windowClass.hInstance, nullptr);
  if (window == nullptr) return 2;
  const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(CreateThread(nullptr, 0, WatchInput, done, 0, nullptr));

  tw::stackmat::Listener listener;
  g_listener = &listener;
  const ULONGLONG start = GetTickCount64();
  listener.Start(window, kEventsMessage, deviceId);
  const auto limit = static_cast<ULONGLONG>(seconds * 1000);
  for (;;) {
    const ULONGLONG waited = GetTickCount64() - start;
    if (waited >= limit) break;
    const DWORD woke = MsgWaitForMultipleObjects(1, &done, FALSE, static_cast<DWORD>(limit - waited), QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) break;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  for (const ListenerEvent& event : listener.TakeEvents()) Print(event);
  if (g_openedAt != 0) PrintThreads();
  const ULONGLONG cpu = CpuMs() - g_openedCpu;
  const ULONGLONG wall = GetTickCount64() - g_openedAt;
  listener.Stop();
  for (const ListenerEvent& event : listener.TakeEvents()) Print(event);
  if (g_openedAt != 0) std::printf("cpu %llu wall %llu\n", cpu, wall);
  std::fflush(stdout);
  g_listener = nullptr;
  DestroyWindow(window);
  // The input thread may still wait on standard input: end without joining it.
  ExitProcess(0);
}

int Usage() {
  std::fprintf(stderr, "usage: twstackmat devices | twstackmat listen [DEVICE-ID] [SECONDS]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "devices") == 0) return Devices();
  if (argc >= 2 && argc <= 4 && std::strcmp(argv[1], "listen") == 0) {
    const std::wstring device = argc >= 3 ? tw::storage::Widen(argv[2]) : std::wstring();
    double seconds = 3600;
    if (argc == 4) {
      char* end = nullptr;
      seconds = std::strtod(argv[3], &end);
      if (end == argv[3] || *end != '\0' || seconds <= 0) return Usage();
    }
    return Listen(device, seconds);
  }
  return Usage();
}
