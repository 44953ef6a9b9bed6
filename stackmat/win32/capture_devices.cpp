#include "stackmat/win32/capture_devices.h"

#include <windows.h>
// After windows.h: these need its types.
#include <mmdeviceapi.h>
#include <wrl/client.h>

#include <algorithm>

#include "stackmat/win32/com_thread.h"

namespace tw::stackmat {
namespace {

using Microsoft::WRL::ComPtr;

// PKEY_Device_FriendlyName, here so that no GUID library needs linking for it.
constexpr PROPERTYKEY kFriendlyName{{0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};

std::wstring IdOf(IMMDevice* device) {
  LPWSTR id = nullptr;
  if (FAILED(device->GetId(&id)) || id == nullptr) return {};
  std::wstring text(id);
  CoTaskMemFree(id);
  return text;
}

std::wstring NameOf(IMMDevice* device) {
  ComPtr<IPropertyStore> properties;
  if (FAILED(device->OpenPropertyStore(STGM_READ, &properties))) return {};
  PROPVARIANT value;
  PropVariantInit(&value);
  std::wstring name;
  if (SUCCEEDED(properties->GetValue(kFriendlyName, &value)) && value.vt == VT_LPWSTR &&
      value.pwszVal != nullptr) {
    name = value.pwszVal;
  }
  PropVariantClear(&value);
  return name;
}

bool NameBefore(const Device& a, const Device& b) {
  return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.name.c_str(), -1, b.name.c_str(), -1, nullptr,
                         nullptr, 0) == CSTR_LESS_THAN;
}

std::vector<Device> Enumerate() {
  std::vector<Device> devices;
  ComPtr<IMMDeviceEnumerator> enumerator;
  if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, IID_PPV_ARGS(&enumerator)))) {
    return devices;
  }
  ComPtr<IMMDeviceCollection> collection;
  if (FAILED(enumerator->EnumAudioEndpoints(eCapture, DEVICE_STATE_ACTIVE, &collection))) return devices;
  UINT count = 0;
  collection->GetCount(&count);
  for (UINT i = 0; i < count; ++i) {
    ComPtr<IMMDevice> device;
    if (FAILED(collection->Item(i, &device))) continue;
    Device entry{IdOf(device.Get()), NameOf(device.Get())};
    if (!entry.id.empty()) devices.push_back(std::move(entry));
  }
  std::sort(devices.begin(), devices.end(), NameBefore);
  ComPtr<IMMDevice> preferred;
  if (SUCCEEDED(enumerator->GetDefaultAudioEndpoint(eCapture, eConsole, &preferred))) {
    const std::wstring id = IdOf(preferred.Get());
    const auto found = std::find_if(devices.begin(), devices.end(), [&](const Device& d) { return d.id == id; });
    if (found != devices.end()) std::rotate(devices.begin(), found, found + 1);
  }
  return devices;
}

}  // namespace

std::vector<Device> CaptureDevices() {
  std::vector<Device> devices;
  RunOnComThread([&] { devices = Enumerate(); });
  return devices;
}

}  // namespace tw::stackmat
