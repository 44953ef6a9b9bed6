#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "scramble/event_scrambler.h"
#include "scramble/events.h"
#include "tests/host/scramble_sticker_cube.h"

namespace tw::scramble {
namespace {

struct ToolRun {
  std::string output;
  int status;
};

ToolRun RunTool(const std::string& arguments) {
  const std::string command = std::string(TW_TWSCRAMBLE_PATH) + " " + arguments + " 2>/dev/null";
  ToolRun run{"", -1};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, got);
  run.status = pclose(pipe);
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Each line read as a person would: the scramble is fair WCA notation, and turning a
// cube of stickers by it gives the stickers printed beside it.
TEST(TwscrambleTool, PrintsEachStateWithTheScrambleThatMakesIt) {
  const ToolRun run = RunTool("25 7");
  ASSERT_EQ(run.status, 0);
  const std::vector<std::string> lines = Lines(run.output);
  ASSERT_EQ(lines.size(), 25u);
  std::set<std::string> states;
  for (const std::string& line : lines) {
    const std::size_t tab = line.find('\t');
    ASSERT_EQ(tab, stickers::kSolved.size()) << line;
    const std::string facelets = line.substr(0, tab), moves = line.substr(tab + 1);
    EXPECT_TRUE(stickers::IsFairScramble(moves, 21)) << line;
    EXPECT_EQ(stickers::Turned(moves), facelets) << line;
    states.insert(facelets);
  }
  EXPECT_EQ(states.size(), lines.size());
  // The same seed prints the same lines.
  EXPECT_EQ(RunTool("25 7").output, run.output);
}

// Every event: each line's state is what its scramble (read back into the event's own
// notation: Megaminx's lines were joined by blanks) makes, and the same seed prints the
// same lines. A multi-blind attempt numbers its scrambles.
TEST(TwscrambleTool, PrintsEveryEventsScramblesWithTheirStates) {
  for (const Event event : kAllEvents) {
    const std::string arguments = "--event " + std::string(IdOf(event)) + " 3 11";
    const ToolRun run = RunTool(arguments);
    ASSERT_EQ(run.status, 0) << arguments;
    const std::vector<std::string> lines = Lines(run.output);
    ASSERT_EQ(lines.size(), 3u) << arguments;
    for (std::size_t n = 0; n < lines.size(); ++n) {
      const std::size_t tab = lines[n].find('\t');
      ASSERT_NE(tab, std::string::npos) << lines[n];
      const std::string state = lines[n].substr(0, tab);
      std::string text = lines[n].substr(tab + 1);
      if (event == Event::k333mbf) {
        const std::string number = std::to_string(n + 1) + ". ";
        ASSERT_EQ(text.substr(0, number.size()), number) << lines[n];
        text.erase(0, number.size());
      }
      const Event reading = event == Event::k333mbf ? Event::k333bf : event;
      EXPECT_EQ(StateAfter(reading, text), state) << IdOf(event) << ": " << lines[n];
    }
    EXPECT_EQ(RunTool(arguments).output, run.output) << arguments;
  }
  // Plain 3x3x3 scrambles are the 333 event's.
  EXPECT_EQ(RunTool("--event 333 4 9").output, RunTool("4 9").output);
}

TEST(TwscrambleTool, RefusesWhatItCannotRead) {
  for (const char* arguments : {"x", "-1", "3 seed", "1 2 3", "2.5", "--event", "--event 333ft 1", "--event 333mbf 101 1",
                                "--event pyram 1 2 3"}) {
    const ToolRun run = RunTool(arguments);
    EXPECT_NE(run.status, 0) << arguments;
    EXPECT_EQ(run.output, "") << arguments;
  }
  const ToolRun none = RunTool("0 1");
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.output, "");
}

}  // namespace
}  // namespace tw::scramble
