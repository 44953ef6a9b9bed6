#pragma once
// The sound inputs a timer's cable can be plugged into, as the system names them.
#include <string>
#include <vector>

namespace tw::stackmat {

struct Device {
  std::wstring id;    // the endpoint's id, to give to Listener::Start
  std::wstring name;  // its friendly name, such as "Line In (High Definition Audio)"
};

// The active capture devices: the system's default first, then the others by name.
// Empty when there are none or the audio service does not answer.
std::vector<Device> CaptureDevices();

}  // namespace tw::stackmat
