#pragma once
// One way of reading a sound input on the capture thread: WASAPI in shared mode, or
// the older waveIn where WASAPI cannot open the device. Each runs until `stop` is set
// or the device fails, handing every block of frames to the sink.
#include <windows.h>

#include <cstddef>
#include <string>

#include "stackmat/sample_format.h"

namespace tw::stackmat {

enum class CaptureApi {
  kNone,
  kWasapiRaw,  // shared mode with the raw stream: no effects, no gain control
  kWasapi,     // shared mode as the device gives it (it offers no raw stream)
  kWaveIn,
};

const char* CaptureApiName(CaptureApi api);

class CaptureSink {
 public:
  virtual ~CaptureSink() = default;
  // Once, before the first frames.
  virtual void OnOpened(CaptureApi api, int sampleRate, const FrameLayout& layout) = 0;
  // Frames in the layout given at opening; nullptr for as many frames of silence.
  virtual void OnFrames(const void* frames, std::size_t count) = 0;
};

struct CaptureOutcome {
  enum class End { kStopped, kCouldNotOpen, kFailed };
  End end = End::kStopped;
  std::string why;  // for kCouldNotOpen and kFailed, in the user's words
};

// An empty id means the system's default capture device. COM must be initialized
// (multithreaded) on the calling thread for WASAPI.
CaptureOutcome CaptureWithWasapi(const std::wstring& deviceId, HANDLE stop, CaptureSink& sink);
CaptureOutcome CaptureWithWaveIn(const std::wstring& deviceId, HANDLE stop, CaptureSink& sink);

}  // namespace tw::stackmat
