#include "scramble/puzzles/megaminx.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "scramble/cube333/random_state.h"

namespace tw::scramble {
namespace {

constexpr int kFaces = 12;
constexpr int kSides = 5;
constexpr double kDegrees = kFullTurn / 360;
// Stickers lie this far from their face's centre towards their piece's centre.
constexpr double kStickerReach = 0.6;
constexpr double kOnPlane = 1e-6;

enum : int { kU, kF, kR, kBR, kBL, kL, kD, kDR, kDBR, kB, kDBL, kDL };
// The face whose shared edge each face's stickers start from.
constexpr std::array<int, kFaces> kFirstEdge = {kF, kU, kU, kU, kU, kU, kB, kD, kD, kD, kD, kD};

// Unit normals: U up, the upper ring a fifth apart from F at the front going right,
// the lower ring between them below. Neighbouring faces meet at 1/sqrt(5).
std::array<Point3, kFaces> Normals() {
  const double rise = 1 / std::sqrt(5.0);
  const double out = 2 / std::sqrt(5.0);
  std::array<Point3, kFaces> normals{};
  normals[kU] = {0, 1, 0};
  normals[kD] = {0, -1, 0};
  for (int k = 0; k < kSides; ++k) {
    const double upper = 72 * k * kDegrees;
    const double lower = (36 + 72 * k) * kDegrees;
    normals[kF + static_cast<std::size_t>(k)] = {out * std::sin(upper), rise, out * std::cos(upper)};
    normals[kDR + static_cast<std::size_t>(k)] = {out * std::sin(lower), -rise, out * std::cos(lower)};
  }
  return normals;
}

bool Neighbours(const Point3& a, const Point3& b) { return std::abs(Dot(a, b) - 1 / std::sqrt(5.0)) < kOnPlane; }

// The point along `direction` that lies on the plane of `face` (at distance 1).
Point3 OnPlane(const Point3& direction, const Point3& face) { return (1 / Dot(direction, face)) * direction; }

std::vector<Sticker> MegaminxStickers() {
  const std::array<Point3, kFaces> normals = Normals();
  std::vector<Sticker> stickers;
  for (int f = 0; f < kFaces; ++f) {
    const Point3 n = normals[static_cast<std::size_t>(f)];
    const char letter = static_cast<char>('A' + f);
    // The face's edges and corners as the points of their pieces.
    std::vector<Point3> around;
    for (int g = 0; g < kFaces; ++g) {
      const Point3 m = normals[static_cast<std::size_t>(g)];
      if (!Neighbours(n, m)) continue;
      around.push_back(OnPlane(Normalized(n + m), n));
      for (int h = g + 1; h < kFaces; ++h) {
        const Point3 o = normals[static_cast<std::size_t>(h)];
        if (Neighbours(n, o) && Neighbours(m, o)) around.push_back(OnPlane(Normalized(n + m + o), n));
      }
    }
    // Clockwise as seen from outside, from the edge shared with the first-edge face.
    const Point3 first = OnPlane(Normalized(n + normals[static_cast<std::size_t>(kFirstEdge[static_cast<std::size_t>(f)])]), n) - n;
    const Point3 left = Cross(n, first);
    const auto clockwise = [&](const Point3& p) {
      const double a = -std::atan2(Dot(p - n, left), Dot(p - n, first));
      return a < -kOnPlane ? a + kFullTurn : a;
    };
    std::sort(around.begin(), around.end(), [&](Point3 a, Point3 b) { return clockwise(a) < clockwise(b); });
    stickers.push_back({n, n, letter});
    for (const Point3 piece : around) stickers.push_back({n + kStickerReach * (piece - n), piece, letter});
  }
  return stickers;
}

}  // namespace

Megaminx::Megaminx() : puzzle_(MegaminxStickers()) {
  const std::array<Point3, kFaces> normals = Normals();
  // Every piece of a face's layer lies on its plane, at 1; all others nearer.
  const double beyondLayer = -(1 - kOnPlane);
  const double layer = 1 - kOnPlane;
  const double twoFifths = 2 * kFullTurn / kSides;
  rightTwice_ = puzzle_.Turn(-1.0 * normals[kL], beyondLayer, -twoFifths);
  downTwice_ = puzzle_.Turn(normals[kD], beyondLayer, -twoFifths);
  up_ = puzzle_.Turn(normals[kU], layer, -kFullTurn / kSides);
}

std::optional<std::string> Megaminx::StateAfter(std::string_view text) const {
  std::string state = Solved();
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find_first_of(" \n", at), text.size());
    const std::string_view word = text.substr(at, end - at);
    if (word == "R++") {
      Apply(rightTwice_, state);
    } else if (word == "R--") {
      Apply(Repeated(rightTwice_, kSides - 1), state);
    } else if (word == "D++") {
      Apply(downTwice_, state);
    } else if (word == "D--") {
      Apply(Repeated(downTwice_, kSides - 1), state);
    } else if (word == "U") {
      Apply(up_, state);
    } else if (word == "U'") {
      Apply(Repeated(up_, kSides - 1), state);
    } else {
      return std::nullopt;
    }
    at = end + 1;
    if (end < text.size() && at == text.size()) return std::nullopt;  // a separator at the end
  }
  return state;
}

std::vector<std::string> Megaminx::RandomLines(std::mt19937_64& rng) const {
  std::vector<std::string> lines;
  for (int line = 0; line < kMegaminxLines; ++line) {
    std::string text;
    for (int m = 0; m < kMegaminxMovesPerLine; ++m) {
      text += m % 2 == 0 ? 'R' : 'D';
      text += UniformBelow(rng, 2) == 0 ? "++ " : "-- ";
    }
    text += UniformBelow(rng, 2) == 0 ? "U" : "U'";
    lines.push_back(std::move(text));
  }
  return lines;
}

}  // namespace tw::scramble
