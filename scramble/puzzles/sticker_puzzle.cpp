#include "scramble/puzzles/sticker_puzzle.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tw::scramble {
namespace {

// Sticker points of every puzzle here lie at least a tenth apart; rounding after a
// rotation is far below that.
constexpr double kSamePoint = 1e-6;

bool Near(const Point3& a, const Point3& b) {
  const Point3 d = a - b;
  return Dot(d, d) < kSamePoint * kSamePoint;
}

int PlaceAt(const std::vector<Sticker>& stickers, const Point3& p) {
  for (std::size_t i = 0; i < stickers.size(); ++i) {
    if (Near(stickers[i].at, p)) return static_cast<int>(i);
  }
  throw std::logic_error("a turned sticker lands on no sticker's place");
}

}  // namespace

Point3 Normalized(const Point3& a) { return (1.0 / std::sqrt(Dot(a, a))) * a; }

Point3 Rotated(const Point3& p, const Point3& axis, double angle) {
  // Rodrigues: the part along the axis stays, the rest turns in its plane.
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return c * p + s * Cross(axis, p) + ((1 - c) * Dot(axis, p)) * axis;
}

StickerPuzzle::StickerPuzzle(std::vector<Sticker> stickers) : stickers_(std::move(stickers)) {}

std::string StickerPuzzle::Solved() const {
  std::string state;
  for (const Sticker& sticker : stickers_) state += sticker.face;
  return state;
}

StickerMove StickerPuzzle::Turn(const Point3& axis, double depth, double angle) const {
  StickerMove move = Identity(Size());
  std::vector<bool> reached(stickers_.size(), false);
  for (std::size_t i = 0; i < stickers_.size(); ++i) {
    if (Dot(stickers_[i].piece, axis) <= depth) continue;
    const int to = PlaceAt(stickers_, Rotated(stickers_[i].at, axis, angle));
    move.from[static_cast<std::size_t>(to)] = static_cast<std::uint16_t>(i);
    reached[static_cast<std::size_t>(to)] = true;
  }
  for (std::size_t i = 0; i < stickers_.size(); ++i) {
    // A place that received nothing must be one that stayed, or two stickers met.
    if (!reached[i] && Dot(stickers_[i].piece, axis) > depth) throw std::logic_error("a turn leaves a place empty");
  }
  return move;
}

PieceSlots StickerPuzzle::Pieces(int stickersPerPiece) const {
  PieceSlots slots;
  std::vector<bool> taken(stickers_.size(), false);
  for (std::size_t i = 0; i < stickers_.size(); ++i) {
    if (taken[i]) continue;
    std::vector<int> piece;
    for (std::size_t j = i; j < stickers_.size(); ++j) {
      if (!taken[j] && Near(stickers_[j].piece, stickers_[i].piece)) {
        piece.push_back(static_cast<int>(j));
        taken[j] = true;
      }
    }
    if (static_cast<int>(piece.size()) != stickersPerPiece) continue;
    // Counter-clockwise about the piece's centre, starting from its first place.
    const Point3 centre = Normalized(stickers_[i].piece);
    const auto flat = [&](int place) {
      const Point3 p = stickers_[static_cast<std::size_t>(place)].at;
      return p - Dot(p, centre) * centre;
    };
    const Point3 e1 = flat(piece.front());
    const Point3 e2 = Cross(centre, e1);
    const auto angle = [&](int place) {
      const double a = std::atan2(Dot(flat(place), e2), Dot(flat(place), e1));
      return a < -1e-9 ? a + kFullTurn : a;
    };
    std::sort(piece.begin(), piece.end(), [&](int a, int b) { return angle(a) < angle(b); });
    slots.stickers.push_back(std::move(piece));
  }
  return slots;
}

StickerMove Identity(int size) {
  StickerMove move;
  move.from.resize(static_cast<std::size_t>(size));
  for (int i = 0; i < size; ++i) move.from[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i);
  return move;
}

StickerMove Then(const StickerMove& first, const StickerMove& second) {
  StickerMove move;
  move.from.resize(first.from.size());
  for (std::size_t i = 0; i < move.from.size(); ++i) move.from[i] = first.from[second.from[i]];
  return move;
}

StickerMove Repeated(const StickerMove& move, int times) {
  StickerMove result = Identity(static_cast<int>(move.from.size()));
  for (int i = 0; i < times; ++i) result = Then(result, move);
  return result;
}

void Apply(const StickerMove& move, std::string& state) {
  const std::string before = state;
  for (std::size_t i = 0; i < move.from.size(); ++i) state[i] = before[move.from[i]];
}

PieceMove PieceMoveOf(const PieceSlots& slots, const StickerMove& move) {
  std::vector<int> to(move.from.size());
  for (std::size_t i = 0; i < move.from.size(); ++i) to[move.from[i]] = static_cast<int>(i);
  std::vector<int> slotOf(move.from.size(), -1);
  std::vector<int> indexInSlot(move.from.size(), -1);
  for (std::size_t s = 0; s < slots.stickers.size(); ++s) {
    for (std::size_t j = 0; j < slots.stickers[s].size(); ++j) {
      slotOf[static_cast<std::size_t>(slots.stickers[s][j])] = static_cast<int>(s);
      indexInSlot[static_cast<std::size_t>(slots.stickers[s][j])] = static_cast<int>(j);
    }
  }
  PieceMove pieces;
  for (const std::vector<int>& slot : slots.stickers) {
    const int k = static_cast<int>(slot.size());
    const auto first = static_cast<std::size_t>(to[static_cast<std::size_t>(slot.front())]);
    const int target = slotOf[first];
    const int twist = indexInSlot[first];
    if (target < 0) throw std::logic_error("a piece moves onto another kind of piece");
    for (int j = 0; j < k; ++j) {
      const auto place = static_cast<std::size_t>(to[static_cast<std::size_t>(slot[static_cast<std::size_t>(j)])]);
      if (slotOf[place] != target || indexInSlot[place] != (j + twist) % k) {
        throw std::logic_error("a piece's stickers leave their turning order");
      }
    }
    pieces.to.push_back(static_cast<std::uint8_t>(target));
    pieces.twist.push_back(static_cast<std::uint8_t>(twist));
  }
  return pieces;
}

}  // namespace tw::scramble
