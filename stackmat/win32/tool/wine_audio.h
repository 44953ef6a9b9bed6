#pragma once
// Real audio for the capture test and benchmark under Wine: a private PulseAudio daemon
// (scripts/lib/pulse.sh) whose default source hears what is played into its sink, sound
// played there with pacat, and twstackmat listening through Wine's PulseAudio driver.
//
// Wine starts a Linux program given by its Linux path, but gives back no handle that
// tells when it ends: each shell script here writes its exit status to a file when it
// is done, and the caller waits for that file. The test run itself keeps Wine's audio
// drivers off; only the twstackmat started here has the PulseAudio driver on, and it
// finds the daemon through the runtime folder in its environment.
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "storage/win32/wide_path.h"

namespace tw::stackmat::tool {

inline constexpr int kPulseRate = 48000;  // the sink's rate (TW_PULSE_RATE)
// WINEDLLOVERRIDES as the test runs set it (scripts/lib/wine-env.sh), with the
// PulseAudio driver on; ALSA stays off, so no other sound device is found instead.
inline constexpr char kPulseDriverOn[] = "mscoree,mshtml=;winealsa.drv=d";

// The Linux path of a Windows one; empty when not under Wine or it has none.
inline std::string UnixPath(const std::wstring& path) {
  using ToUnix = char*(CDECL*)(const wchar_t*);
  const auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return {};
  char* unix = toUnix(path.c_str());
  if (unix == nullptr) return {};
  std::string text(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return text;
}

inline bool UnderWine() { return !UnixPath(L"C:\\").empty(); }

// A single-quoted shell word.
inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline std::string ReadText(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline bool WriteBytes(const std::wstring& path, const void* bytes, std::size_t size) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

// A fresh folder under the Windows temp folder, removed with its files.
class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<int> counter{0};
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    for (;;) {
      path_ = std::wstring(base) + L"tw-stackmat-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(counter++) + L"\\";
      if (CreateDirectoryW(path_.c_str(), nullptr)) return;
      if (GetLastError() != ERROR_ALREADY_EXISTS) {
        path_.clear();
        return;
      }
    }
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    if (path_.empty()) return;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((path_ + L"*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) DeleteFileW((path_ + entry.cFileName).c_str());
      } while (FindNextFileW(search, &entry));
      FindClose(search);
    }
    RemoveDirectoryW(path_.c_str());
  }

  bool ok() const { return !path_.empty(); }
  std::wstring operator/(const std::wstring& name) const { return path_ + name; }

 private:
  std::wstring path_;
};

// A bash script run as a Linux program; its output goes to a log beside it.
class ShellScript {
 public:
  ShellScript(const ScratchFolder& folder, const std::wstring& name, const std::string& body)
      : done_(folder / (name + L".done")), log_(folder / (name + L".log")) {
    const std::wstring script = folder / (name + L".sh");
    const std::string text = "exec >" + ShellQuote(UnixPath(log_)) + " 2>&1 </dev/null\n(\n" + body + "\n)\necho $? >" +
                             ShellQuote(UnixPath(done_) + ".part") + "\nmv " + ShellQuote(UnixPath(done_) + ".part") +
                             " " + ShellQuote(UnixPath(done_)) + "\n";
    if (!WriteBytes(script, text.data(), text.size())) return;
    std::wstring command = L"/bin/bash \"" + tw::storage::Widen(UnixPath(script)) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      return;
    }
    // Wine gives back no handles for a Linux program, and whatever it leaves in the
    // thread's place may be one of this process's own: only real ones are closed.
    if (process.hProcess != nullptr) {
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
    started_ = true;
  }

  // The script's exit status, or -1 when it did not start or end within `ms`.
  int Wait(DWORD ms) const {
    if (!started_) return -1;
    const ULONGLONG until = GetTickCount64() + ms;
    while (GetFileAttributesW(done_.c_str()) == INVALID_FILE_ATTRIBUTES) {
      if (GetTickCount64() > until) return -1;
      Sleep(20);
    }
    return std::atoi(ReadText(done_).c_str());
  }

  std::string Log() const { return started_ ? ReadText(log_) : "bash could not be started"; }

 private:
  std::wstring done_;
  std::wstring log_;
  bool started_ = false;
};

// The private daemon, started by scripts/lib/pulse.sh and stopped when this ends.
class PulseDaemon {
 public:
  PulseDaemon(const ScratchFolder& folder, const std::string& sourceDir) : folder_(folder), source_(sourceDir) {}
  PulseDaemon(const PulseDaemon&) = delete;
  PulseDaemon& operator=(const PulseDaemon&) = delete;
  ~PulseDaemon() { Stop(); }

  // False with the reason in Failure() when the daemon cannot run here.
  bool Start() {
    if (!UnderWine()) {
      failure_ = "not under Wine: there is no PulseAudio to start";
      return false;
    }
    const std::wstring dirFile = folder_ / L"pulse-dir";
    ShellScript start(folder_, L"pulse-start",
                      ". " + ShellQuote(source_ + "/scripts/lib/pulse.sh") +
                          " && tw_pulse_start && printf '%s' \"$TW_PULSE_DIR\" >" + ShellQuote(UnixPath(dirFile)));
    const int status = start.Wait(kStartMs);
    dir_ = status == 0 ? ReadText(dirFile) : std::string();
    if (dir_.empty()) {
      failure_ = "PulseAudio did not start (status " + std::to_string(status) + "): " + start.Log();
      return false;
    }
    return ReadClientEnvironment();
  }

