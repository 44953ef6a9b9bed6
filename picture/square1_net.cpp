// Square-1 as its two layers, each seen from its own side with the front down, and the
// middle layer under them. Each piece is drawn in its shape and its layer's colour, with
// a band of its side colours along its outer sides.
#include <array>
#include <cmath>
#include <utility>

#include "picture/net_parts.h"

namespace tw::picture::parts {

namespace {

constexpr int kSlots = 12;
constexpr double kHalfSide = 1.0;  // of the layer when it is square
constexpr double kBand = 0.2;      // the side colours' band outside the pieces
// The cut lies a twelfth's half to the left of the front's middle on top, so the solved
// top layer starts at the cut with a corner; seen from below, the same cut is a half
// twelfth the other way.
constexpr double kTopCutDegrees = 90 + 15;
constexpr double kBottomCutDegrees = 90 - 15;

// The side each twelfth faces when the puzzle is solved, from the cut: on top going
// clockwise (front, left, back, right), below going clockwise as seen from below.
constexpr std::array<char, kSlots> kTopSides = {'F', 'L', 'L', 'L', 'B', 'B', 'B', 'R', 'R', 'R', 'F', 'F'};
constexpr std::array<char, kSlots> kBottomSides = {'F', 'F', 'R', 'R', 'R', 'B', 'B', 'B', 'L', 'L', 'L', 'F'};

// The solved layers: which piece fills each twelfth (a corner two of them).
constexpr std::array<int, kSlots> kSolvedTop = {0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 6, 7};
constexpr std::array<int, kSlots> kSolvedBottom = {8, 9, 9, 10, 11, 11, 12, 13, 13, 14, 15, 15};

// A piece's side colours, twelfth by twelfth, as it sits when solved.
std::array<char, 2> SidesOf(int piece) {
  std::array<char, 2> sides{'F', 'F'};
  int found = 0;
  for (int slot = 0; slot < kSlots; ++slot) {
    if (kSolvedTop[static_cast<std::size_t>(slot)] == piece) sides[static_cast<std::size_t>(found++)] = kTopSides[static_cast<std::size_t>(slot)];
    if (kSolvedBottom[static_cast<std::size_t>(slot)] == piece) sides[static_cast<std::size_t>(found++)] = kBottomSides[static_cast<std::size_t>(slot)];
    if (found == 2) break;
  }
  if (found == 1) sides[1] = sides[0];
  return sides;
}

int PieceOf(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  return -1;
}

// A point of a piece's outline: `twelfths` past the cut, at `radius`.
NetPoint At(NetPoint centre, double cut, double twelfths, double radius) {
  return Polar(centre, radius, cut + 30.0 * twelfths);
}

// A band of side colour outside the piece's side from `a` to `b` (clockwise on the
// screen), as thick as kBand.
std::vector<NetPoint> Band(NetPoint a, NetPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  // Clockwise on a screen whose y grows downwards, the outside is on the left: (dy, -dx).
  const NetPoint out{dy / length * kBand, -dx / length * kBand};
  return {a, b, {b.x + out.x, b.y + out.y}, {a.x + out.x, a.y + out.y}};
}

// One layer; false when a twelfth holds no piece or a corner only half of one. A corner
// may lie across the cut after a turn of the layer: the layer is read from a twelfth
// where a piece begins. Each piece has its true shape: an edge a triangle whose outer
// side lies on the square, a corner a kite reaching the square's corner.
bool AddLayer(NetDrawing& net, NetPoint centre, double cut, std::string_view slots) {
  const auto at = [&](int slot) { return PieceOf(slots[static_cast<std::size_t>(slot % kSlots)]); };
  const int first = at(0) >= 0 && at(0) == at(kSlots - 1) ? kSlots - 1 : 0;
  const double side = kHalfSide / std::cos(kPi / 12);  // centre to where an edge meets a corner
  const double tip = kHalfSide * std::sqrt(2.0);       // centre to a corner's outer point
  for (int slot = first; slot < first + kSlots;) {
    const int piece = at(slot);
    if (piece < 0) return false;
    const bool corner = piece % 2 == 0 ? piece < 8 : piece >= 8;
    const int width = corner ? 2 : 1;
    if (corner && (slot + 1 >= first + kSlots || at(slot + 1) != piece)) return false;
    std::vector<NetPoint> outline{centre, At(centre, cut, slot, side)};
    if (corner) outline.push_back(At(centre, cut, slot + 1, tip));
    outline.push_back(At(centre, cut, slot + width, side));
    const std::array<char, 2> sides = SidesOf(piece);
    for (int part = 0; part < width; ++part) {
      std::uint32_t rgb = 0;
      CubeColour(sides[static_cast<std::size_t>(part)], rgb);
      const auto from = static_cast<std::size_t>(part) + 1;
      net.shapes.push_back(NetShape{Band(outline[from], outline[from + 1]), rgb});
    }
    net.shapes.push_back(NetShape{std::move(outline), piece < 8 ? kWhite : kYellow});
    slot += width;
  }
  return true;
}

}  // namespace

NetDrawing Square1Net(std::string_view state) {
  if (state.size() != 2 * kSlots + 1 || (state.back() != '-' && state.back() != '/')) return {};
  // Every piece once: a corner in two twelfths, an edge in one.
  std::array<int, 16> seen{};
  for (std::size_t i = 0; i < 2 * static_cast<std::size_t>(kSlots); ++i) {
    const int piece = PieceOf(state[i]);
    if (piece < 0) return {};
    ++seen[static_cast<std::size_t>(piece)];
  }
  for (int piece = 0; piece < 16; ++piece) {
    const bool corner = piece % 2 == 0 ? piece < 8 : piece >= 8;
    if (seen[static_cast<std::size_t>(piece)] != (corner ? 2 : 1)) return {};
  }
  NetDrawing net;
  const double layer = 2 * (kHalfSide * std::sqrt(2.0) + kBand);  // a corner's tip, turned any way
  const double gap = 0.4;
  net.width = 2 * layer + 3 * gap;
  net.height = layer + 2 * gap;
  const NetPoint top{gap + layer / 2, gap + layer / 2};
  const NetPoint bottom{2 * gap + 1.5 * layer, gap + layer / 2};
  if (!AddLayer(net, top, kTopCutDegrees, state.substr(0, kSlots)) ||
      !AddLayer(net, bottom, kBottomCutDegrees, state.substr(kSlots, kSlots))) {
    return {};
  }
  // The middle layer's front under the layers: the small part left of the cut and the
  // large part right of it, both green; turned over, the large part shows its back, as
  // wide as the small part, and the layer's front is short of the square's.
  const bool turned = state.back() == '/';
  const double barLeft = gap, barWidth = net.width - 2 * gap, barTop = net.height, barHeight = 0.3;
  const double small = barWidth * (1 - std::tan(kPi / 12)) / 2;  // the cut meets the front 15 degrees off centre
  net.shapes.push_back(Quad(barLeft, barTop, small, barHeight, kGreen));
  net.shapes.push_back(Quad(barLeft + small, barTop, turned ? small : barWidth - small, barHeight, turned ? kBlue : kGreen));
  net.height += barHeight + gap;
  return net;
}

}  // namespace tw::picture::parts
