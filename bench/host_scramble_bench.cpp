// Scrambles on one thread of the host. 3x3x3: building the solver's tables, the heap
// they hold, the time per scramble over a thousand scrambles and the scramble lengths.
// Every WCA event: the tables of all events built together (time and heap held), then
// each event's time per scramble, every scramble checked against the state it makes.
// 4x4x4 apart, with its own targets: its tables' time and heap, the time per random-
// state scramble and its length beside the random-move scrambles it replaced.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/host_heap.h"
#include "scramble/event_scrambler.h"
#include "scramble/events.h"
#include "scramble/scrambler.h"

namespace {

constexpr int kTableRuns = 5;
constexpr int kScrambles = 1000;
constexpr std::uint64_t kSeed = 20260101;
constexpr double kTablesTargetMs = 200;
constexpr double kTablesTargetMb = 4;
constexpr double kBytesPerMb = 1e6;
constexpr double kMeanTargetMs = 5;
constexpr double kP99TargetMs = 25;
constexpr double kMeanLengthTarget = 20;
constexpr double kAllTablesTargetMs = 1000;
constexpr double kAllTablesTargetMb = 16;
constexpr double kEventMeanTargetMs = 50;
constexpr int kAllTablesRuns = 3;
// Fewer for the 3x3x3 events (a few milliseconds each) than for the rest.
constexpr int kCubeEventScrambles = 100;
constexpr int kEventScrambles = 300;
constexpr int kMultiBlindPuzzles = 5;
constexpr int kCube4Scrambles = 300;
constexpr int kCube4TableRuns = 3;
constexpr double kCube4TablesTargetMs = 3000;
constexpr double kCube4TablesTargetMb = 32;
constexpr double kCube4MeanTargetMs = 100;
constexpr double kCube4P99TargetMs = 400;
constexpr double kCube4MeanLengthTarget = 46;
constexpr int kCube4LongestTarget = 55;
constexpr int kCube4RandomMoves = 40;  // the random-move scrambles these replaced

double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

bool IsThreeByThree(tw::scramble::Event event) {
  using tw::scramble::Event;
  return event == Event::k333 || event == Event::k333oh || event == Event::k333fm || event == Event::k333bf ||
         event == Event::k333mbf;
}

bool IsFourByFour(tw::scramble::Event event) {
  return event == tw::scramble::Event::k444 || event == tw::scramble::Event::k444bf;
}

int Words(const std::string& text) {
  int words = 1;
  for (const char c : text) words += c == ' ' || c == '\n' ? 1 : 0;
  return words;
}

// One scrambler per event but 4x4x4 (benched on its own), all alive at once: events
// that share tables build them once.
std::vector<std::unique_ptr<tw::scramble::EventScrambler>> AllScramblers() {
  std::vector<std::unique_ptr<tw::scramble::EventScrambler>> all;
  for (const tw::scramble::Event event : tw::scramble::kAllEvents) {
    if (IsFourByFour(event)) continue;
    all.push_back(std::make_unique<tw::scramble::EventScrambler>(event, kSeed, kMultiBlindPuzzles));
  }
  return all;
}

// Every event's scrambles: their mean time, each beside its target; false if any
// scramble does not make its state or the heap shows nothing held.
bool BenchEvents() {
  using namespace tw::scramble;
  std::vector<std::unique_ptr<EventScrambler>> all;
  const double buildMs = tw::bench::MedianMs(
      [&] {
        all.clear();
        all = AllScramblers();
      },
      kAllTablesRuns);
  all.clear();
  std::size_t counted = 0;
  const std::ptrdiff_t heldBytes = tw::bench::HeapKeptBy([&] {
    all = AllScramblers();
    for (const auto& scrambler : all) counted += scrambler->TableBytes();
  });
  std::printf("all events' tables: %.0f ms (target <= %.0f ms), heap they hold: %.2f MB, %td bytes (target <= %.0f MB)\n",
              buildMs, kAllTablesTargetMs, static_cast<double>(heldBytes) / kBytesPerMb, heldBytes, kAllTablesTargetMb);
  bool ok = heldBytes > 0;
  for (const auto& scrambler : all) {
    const Event event = scrambler->GetEvent();
    const int count = IsThreeByThree(event) ? kCubeEventScrambles : kEventScrambles;
    std::vector<double> times;
    double moves = 0;
    int wrong = 0;
    for (int i = 0; i < count; ++i) {
      const auto start = std::chrono::steady_clock::now();
      const EventScramble scramble = scrambler->Next();
      // A multi-blind attempt is several scrambles: its time is shown per scramble.
      times.push_back(MsSince(start) / (event == Event::k333mbf ? kMultiBlindPuzzles : 1));
      if (StateAfter(event, scramble.text) != scramble.state) ++wrong;
      moves += Words(scramble.text);
    }
    double total = 0;
    for (const double t : times) total += t;
    const double mean = total / count;
    const double target = event == Event::k333 ? kMeanTargetMs : kEventMeanTargetMs;
    std::printf("scramble %-7.*s: mean %.2f ms, max %.1f ms over %d (target <= %.0f ms), mean %.1f words%s\n",
                static_cast<int>(IdOf(event).size()), IdOf(event).data(), mean,
                *std::max_element(times.begin(), times.end()), count, target, moves / count,
                event == Event::k333mbf ? " an attempt of 5, time per scramble" : "");
    if (wrong != 0) std::printf("scramble FAILED: %d %.*s scrambles do not make their state\n", wrong,
                                static_cast<int>(IdOf(event).size()), IdOf(event).data());
    ok = ok && wrong == 0;
  }
  return ok;
}

// 4x4x4: tables (with the 3x3x3 solver's, which finishes each reduction) built from
// nothing, then random-state scrambles, each checked against its state.
bool BenchCube4() {
  using namespace tw::scramble;
  std::unique_ptr<EventScrambler> scrambler;
  const double buildMs = tw::bench::MedianMs(
      [&] {
        scrambler.reset();
        scrambler = std::make_unique<EventScrambler>(Event::k444, kSeed);
      },
      kCube4TableRuns);
  scrambler.reset();
  const std::ptrdiff_t heldBytes =
      tw::bench::HeapKeptBy([&] { scrambler = std::make_unique<EventScrambler>(Event::k444, kSeed); });
  std::printf("4x4x4 tables: %.0f ms (target <= %.0f ms), heap they hold: %.2f MB (they count %zu bytes) (target <= "
              "%.0f MB)\n",
              buildMs, kCube4TablesTargetMs, static_cast<double>(heldBytes) / kBytesPerMb, scrambler->TableBytes(),
              kCube4TablesTargetMb);
  std::vector<double> times;
  std::vector<double> lengths;
  int wrong = 0;
  for (int i = 0; i < kCube4Scrambles; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const EventScramble scramble = scrambler->Next();
    times.push_back(MsSince(start));
    lengths.push_back(Words(scramble.text));
    if (StateAfter(Event::k444, scramble.text) != scramble.state) ++wrong;
  }
  double totalMs = 0;
  for (const double t : times) totalMs += t;
  double totalLength = 0;
  for (const double l : lengths) totalLength += l;
  std::printf("4x4x4 scramble: mean %.1f ms, p99 %.1f ms, max %.1f ms over %d (targets <= %.0f ms, p99 <= %.0f ms)\n",
              totalMs / kCube4Scrambles, tw::bench::Percentile(times, 99), *std::max_element(times.begin(), times.end()),
              kCube4Scrambles, kCube4MeanTargetMs, kCube4P99TargetMs);
  std::printf("4x4x4 length: mean %.2f moves, max %.0f (targets mean <= %.0f, max <= %d; random moves before: %d, "
              "not random-state)\n",
              totalLength / kCube4Scrambles, *std::max_element(lengths.begin(), lengths.end()), kCube4MeanLengthTarget,
              kCube4LongestTarget, kCube4RandomMoves);
  if (wrong != 0) std::printf("scramble FAILED: %d 4x4x4 scrambles do not make their state\n", wrong);
  return wrong == 0 && heldBytes > 0;
}

}  // namespace

