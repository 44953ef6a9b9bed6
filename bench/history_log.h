// A lifetime of history for the benchmarks: 30 sessions holding 1,000,000 solves, the
// largest 300,000 lines, each line with its scramble and some with a comment, as the
// logs of a cuber who has practised for years are.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tw::bench {

inline constexpr int kHistorySessions = 30;
inline constexpr int kHistorySolves = 1000000;
inline constexpr int kLargestSession = 300000;

// The solves of session `index` (0 is the largest); the others share the rest evenly.
inline int HistorySessionSize(int index) {
  const int rest = kHistorySolves - kLargestSession;
  const int others = kHistorySessions - 1;
  if (index == 0) return kLargestSession;
  return rest / others + (index <= rest % others ? 1 : 0);
}

// A random-looking 3x3x3 scramble of 20 moves, never one face twice in a row.
inline std::string HistoryScramble(std::uint32_t& seed) {
  static const char* const kFaces = "RLUDFB";
  static const char* const kTurns[] = {"", "'", "2"};
  std::string scramble;
  int last = -1;
  for (int m = 0; m < 20; ++m) {
    int face = 0;
    do {
      seed = seed * 1664525u + 1013904223u;
      face = static_cast<int>((seed >> 16) % 6);
    } while (face == last);
    last = face;
    if (m > 0) scramble += ' ';
    scramble += kFaces[face];
    scramble += kTurns[(seed >> 8) % 3];
  }
  return scramble;
}

// The lines of one session's log, every field varying from line to line.
inline std::vector<std::string> HistoryLog(int session, int count) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(count));
  std::uint32_t seed = 12345u + static_cast<std::uint32_t>(session) * 7919u;
  char head[80];
  for (int i = 0; i < count; ++i) {
    std::snprintf(head, sizeof head, "#Date: %02d/%02d/%04d | Time: %02d:%02d:%02d | Result: 00:%02d:%02d:%02d",
                  i % 28 + 1, i / 28 % 12 + 1, 2015 + i / 40000 % 12, i % 24, i % 60, (i * 7) % 60, i % 3 / 2,
                  8 + (i * 13) % 20, (i * 31) % 100);
    std::string line = head;
    if (i % 50 == 0) line += " (+2)";
    line += " | Scramble: ";
    line += HistoryScramble(seed);
    if (i % 20 == 0) line += " | Comment: lookahead practice, " + std::to_string(i);
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace tw::bench
