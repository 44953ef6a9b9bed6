#pragma once
// Scrambles for every WCA event, as the WCA writes them, each with the state it makes.
//
//   tw::scramble::EventScrambler scrambler(tw::scramble::Event::kPyram, seed);  // builds tables: a worker thread
//   tw::scramble::EventScramble next = scrambler.Next();  // next.text "U L' R ... u b'", next.state its stickers
//
// 3x3x3 training kinds draw a random state inside their subset (see
// scramble/training/training_draw.h) and write a short solution of it backwards.
// Random-state events draw a uniformly random state (drawn again when it is closer to
// solved than the WCA allows: 4 moves for 2x2x2, 6 for Pyraminx, 7 for Skewb, 11 for
// Square-1) and write a short solution of it backwards; 4x4x4's comes from a reduction
// to the 3x3x3 (see scramble/cube444/). 5x5x5 to 7x7x7 and Megaminx are random
// moves. Blindfolded events end in a random orientation; 3x3x3 Fewest Moves is written
// between R' U' F and R' U' F; 3x3x3 Multi-Blind numbers its scrambles "1. ...", one a
// line.
//
// The state's text by event (see each puzzle's header): the cube's stickers (54 for
// 3x3x3, 24 for 2x2x2, 6 N^2 for N x N x N), Pyraminx's 36 and Skewb's 30 stickers,
// Square-1's 25 characters, Megaminx's 132 stickers, Clock's 18 dials; Multi-Blind's
// states one a line.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "scramble/events.h"

namespace tw::scramble {

struct EventScramble {
  std::string text;   // Megaminx's seven lines and Multi-Blind's numbered scrambles apart by '\n'
  std::string state;  // the state the text makes from solved, as StateAfter gives it
  bool operator==(const EventScramble&) const = default;
};

// The most scrambles a Multi-Blind attempt may ask for, and the fewest.
inline constexpr int kMostMultiBlindPuzzles = 100;
inline constexpr int kFewestMultiBlindPuzzles = 1;

class EventScrambler {
 public:
  // Builds (or shares with other scramblers alive) the event's tables, up to a few
  // hundred milliseconds: do it on a worker thread. `puzzles` is Multi-Blind's number
  // of scrambles per attempt, ignored for other events.
  // `cases` is the PLL or OLL cases a training session drills (see
  // scramble/training/case_choice.h), ignored for other events. The 4x4x4's tables take
  // a second or two: once `cancel` is true their build stops soon by throwing.
  EventScrambler(Event event, std::uint64_t seed, int puzzles = kFewestMultiBlindPuzzles,
                 std::string_view cases = {}, const std::atomic<bool>* cancel = nullptr);
  ~EventScrambler();
  EventScrambler(const EventScrambler&) = delete;
  EventScrambler& operator=(const EventScrambler&) = delete;

  Event GetEvent() const { return event_; }
  // The next scramble; a seed gives the same ones with every standard library. Once
  // `cancel` is true the answer comes soon and may not be a scramble: throw it away.
  EventScramble Next(const std::atomic<bool>* cancel = nullptr);
  // The tables' bytes as they count them.
  std::size_t TableBytes() const;

 private:
  struct Tables;
  Event event_;
  int puzzles_;
  std::mt19937_64 rng_;
  std::unique_ptr<Tables> tables_;
};

// What `text` makes from a solved puzzle of the event, in the event's state text; or
// nothing when the text is not the event's notation.
std::optional<std::string> StateAfter(Event event, std::string_view text);

}  // namespace tw::scramble