  void Stop() {
    if (dir_.empty()) return;
    ShellScript stop(folder_, L"pulse-stop",
                     ". " + ShellQuote(source_ + "/scripts/lib/pulse.sh") + " && tw_pulse_stop " + ShellQuote(dir_));
    stop.Wait(kStopMs);
    dir_.clear();
  }

  const std::string& Failure() const { return failure_; }
  // NAME=value pairs a PulseAudio client needs to find this daemon.
  const std::map<std::string, std::string>& ClientEnvironment() const { return environment_; }

  // Plays mono float samples at the sink's rate into the sink; Wait on the script
  // returned to know when it is through.
  ShellScript Play(const std::vector<float>& samples, const std::wstring& name) const {
    const std::wstring sound = folder_ / (name + L".f32");
    WriteBytes(sound, samples.data(), samples.size() * sizeof(float));
    return ShellScript(folder_, name,
                       "set -a; . " + ShellQuote(dir_ + "/client.env") + "; set +a\n" +
                           "pacat --raw --format=float32le --rate=" + std::to_string(kPulseRate) +
                           " --channels=1 --device=tw_line " + ShellQuote(UnixPath(sound)));
  }

 private:
  static constexpr DWORD kStartMs = 30000;
  static constexpr DWORD kStopMs = 10000;

  bool ReadClientEnvironment() {
    const std::wstring copy = folder_ / L"client.env";
    ShellScript read(folder_, L"pulse-env", "cp " + ShellQuote(dir_ + "/client.env") + " " + ShellQuote(UnixPath(copy)));
    if (read.Wait(kStopMs) != 0) {
      failure_ = "the daemon's client settings cannot be read: " + read.Log();
      return false;
    }
    std::istringstream lines(ReadText(copy));
    for (std::string line; std::getline(lines, line);) {
      const std::size_t equals = line.find('=');
      if (equals != std::string::npos) environment_[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return !environment_.empty();
  }

  const ScratchFolder& folder_;
  std::string source_;
  std::string dir_;
  std::string failure_;
  std::map<std::string, std::string> environment_;
};

// twstackmat run as a new Wine process from a shell, its lines read as they come.
// Wine hands a program it starts itself this process's WINEDLLOVERRIDES, whatever
// environment it is given; started from a shell, the tool gets the one given here.
class ListeningTool {
 public:
  // `arguments` are shell words, quoted here; `environment` is exported before the start.
  ListeningTool(const ScratchFolder& folder, const std::wstring& name, const std::string& exeUnixPath,
                const std::vector<std::string>& arguments, const std::map<std::string, std::string>& environment)
      : output_(folder / (name + L".out")), quit_(folder / (name + L".quit")) {
    std::string body;
    for (const auto& [variable, value] : environment) body += "export " + variable + "=" + ShellQuote(value) + "\n";
    std::string command = "\"${WINELOADER:-wine}\" " + ShellQuote(exeUnixPath);
    // Appended piece by piece: g++ 12 at -O3 misreads `" " + word` as an overlapping copy.
    for (const std::string& argument : arguments) command.append(" ").append(ShellQuote(argument));
    // Standard input ends when the quit file appears: the tool ends with it.
    body += command + " < <(until [ -e " + ShellQuote(UnixPath(quit_)) + " ]; do sleep 0.2; done) > " +
            ShellQuote(UnixPath(output_)) + " 2>&1";
    script_.emplace(folder, name, body);
  }
  ListeningTool(const ListeningTool&) = delete;
  ListeningTool& operator=(const ListeningTool&) = delete;
  ~ListeningTool() { Quit(); }

  // Waits up to `ms` for a line that starts with `prefix`, at line `from` or after;
  // returns its index, or -1.
  int WaitFor(const std::string& prefix, DWORD ms, std::size_t from = 0) {
    const ULONGLONG until = GetTickCount64() + ms;
    for (;;) {
      const std::vector<std::string> lines = Lines();
      for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
      }
      if (ended_ || GetTickCount64() > until) return -1;
      ended_ = script_->Wait(0) >= 0;
      Sleep(20);
    }
  }

  // Ends the tool's input and waits up to `ms` for it to end; its lines.
  std::vector<std::string> Quit(DWORD ms = kQuitMs) {
    if (!ended_) {
      WriteBytes(quit_, "", 0);
      ended_ = script_->Wait(ms) >= 0;
    }
    return Lines();
  }

  // The complete lines written so far.
  std::vector<std::string> Lines() const {
    const std::string text = ReadText(output_);
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
      std::string line = text.substr(begin, end - begin);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(std::move(line));
    }
    return lines;
  }

  std::string Log() const { return script_->Log(); }

 private:
  static constexpr DWORD kQuitMs = 15000;

  std::wstring output_;
  std::wstring quit_;
  std::optional<ShellScript> script_;
  bool ended_ = false;
};

}  // namespace tw::stackmat::tool
