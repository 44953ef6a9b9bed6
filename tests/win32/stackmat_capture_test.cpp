// Listening to a timer through a real sound input: a private PulseAudio daemon whose
// default source hears its sink, a timed solve made by the signal generator played into
// the sink, and twstackmat listening through Wine's PulseAudio driver, once on the
// default device and once on a device named by its id. And in this process, a device
// that is not there ends the listening with a reason.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "stackmat/signal_generator.h"
#include "stackmat/win32/tool/wine_audio.h"
#include "stackmat/win32/listener.h"

namespace tw::stackmat {
namespace {

using tool::ListeningTool;
using tool::PulseDaemon;
using tool::ScratchFolder;

constexpr std::int64_t kSolveMs = 12345;
constexpr DWORD kOpenMs = 20000;
constexpr DWORD kSettleMs = 1500;

// The packets of a listening, "state packet ms digits", from twstackmat's lines.
std::vector<std::string> Packets(const std::vector<std::string>& lines) {
  std::vector<std::string> packets;
  for (const std::string& line : lines) {
    if (line.rfind("packet ", 0) == 0) packets.push_back(line.substr(7));
  }
  return packets;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// What a listening must have heard of the solve: the resting states in order, a running
// time that only grew, the stop at 12.345 last, and never an unreadable line.
void ExpectHeardTheSolve(const std::vector<std::string>& lines, const char* which) {
  const std::string all = Joined(lines);
  const std::vector<std::string> packets = Packets(lines);
  ASSERT_GE(packets.size(), 4u) << which << ":\n" << all;
  EXPECT_EQ(packets.back(), "stopped 12345 6") << which << ":\n" << all;
  const std::vector<std::string> resting = {"idle 0 6", "not-ready 0 6", "ready 0 6"};
  EXPECT_EQ(std::vector<std::string>(packets.begin(), packets.begin() + 3), resting) << which << ":\n" << all;
  long long lastRunning = -1;
  int running = 0;
  for (const std::string& packet : packets) {
    if (packet.rfind("running ", 0) != 0) continue;
    const long long ms = std::stoll(packet.substr(8));
    EXPECT_GT(ms, lastRunning) << which << ":\n" << all;
    lastRunning = ms;
    ++running;
  }
  // A packet in each slot of 12.3 s but the first, which has none before it to agree with.
  EXPECT_GE(running, 100) << which << ":\n" << all;
  EXPECT_EQ(all.find("state unreadable"), std::string::npos) << which << ":\n" << all;
}

TEST(StackmatCapture, HearsATimerPlayedIntoARealSoundInput) {
  ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
  PulseDaemon pulse(folder, TW_SOURCE_DIR);
  // This layer runs where its tools are installed (scripts/test installs them): a daemon
  // that cannot start is a failure here, never a quiet skip.
  ASSERT_TRUE(pulse.Start()) << "the test's PulseAudio daemon did not start: " << pulse.Failure();

  std::map<std::string, std::string> environment = pulse.ClientEnvironment();
  environment["WINEDLLOVERRIDES"] = tool::kPulseDriverOn;

  // The devices the driver offers: the default first, each with an id and a name.
  ListeningTool list(folder, L"devices", TW_TWSTACKMAT_PATH, {"devices"}, environment);
  const std::vector<std::string> devices = list.Quit(kOpenMs);
  ASSERT_FALSE(devices.empty()) << "no capture device through PulseAudio: " << list.Log();
  for (const std::string& device : devices) {
    const std::size_t tab = device.find('\t');
    ASSERT_NE(tab, std::string::npos) << device;
    EXPECT_GT(tab, 0u) << device;
    EXPECT_LT(tab + 1, device.size()) << device;
  }
  // The sink's monitor by its own id, beside the default (which the daemon set to it).
  const std::string monitorId = devices.back().substr(0, devices.back().find('\t'));

  ListeningTool byDefault(folder, L"default", TW_TWSTACKMAT_PATH, {"listen", "", "120"}, environment);
  ListeningTool byId(folder, L"by-id", TW_TWSTACKMAT_PATH, {"listen", monitorId, "120"}, environment);
  for (ListeningTool* listening : {&byDefault, &byId}) {
    ASSERT_GE(listening->WaitFor("opened ", kOpenMs), 0) << Joined(listening->Lines()) << listening->Log();
    // The sink plays silence: a flat line.
    ASSERT_GE(listening->WaitFor("state no-signal", kOpenMs), 0) << Joined(listening->Lines());
  }
  Sleep(kSettleMs);
  for (ListeningTool* listening : {&byDefault, &byId}) {
    EXPECT_EQ(listening->WaitFor("state ", 0, 2), -1) << "silence is not flat:\n" << Joined(listening->Lines());
  }

  SignalGenerator generator({tool::kPulseRate, 0.5});
  for (const Packet& packet : SolveSession(kSolveMs, true)) generator.AddPacket(packet);
  const tool::ShellScript play = pulse.Play(generator.Take(), L"solve");
  const int played = play.Wait(60000);
  ASSERT_EQ(played, 0) << play.Log();

  for (ListeningTool* listening : {&byDefault, &byId}) {
    const int stopped = listening->WaitFor("packet stopped 12345 6", kOpenMs);
    ASSERT_GE(stopped, 0) << Joined(listening->Lines());
    // The sound over, the line is flat again.
    EXPECT_GE(listening->WaitFor("state no-signal", kOpenMs, static_cast<std::size_t>(stopped)), 0)
        << Joined(listening->Lines());
  }
  const std::vector<std::string> heardByDefault = byDefault.Quit();
  const std::vector<std::string> heardById = byId.Quit();
  ExpectHeardTheSolve(heardByDefault, "the default device");
  ExpectHeardTheSolve(heardById, "the monitor by its id");
  for (const std::string& line : heardByDefault) {
    if (line.rfind("opened ", 0) == 0 || line.rfind("cpu ", 0) == 0) std::printf("  capture: %s\n", line.c_str());
  }
}

TEST(StackmatListener, ADeviceThatIsNotThereEndsTheListeningWithAReason) {
  constexpr UINT kMessage = WM_APP + 7;
  const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  Listener listener;
  listener.Start(window, kMessage, L"{0.0.1.00000000}.{00000000-0000-0000-0000-000000000000}");
  // Every event comes with a message; no more messages than take-ups of events.
  std::vector<ListenerEvent> events;
  int messages = 0;
  MSG msg;
  const ULONGLONG until = GetTickCount64() + 10000;
  while (events.empty() && GetTickCount64() < until) {
    while (PeekMessageW(&msg, window, kMessage, kMessage, PM_REMOVE)) {
      ++messages;
      for (ListenerEvent& event : listener.TakeEvents()) events.push_back(std::move(event));
    }
    Sleep(5);
  }
  listener.Stop();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, ListenerEvent::Kind::kStopped);
  EXPECT_FALSE(events[0].why.empty());
  EXPECT_EQ(messages, 1);
  EXPECT_FALSE(PeekMessageW(&msg, window, kMessage, kMessage, PM_REMOVE));
  EXPECT_TRUE(listener.TakeEvents().empty());
  DestroyWindow(window);
}

}  // namespace
}  // namespace tw::stackmat
