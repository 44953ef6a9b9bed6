// The Practice frame's timer input: the keyboard (the default), or a competition timer,
// and the sound input it is heard on. Nothing is written until the user picks; the
// sound inputs are listed when their list is dropped down, so the window opens without
// asking the audio service.
#include "options/win32/options_window.h"

#include <commctrl.h>

#include <string>

#include "resources/options_layout.h"
#include "stackmat/win32/capture_devices.h"
#include "storage/win32/settings.h"
#include "storage/win32/wide_path.h"

namespace tw {

namespace {

namespace lo = layout::options;

// Shown over the greyed countdown box while Hold to start is on.
constexpr const wchar_t* kCountdownHeldTip =
    L"Not used while Hold to start is on: the solve starts when Space is let go.";

void AddItem(HWND list, const std::string& text) {
  const std::wstring wide = storage::Widen(text);
  SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

}  // namespace

void OptionsWindow::ApplyHoldToCountdown() {
  const bool held = settings::kHoldToStart.Parse(settings::Read(settings::kHoldToStart.text)).has_value();
  SetUsable("chk3SecCD", !held);
  HWND box = chk3SecCD.Handle();
  if (!box) return;
  // A greyed control gets no mouse messages: the window under it does, so the tip is
  // the window's, over the box's rectangle. The window relays its mouse moves to the
  // tip (RelayToCountdownTip) rather than letting the tip subclass it: docking chains
  // the window's procedure and must find its own there.
  HWND parent = Handle();
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = 0;
  tool.hwnd = parent;
  tool.uId = 1;
  GetWindowRect(box, &tool.rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&tool.rect), 2);
  tool.lpszText = const_cast<wchar_t*>(kCountdownHeldTip);
  if (!countdownTip_) {
    countdownTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
    SendMessageW(countdownTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    SendMessageW(countdownTip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SendMessageW(countdownTip_, TTM_ACTIVATE, held ? TRUE : FALSE, 0);
}

void OptionsWindow::RelayToCountdownTip(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!countdownTip_) return;
  MSG msg{Handle(), message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
  SendMessageW(countdownTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void OptionsWindow::LoadTimerInput() {
  const bool stackmat = settings::Read(settings::kTimerInput) == settings::kTimerInputStackmat;
  HWND input = Control("cboTimerInput");
  SendMessageA(input, CB_RESETCONTENT, 0, 0);
  AddItem(input, lo::kTimerInputKeyboard);
  AddItem(input, lo::kTimerInputStackmat);
  SendMessageA(input, CB_SETCURSEL, stackmat ? 1 : 0, 0);
  // Until dropped down, the list holds the default and the stored input.
  HWND device = Control("cboStackmatDevice");
  SendMessageA(device, CB_RESETCONTENT, 0, 0);
  soundInputs_.clear();
  soundInputsListed_ = false;
  AddItem(device, lo::kDefaultSoundInput);
  const std::string stored = settings::Read(settings::kStackmatDevice);
  if (!stored.empty()) {
    soundInputs_.push_back(stored);
    AddItem(device, stored);
  }
  SendMessageA(device, CB_SETCURSEL, stored.empty() ? 0 : 1, 0);
  // Through the panel's own record of what is usable: enabling the panel's frames
  // later must not make the list usable again.
  SetUsable("cboStackmatDevice", stackmat);
}

void OptionsWindow::ListSoundInputs() {
  if (soundInputsListed_) return;
  soundInputsListed_ = true;
  const std::string stored = settings::Read(settings::kStackmatDevice);
  std::vector<std::string> names;
  // The system's default comes first in the list the system gives; it is our first item.
  const std::vector<stackmat::Device> devices = stackmat::CaptureDevices();
  for (std::size_t i = 1; i < devices.size(); ++i) names.push_back(storage::Narrow(devices[i].name));
  if (!devices.empty()) names.insert(names.begin(), storage::Narrow(devices[0].name));
  // A stored input that is not plugged in now stays listed, so it is not lost unseen.
  bool storedListed = stored.empty();
  for (const std::string& name : names) storedListed = storedListed || name == stored;
  if (!storedListed) names.push_back(stored);
  HWND device = Control("cboStackmatDevice");
  SendMessageA(device, CB_RESETCONTENT, 0, 0);
  AddItem(device, lo::kDefaultSoundInput);
  int selected = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    AddItem(device, names[i]);
    if (!stored.empty() && names[i] == stored) selected = static_cast<int>(i) + 1;
  }
  soundInputs_ = std::move(names);
  SendMessageA(device, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void OptionsWindow::onCboTimerInputChange() {
  const auto item = static_cast<int>(SendMessageA(Control("cboTimerInput"), CB_GETCURSEL, 0, 0));
  if (item < 0) return;
  const bool stackmat = item == 1;
  settings::Write(settings::kTimerInput, stackmat ? settings::kTimerInputStackmat : settings::kTimerInputKeyboard);
  SetUsable("cboStackmatDevice", stackmat);
}

void OptionsWindow::onCboStackmatDeviceDropDown() { ListSoundInputs(); }

void OptionsWindow::onCboStackmatDeviceChange() {
  const auto item = static_cast<int>(SendMessageA(Control("cboStackmatDevice"), CB_GETCURSEL, 0, 0));
  if (item < 0 || item > static_cast<int>(soundInputs_.size())) return;
  settings::Write(settings::kStackmatDevice, item == 0 ? std::string() : soundInputs_[static_cast<std::size_t>(item - 1)]);
}

}  // namespace tw
