#include "scramble/puzzles/pyraminx.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "scramble/cube333/coordinates.h"
#include "scramble/cube333/random_state.h"

namespace tw::scramble {
namespace {

constexpr int kTurns = 2;
constexpr int kSolverMoves = kPyraminxVertices * kTurns;  // the two-layer turns
constexpr int kLongest = 11;                              // no Pyraminx needs more without its tips
constexpr int kEvenOrders = 360;                          // 6! / 2: every move is a 3-cycle of edges
constexpr int kFlipSets = 64;                             // 2^6; the table says which are reachable
constexpr int kCentreTwists = 81;                         // 3^4
constexpr int kRowsPerFace = 3;

constexpr std::string_view kVertexLetters = "ULRB";
constexpr std::string_view kTipLetters = "ulrb";

// A regular tetrahedron about the origin, its top vertex up and the face F to the front.
const std::array<Point3, kPyraminxVertices> kVertices = {
    Point3{0, 1, 0},
    Point3{-std::sqrt(2.0 / 3), -1.0 / 3, std::sqrt(2.0) / 3},
    Point3{std::sqrt(2.0 / 3), -1.0 / 3, std::sqrt(2.0) / 3},
    Point3{0, -1.0 / 3, -2 * std::sqrt(2.0) / 3},
};
enum : int { kU, kL, kR, kB };

struct FaceLayout {
  char letter;
  int apex;
  int others[2];
  bool apexUp;  // seen with the apex up, or (D) with the opposite edge up
};
constexpr FaceLayout kFaces[] = {
    {'F', kU, {kL, kR}, true},
    {'L', kU, {kB, kL}, true},
    {'R', kU, {kR, kB}, true},
    {'D', kB, {kL, kR}, false},
};

// How far out along a vertex's direction the pieces a turn takes lie: the tip alone
// sits at 1, its centre at 0.6 and the three edges beside it at a third; everything
// else lies at -0.2 or below.
constexpr double kTipDepth = 0.8;
constexpr double kLayersDepth = 0.2;
constexpr double kCentreRadius = 0.6;

std::vector<Sticker> PyraminxStickers() {
  std::vector<Sticker> stickers;
  for (const FaceLayout& face : kFaces) {
    const Point3 a = kVertices[static_cast<std::size_t>(face.apex)];
    const Point3 x = kVertices[static_cast<std::size_t>(face.others[0])];
    const Point3 y = kVertices[static_cast<std::size_t>(face.others[1])];
    const Point3 normal = Normalized(a + x + y);
    const Point3 up = Normalized(face.apexUp ? a - (1.0 / 3) * (a + x + y) : (1.0 / 3) * (a + x + y) - a);
    const Point3 right = Cross(up, normal);
    // The lattice point i thirds from the apex towards x, then j thirds towards y,
    // with its weights on a, x and y.
    struct Lattice {
      Point3 at;
      double weights[3];
    };
    const auto lattice = [&](int i, int j) {
      const double wa = 1 - i / 3.0, wx = (i - j) / 3.0, wy = j / 3.0;
      return Lattice{wa * a + wx * x + wy * y, {wa, wx, wy}};
    };
    struct Small {
      int row;
      double across;
      Sticker sticker;
    };
    std::vector<Small> smalls;
    const auto add = [&](Lattice p, Lattice q, Lattice r, bool pointsUp) {
      const Point3 at = (1.0 / 3) * (p.at + q.at + r.at);
      double w[3];
      for (int k = 0; k < 3; ++k) w[k] = (p.weights[k] + q.weights[k] + r.weights[k]) / 3;
      const int corners[3] = {face.apex, face.others[0], face.others[1]};
      const int most = static_cast<int>(std::max_element(w, w + 3) - w);
      const Point3 vertex = kVertices[static_cast<std::size_t>(corners[most])];
      Point3 piece;
      if (w[most] > 2.0 / 3) {
        piece = vertex;
      } else if (!pointsUp) {
        piece = kCentreRadius * vertex;
      } else {
        const int least = static_cast<int>(std::min_element(w, w + 3) - w);
        Point3 sum{};
        for (int k = 0; k < 3; ++k) {
          if (k != least) sum = sum + kVertices[static_cast<std::size_t>(corners[k])];
        }
        piece = 0.5 * sum;
      }
      const double fromApex = 1 - w[0];  // rows count a third each from the apex
      const int latticeRow = std::min(kRowsPerFace - 1, static_cast<int>(fromApex * 3));
      smalls.push_back({face.apexUp ? latticeRow : kRowsPerFace - 1 - latticeRow, Dot(at, right), {at, piece, face.letter}});
    };
    for (int i = 0; i < kRowsPerFace; ++i) {
      for (int j = 0; j <= i; ++j) add(lattice(i, j), lattice(i + 1, j), lattice(i + 1, j + 1), true);
      for (int j = 0; j < i; ++j) add(lattice(i, j), lattice(i, j + 1), lattice(i + 1, j + 1), false);
    }
    std::sort(smalls.begin(), smalls.end(), [](const Small& p, const Small& q) {
      return p.row != q.row ? p.row < q.row : p.across < q.across;
    });
    for (const Small& small : smalls) stickers.push_back(small.sticker);
  }
  return stickers;
}

// The three-sticker pieces lying `radius` out, one per vertex, in vertex order.
PieceSlots ByVertex(const PieceSlots& all, const StickerPuzzle& puzzle, double radius) {
  PieceSlots slots;
  slots.stickers.resize(kPyraminxVertices);
  for (const std::vector<int>& slot : all.stickers) {
    const Point3 piece = puzzle.Stickers()[static_cast<std::size_t>(slot.front())].piece;
    if (std::abs(std::sqrt(Dot(piece, piece)) - radius) > 1e-6) continue;
    for (int v = 0; v < kPyraminxVertices; ++v) {
      if (Dot(Normalized(piece), kVertices[static_cast<std::size_t>(v)]) > 1 - 1e-6) slots.stickers[static_cast<std::size_t>(v)] = slot;
    }
  }
  return slots;
}

int EvenOrderRank(const std::array<std::uint8_t, kPyraminxEdges>& order) { return PermutationRank(order) / 2; }

std::array<std::uint8_t, kPyraminxEdges> EvenOrder(int rank) {
  std::array<std::uint8_t, kPyraminxEdges> order{};
  PermutationFromRank(2 * rank, order);
  if (IsOddPermutation(order)) PermutationFromRank(2 * rank + 1, order);
  return order;
}

constexpr std::array<std::uint8_t, kPyraminxVertices> kVertexPieces = {0, 1, 2, 3};

}  // namespace

std::string FormatPyraminxMoves(const std::vector<PyraminxMove>& moves) {
  std::string text;
  for (const PyraminxMove& move : moves) {
    if (!text.empty()) text += ' ';
    text += (move.tip ? kTipLetters : kVertexLetters)[static_cast<std::size_t>(move.vertex)];
    if (move.turns == 2) text += '\'';
  }
  return text;
}

std::optional<std::vector<PyraminxMove>> ParsePyraminxMoves(std::string_view text) {
  std::vector<PyraminxMove> moves;
  if (text.empty()) return moves;
  for (;;) {
    const std::size_t blank = text.find(' ');
    const std::string_view word = text.substr(0, blank);
    if (word.empty() || word.size() > 2 || (word.size() == 2 && word[1] != '\'')) return std::nullopt;
    PyraminxMove move;
    const std::size_t big = kVertexLetters.find(word[0]);
    const std::size_t small = kTipLetters.find(word[0]);
    if (big == std::string_view::npos && small == std::string_view::npos) return std::nullopt;
    move.tip = big == std::string_view::npos;
    move.vertex = static_cast<int>(move.tip ? small : big);
    move.turns = word.size() == 2 ? 2 : 1;
    moves.push_back(move);
    if (blank == std::string_view::npos) return moves;
    text.remove_prefix(blank + 1);
  }
}

Pyraminx::Pyraminx(bool withTables) : puzzle_(PyraminxStickers()), solver_(kSolverMoves, kTurns) {
  edges_ = puzzle_.Pieces(2);
  const PieceSlots threes = puzzle_.Pieces(3);
  centres_ = ByVertex(threes, puzzle_, kCentreRadius);
  tips_ = ByVertex(threes, puzzle_, 1.0);
  for (int v = 0; v < kPyraminxVertices; ++v) {
    for (int tip = 0; tip < 2; ++tip) {
      const StickerMove clockwise =
          puzzle_.Turn(kVertices[static_cast<std::size_t>(v)], tip == 1 ? kTipDepth : kLayersDepth, -kFullTurn / 3);
      for (int turns = 1; turns <= kTurns; ++turns) {
        const StickerMove move = Repeated(clockwise, turns);
        auto& at = moves_[static_cast<std::size_t>(v)][static_cast<std::size_t>(tip)];
        at[static_cast<std::size_t>(turns - 1)] = move;
        edgeMoves_[static_cast<std::size_t>(v)][static_cast<std::size_t>(tip)][static_cast<std::size_t>(turns - 1)] =
            PieceMoveOf(edges_, move);
        centreMoves_[static_cast<std::size_t>(v)][static_cast<std::size_t>(tip)][static_cast<std::size_t>(turns - 1)] =
            PieceMoveOf(centres_, move);
        tipMoves_[static_cast<std::size_t>(v)][static_cast<std::size_t>(tip)][static_cast<std::size_t>(turns - 1)] =
            PieceMoveOf(tips_, move);
      }
    }
  }
  if (!withTables) return;
  const auto layers = [](const auto& table, int move) -> const PieceMove& {
    return table[static_cast<std::size_t>(move / kTurns)][0][static_cast<std::size_t>(move % kTurns)];
  };
  const int order = solver_.AddCoordinate(kEvenOrders, [&](int value, int move) {
    auto pieces = EvenOrder(value);
    std::array<std::uint8_t, kPyraminxEdges> flips{};
    MovePieces(layers(edgeMoves_, move), pieces, flips, 2);
    return EvenOrderRank(pieces);
  });
  const int flip = solver_.AddCoordinate(kFlipSets, [&](int value, int move) {
    std::array<std::uint8_t, kPyraminxEdges> pieces{};
    std::array<std::uint8_t, kPyraminxEdges> flips{};
    for (int e = 0; e < kPyraminxEdges; ++e) flips[static_cast<std::size_t>(e)] = static_cast<std::uint8_t>(value >> e & 1);
    MovePieces(layers(edgeMoves_, move), pieces, flips, 2);
    int next = 0;
    for (int e = 0; e < kPyraminxEdges; ++e) next |= flips[static_cast<std::size_t>(e)] << e;
    return next;
  });
  const int centre = solver_.AddCoordinate(kCentreTwists, [&](int value, int move) {
    std::array<std::uint8_t, kPyraminxVertices> pieces{};
    std::array<std::uint8_t, kPyraminxVertices> twists{};
    for (int v = 0; v < kPyraminxVertices; ++v, value /= 3) twists[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(value % 3);
    MovePieces(layers(centreMoves_, move), pieces, twists, 3);
    int next = 0;
    for (int v = kPyraminxVertices - 1; v >= 0; --v) next = next * 3 + twists[static_cast<std::size_t>(v)];
    return next;
  });
  solver_.AddDistances({order, flip, centre});
}

std::vector<int> Pyraminx::CoordinatesOf(const PyraminxState& state) const {
  int flips = 0;
  for (int e = 0; e < kPyraminxEdges; ++e) flips |= state.flip[static_cast<std::size_t>(e)] << e;
  int centres = 0;
  for (int v = kPyraminxVertices - 1; v >= 0; --v) centres = centres * 3 + state.centre[static_cast<std::size_t>(v)];
  return {EvenOrderRank(state.edge), flips, centres};
}

std::optional<std::string> Pyraminx::StateAfter(std::string_view text) const {
  const auto moves = ParsePyraminxMoves(text);
  if (!moves) return std::nullopt;
  std::string state = Solved();
  for (const PyraminxMove& move : *moves) {
    Apply(moves_[static_cast<std::size_t>(move.vertex)][move.tip ? 1 : 0][static_cast<std::size_t>(move.turns - 1)], state);
  }
  return state;
}

std::string Pyraminx::Stickers(const PyraminxState& state) const {
  const std::string solved = Solved();
  std::string stickers = solved;
  PaintPieces(edges_, solved, state.edge, state.flip, stickers);
  PaintPieces(centres_, solved, kVertexPieces, state.centre, stickers);
  PaintPieces(tips_, solved, kVertexPieces, state.tip, stickers);
  return stickers;
}

PyraminxState Pyraminx::Random(std::mt19937_64& rng) const {
  PyraminxState state;
  // Draws from every edge flip set and centre twist; the table says which of them a
  // Pyraminx can reach, and the others are drawn again.
  for (;;) {
    state.edge = EvenOrder(static_cast<int>(UniformBelow(rng, kEvenOrders)));
    const auto flips = static_cast<int>(UniformBelow(rng, kFlipSets));
    for (int e = 0; e < kPyraminxEdges; ++e) state.flip[static_cast<std::size_t>(e)] = static_cast<std::uint8_t>(flips >> e & 1);
    auto twists = static_cast<int>(UniformBelow(rng, kCentreTwists));
    for (int v = 0; v < kPyraminxVertices; ++v, twists /= 3) state.centre[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(twists % 3);
    if (solver_.LowerBound(CoordinatesOf(state)) >= 0) break;
  }
  for (int v = 0; v < kPyraminxVertices; ++v) {
    state.tip[static_cast<std::size_t>(v)] =
        static_cast<std::uint8_t>((state.centre[static_cast<std::size_t>(v)] + UniformBelow(rng, 3)) % 3);
  }
  return state;
}

int Pyraminx::Distance(const PyraminxState& state) const {
  int tips = 0;
  for (int v = 0; v < kPyraminxVertices; ++v) tips += state.tip[static_cast<std::size_t>(v)] != state.centre[static_cast<std::size_t>(v)] ? 1 : 0;
  return solver_.LowerBound(CoordinatesOf(state)) + tips;
}

std::vector<PyraminxMove> Pyraminx::MovesReaching(const PyraminxState& state) const {
  const auto solution = solver_.Solve(CoordinatesOf(state), kLongest);
  if (!solution) throw std::invalid_argument("a Pyraminx state no turns reach");
  std::vector<PyraminxMove> moves;
  for (auto m = solution->rbegin(); m != solution->rend(); ++m) {
    // Undone: the other way round, last first.
    moves.push_back({*m / kTurns, false, kTurns - *m % kTurns});
  }
  // The two-layer turns carry each tip with its centre; the tip's own turn is what
  // remains between them.
  for (int v = 0; v < kPyraminxVertices; ++v) {
    const int wanted = (state.tip[static_cast<std::size_t>(v)] + 3 - state.centre[static_cast<std::size_t>(v)]) % 3;
    if (wanted == 0) continue;
    for (int turns = 1; turns <= kTurns; ++turns) {
      if (tipMoves_[static_cast<std::size_t>(v)][1][static_cast<std::size_t>(turns - 1)].twist[static_cast<std::size_t>(v)] == wanted) {
        moves.push_back({v, true, turns});
      }
    }
  }
  return moves;
}

}  // namespace tw::scramble
