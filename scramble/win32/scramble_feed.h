#pragma once
// Keeps one random-state scramble ready for the main window. A worker thread builds the
// solver's tables (the window's start-up does not wait for them), then computes a
// scramble and posts `message` to the window; Take hands that scramble over and the
// worker computes the next one at once, so showing a scramble never waits for the
// solver once the first is there.
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace tw::scramble {

class ScrambleFeed {
 public:
  ScrambleFeed() = default;
  ScrambleFeed(const ScrambleFeed&) = delete;
  ScrambleFeed& operator=(const ScrambleFeed&) = delete;
  // Stops the worker: an unfinished scramble is abandoned within milliseconds, and no
  // message is posted after this returns.
  ~ScrambleFeed();

  // Starts the worker once; later calls do nothing. `message` is posted to `notify`
  // (wParam and lParam 0) each time a scramble becomes ready.
  void Start(HWND notify, UINT message);
  bool Ready() const;
  // The ready scramble ("R U2 F' ...", an empty text when none is ready), after which
  // the next one is computed.
  std::string Take();
  // True when the tables could not be built (out of memory): no scramble will come.
  bool Failed() const;

 private:
  void Work();
  bool WaitForDemand();

  mutable std::mutex mutex_;
  std::condition_variable demand_;
  std::optional<std::string> ready_;
  bool stopping_ = false;
  bool failed_ = false;
  std::atomic<bool> cancel_{false};
  HWND notify_ = nullptr;
  UINT message_ = 0;
  std::thread worker_;
};

}  // namespace tw::scramble
