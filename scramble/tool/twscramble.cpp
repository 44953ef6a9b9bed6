// twscramble [--event <id>] [--cases <names>] [count] [seed]: prints `count` scrambles (default 1), one a
// line: the scrambled puzzle's state in plain text, a tab, then the scramble on one line
// (Megaminx's seven lines joined by blanks). Without --event they are 3x3x3 scrambles and
// the state is the cube's 54 stickers (U R F D L B); with it, the event's (333, 222,
// pyram, sq1, ...: see scramble/event_scrambler.h). For 333mbf the count is the number of
// scrambles in the attempt, each numbered. --cases chooses the cases of a 333pll or
// 333oll training event ("Ua,Ub,T"; "21,27"); all of them without it. The same seed gives the same lines; without
// one the seed is random.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "scramble/event_scrambler.h"
#include "scramble/events.h"
#include "scramble/scramble_text.h"
#include "scramble/scrambler.h"
#include "scramble/training/case_choice.h"
#include "scramble/training/training_draw.h"

namespace {

constexpr int kUsageError = 2;

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

int Usage() {
  std::fprintf(stderr, "usage: twscramble [--event <id>] [--cases <names>] [count] [seed]\nevents:");
  for (const tw::scramble::Event event : tw::scramble::kAllEvents) {
    std::fprintf(stderr, " %.*s", static_cast<int>(tw::scramble::IdOf(event).size()), tw::scramble::IdOf(event).data());
  }
  for (const tw::scramble::Event event : tw::scramble::kTrainingEvents) {
    std::fprintf(stderr, " %.*s", static_cast<int>(tw::scramble::IdOf(event).size()), tw::scramble::IdOf(event).data());
  }
  std::fprintf(stderr, "\n");
  return kUsageError;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  for (;;) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    if (end == std::string::npos) return lines;
    at = end + 1;
  }
}

void PrintLine(const std::string& state, std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::printf("%s\t%s\n", state.c_str(), text.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> arguments(argv + 1, argv + argc);
  std::optional<tw::scramble::Event> event;
  if (!arguments.empty() && arguments.front() == "--event") {
    if (arguments.size() < 2) return Usage();
    event = tw::scramble::EventFromId(arguments[1]);
    if (!event) return Usage();
    arguments.erase(arguments.begin(), arguments.begin() + 2);
  }
  std::string cases;
  if (!arguments.empty() && arguments.front() == "--cases") {
    if (arguments.size() < 2 || !event) return Usage();
    const tw::scramble::training::LastLayerCases* table = tw::scramble::training::CasesOf(*event);
    if (!table || !tw::scramble::training::ReadCaseChoice(*table, arguments[1])) return Usage();
    cases = arguments[1];
    arguments.erase(arguments.begin(), arguments.begin() + 2);
  }
  if (arguments.size() > 2) return Usage();
  long count = 1;
  std::random_device entropy;
  std::uint64_t seed = std::uint64_t{entropy()} << 32 | entropy();
  if (!arguments.empty() && (!ParseNumber(arguments[0], count) || count < 0)) return Usage();
  if (arguments.size() >= 2 && !ParseNumber(arguments[1], seed)) return Usage();

  if (!event) {
    const tw::scramble::Scrambler scrambler;
    std::mt19937_64 rng(seed);
    for (long i = 0; i < count; ++i) {
      const tw::scramble::Scramble scramble = scrambler.NextScramble(rng);
      PrintLine(scramble.state.Facelets(), tw::scramble::FormatMoves(scramble.moves));
    }
  } else if (*event == tw::scramble::Event::k333mbf) {
    // One attempt of `count` scrambles, a line each.
    if (count > tw::scramble::kMostMultiBlindPuzzles) return Usage();
    if (count > 0) {
      tw::scramble::EventScrambler scrambler(*event, seed, static_cast<int>(count));
      const tw::scramble::EventScramble attempt = scrambler.Next();
      const std::vector<std::string> states = Lines(attempt.state);
      const std::vector<std::string> texts = Lines(attempt.text);
      for (std::size_t i = 0; i < texts.size() && i < states.size(); ++i) PrintLine(states[i], texts[i]);
    }
  } else {
    tw::scramble::EventScrambler scrambler(*event, seed, tw::scramble::kFewestMultiBlindPuzzles, cases);
    for (long i = 0; i < count; ++i) {
      const tw::scramble::EventScramble scramble = scrambler.Next();
      PrintLine(scramble.state, scramble.text);
    }
  }
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
