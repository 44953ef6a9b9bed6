#include "scramble/puzzles/big_cube.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <stdexcept>

#include "scramble/cube333/random_state.h"

namespace tw::scramble {
namespace {

constexpr std::string_view kFaceLetters = "URFDLB";
constexpr std::string_view kTurnSuffixes[kTurnsPerFace] = {"", "2", "'"};

constexpr std::array<CubeFaceFrame, kFaceCount> kFrames{{
    {'U', {0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
    {'R', {1, 0, 0}, {0, 0, -1}, {0, -1, 0}},
    {'F', {0, 0, 1}, {1, 0, 0}, {0, -1, 0}},
    {'D', {0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
    {'L', {-1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
    {'B', {0, 0, -1}, {-1, 0, 0}, {0, -1, 0}},
}};

std::vector<Sticker> CubeStickers(int size) {
  std::vector<Sticker> stickers;
  const double half = size / 2.0;
  const double middle = (size - 1) / 2.0;
  for (const CubeFaceFrame& frame : kFrames) {
    for (int row = 0; row < size; ++row) {
      for (int column = 0; column < size; ++column) {
        const Point3 at = half * frame.normal + (column - middle) * frame.right + (row - middle) * frame.down;
        stickers.push_back({at, at - 0.5 * frame.normal, frame.letter});
      }
    }
  }
  return stickers;
}

// Layer numbers along an axis count from U, R or F: those faces turn layers
// 0..width-1 forwards, their opposites layers size-width..size-1 backwards.
bool IsNearFace(Face face) { return static_cast<int>(face) < 3; }

std::optional<CubeMove> ParseCubeMove(std::string_view word, int size) {
  CubeMove move;
  if (!word.empty() && word.front() >= '0' && word.front() <= '9') {
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), move.width);
    if (error != std::errc()) return std::nullopt;
    word.remove_prefix(static_cast<std::size_t>(end - word.data()));
    // "2Rw" is Rw written out; a number is only ever followed by a wide turn.
    if (move.width < 2 || word.size() < 2 || word[1] != 'w') return std::nullopt;
  }
  if (word.empty()) return std::nullopt;
  const std::size_t face = kFaceLetters.find(word.front());
  if (face == std::string_view::npos) return std::nullopt;
  move.face = static_cast<Face>(face);
  word.remove_prefix(1);
  if (!word.empty() && word.front() == 'w') {
    if (move.width == 1) move.width = 2;
    word.remove_prefix(1);
  }
  if (move.width >= size) return std::nullopt;
  for (int turns = 1; turns <= kTurnsPerFace; ++turns) {
    if (word == kTurnSuffixes[turns - 1]) {
      move.quarterTurns = turns;
      return move;
    }
  }
  return std::nullopt;
}

}  // namespace

const CubeFaceFrame& FrameOf(Face face) { return kFrames[static_cast<std::size_t>(face)]; }

std::string FormatCubeMoves(const std::vector<CubeMove>& moves) {
  std::string text;
  for (const CubeMove& move : moves) {
    if (!text.empty()) text += ' ';
    if (move.width > 2) text += std::to_string(move.width);
    text += kFaceLetters[static_cast<std::size_t>(move.face)];
    if (move.width > 1) text += 'w';
    text += kTurnSuffixes[move.quarterTurns - 1];
  }
  return text;
}

std::optional<std::vector<CubeMove>> ParseCubeMoves(std::string_view text, int size) {
  std::vector<CubeMove> moves;
  if (text.empty()) return moves;
  for (;;) {
    const std::size_t blank = text.find(' ');
    const std::optional<CubeMove> move = ParseCubeMove(text.substr(0, blank), size);
    if (!move) return std::nullopt;
    moves.push_back(*move);
    if (blank == std::string_view::npos) return moves;
    text.remove_prefix(blank + 1);
  }
}

BigCube::BigCube(int size) : size_(size), puzzle_(CubeStickers(size)) {
  if (size < kSmallestCube || size > kLargestCube) throw std::invalid_argument("no such cube");
  const double middle = (size - 1) / 2.0;
  turns_.resize(kFaceCount);
  for (int face = 0; face < kFaceCount; ++face) {
    const CubeFaceFrame& frame = kFrames[static_cast<std::size_t>(face)];
    for (int width = 1; width < size; ++width) {
      // Piece centres of the turned layers lie at middle, middle-1, ... along the normal.
      const StickerMove quarter = puzzle_.Turn(frame.normal, middle - width + 0.5, -kFullTurn / 4);
      std::vector<StickerMove> byTurns;
      for (int turns = 1; turns <= kTurnsPerFace; ++turns) byTurns.push_back(Repeated(quarter, turns));
      turns_[static_cast<std::size_t>(face)].push_back(std::move(byTurns));
    }
  }
}

void BigCube::Apply(const CubeMove& move, std::string& state) const {
  tw::scramble::Apply(turns_[static_cast<std::size_t>(move.face)][static_cast<std::size_t>(move.width - 1)]
                            [static_cast<std::size_t>(move.quarterTurns - 1)],
                      state);
}

void BigCube::Apply(const std::vector<CubeMove>& moves, std::string& state) const {
  for (const CubeMove& move : moves) Apply(move, state);
}

std::optional<std::string> BigCube::StateAfter(std::string_view text) const {
  const auto moves = ParseCubeMoves(text, size_);
  if (!moves) return std::nullopt;
  std::string state = Solved();
  Apply(*moves, state);
  return state;
}

bool BigCube::MayExtendRun(const std::vector<CubeMove>& run, const CubeMove& next) const {
  if (!run.empty()) {
    if (run.back().face == next.face) return false;
    if (AxisOf(run.back().face) != AxisOf(next.face)) return true;
  }
  std::vector<int> layers(static_cast<std::size_t>(size_), 0);
  const auto add = [&](const CubeMove& move) {
    for (int w = 0; w < move.width; ++w) {
      const bool near = IsNearFace(move.face);
      const int layer = near ? w : size_ - 1 - w;
      layers[static_cast<std::size_t>(layer)] += near ? move.quarterTurns : kTurnsPerFace + 1 - move.quarterTurns;
    }
  };
  for (const CubeMove& move : run) {
    if (move.face == next.face && move.width == next.width) return false;
    add(move);
  }
  add(next);
  for (int& layer : layers) layer %= kTurnsPerFace + 1;
  return std::adjacent_find(layers.begin(), layers.end(), std::not_equal_to<>()) != layers.end();
}

std::vector<CubeMove> BigCube::RandomMoves(int count, std::mt19937_64& rng) const {
  std::vector<CubeMove> moves;
  std::vector<CubeMove> run;  // the last turns about one axis
  std::vector<CubeMove> allowed;
  const int widest = size_ / 2;
  while (static_cast<int>(moves.size()) < count) {
    allowed.clear();
    for (int face = 0; face < kFaceCount; ++face) {
      for (int width = 1; width <= widest; ++width) {
        for (int turns = 1; turns <= kTurnsPerFace; ++turns) {
          const CubeMove move{static_cast<Face>(face), width, turns};
          if (MayExtendRun(run, move)) allowed.push_back(move);
        }
      }
    }
    const CubeMove move = allowed[UniformBelow(rng, allowed.size())];
    if (!run.empty() && AxisOf(run.back().face) != AxisOf(move.face)) run.clear();
    run.push_back(move);
    moves.push_back(move);
  }
  return moves;
}

std::vector<CubeMove> BigCube::RandomOrientation(std::mt19937_64& rng) const {
  const int width = size_ % 2 == 1 ? (size_ + 1) / 2 : size_ - 1;
  // Which face comes up: U stays, F (x), D (x2), B (x'), L (z), R (z').
  constexpr int kUpFaces = 6;
  constexpr int kYTurns = 4;
  std::vector<CubeMove> moves;
  switch (UniformBelow(rng, kUpFaces)) {
    case 1: moves.push_back({Face::R, width, 1}); break;
    case 2: moves.push_back({Face::R, width, 2}); break;
    case 3: moves.push_back({Face::R, width, 3}); break;
    case 4: moves.push_back({Face::F, width, 1}); break;
    case 5: moves.push_back({Face::F, width, 3}); break;
    default: break;
  }
  const auto y = static_cast<int>(UniformBelow(rng, kYTurns));
  if (y != 0) moves.push_back({Face::U, width, y});
  return moves;
}

}  // namespace tw::scramble
