// Shared-mode WASAPI capture. Where the device offers a raw stream, it is asked for:
// a line-in's effects (noise suppression, automatic gain) round a timer's square
// edges into something no decoder reads.
#include <windows.h>
// After windows.h: these need its types.
#include <audioclient.h>
#include <mmdeviceapi.h>
#include <mmreg.h>
#include <wrl/client.h>

#include <cstring>
#include <memory>
#include <string>

#include "stackmat/win32/capture_source.h"

namespace tw::stackmat {
namespace {

using Microsoft::WRL::ComPtr;

// Not in every SDK's headers: System.Devices.AudioDevice.RawProcessingSupported.
constexpr PROPERTYKEY kRawProcessingSupported{{0x8943b373, 0x388c, 0x4395, {0xb5, 0x57, 0xbc, 0x6d, 0xba, 0xff, 0xaf, 0xdb}},
                                              2};
// The buffer is read every 40 ms rather than at each of the device's 10 ms periods: a
// quarter of the wake-ups, and a timer's display needs no more. The buffer holds five
// reads, so a thread held up for a moment loses nothing.
constexpr DWORD kReadEveryMs = 40;
constexpr REFERENCE_TIME kBufferHns = 200 * 10000;

bool OffersRawStream(IMMDevice* device) {
  ComPtr<IPropertyStore> properties;
  if (FAILED(device->OpenPropertyStore(STGM_READ, &properties))) return false;
  PROPVARIANT value;
  PropVariantInit(&value);
  const bool raw = SUCCEEDED(properties->GetValue(kRawProcessingSupported, &value)) && value.vt == VT_BOOL &&
                   value.boolVal == VARIANT_TRUE;
  PropVariantClear(&value);
  return raw;
}

// The KSDATAFORMAT_SUBTYPE_* of an extensible format carry the plain format tag in
// their first field; the rest is one fixed base.
WORD PlainTag(const WAVEFORMATEX& format) {
  if (format.wFormatTag != WAVE_FORMAT_EXTENSIBLE || format.cbSize < 22) return format.wFormatTag;
  const GUID& sub = reinterpret_cast<const WAVEFORMATEXTENSIBLE&>(format).SubFormat;
  constexpr unsigned char kBase[8] = {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71};
  if (sub.Data2 != 0 || sub.Data3 != 0x10 || std::memcmp(sub.Data4, kBase, sizeof kBase) != 0) return 0;
  return static_cast<WORD>(sub.Data1);
}

bool LayoutOf(const WAVEFORMATEX& format, FrameLayout& layout) {
  if (format.nChannels == 0) return false;
  layout.channels = format.nChannels;
  const int container = format.nBlockAlign / format.nChannels;
  switch (PlainTag(format)) {
    case WAVE_FORMAT_IEEE_FLOAT:
      layout.format = SampleFormat::kFloat32;
      return container == 4;
    case WAVE_FORMAT_PCM:
      if (container == 2) layout.format = SampleFormat::kInt16;
      if (container == 3) layout.format = SampleFormat::kInt24;
      if (container == 4) layout.format = SampleFormat::kInt32;  // 24 bits sit at the top of 32
      return container >= 2 && container <= 4;
    default:
      return false;
  }
}

struct CoFree {
  void operator()(void* p) const { CoTaskMemFree(p); }
};

std::string Hex(HRESULT hr) {
  char text[32];
  wsprintfA(text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

CaptureOutcome CouldNotOpen(const char* what, HRESULT hr) {
  return {CaptureOutcome::End::kCouldNotOpen, std::string(what) + " (" + Hex(hr) + ")"};
}

}  // namespace

CaptureOutcome CaptureWithWasapi(const std::wstring& deviceId, HANDLE stop, CaptureSink& sink) {
  ComPtr<IMMDeviceEnumerator> enumerator;
  HRESULT hr = CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, IID_PPV_ARGS(&enumerator));
  if (FAILED(hr)) return CouldNotOpen("the audio service does not answer", hr);
  ComPtr<IMMDevice> device;
  hr = deviceId.empty() ? enumerator->GetDefaultAudioEndpoint(eCapture, eConsole, &device)
                        : enumerator->GetDevice(deviceId.c_str(), &device);
  if (FAILED(hr)) return CouldNotOpen("the capture device is not there", hr);

  ComPtr<IAudioClient> client;
  hr = device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, reinterpret_cast<void**>(client.GetAddressOf()));
  if (FAILED(hr)) return CouldNotOpen("the capture device cannot be opened", hr);
  bool raw = false;
  if (OffersRawStream(device.Get())) {
    ComPtr<IAudioClient2> client2;
    if (SUCCEEDED(client.As(&client2))) {
      AudioClientProperties properties{};
      properties.cbSize = sizeof properties;
      properties.eCategory = AudioCategory_Other;
      properties.Options = AUDCLNT_STREAMOPTIONS_RAW;
      raw = SUCCEEDED(client2->SetClientProperties(&properties));
    }
  }

  WAVEFORMATEX* mixFormat = nullptr;
  hr = client->GetMixFormat(&mixFormat);
  if (FAILED(hr) || mixFormat == nullptr) return CouldNotOpen("the capture device gives no format", hr);
  const std::unique_ptr<WAVEFORMATEX, CoFree> format(mixFormat);
  FrameLayout layout;
  if (!LayoutOf(*format, layout)) return CouldNotOpen("the capture device's format is not one read here", E_FAIL);
  hr = client->Initialize(AUDCLNT_SHAREMODE_SHARED, 0, kBufferHns, 0, format.get(), nullptr);
  if (FAILED(hr)) return CouldNotOpen("the capture device refuses the stream", hr);
  ComPtr<IAudioCaptureClient> capture;
  hr = client->GetService(IID_PPV_ARGS(&capture));
  if (FAILED(hr)) return CouldNotOpen("the capture device gives no capture service", hr);
  hr = client->Start();
  if (FAILED(hr)) return CouldNotOpen("the capture device does not start", hr);

  sink.OnOpened(raw ? CaptureApi::kWasapiRaw : CaptureApi::kWasapi, static_cast<int>(format->nSamplesPerSec), layout);
  CaptureOutcome outcome;
  for (;;) {
    const DWORD woke = WaitForSingleObject(stop, kReadEveryMs);
    if (woke == WAIT_OBJECT_0) break;
    if (woke == WAIT_FAILED) {
      outcome = {CaptureOutcome::End::kFailed, "the capture thread cannot wait"};
      break;
    }
    UINT32 frames = 0;
    while (SUCCEEDED(hr = capture->GetNextPacketSize(&frames)) && frames > 0) {
      BYTE* data = nullptr;
      DWORD flags = 0;
      hr = capture->GetBuffer(&data, &frames, &flags, nullptr, nullptr);
      if (FAILED(hr)) break;
      sink.OnFrames((flags & AUDCLNT_BUFFERFLAGS_SILENT) != 0 ? nullptr : data, frames);
      capture->ReleaseBuffer(frames);
    }
    if (FAILED(hr)) {
      outcome = {CaptureOutcome::End::kFailed, hr == AUDCLNT_E_DEVICE_INVALIDATED
                                                   ? std::string("the capture device was removed")
                                                   : "the capture device stopped (" + Hex(hr) + ")"};
      break;
    }
  }
  client->Stop();
  return outcome;
}

}  // namespace tw::stackmat
