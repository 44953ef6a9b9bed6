// Square-1 as its two layers, each seen from its own side with the front down, and the
// middle layer between them. Each piece is drawn as the wedge it fills, in its layer's
// colour, with a band of its side colours along the rim.
#include <array>
#include <cmath>

#include "picture/net_parts.h"

namespace tw::picture::parts {

namespace {

constexpr int kSlots = 12;
constexpr double kRim = 1.0;
constexpr double kBand = 0.25;  // the side colours' band outside the rim
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

// A twelfth-wide wedge from `from` to `to` radius, `slot` twelfths past the cut.
std::vector<NetPoint> Wedge(NetPoint centre, double cut, int slot, int width, double from, double to) {
  std::vector<NetPoint> points;
  const double start = cut + 30.0 * slot;
  const int steps = 3 * width;
  for (int i = 0; i <= steps; ++i) points.push_back(Polar(centre, to, start + 30.0 * width * i / steps));
  for (int i = steps; i >= 0; --i) points.push_back(Polar(centre, from, start + 30.0 * width * i / steps));
  return points;
}

// One layer; false when a twelfth holds no piece or a corner only half of one. A corner
// may lie across the cut after a turn of the layer: the layer is read from a twelfth
// where a piece begins.
bool AddLayer(NetDrawing& net, NetPoint centre, double cut, std::string_view slots) {
  const auto at = [&](int slot) { return PieceOf(slots[static_cast<std::size_t>(slot % kSlots)]); };
  const int first = at(0) >= 0 && at(0) == at(kSlots - 1) ? kSlots - 1 : 0;
  for (int slot = first; slot < first + kSlots;) {
    const int piece = at(slot);
    if (piece < 0) return false;
    const bool corner = piece % 2 == 0 ? piece < 8 : piece >= 8;
    const int width = corner ? 2 : 1;
    if (corner && (slot + 1 >= first + kSlots || at(slot + 1) != piece)) return false;
    constexpr double kCentre = 0.0001;
    net.shapes.push_back(NetShape{Wedge(centre, cut, slot, width, kCentre, kRim), piece < 8 ? kWhite : kYellow});
    const std::array<char, 2> sides = SidesOf(piece);
    for (int part = 0; part < width; ++part) {
      std::uint32_t rgb = 0;
      CubeColour(sides[static_cast<std::size_t>(part)], rgb);
      net.shapes.push_back(NetShape{Wedge(centre, cut, slot + part, 1, kRim, kRim + kBand), rgb});
    }
    slot += width;
  }
  return true;
}

}  // namespace

NetDrawing Square1Net(std::string_view state) {
  if (state.size() != 2 * kSlots + 1 || (state.back() != '-' && state.back() != '/')) return {};
  // Every piece once: a corner in two twelfths, an edge in one.
  std::array<int, 16> seen{};
  for (std::size_t i = 0; i < 2 * kSlots; ++i) {
    const int piece = PieceOf(state[i]);
    if (piece < 0) return {};
    ++seen[static_cast<std::size_t>(piece)];
  }
  for (int piece = 0; piece < 16; ++piece) {
    const bool corner = piece % 2 == 0 ? piece < 8 : piece >= 8;
    if (seen[static_cast<std::size_t>(piece)] != (corner ? 2 : 1)) return {};
  }
  NetDrawing net;
  const double layer = 2 * (kRim + kBand);
  const double gap = 0.4;
  net.width = 2 * layer + 3 * gap;
  net.height = layer + 2 * gap;
  const NetPoint top{gap + layer / 2, gap + layer / 2};
  const NetPoint bottom{2 * gap + 1.5 * layer, gap + layer / 2};
  if (!AddLayer(net, top, kTopCutDegrees, state.substr(0, kSlots)) ||
      !AddLayer(net, bottom, kBottomCutDegrees, state.substr(kSlots, kSlots))) {
    return {};
  }
  // The middle layer under the layers: its front, the small part left of the cut; turned
  // over, the large part is.
  const bool turned = state.back() == '/';
  const double barLeft = gap, barWidth = net.width - 2 * gap, barTop = net.height, barHeight = 0.3;
  const double split = barLeft + barWidth * (turned ? 2.0 / 3.0 : 1.0 / 3.0);
  net.shapes.push_back(Quad(barLeft, barTop, split - barLeft, barHeight, kGreen));
  net.shapes.push_back(Quad(split, barTop, barLeft + barWidth - split, barHeight, turned ? kBlue : kGreen));
  net.height += barHeight + gap;
  return net;
}

}  // namespace tw::picture::parts
