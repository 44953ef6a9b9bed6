#pragma once
// Keeps one scramble ready for the main window (3x3x3 unless made for another event). A worker thread builds the
// solver's tables (the window's start-up does not wait for them), then computes a
// scramble and posts `message` to the window; Take hands that scramble over and the
// worker computes the next one at once, so showing a scramble never waits for the
// solver once the first is there.
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "scramble/event_scrambler.h"
#include "scramble/events.h"

namespace tw::scramble {

class ScrambleFeed {
 public:
  // What the worker runs: a Build once, which returns the Search it then calls for each
  // scramble. Both are told through `cancel` that the feed is closing: a search must give
  // up soon after (what it returns then is thrown away); a build may finish first.
  using Search = std::function<std::string(const std::atomic<bool>& cancel)>;
  using Build = std::function<Search(const std::atomic<bool>& cancel)>;

  // Random-state scrambles from the two-phase solver, unless a test has set another
  // build with SetBuildForTesting.
  ScrambleFeed();
  explicit ScrambleFeed(Build build);
  // The event's scrambles (see EventScrambler), each with its state; `puzzles` is a
  // Multi-Blind attempt's number of scrambles; `cases` a training session's PLL or OLL
  // cases. A build set for testing wins here too.
  explicit ScrambleFeed(Event event, int puzzles = kFewestMultiBlindPuzzles, std::string cases = {});
  ScrambleFeed(const ScrambleFeed&) = delete;
  ScrambleFeed& operator=(const ScrambleFeed&) = delete;
  // Stops the worker: an unfinished scramble is abandoned within milliseconds, and no
  // message is posted after this returns.
  ~ScrambleFeed();

  // The build feeds made from now on use (nothing: the solver's again), such as one
  // that throws, as running out of memory for the tables would.
  static void SetBuildForTesting(Build build);

  // Starts the worker once; later calls do nothing. `message` is posted to `notify`
  // (wParam and lParam 0) each time a scramble becomes ready, and once if the feed fails.
  void Start(HWND notify, UINT message);
  bool Ready() const;
  // The ready scramble ("R U2 F' ...", an empty text when none is ready), after which
  // the next one is computed.
  std::string Take();
  // The same with the state the scramble makes (empty from a build for testing).
  EventScramble TakeScramble();
  // True once the worker has failed (the tables could not be built, out of memory or
  // otherwise): no scramble will come.
  bool Failed() const;

 private:
  using EventSearch = std::function<EventScramble(const std::atomic<bool>& cancel)>;
  using EventBuild = std::function<EventSearch(const std::atomic<bool>& cancel)>;

  explicit ScrambleFeed(EventBuild build);
  void Work();
  bool WaitForDemand();
  void Post();

  EventBuild build_;
  mutable std::mutex mutex_;
  std::condition_variable demand_;
  std::optional<EventScramble> ready_;
  bool stopping_ = false;
  bool failed_ = false;
  std::atomic<bool> cancel_{false};
  HWND notify_ = nullptr;
  UINT message_ = 0;
  std::thread worker_;
};

}  // namespace tw::scramble
