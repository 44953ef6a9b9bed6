#include "picture/puzzle_net.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "picture/net_parts.h"

namespace tw::picture {

namespace {

using parts::CubeColour;
using parts::Quad;

constexpr double kGap = 0.1;  // between the faces of a net, in stickers or face units

// Where each face of a cross net stands, in face sizes: U above F; L F R B; D under F.
// The faces come in the states' order U R F D L B.
constexpr std::array<std::array<double, 2>, 6> kCrossPlaces = {{{1, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 1}, {3, 1}}};

// An N x N x N cube: six faces of N x N stickers, each read row by row as seen from
// outside, U with B above it and D with F above it, as the net lays them.
NetDrawing CubeNet(std::string_view state) {
  const int n = static_cast<int>(std::lround(std::sqrt(static_cast<double>(state.size()) / 6.0)));
  if (n < 2 || 6 * static_cast<std::size_t>(n) * static_cast<std::size_t>(n) != state.size()) return {};
  NetDrawing net;
  const double face = n + kGap * n;
  net.width = 4 * face;
  net.height = 3 * face;
  for (std::size_t i = 0; i < state.size(); ++i) {
    std::uint32_t rgb = 0;
    if (!CubeColour(state[i], rgb)) return {};
    const int f = static_cast<int>(i) / (n * n);
    const int row = static_cast<int>(i) % (n * n) / n;
    const int column = static_cast<int>(i) % n;
    const double left = kCrossPlaces[static_cast<std::size_t>(f)][0] * face + kGap * n / 2;
    const double top = kCrossPlaces[static_cast<std::size_t>(f)][1] * face + kGap * n / 2;
    net.shapes.push_back(Quad(left + column, top + row, 1, 1, rgb));
  }
  return net;
}

// The Skewb: per face (U R F D L B, as the cube's) the centre, then the corners
// top-left, top-right, bottom-left, bottom-right; the centre a square on its point.
NetDrawing SkewbNet(std::string_view state) {
  if (state.size() != 30) return {};
  NetDrawing net;
  const double face = 1 + kGap;
  net.width = 4 * face;
  net.height = 3 * face;
  for (std::size_t f = 0; f < 6; ++f) {
    const double x = kCrossPlaces[f][0] * face + kGap / 2;
    const double y = kCrossPlaces[f][1] * face + kGap / 2;
    const NetPoint top{x + 0.5, y}, right{x + 1, y + 0.5}, bottom{x + 0.5, y + 1}, left{x, y + 0.5};
    const std::array<std::vector<NetPoint>, 5> stickers = {{
        {top, right, bottom, left},
        {{x, y}, top, left},
        {{x + 1, y}, right, top},
        {{x, y + 1}, left, bottom},
        {{x + 1, y + 1}, bottom, right},
    }};
    for (std::size_t s = 0; s < 5; ++s) {
      std::uint32_t rgb = 0;
      if (!CubeColour(state[f * 5 + s], rgb)) return {};
      net.shapes.push_back(NetShape{stickers[s], rgb});
    }
  }
  return net;
}

bool PyraminxColour(char face, std::uint32_t& rgb) {
  switch (face) {
    case 'F': rgb = kGreen; return true;
    case 'L': rgb = kRed; return true;
    case 'R': rgb = kBlue; return true;
    case 'D': rgb = kYellow; return true;
    default: return false;
  }
}

// One face of the Pyraminx, nine stickers in rows of 1, 3 and 5 from its apex (rows of
// 5, 3, 1 for a face drawn point down), side 3 with its apex at `apex`.
bool PyraminxFace(NetDrawing& net, std::string_view stickers, NetPoint apex, bool pointDown) {
  const double h = std::sqrt(3.0) / 2;
  const double dir = pointDown ? -1 : 1;  // y grows away from the apex
  std::size_t at = 0;
  for (int r = 0; r < 3; ++r) {
    const int row = pointDown ? 2 - r : r;  // the row's distance from the apex
    for (int k = 0; k <= 2 * row; ++k) {
      std::uint32_t rgb = 0;
      if (!PyraminxColour(stickers[at++], rgb)) return false;
      const double near = apex.y + dir * row * h;
      const double far = apex.y + dir * (row + 1) * h;
      const int pair = k / 2;  // an upright triangle and the one upside down after it
      const double left = apex.x - row / 2.0 + pair;
      if (k % 2 == 0) {
        net.shapes.push_back(NetShape{{{left, near}, {left + 0.5, far}, {left - 0.5, far}}, rgb});
      } else {
        net.shapes.push_back(NetShape{{{left, near}, {left + 1, near}, {left + 0.5, far}}, rgb});
      }
    }
  }
  return true;
}

// Faces F, L, R, D: L, F and R side by side point up, D under F point down.
NetDrawing PyraminxNet(std::string_view state) {
  if (state.size() != 36) return {};
  NetDrawing net;
  const double h = std::sqrt(3.0) / 2;
  const double gap = 0.3;
  net.width = 9 + 2 * gap + 2 * gap;
  net.height = 6 * h + 3 * gap;
  const double top = gap;
  const double fx = net.width / 2;
  const bool drawn = PyraminxFace(net, state.substr(9, 9), {gap + 1.5, top}, false) &&
                     PyraminxFace(net, state.substr(0, 9), {fx, top}, false) &&
                     PyraminxFace(net, state.substr(18, 9), {net.width - gap - 1.5, top}, false) &&
                     PyraminxFace(net, state.substr(27, 9), {fx, top + 6 * h + gap}, true);
  if (!drawn) return {};
  return net;
}

// Multi-Blind's states, one a line: the first is drawn, and the caption counts them.
NetDrawing MultiBlindNet(std::string_view state) {
  const std::size_t lines = 1 + static_cast<std::size_t>(std::count(state.begin(), state.end(), '\n'));
  NetDrawing net = CubeNet(state.substr(0, state.find('\n')));
  if (!net.Empty() && lines > 1) net.caption = "1 of " + std::to_string(lines);
  return net;
}

}  // namespace

NetDrawing DrawPuzzle(scramble::Event event, std::string_view state) {
  using scramble::Event;
  switch (event) {
    case Event::k333mbf:
      return MultiBlindNet(state);
    case Event::kPyram:
      return PyraminxNet(state);
    case Event::kSkewb:
      return SkewbNet(state);
    case Event::kMinx:
      return parts::MegaminxNet(state);
    case Event::kSq1:
      return parts::Square1Net(state);
    case Event::kClock:
      return parts::ClockNet(state);
    default:
      return CubeNet(state);
  }
}

}  // namespace tw::picture
