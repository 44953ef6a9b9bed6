#pragma once
// A cube of 54 stickers, written apart from scramble/ so its tests check the cube model,
// the solver and twscramble against something that shares none of their code: each face
// turn is its stickers moved round by hand-written cycles, and a scramble is read from
// its text by the letter.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tw::scramble::stickers {

// Faces in the order U R F D L B, nine stickers each, read row by row as the face is
// seen from outside: U with B above it, D with F above it, the four sides with U above.
constexpr std::string_view kFaces = "URFDLB";
constexpr std::string_view kSolved = "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";
constexpr int U(int n) { return n - 1; }
constexpr int R(int n) { return 9 + n - 1; }
constexpr int F(int n) { return 18 + n - 1; }
constexpr int D(int n) { return 27 + n - 1; }
constexpr int L(int n) { return 36 + n - 1; }
constexpr int B(int n) { return 45 + n - 1; }

// A clockwise quarter turn of a face: the sticker at each place of a cycle moves to the
// next place. The face's own stickers turn 1 -> 3 -> 9 -> 7 and 2 -> 6 -> 8 -> 4; the
// rows and columns of its four neighbours are these.
using Cycle = std::array<int, 4>;
constexpr std::array<std::array<Cycle, 3>, 6> kSideCycles{{
    {{{F(1), L(1), B(1), R(1)}, {F(2), L(2), B(2), R(2)}, {F(3), L(3), B(3), R(3)}}},  // U
    {{{F(3), U(3), B(7), D(3)}, {F(6), U(6), B(4), D(6)}, {F(9), U(9), B(1), D(9)}}},  // R
    {{{U(7), R(1), D(3), L(9)}, {U(8), R(4), D(2), L(6)}, {U(9), R(7), D(1), L(3)}}},  // F
    {{{F(7), R(7), B(7), L(7)}, {F(8), R(8), B(8), L(8)}, {F(9), R(9), B(9), L(9)}}},  // D
    {{{U(1), F(1), D(1), B(9)}, {U(4), F(4), D(4), B(6)}, {U(7), F(7), D(7), B(3)}}},  // L
    {{{U(1), L(7), D(9), R(3)}, {U(2), L(4), D(8), R(6)}, {U(3), L(1), D(7), R(9)}}},  // B
}};

inline void Carry(std::string& cube, const Cycle& cycle) {
  const char last = cube[static_cast<std::size_t>(cycle[3])];
  for (int i = 3; i > 0; --i) cube[static_cast<std::size_t>(cycle[i])] = cube[static_cast<std::size_t>(cycle[i - 1])];
  cube[static_cast<std::size_t>(cycle[0])] = last;
}

inline void QuarterTurn(std::string& cube, int face) {
  const int first = face * 9;
  Carry(cube, {first + 0, first + 2, first + 8, first + 6});
  Carry(cube, {first + 1, first + 5, first + 7, first + 3});
  for (const Cycle& cycle : kSideCycles[static_cast<std::size_t>(face)]) Carry(cube, cycle);
}

// A turn as a face (an index into kFaces) and 1 to 3 clockwise quarter turns.
using Turn = std::pair<int, int>;

inline std::string Turned(std::string cube, const std::vector<Turn>& turns) {
  for (const auto& [face, quarters] : turns) {
    for (int q = 0; q < quarters; ++q) QuarterTurn(cube, face);
  }
  return cube;
}

// The turns of WCA notation such as "R U2 F'", moves one blank apart; nothing for any
// other text.
inline std::optional<std::vector<Turn>> Read(std::string_view text) {
  std::vector<Turn> turns;
  if (text.empty()) return turns;
  for (std::size_t at = 0;;) {
    const std::size_t blank = std::min(text.find(' ', at), text.size());
    const std::string_view word = text.substr(at, blank - at);
    if (word.empty() || kFaces.find(word[0]) == std::string_view::npos) return std::nullopt;
    const int face = static_cast<int>(kFaces.find(word[0]));
    if (word.size() == 1) {
      turns.emplace_back(face, 1);
    } else if (word == std::string{word[0], '2'}) {
      turns.emplace_back(face, 2);
    } else if (word == std::string{word[0], '\''}) {
      turns.emplace_back(face, 3);
    } else {
      return std::nullopt;
    }
    if (blank == text.size()) return turns;
    at = blank + 1;
  }
}

inline std::string Turned(std::string_view moves) {
  const auto turns = Read(moves);
  return turns ? Turned(std::string(kSolved), *turns) : "unreadable: " + std::string(moves);
}

// A scramble as a person checks it: WCA notation, at most `longest` moves, no face
// turned twice in a row and no axis three times in a row ("R L R"), and a cube that
// ends up scrambled.
inline ::testing::AssertionResult IsFairScramble(std::string_view text, std::size_t longest) {
  const auto turns = Read(text);
  if (!turns) return ::testing::AssertionFailure() << "not WCA notation: " << text;
  if (turns->size() > longest) return ::testing::AssertionFailure() << turns->size() << " moves: " << text;
  const auto axis = [&](std::size_t i) { return (*turns)[i].first % 3; };
  for (std::size_t i = 1; i < turns->size(); ++i) {
    if ((*turns)[i].first == (*turns)[i - 1].first) {
      return ::testing::AssertionFailure() << "one face twice at " << i << ": " << text;
    }
    if (i >= 2 && axis(i) == axis(i - 1) && axis(i) == axis(i - 2)) {
      return ::testing::AssertionFailure() << "one axis three times at " << i << ": " << text;
    }
  }
  if (Turned(std::string(kSolved), *turns) == kSolved) return ::testing::AssertionFailure() << "solves: " << text;
  return ::testing::AssertionSuccess();
}

}  // namespace tw::scramble::stickers
