#include "scramble/cube444/cube444_model.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace tw::scramble::cube444 {
namespace {

constexpr int kFaces = 6;
constexpr int kSide = 4;
constexpr int kPerFace = kSide * kSide;
constexpr std::string_view kFaceLetters = "URFDLB";
constexpr int kDbl = 6;  // the down-back-left corner in the 3x3x3 numbering

// Points at twice their true place, so that every sticker and piece centre is whole.
struct Vec {
  int x = 0;
  int y = 0;
  int z = 0;
  bool operator==(const Vec&) const = default;
};
constexpr Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr Vec operator*(int k, Vec a) { return {k * a.x, k * a.y, k * a.z}; }
constexpr int Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// Each face's outward normal, the direction to its right and the direction down it,
// as seen from outside.
struct Frame {
  Vec normal;
  Vec right;
  Vec down;
};
constexpr std::array<Frame, kFaces> kFrames{{
    {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
    {{1, 0, 0}, {0, 0, -1}, {0, -1, 0}},
    {{0, 0, 1}, {1, 0, 0}, {0, -1, 0}},
    {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
    {{-1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
    {{0, 0, -1}, {-1, 0, 0}, {0, -1, 0}},
}};

// The 3x3x3 solver's slots as its stickers, by face and number 1..9 read row by row:
// each corner from its U or D sticker clockwise, each edge from its U or D (in the
// slice F or B) sticker; and the colours of its pieces in the same order.
struct FaceNumber {
  int face;
  int number;
};
constexpr FaceNumber kCornerFacelets[kCorners][3] = {
    {{0, 9}, {1, 1}, {2, 3}}, {{0, 7}, {2, 1}, {4, 3}}, {{0, 1}, {4, 1}, {5, 3}}, {{0, 3}, {5, 1}, {1, 3}},
    {{3, 3}, {2, 9}, {1, 7}}, {{3, 1}, {4, 9}, {2, 7}}, {{3, 7}, {5, 9}, {4, 7}}, {{3, 9}, {1, 9}, {5, 7}},
};
constexpr int kCornerColours[kCorners][3] = {
    {0, 1, 2}, {0, 2, 4}, {0, 4, 5}, {0, 5, 1}, {3, 2, 1}, {3, 4, 2}, {3, 5, 4}, {3, 1, 5},
};
constexpr FaceNumber kEdgeFacelets[kDedges][2] = {
    {{0, 6}, {1, 2}}, {{0, 8}, {2, 2}}, {{0, 4}, {4, 2}}, {{0, 2}, {5, 2}}, {{3, 6}, {1, 8}}, {{3, 2}, {2, 8}},
    {{3, 4}, {4, 8}}, {{3, 8}, {5, 8}}, {{2, 6}, {1, 4}}, {{2, 4}, {4, 6}}, {{5, 6}, {4, 4}}, {{5, 4}, {1, 6}},
};
constexpr int kEdgeColours[kDedges][2] = {
    {0, 1}, {0, 2}, {0, 4}, {0, 5}, {3, 1}, {3, 2}, {3, 4}, {3, 5}, {2, 1}, {2, 4}, {5, 4}, {5, 1},
};

// A 3x3x3 sticker's place among the 4x4x4's: its first, middle and last rows and
// columns become the 4x4x4's first, second and last.
int PlaceOf(FaceNumber f) {
  constexpr int kLine[3] = {0, 1, 3};
  return f.face * kPerFace + kLine[(f.number - 1) / 3] * kSide + kLine[(f.number - 1) % 3];
}

int FaceIndex(char letter) { return static_cast<int>(kFaceLetters.find(letter)); }

struct Place {
  Vec at;     // the sticker
  Vec piece;  // the centre of its piece
};

std::array<Place, kStickers> Places() {
  std::array<Place, kStickers> places{};
  for (int f = 0; f < kFaces; ++f) {
    const Frame& frame = kFrames[static_cast<std::size_t>(f)];
    for (int row = 0; row < kSide; ++row) {
      for (int col = 0; col < kSide; ++col) {
        const Vec at = kSide * frame.normal + (2 * col - 3) * frame.right + (2 * row - 3) * frame.down;
        const int place = f * kPerFace + row * kSide + col;
        places[static_cast<std::size_t>(place)] = {at, at + (-1) * frame.normal};
      }
    }
  }
  return places;
}

// A quarter turn clockwise as seen from the tip of the unit axis `n`.
Vec Quarter(Vec v, Vec n) { return Dot(n, v) * n + (-1) * Cross(n, v); }

std::uint64_t Below(std::mt19937_64& rng, std::uint64_t bound) {
  const std::uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
  for (;;) {
    const std::uint64_t draw = rng();
    if (draw < limit) return draw % bound;
  }
}

void Shuffle(std::uint8_t* items, std::size_t count, std::mt19937_64& rng) {
  for (std::size_t i = count; i > 1; --i) {
    const std::size_t j = Below(rng, i);
    const std::uint8_t kept = items[i - 1];
    items[i - 1] = items[j];
    items[j] = kept;
  }
}

template <std::size_t N>
bool IsOdd(const std::array<std::uint8_t, N>& order) {
  bool odd = false;
  for (std::size_t i = 0; i < N; ++i) {
    for (std::size_t j = i + 1; j < N; ++j) odd ^= order[i] > order[j];
  }
  return odd;
}

class SlotUnion {
 public:
  SlotUnion() { std::iota(parent_.begin(), parent_.end(), 0); }
  int Find(int a) { return parent_[a] == a ? a : parent_[a] = Find(parent_[a]); }
  void Join(int a, int b) { parent_[Find(a)] = Find(b); }

 private:
  std::array<int, kWings> parent_{};
};

}  // namespace

std::string TurnText(Turn turn) {
  constexpr std::string_view kSuffixes[3] = {"", "2", "'"};
  std::string text(1, kFaceLetters[static_cast<std::size_t>(KindOf(turn) % kFaces)]);
  if (IsWide(turn)) text += 'w';
  text += kSuffixes[QuarterTurnsOf(turn) - 1];
  return text;
}

Model::Model() {
  const std::array<Place, kStickers> places = Places();
  const auto placeAt = [&](Vec at) {
    for (int i = 0; i < kStickers; ++i) {
      if (places[static_cast<std::size_t>(i)].at == at) return i;
    }
    throw std::logic_error("a turned sticker lands on no sticker");
  };
  for (int kind = 0; kind < kTurnKinds; ++kind) {
    const Vec normal = kFrames[static_cast<std::size_t>(kind % kFaces)].normal;
    const int layers = kind < kFaces ? 1 : 2;  // piece centres along the normal: 3, 1, -1, -3
    std::array<std::uint16_t, kStickers> quarter{};
    for (int i = 0; i < kStickers; ++i) {
      const Place& place = places[static_cast<std::size_t>(i)];
      const bool turns = Dot(place.piece, normal) >= kSide - 1 - 2 * (layers - 1);
      quarter[static_cast<std::size_t>(turns ? placeAt(Quarter(place.at, normal)) : i)] = static_cast<std::uint16_t>(i);
    }
    std::array<std::uint16_t, kStickers> total = quarter;
    for (int q = 1; q <= 3; ++q) {
      from_[MakeTurn(kind, q)] = total;
      std::array<std::uint16_t, kStickers> next{};
      for (int i = 0; i < kStickers; ++i) next[static_cast<std::size_t>(i)] = total[quarter[static_cast<std::size_t>(i)]];
      total = next;
    }
  }
  // Pieces by the stickers they carry.
  std::array<std::uint8_t, kWings> wingPlace{};
  int centres = 0;
  int wings = 0;
  for (int i = 0; i < kStickers; ++i) {
    const Place& p = places[static_cast<std::size_t>(i)];
    const int outer = (std::abs(p.piece.x) == 3) + (std::abs(p.piece.y) == 3) + (std::abs(p.piece.z) == 3);
    if (outer == 1) {
      centreSticker_[static_cast<std::size_t>(centres)] = static_cast<std::uint8_t>(i);
      centreFace_[static_cast<std::size_t>(centres++)] = static_cast<std::uint8_t>(i / kPerFace);
    } else if (outer == 2) {
      for (int j = 0; j < i; ++j) {
        const Place& q = places[static_cast<std::size_t>(j)];
        if (!(q.piece == p.piece)) continue;
        // Order the two stickers by handedness, which turns keep.
        const Vec n1 = q.at + (-1) * q.piece;
        const Vec n2 = p.at + (-1) * p.piece;
        const bool firstIsQ = Dot(Cross(n1, n2), p.piece) > 0;
        wingStickers_[static_cast<std::size_t>(wings)] = {static_cast<std::uint8_t>(firstIsQ ? j : i),
                                                         static_cast<std::uint8_t>(firstIsQ ? i : j)};
        wingPlace[static_cast<std::size_t>(wings++)] = static_cast<std::uint8_t>(i);
      }
    }
  }
  for (int c = 0; c < kCorners; ++c) {
    for (int n = 0; n < 3; ++n) cornerStickers_[c][n] = static_cast<std::uint8_t>(PlaceOf(kCornerFacelets[c][n]));
  }
  // Where each turn sends each wing, by its first sticker.
  std::array<std::array<std::uint8_t, kWings>, kTurns> rawTo{};
  std::array<int, kStickers> wingOfFirst{};
  wingOfFirst.fill(-1);
  for (int w = 0; w < kWings; ++w) wingOfFirst[wingStickers_[w][0]] = w;
  for (int t = 0; t < kTurns; ++t) {
    for (int place = 0; place < kStickers; ++place) {
      const int w = wingOfFirst[from_[t][place]];
      if (w < 0) continue;
      if (wingOfFirst[place] < 0) throw std::logic_error("a turn changes a wing's handedness");
      rawTo[t][w] = static_cast<std::uint8_t>(wingOfFirst[place]);
    }
  }
  // The two kinds of wing slots: those the turns that keep kinds connect.
  SlotUnion kinds;
  for (int t = 0; t < kTurns; ++t) {
    if (!KeepsWingKinds(static_cast<Turn>(t))) continue;
    for (int w = 0; w < kWings; ++w) kinds.Join(w, rawTo[t][w]);
  }
  // Dedge slots: wings sharing a line; the four that run from U to D last.
  std::array<std::uint8_t, kWings> slotOf{};
  std::array<bool, kWings> numbered{};
  int dedge = 0;
  for (const bool upright : {false, true}) {
    for (int w = 0; w < kWings; ++w) {
      const Vec a = places[wingPlace[w]].piece;
      if (numbered[w] || (std::abs(a.y) == 1) != upright) continue;
      for (int v = w + 1; v < kWings; ++v) {
        const Vec b = places[wingPlace[v]].piece;
        // The two wings of a dedge: mirror images across the middle of their line.
        const Vec across{std::abs(a.x) == 1 ? -a.x : a.x, std::abs(a.y) == 1 ? -a.y : a.y, std::abs(a.z) == 1 ? -a.z : a.z};
        if (!(across == b)) continue;
        const bool wFirst = kinds.Find(w) == kinds.Find(0);
        if (wFirst == (kinds.Find(v) == kinds.Find(0))) throw std::logic_error("a dedge with two wings of one kind");
        slotOf[w] = static_cast<std::uint8_t>(wFirst ? dedge : dedge + kDedges);
        slotOf[v] = static_cast<std::uint8_t>(wFirst ? dedge + kDedges : dedge);
        numbered[w] = numbered[v] = true;
        ++dedge;
      }
    }
  }
  const auto stickersBefore = wingStickers_;
  for (int w = 0; w < kWings; ++w) wingStickers_[slotOf[w]] = stickersBefore[w];
  for (int t = 0; t < kTurns; ++t) {
    for (int w = 0; w < kWings; ++w) wingTo_[t][slotOf[w]] = slotOf[rawTo[t][w]];
    std::array<int, kStickers> centreOf{};
    centreOf.fill(-1);
    for (int c = 0; c < kCentres; ++c) centreOf[centreSticker_[c]] = c;
    for (int place = 0; place < kStickers; ++place) {
      const int c = centreOf[from_[t][place]];
      if (c >= 0) centreTo_[t][c] = static_cast<std::uint8_t>(centreOf[place]);
    }
  }
}

std::string Model::Solved() const {
  std::string stickers;
  for (const char letter : kFaceLetters) stickers += std::string(kPerFace, letter);
  return stickers;
}

void Model::Apply(Turn turn, std::string& stickers) const {
  const std::string before = stickers;
  for (int i = 0; i < kStickers; ++i) stickers[static_cast<std::size_t>(i)] = before[from_[turn][i]];
}

Cube Model::Apply(const Cube& cube, Turn turn) const {
  Cube next = cube;
  for (int c = 0; c < kCentres; ++c) next.centre[centreTo_[turn][c]] = cube.centre[c];
  for (int w = 0; w < kWings; ++w) next.wing[wingTo_[turn][w]] = cube.wing[w];
  Apply(turn, next.corners);
  return next;
}

Cube Model::Random(std::mt19937_64& rng) const {
  Cube cube;
  for (int c = 0; c < kCentres; ++c) cube.centre[c] = static_cast<std::uint8_t>(c / 4);
  Shuffle(cube.centre.data(), kCentres, rng);
  std::iota(cube.wing.begin(), cube.wing.end(), 0);
  Shuffle(cube.wing.data(), kWings, rng);
  // Corners: the seven that move in any order, six twists free and the seventh making
  // the total a whole number of turns.
  std::array<std::uint8_t, kCorners> pieces{};
  std::array<std::uint8_t, kCorners> twists{};
  std::iota(pieces.begin(), pieces.end(), 0);
  std::swap(pieces[kDbl], pieces[kCorners - 1]);
  Shuffle(pieces.data(), kCorners - 1, rng);
  std::swap(pieces[kDbl], pieces[kCorners - 1]);
  int total = 0;
  int last = -1;
  for (int c = 0; c < kCorners; ++c) {
    if (c == kDbl) continue;
    last = c;
    twists[c] = static_cast<std::uint8_t>(Below(rng, 3));
    total += twists[c];
  }
  total -= twists[last];
  twists[last] = static_cast<std::uint8_t>((3 - total % 3) % 3);
  cube.corners = std::string(kStickers, '?');
  for (int c = 0; c < kCorners; ++c) {
    for (int n = 0; n < 3; ++n) {
      cube.corners[cornerStickers_[c][(n + twists[c]) % 3]] = kFaceLetters[kCornerColours[pieces[c]][n]];
    }
  }
  return cube;
}

Cube Model::FromStickers(std::string_view stickers) const {
  Cube cube;
  for (int c = 0; c < kCentres; ++c) cube.centre[c] = static_cast<std::uint8_t>(FaceIndex(stickers[centreSticker_[c]]));
  const std::string solved = Solved();
  for (int w = 0; w < kWings; ++w) {
    for (int piece = 0; piece < kWings; ++piece) {
      if (stickers[wingStickers_[w][0]] == solved[wingStickers_[piece][0]] &&
          stickers[wingStickers_[w][1]] == solved[wingStickers_[piece][1]]) {
        cube.wing[w] = static_cast<std::uint8_t>(piece);
      }
    }
  }
  cube.corners = std::string(kStickers, '?');
  for (const auto& corner : cornerStickers_) {
    for (const std::uint8_t place : corner) cube.corners[place] = stickers[place];
  }
  return cube;
}

std::string Model::Stickers(const Cube& cube) const {
  std::string stickers = cube.corners;
  const std::string solved = Solved();
  for (int c = 0; c < kCentres; ++c) stickers[centreSticker_[c]] = kFaceLetters[cube.centre[c]];
  for (int w = 0; w < kWings; ++w) {
    for (int n = 0; n < 2; ++n) stickers[wingStickers_[w][n]] = solved[wingStickers_[cube.wing[w]][n]];
  }
  return stickers;
}

ThreeByThree Model::Reduced(const Cube& cube) const {
  const std::string stickers = Stickers(cube);
  const auto colour = [&](FaceNumber f) { return FaceIndex(stickers[static_cast<std::size_t>(PlaceOf(f))]); };
  ThreeByThree three;
  for (int slot = 0; slot < kCorners; ++slot) {
    for (int piece = 0; piece < kCorners; ++piece) {
      for (int twist = 0; twist < 3; ++twist) {
        bool match = true;
        for (int n = 0; n < 3; ++n) match = match && colour(kCornerFacelets[slot][(n + twist) % 3]) == kCornerColours[piece][n];
        if (!match) continue;
        three.cornerPiece[slot] = static_cast<std::uint8_t>(piece);
        three.cornerTwist[slot] = static_cast<std::uint8_t>(twist);
      }
    }
  }
  for (int slot = 0; slot < kDedges; ++slot) {
    for (int piece = 0; piece < kDedges; ++piece) {
      for (int flip = 0; flip < 2; ++flip) {
        if (colour(kEdgeFacelets[slot][flip]) == kEdgeColours[piece][0] &&
            colour(kEdgeFacelets[slot][1 - flip]) == kEdgeColours[piece][1]) {
          three.edgePiece[slot] = static_cast<std::uint8_t>(piece);
          three.edgeFlip[slot] = static_cast<std::uint8_t>(flip);
        }
      }
    }
  }
  return three;
}

bool Model::CornersOdd(const Cube& cube) const {
  std::array<std::uint8_t, kCorners> order{};
  for (int slot = 0; slot < kCorners; ++slot) {
    int mask = 0;
    for (int n = 0; n < 3; ++n) mask |= 1 << FaceIndex(cube.corners[cornerStickers_[slot][n]]);
    for (int piece = 0; piece < kCorners; ++piece) {
      int home = 0;
      for (int n = 0; n < 3; ++n) home |= 1 << kCornerColours[piece][n];
      if (home == mask) order[slot] = static_cast<std::uint8_t>(piece);
    }
  }
  return IsOdd(order);
}

}  // namespace tw::scramble::cube444
