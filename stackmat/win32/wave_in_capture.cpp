// waveIn capture, for a device WASAPI cannot open: 16-bit frames from the device the
// endpoint id names (found through its driver), or from the wave mapper for the default.
#include <windows.h>
// After windows.h, and mmsystem.h before mmddk.h: each needs the types of the one before.
#include <mmsystem.h>

#include <mmddk.h>

#include <array>
#include <string>
#include <vector>

#include "stackmat/win32/capture_source.h"

namespace tw::stackmat {
namespace {

constexpr int kBuffers = 8;
constexpr int kBufferMs = 20;
constexpr DWORD kWaitMs = 500;

struct Tried {
  DWORD rate;
  WORD channels;
};
// Mono first: the mapper mixes down; a device that offers only stereo gets both.
constexpr std::array<Tried, 4> kFormats{{{48000, 1}, {44100, 1}, {48000, 2}, {44100, 2}}};

// The waveIn device whose driver names this endpoint, or nothing.
bool WaveInIndexFor(const std::wstring& endpointId, UINT& index) {
  const UINT count = waveInGetNumDevs();
  for (UINT i = 0; i < count; ++i) {
    const auto device = reinterpret_cast<HWAVEIN>(static_cast<UINT_PTR>(i));
    ULONG bytes = 0;
    if (waveInMessage(device, DRV_QUERYFUNCTIONINSTANCEIDSIZE, reinterpret_cast<DWORD_PTR>(&bytes), 0) !=
            MMSYSERR_NOERROR ||
        bytes == 0) {
      continue;
    }
    std::vector<wchar_t> id(bytes / sizeof(wchar_t) + 1, L'\0');
    if (waveInMessage(device, DRV_QUERYFUNCTIONINSTANCEID, reinterpret_cast<DWORD_PTR>(id.data()), bytes) !=
        MMSYSERR_NOERROR) {
      continue;
    }
    if (endpointId == id.data()) {
      index = i;
      return true;
    }
  }
  return false;
}

class WaveIn {
 public:
  ~WaveIn() {
    if (device_ != nullptr) {
      waveInReset(device_);
      for (auto& header : headers_) {
        if ((header.dwFlags & WHDR_PREPARED) != 0) waveInUnprepareHeader(device_, &header, sizeof header);
      }
      waveInClose(device_);
    }
    if (ready_ != nullptr) CloseHandle(ready_);
  }

  MMRESULT Open(UINT index, const Tried& tried) {
    if (ready_ == nullptr) ready_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (ready_ == nullptr) return MMSYSERR_NOMEM;
    format_ = {WAVE_FORMAT_PCM, tried.channels, tried.rate, 0, 0, 16, 0};
    format_.nBlockAlign = static_cast<WORD>(tried.channels * 2);
    format_.nAvgBytesPerSec = tried.rate * format_.nBlockAlign;
    return waveInOpen(&device_, index, &format_, reinterpret_cast<DWORD_PTR>(ready_), 0, CALLBACK_EVENT);
  }

  bool Start() {
    const std::size_t bytes = format_.nAvgBytesPerSec * kBufferMs / 1000;
    for (int i = 0; i < kBuffers; ++i) {
      buffers_[i].assign(bytes, 0);
      headers_[i] = {};
      headers_[i].lpData = buffers_[i].data();
      headers_[i].dwBufferLength = static_cast<DWORD>(bytes);
      if (waveInPrepareHeader(device_, &headers_[i], sizeof headers_[i]) != MMSYSERR_NOERROR ||
          waveInAddBuffer(device_, &headers_[i], sizeof headers_[i]) != MMSYSERR_NOERROR) {
        return false;
      }
    }
    return waveInStart(device_) == MMSYSERR_NOERROR;
  }

  // Hands the filled buffers to the sink in order and gives them back to the device.
  bool Drain(CaptureSink& sink) {
    for (int taken = 0; taken < kBuffers; ++taken) {
      WAVEHDR& header = headers_[next_];
      if ((header.dwFlags & WHDR_DONE) == 0) return true;
      sink.OnFrames(header.lpData, header.dwBytesRecorded / format_.nBlockAlign);
      header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
      if (waveInAddBuffer(device_, &header, sizeof header) != MMSYSERR_NOERROR) return false;
      next_ = (next_ + 1) % kBuffers;
    }
    return true;
  }

  HANDLE ready() const { return ready_; }
  const WAVEFORMATEX& format() const { return format_; }

 private:
  HWAVEIN device_ = nullptr;
  HANDLE ready_ = nullptr;
  WAVEFORMATEX format_{};
  std::array<std::vector<char>, kBuffers> buffers_;
  std::array<WAVEHDR, kBuffers> headers_{};
  int next_ = 0;
};

}  // namespace

CaptureOutcome CaptureWithWaveIn(const std::wstring& deviceId, HANDLE stop, CaptureSink& sink) {
  UINT index = WAVE_MAPPER;
  if (!deviceId.empty() && !WaveInIndexFor(deviceId, index)) {
    return {CaptureOutcome::End::kCouldNotOpen, "the capture device is not there"};
  }
  WaveIn wave;
  MMRESULT result = MMSYSERR_ERROR;
  for (const Tried& tried : kFormats) {
    if ((result = wave.Open(index, tried)) == MMSYSERR_NOERROR) break;
  }
  if (result != MMSYSERR_NOERROR) {
    return {CaptureOutcome::End::kCouldNotOpen, "the capture device cannot be opened (waveIn error " +
                                                    std::to_string(result) + ")"};
  }
  if (!wave.Start()) return {CaptureOutcome::End::kCouldNotOpen, "the capture device does not start"};
  sink.OnOpened(CaptureApi::kWaveIn, static_cast<int>(wave.format().nSamplesPerSec),
                {SampleFormat::kInt16, wave.format().nChannels});
  const HANDLE waits[] = {stop, wave.ready()};
  for (;;) {
    const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, kWaitMs);
    if (woke == WAIT_OBJECT_0) return {};
    if (woke == WAIT_FAILED) return {CaptureOutcome::End::kFailed, "the capture thread cannot wait"};
    if (!wave.Drain(sink)) return {CaptureOutcome::End::kFailed, "the capture device stopped"};
  }
}

}  // namespace tw::stackmat
