#include "scramble/training/algorithm.h"

#include <array>
#include <cstdint>

namespace tw::scramble::training {
namespace {

// Which of the cube's faces each name in the notation stands for, as the whole cube
// has been turned so far; indexed by Face (U R F D L B).
using Frame = std::array<Face, kFaceCount>;

enum class Axis : std::uint8_t { X, Y, Z };

// The whole cube turned a quarter clockwise about `axis` (as R, U or F turn): the face
// that comes up (or to the front, or right) is named after the place it comes to.
void TurnFrame(Frame& frame, Axis axis, int quarterTurns) {
  // Each cycle lists names whose faces move on to the name before them.
  static constexpr std::array<std::array<Face, 4>, 3> kCycles = {{
      {Face::U, Face::F, Face::D, Face::B},  // x: F comes up
      {Face::F, Face::R, Face::B, Face::L},  // y: R comes to the front
      {Face::U, Face::L, Face::D, Face::R},  // z: L comes up
  }};
  const auto& cycle = kCycles[static_cast<std::size_t>(axis)];
  for (int n = 0; n < quarterTurns; ++n) {
    const Face first = frame[static_cast<std::size_t>(cycle[0])];
    for (std::size_t i = 0; i + 1 < cycle.size(); ++i) {
      frame[static_cast<std::size_t>(cycle[i])] = frame[static_cast<std::size_t>(cycle[i + 1])];
    }
    frame[static_cast<std::size_t>(cycle[3])] = first;
  }
}

Face Opposite(Face face) { return static_cast<Face>((static_cast<int>(face) + 3) % kFaceCount); }

// What a token turns, as parts the frame resolves: a face turned `turns` quarters
// (a negative count turns it back), then the whole cube about an axis.
struct Part {
  std::optional<Face> face;
  int turns = 0;
  std::optional<Axis> axis;
  int axisTurns = 0;
};

// The whole-cube turn about the axis through `face` that turns like `face` does.
std::pair<Axis, int> AxisLike(Face face) {
  switch (face) {
    case Face::R: return {Axis::X, 1};
    case Face::L: return {Axis::X, -1};
    case Face::U: return {Axis::Y, 1};
    case Face::D: return {Axis::Y, -1};
    case Face::F: return {Axis::Z, 1};
    default: return {Axis::Z, -1};
  }
}

std::optional<Face> FaceOfLetter(char letter) {
  static constexpr std::string_view kLetters = "URFDLB";
  const std::size_t at = kLetters.find(letter);
  if (at == std::string_view::npos) return std::nullopt;
  return static_cast<Face>(at);
}

// One token's parts for one clockwise quarter of it, or nothing.
std::optional<std::vector<Part>> PartsOf(std::string_view name) {
  if (name.size() == 1 && FaceOfLetter(name[0])) return std::vector<Part>{{FaceOfLetter(name[0]), 1, {}, 0}};
  const bool wideLetter = name.size() == 1 && name[0] >= 'a' && name[0] <= 'z' &&
                          FaceOfLetter(static_cast<char>(name[0] - 'a' + 'A'));
  const bool wideW = name.size() == 2 && name[1] == 'w' && FaceOfLetter(name[0]);
  if (wideLetter || wideW) {
    // Two layers of a face: its opposite face turned the same way, with the whole cube.
    const Face face = *FaceOfLetter(wideW ? name[0] : static_cast<char>(name[0] - 'a' + 'A'));
    const auto [axis, turns] = AxisLike(face);
    return std::vector<Part>{{Opposite(face), 1, axis, turns}};
  }
  if (name == "x") return std::vector<Part>{{{}, 0, Axis::X, 1}};
  if (name == "y") return std::vector<Part>{{{}, 0, Axis::Y, 1}};
  if (name == "z") return std::vector<Part>{{{}, 0, Axis::Z, 1}};
  // The slices turn as the face named: M as L, E as D, S as F; that is both outer
  // faces turned against it, with the whole cube.
  if (name == "M") return std::vector<Part>{{Face::R, 1, {}, 0}, {Face::L, -1, Axis::X, -1}};
  if (name == "E") return std::vector<Part>{{Face::U, 1, {}, 0}, {Face::D, -1, Axis::Y, -1}};
  if (name == "S") return std::vector<Part>{{Face::F, -1, {}, 0}, {Face::B, 1, Axis::Z, 1}};
  return std::nullopt;
}

// A token's name and its quarter turns: "R", "R2", "R'", "R2'".
std::optional<std::pair<std::string_view, int>> SplitToken(std::string_view token) {
  int turns = 1;
  if (!token.empty() && token.back() == '\'') {
    turns = 3;
    token.remove_suffix(1);
  }
  if (!token.empty() && token.back() == '2') {
    turns = 2;
    token.remove_suffix(1);
  }
  if (token.empty()) return std::nullopt;
  return std::pair{token, turns};
}

int Quarters(int turns) { return ((turns % 4) + 4) % 4; }

}  // namespace

std::optional<std::vector<Move>> AlgorithmMoves(std::string_view text) {
  Frame frame = {Face::U, Face::R, Face::F, Face::D, Face::L, Face::B};
  std::vector<Move> moves;
  while (!text.empty()) {
    const std::size_t blank = text.find(' ');
    const std::string_view token = text.substr(0, blank);
    text = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);
    if (token.empty()) continue;
    const auto split = SplitToken(token);
    if (!split) return std::nullopt;
    const auto parts = PartsOf(split->first);
    if (!parts) return std::nullopt;
    for (const Part& part : *parts) {
      if (part.face) {
        const int quarters = Quarters(part.turns * split->second);
        if (quarters != 0) moves.push_back(MakeMove(frame[static_cast<std::size_t>(*part.face)], quarters));
      }
      if (part.axis) TurnFrame(frame, *part.axis, Quarters(part.axisTurns * split->second));
    }
  }
  return moves;
}

}  // namespace tw::scramble::training
