#include "scramble/win32/scramble_feed.h"

#include <chrono>
#include <memory>
#include <random>

#include "scramble/scramble_text.h"
#include "scramble/scrambler.h"

namespace tw::scramble {
namespace {

// The random device alone may be deterministic on some runtimes; the clock makes each
// run differ all the same.
std::mt19937_64 SeededGenerator() {
  std::random_device device;
  const auto ticks = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::seed_seq seed{
      device(), device(), device(), device(), static_cast<unsigned>(ticks), static_cast<unsigned>(ticks >> 32)};
  return std::mt19937_64(seed);
}

ScrambleFeed::Build& BuildForTesting() {
  static ScrambleFeed::Build build;
  return build;
}

// Scrambles with no state, from a build that gives only their text.
auto TextOnly(ScrambleFeed::Build build) {
  return [build = std::move(build)](const std::atomic<bool>& cancel) {
    return [search = build(cancel)](const std::atomic<bool>& cancelled) { return EventScramble{search(cancelled), {}}; };
  };
}

}  // namespace

// The tables take a tenth of a second and are not worth interrupting.
ScrambleFeed::ScrambleFeed()
    : ScrambleFeed(BuildForTesting() ? EventBuild(TextOnly(BuildForTesting())) : EventBuild([](const std::atomic<bool>&) {
        auto scrambler = std::make_shared<const Scrambler>();
        return EventSearch([scrambler, rng = SeededGenerator()](const std::atomic<bool>& cancel) mutable {
          const Scramble scramble = scrambler->NextScramble(rng, &cancel);
          return EventScramble{FormatMoves(scramble.moves), scramble.state.Facelets()};
        });
      })) {}

ScrambleFeed::ScrambleFeed(Build build) : ScrambleFeed(EventBuild(TextOnly(std::move(build)))) {}

// The tables take up to a few tenths of a second, the 4x4x4's a second or two: theirs
// stop when the feed does.
ScrambleFeed::ScrambleFeed(Event event, int puzzles, std::string cases)
    : ScrambleFeed(BuildForTesting() ? EventBuild(TextOnly(BuildForTesting())) : EventBuild([event, puzzles, cases](const std::atomic<bool>& cancel) {
        auto scrambler = std::make_shared<EventScrambler>(event, SeededGenerator()(), puzzles, cases, &cancel);
        return EventSearch([scrambler](const std::atomic<bool>& cancel) { return scrambler->Next(&cancel); });
      })) {}

ScrambleFeed::ScrambleFeed(EventBuild build) : build_(std::move(build)) {}

ScrambleFeed::~ScrambleFeed() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  cancel_ = true;
  demand_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void ScrambleFeed::SetBuildForTesting(Build build) { BuildForTesting() = std::move(build); }

void ScrambleFeed::Start(HWND notify, UINT message) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (worker_.joinable() || stopping_) return;
  notify_ = notify;
  message_ = message;
  worker_ = std::thread(&ScrambleFeed::Work, this);
}

bool ScrambleFeed::Ready() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return ready_.has_value();
}

bool ScrambleFeed::Failed() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return failed_;
}

std::string ScrambleFeed::Take() { return TakeScramble().text; }

EventScramble ScrambleFeed::TakeScramble() {
  EventScramble scramble;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!ready_) return scramble;
    scramble = std::move(*ready_);
    ready_.reset();
  }
  demand_.notify_one();
  return scramble;
}

// Waits until no scramble is ready; false when the feed is stopping instead.
bool ScrambleFeed::WaitForDemand() {
  std::unique_lock<std::mutex> lock(mutex_);
  demand_.wait(lock, [this] { return stopping_ || !ready_; });
  return !stopping_;
}

// Called under the lock, so once the destructor has set stopping_ no message can
// reach a window that may be gone.
void ScrambleFeed::Post() {
  if (!stopping_) PostMessageA(notify_, message_, 0, 0);
}

void ScrambleFeed::Work() {
  // Nothing may leave a thread's function by an exception: that ends the program.
  try {
    const EventSearch search = build_(cancel_);
    while (WaitForDemand()) {
      EventScramble scramble = search(cancel_);
      const std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) return;
      ready_ = std::move(scramble);
      Post();
    }
  } catch (...) {
    const std::lock_guard<std::mutex> lock(mutex_);
    failed_ = true;
    Post();
  }
}

}  // namespace tw::scramble
