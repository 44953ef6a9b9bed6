#pragma once
// Listens to a competition timer on a sound input. A thread of its own captures the
// input (WASAPI in shared mode, with the raw stream where the device offers it; waveIn
// where WASAPI cannot open it) and decodes it; what it learns waits in a queue, and a
// message tells the window there is something to take:
//
//   listener.Start(window, WM_APP_STACKMAT, deviceId);
//   ...
//   case WM_APP_STACKMAT:
//     for (const ListenerEvent& event : listener.TakeEvents()) { ... }
//
// The message is posted once until TakeEvents is called, so a window that is busy
// for a while finds one message and every event in order, never a flood.
#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "stackmat/decoder.h"
#include "stackmat/packet.h"
#include "stackmat/win32/capture_source.h"

namespace tw::stackmat {

struct ListenerEvent {
  enum class Kind {
    kOpened,     // capture began: `api` says how
    kPacket,     // the timer said something new: `packet` (repeats of a packet are not posted)
    kLineState,  // the line changed: `state` (kNoSignal when capture begins)
    kStopped,    // capture ended for good: `why`, in the user's words
  };
  Kind kind = Kind::kOpened;
  CaptureApi api = CaptureApi::kNone;
  Packet packet;
  LineState state = LineState::kNoSignal;
  std::string why;
};

class Listener {
 public:
  Listener();
  Listener(const Listener&) = delete;
  Listener& operator=(const Listener&) = delete;
  ~Listener();

  // Starts listening to the device (an id from CaptureDevices; empty for the system's
  // default), stopping any earlier listening first. `message` (wParam and lParam 0)
  // goes to `window` when events wait. A device that cannot be opened ends in one
  // kStopped event.
  void Start(HWND window, UINT message, std::wstring deviceId);
  // Ends capture and waits for the thread; no message is posted after this returns.
  // Events not yet taken stay to be taken.
  void Stop();

  // The events since the last call, oldest first; the next event posts the message again.
  std::vector<ListenerEvent> TakeEvents();

 private:
  class Sink;
  void Run(std::wstring deviceId);
  void Push(ListenerEvent event);

  mutable std::mutex mutex_;
  std::vector<ListenerEvent> events_;
  bool posted_ = false;
  bool stopping_ = false;
  HWND window_ = nullptr;
  UINT message_ = 0;
  HANDLE stop_ = nullptr;
  std::thread thread_;
};

}  // namespace tw::stackmat