int main() {
  using namespace tw::scramble;
  std::unique_ptr<Scrambler> scrambler;
  const double tablesMs = tw::bench::MedianMs([&] { scrambler = std::make_unique<Scrambler>(); }, kTableRuns);
  std::printf("scramble tables: %.0f ms (target <= %.0f ms)\n", tablesMs, kTablesTargetMs);
  scrambler.reset();
  const std::ptrdiff_t heldBytes = tw::bench::HeapKeptBy([&] { scrambler = std::make_unique<Scrambler>(); });
  std::printf("scramble tables size, heap they hold: %.2f MB, %td bytes (they count %zu themselves) (target <= %.0f "
              "MB)\n",
              static_cast<double>(heldBytes) / kBytesPerMb, heldBytes, scrambler->TableBytes(), kTablesTargetMb);
  if (heldBytes <= 0) {
    std::printf("scramble FAILED: the heap shows no memory held by the tables (%td bytes)\n", heldBytes);
    return 1;
  }

  std::mt19937_64 rng(kSeed);
  std::vector<double> times;
  std::vector<double> lengths;
  int wrong = 0;
  for (int i = 0; i < kScrambles; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const Scramble scramble = scrambler->NextScramble(rng);
    times.push_back(MsSince(start));
    lengths.push_back(static_cast<double>(scramble.moves.size()));
    if (CubeState::Solved().Apply(scramble.moves) != scramble.state || scramble.moves.size() > kMaxScrambleLength) {
      ++wrong;
    }
  }
  double totalMs = 0;
  for (const double t : times) totalMs += t;
  double totalLength = 0;
  for (const double l : lengths) totalLength += l;
  const double maxMs = *std::max_element(times.begin(), times.end());
  std::printf("scramble: mean %.2f ms, p99 %.2f ms, max %.1f ms over %d (targets <= %.0f ms, p99 <= %.0f ms)\n",
              totalMs / kScrambles, tw::bench::Percentile(times, 99), maxMs, kScrambles, kMeanTargetMs, kP99TargetMs);
  std::printf("scramble length: mean %.2f moves, max %.0f (target mean <= %.0f, max <= %d)\n", totalLength / kScrambles,
              *std::max_element(lengths.begin(), lengths.end()), kMeanLengthTarget, kMaxScrambleLength);
  if (wrong != 0) {
    std::printf("scramble FAILED: %d scrambles do not reach their state within %d moves\n", wrong, kMaxScrambleLength);
    return 1;
  }
  scrambler.reset();
  if (!BenchCube4()) return 1;
  if (!BenchEvents()) {
    std::printf("scramble FAILED: an event's scrambles do not make their states, or the heap shows no tables\n");
    return 1;
  }
  return 0;
}
