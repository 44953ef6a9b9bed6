// Listening to a timer under Wine: the processor time twstackmat's whole process takes
// (the capture thread, the decoder, and Wine's PulseAudio driver, whose threads run
// whatever the program does) as a share of one core, while a timer plays a solve into a
// private PulseAudio daemon's sink and while the line is silent.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "stackmat/signal_generator.h"
#include "stackmat/win32/tool/wine_audio.h"

namespace {

using tw::stackmat::tool::ListeningTool;

constexpr double kTargetShare = 2.0;  // per cent of a core
constexpr DWORD kOpenMs = 20000;
constexpr DWORD kPlayMs = 60000;
constexpr std::int64_t kSolveMs = 12345;

// The share of a core from the tool's last line, "cpu <ms> wall <ms>"; negative when it has none.
double Share(const std::vector<std::string>& lines, double& wallMs) {
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    unsigned long long cpu = 0;
    unsigned long long wall = 0;
    if (std::sscanf(line->c_str(), "cpu %llu wall %llu", &cpu, &wall) == 2 && wall > 0) {
      wallMs = static_cast<double>(wall);
      return 100.0 * static_cast<double>(cpu) / static_cast<double>(wall);
    }
  }
  return -1;
}

// "name share %, ..." for the threads the tool listed, "thread <name> <ms>", over `wallMs`.
std::string Threads(const std::vector<std::string>& lines, double wallMs) {
  std::string text;
  for (const std::string& line : lines) {
    char name[128] = {};
    unsigned long long ms = 0;
    if (std::sscanf(line.c_str(), "thread %127s %llu", name, &ms) != 2 || wallMs <= 0) continue;
    char part[192];
    std::snprintf(part, sizeof part, "%s%s %.2f %%", text.empty() ? "" : ", ", name, 100.0 * ms / wallMs);
    text += part;
  }
  return text.empty() ? "none listed" : text;
}

std::string Opened(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (line.rfind("opened ", 0) == 0) return line.substr(7);
  }
  return "?";
}

}  // namespace

int main() {
  using namespace tw::stackmat;
  tool::ScratchFolder folder;
  tool::PulseDaemon pulse(folder, TW_SOURCE_DIR);
  if (!folder.ok() || !pulse.Start()) {
    std::printf("stackmat capture FAILED: PulseAudio cannot start: %s\n", pulse.Failure().c_str());
    return 1;
  }
  std::map<std::string, std::string> environment = pulse.ClientEnvironment();
  environment["WINEDLLOVERRIDES"] = tool::kPulseDriverOn;
  int failed = 0;

  {
    ListeningTool listening(folder, L"playing", TW_TWSTACKMAT_PATH, {"listen", "", "120"}, environment);
    if (listening.WaitFor("opened ", kOpenMs) < 0) {
      std::printf("stackmat capture FAILED: the tool did not open the default device: %s\n", listening.Log().c_str());
      return 1;
    }
    SignalGenerator generator({tool::kPulseRate, 0.5});
    for (const Packet& packet : SolveSession(kSolveMs, true)) generator.AddPacket(packet);
    const tool::ShellScript play = pulse.Play(generator.Take(), L"solve");
    const bool played = play.Wait(kPlayMs) == 0;
    const bool heard = listening.WaitFor("packet stopped 12345 6", kOpenMs) >= 0;
    const std::vector<std::string> lines = listening.Quit();
    double wallMs = 0;
    const double share = Share(lines, wallMs);
    std::printf("stackmat capture while a timer plays (%s, the whole process with Wine's PulseAudio driver): %.2f %% "
                "of a core over %.1f s (target <= %.0f %%)\n",
                Opened(lines).c_str(), share, wallMs / 1000, kTargetShare);
    std::printf("  by thread, over their lives: %s\n", Threads(lines, wallMs).c_str());
    if (!played || !heard || share < 0) {
      std::printf("stackmat capture FAILED: %s\n", !played ? "the solve could not be played"
                                                   : !heard ? "the stopped time was not heard"
                                                            : "the tool gave no processor time");
      failed = 1;
    }
  }

  {
    constexpr int kSilentSeconds = 10;
    ListeningTool listening(folder, L"silent", TW_TWSTACKMAT_PATH, {"listen", "", std::to_string(kSilentSeconds)},
                            environment);
    listening.WaitFor("cpu ", (kSilentSeconds + 20) * 1000);
    const std::vector<std::string> lines = listening.Quit();
    double wallMs = 0;
    const double share = Share(lines, wallMs);
    std::printf("stackmat capture on a silent line: %.2f %% of a core over %.1f s (target <= %.0f %%)\n", share,
                wallMs / 1000, kTargetShare);
    std::printf("  by thread, over their lives: %s\n", Threads(lines, wallMs).c_str());
    if (share < 0) {
      std::printf("stackmat capture FAILED: the silent listening gave no processor time\n");
      failed = 1;
    }
  }
  return failed;
}
