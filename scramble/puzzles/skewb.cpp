#include "scramble/puzzles/skewb.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include "scramble/puzzles/big_cube.h"
#include "scramble/cube333/coordinates.h"
#include "scramble/cube333/cube_state.h"
#include "scramble/cube333/random_state.h"

namespace tw::scramble {
namespace {

constexpr int kTurns = 2;
constexpr int kCornerMoves = 4;
constexpr int kSolverMoves = kCornerMoves * kTurns;
constexpr int kLongest = 11;       // no Skewb state needs more
constexpr int kEvenOrders = 360;   // 6! / 2
constexpr std::string_view kLetters = "RULB";

// The corners R, U, L and B turn about: DRB, UBL, DFL, DBL.
constexpr Point3 kAxes[kCornerMoves] = {{1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}, {-1, -1, -1}};

std::vector<Sticker> SkewbStickers() {
  std::vector<Sticker> stickers;
  for (int face = 0; face < kFaceCount; ++face) {
    const CubeFaceFrame& frame = FrameOf(static_cast<Face>(face));
    stickers.push_back({frame.normal, 0.5 * frame.normal, frame.letter});
    for (const int down : {-1, 1}) {
      for (const int right : {-1, 1}) {
        const Point3 corner = frame.normal + right * frame.right + down * frame.down;
        stickers.push_back({frame.normal + 0.5 * (corner - frame.normal), corner, frame.letter});
      }
    }
  }
  return stickers;
}

int EvenOrderRank(const std::array<std::uint8_t, kSkewbCentres>& order) { return PermutationRank(order) / 2; }

std::array<std::uint8_t, kSkewbCentres> EvenOrder(int rank) {
  std::array<std::uint8_t, kSkewbCentres> order{};
  PermutationFromRank(2 * rank, order);
  if (IsOddPermutation(order)) PermutationFromRank(2 * rank + 1, order);
  return order;
}

}  // namespace

std::string FormatSkewbMoves(const std::vector<SkewbMove>& moves) {
  std::string text;
  for (const SkewbMove& move : moves) {
    if (!text.empty()) text += ' ';
    text += kLetters[static_cast<std::size_t>(move.corner)];
    if (move.turns == 2) text += '\'';
  }
  return text;
}

std::optional<std::vector<SkewbMove>> ParseSkewbMoves(std::string_view text) {
  std::vector<SkewbMove> moves;
  if (text.empty()) return moves;
  for (;;) {
    const std::size_t blank = text.find(' ');
    const std::string_view word = text.substr(0, blank);
    if (word.empty() || word.size() > 2 || (word.size() == 2 && word[1] != '\'')) return std::nullopt;
    const std::size_t corner = kLetters.find(word[0]);
    if (corner == std::string_view::npos) return std::nullopt;
    moves.push_back({static_cast<int>(corner), word.size() == 2 ? 2 : 1});
    if (blank == std::string_view::npos) return moves;
    text.remove_prefix(blank + 1);
  }
}

Skewb::Skewb(bool withTables) : puzzle_(SkewbStickers()), solver_(kSolverMoves, kTurns) {
  cornerSlots_ = puzzle_.Pieces(3);
  centreSlots_ = puzzle_.Pieces(1);
  std::array<std::array<PieceMove, kTurns>, kCornerMoves> cornerMoves;
  std::array<std::array<PieceMove, kTurns>, kCornerMoves> centreMoves;
  for (int c = 0; c < kCornerMoves; ++c) {
    const StickerMove clockwise = puzzle_.Turn(Normalized(kAxes[c]), 0, -kFullTurn / 3);
    for (int turns = 1; turns <= kTurns; ++turns) {
      const auto at = static_cast<std::size_t>(turns - 1);
      moves_[static_cast<std::size_t>(c)][at] = Repeated(clockwise, turns);
      cornerMoves[static_cast<std::size_t>(c)][at] = PieceMoveOf(cornerSlots_, moves_[static_cast<std::size_t>(c)][at]);
      centreMoves[static_cast<std::size_t>(c)][at] = PieceMoveOf(centreSlots_, moves_[static_cast<std::size_t>(c)][at]);
    }
  }
  if (!withTables) return;
  const auto moveOf = [](const auto& table, int move) -> const PieceMove& {
    return table[static_cast<std::size_t>(move / kTurns)][static_cast<std::size_t>(move % kTurns)];
  };

  // Every corner arrangement the turns reach, breadth-first from solved.
  Corners solved;
  for (int s = 0; s < kSkewbCorners; ++s) solved.piece[static_cast<std::size_t>(s)] = static_cast<std::uint8_t>(s);
  std::set<Corners> seen{solved};
  reachable_.push_back(solved);
  for (std::size_t next = 0; next < reachable_.size(); ++next) {
    for (int m = 0; m < kSolverMoves; ++m) {
      Corners moved = reachable_[next];
      MovePieces(moveOf(cornerMoves, m), moved.piece, moved.twist, 3);
      if (seen.insert(moved).second) reachable_.push_back(moved);
    }
  }
  std::sort(reachable_.begin(), reachable_.end());
  const auto indexOf = [&](const Corners& corners) {
    return static_cast<int>(std::lower_bound(reachable_.begin(), reachable_.end(), corners) - reachable_.begin());
  };
  const int corners = solver_.AddCoordinate(static_cast<int>(reachable_.size()), [&](int value, int move) {
    Corners moved = reachable_[static_cast<std::size_t>(value)];
    MovePieces(moveOf(cornerMoves, move), moved.piece, moved.twist, 3);
    return indexOf(moved);
  });
  const int centres = solver_.AddCoordinate(kEvenOrders, [&](int value, int move) {
    auto order = EvenOrder(value);
    std::array<std::uint8_t, kSkewbCentres> turned{};
    MovePieces(moveOf(centreMoves, move), order, turned, 1);
    return EvenOrderRank(order);
  });
  solver_.AddDistances({corners});
  solver_.AddDistances({centres});
}

std::optional<std::string> Skewb::StateAfter(std::string_view text) const {
  const auto moves = ParseSkewbMoves(text);
  if (!moves) return std::nullopt;
  std::string state = Solved();
  for (const SkewbMove& move : *moves) {
    Apply(moves_[static_cast<std::size_t>(move.corner)][static_cast<std::size_t>(move.turns - 1)], state);
  }
  return state;
}

std::string Skewb::Stickers(const SkewbState& state) const {
  const std::string solved = Solved();
  std::string stickers = solved;
  const Corners& corners = reachable_.at(static_cast<std::size_t>(state.corners));
  PaintPieces(cornerSlots_, solved, corners.piece, corners.twist, stickers);
  const std::array<std::uint8_t, kSkewbCentres> unturned{};
  PaintPieces(centreSlots_, solved, state.centre, unturned, stickers);
  return stickers;
}

SkewbState Skewb::Random(std::mt19937_64& rng) const {
  SkewbState state;
  state.corners = static_cast<int>(UniformBelow(rng, reachable_.size()));
  state.centre = EvenOrder(static_cast<int>(UniformBelow(rng, kEvenOrders)));
  return state;
}

std::vector<SkewbMove> Skewb::MovesReaching(const SkewbState& state) const {
  const auto solution = solver_.Solve({state.corners, EvenOrderRank(state.centre)}, kLongest);
  if (!solution) throw std::invalid_argument("a Skewb state no turns reach");
  std::vector<SkewbMove> moves;
  for (auto m = solution->rbegin(); m != solution->rend(); ++m) moves.push_back({*m / kTurns, kTurns - *m % kTurns});
  return moves;
}

std::size_t Skewb::TableBytes() const { return solver_.SizeBytes() + reachable_.size() * sizeof(Corners); }

}  // namespace tw::scramble
