// The Megaminx as two flowers of six faces, each seen from outside: U with F below it
// and the upper ring around it, then D (the puzzle turned over about its left-right
// axis, so B is below D) with the lower ring.
#include <algorithm>
#include <array>
#include <cmath>

#include "picture/net_parts.h"

namespace tw::picture::parts {

namespace {

// The state's faces in order, A to L: U F R BR BL L, D DR DBR B DBL DL.
constexpr int kFaces = 12;
constexpr int kStickersPerFace = 11;

// Colours of the twelve faces, in the state's order: the white-and-grey scheme, around
// white green (front), purple, yellow, blue and red clockwise as seen from above.
constexpr std::array<std::uint32_t, kFaces> kColours = {
    0xFFFFFF,  // U white
    0x006A3A,  // F dark green
    0xC8102E,  // R red
    0x0046AD,  // BR dark blue
    0xFFD500,  // BL yellow
    0x5B2C83,  // L purple
    0x9A9A9A,  // D grey
    0x7FD6F2,  // DR light blue, opposite BL
    0xFF7F00,  // DBR orange, opposite L
    0xF7A6C9,  // B pink, opposite F
    0x8FD14F,  // DBL light green, opposite R
    0xF6EB8C,  // DL light yellow, opposite BR
};

constexpr double kRadius = 1.0;       // centre to corner of a face
constexpr double kInner = 0.45;       // the centre sticker's corners, as a part of that
constexpr double kEdgeCut = 0.32;     // where a corner sticker ends along an edge

struct Pentagon {
  NetPoint centre;
  std::array<NetPoint, 5> corner;  // in the order of their angles, clockwise on the screen
};

Pentagon Around(NetPoint centre, double firstDegrees) {
  Pentagon p{centre, {}};
  for (int k = 0; k < 5; ++k) p.corner[static_cast<std::size_t>(k)] = Polar(centre, kRadius, firstDegrees + 72.0 * k);
  return p;
}

NetPoint Mirror(NetPoint p, NetPoint a, NetPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
  const NetPoint foot{a.x + t * dx, a.y + t * dy};
  return {2 * foot.x - p.x, 2 * foot.y - p.y};
}

// The face across edge `edge` (corners edge and edge + 1) of `middle`, and which of
// its own edges that is: the one its stickers start at.
Pentagon Neighbour(const Pentagon& middle, int edge, int& sharedEdge) {
  const NetPoint a = middle.corner[static_cast<std::size_t>(edge)];
  const NetPoint b = middle.corner[static_cast<std::size_t>((edge + 1) % 5)];
  const NetPoint centre = Mirror(middle.centre, a, b);
  // Its corner pointing straight away from the middle face, and the rest clockwise.
  const double away = std::atan2(centre.y - middle.centre.y, centre.x - middle.centre.x) * 180.0 / kPi;
  Pentagon p = Around(centre, away);
  // Its corners 2 and 3 lie on the shared edge (the two nearest the middle face).
  sharedEdge = 2;
  return p;
}

void AddFace(NetDrawing& net, const Pentagon& p, int startEdge, std::string_view stickers, bool& ok) {
  std::array<NetPoint, 5> inner;
  for (std::size_t k = 0; k < 5; ++k) inner[k] = Lerp(p.centre, p.corner[k], kInner);
  const auto colour = [&](char letter) {
    if (letter < 'A' || letter >= 'A' + kFaces) {
      ok = false;
      return 0u;
    }
    return kColours[static_cast<std::size_t>(letter - 'A')];
  };
  net.shapes.push_back(NetShape{{inner.begin(), inner.end()}, colour(stickers[0])});
  for (int i = 0; i < 5; ++i) {
    // Edge i of the stickers is the face's edge startEdge + i, between two corners; the
    // corner sticker after it (clockwise) sits at the second of them.
    const auto e = static_cast<std::size_t>((startEdge + i) % 5);
    const auto c = static_cast<std::size_t>((startEdge + i + 1) % 5);
    const auto n = static_cast<std::size_t>((startEdge + i + 2) % 5);
    const NetPoint a = p.corner[e], b = p.corner[c], next = p.corner[n];
    const NetPoint edgeA = Lerp(a, b, kEdgeCut), edgeB = Lerp(a, b, 1 - kEdgeCut);
    net.shapes.push_back(NetShape{{edgeA, edgeB, inner[c], inner[e]}, colour(stickers[1 + 2 * i])});
    net.shapes.push_back(NetShape{{edgeB, b, Lerp(b, next, kEdgeCut), inner[c]}, colour(stickers[2 + 2 * i])});
  }
}

// One flower: the middle face (its stickers starting at its bottom edge) and the five
// around it, each given by the middle's edge it shares, clockwise from the bottom.
void AddFlower(NetDrawing& net, NetPoint centre, std::string_view state, int middleFace,
               const std::array<int, 5>& ringByEdge, bool& ok) {
  // Corners at 54, 126, ... degrees: edge 0 (corners 0 and 1) is the bottom edge.
  const Pentagon middle = Around(centre, 54);
  const auto stickersOf = [&](int face) { return state.substr(static_cast<std::size_t>(face) * kStickersPerFace, kStickersPerFace); };
  AddFace(net, middle, 0, stickersOf(middleFace), ok);
  for (int edge = 0; edge < 5; ++edge) {
    int shared = 0;
    const Pentagon face = Neighbour(middle, edge, shared);
    AddFace(net, face, shared, stickersOf(ringByEdge[static_cast<std::size_t>(edge)]), ok);
  }
}

}  // namespace

NetDrawing MegaminxNet(std::string_view state) {
  if (state.size() != static_cast<std::size_t>(kFaces) * kStickersPerFace) return {};
  NetDrawing net;
  // A face of the ring reaches 1 + 2 cos 36 = 2.62 face radii from the middle's centre.
  const double span = 5.4 * kRadius;
  net.width = 2 * span;
  net.height = span;
  bool ok = true;
  // U's edges clockwise from F (below it): F, L, BL, BR, R.
  AddFlower(net, {span / 2, span / 2}, state, 0, {1, 5, 4, 3, 2}, ok);
  // D's, turned over, from B (below it): B, DBL, DL, DR, DBR.
  AddFlower(net, {span * 1.5, span / 2}, state, 6, {9, 10, 11, 7, 8}, ok);
  if (!ok) return {};
  return net;
}

}  // namespace tw::picture::parts
