// The Clock as its two faces side by side, the front (light) and the back as seen from
// the back (dark), each nine dials with a hand pointing at the dial's hour.
#include <cmath>

#include "picture/net_parts.h"

namespace tw::picture::parts {

namespace {

constexpr int kDials = 9;
constexpr std::uint32_t kFrontFace = 0x2E6FD0;
constexpr std::uint32_t kBackFace = 0x153A73;
constexpr std::uint32_t kFrontDial = 0xDDEBFF;
constexpr std::uint32_t kBackDial = 0x0F2A52;
constexpr std::uint32_t kFrontHand = 0x1A1A1A;
constexpr std::uint32_t kBackHand = 0xF2F2F2;
constexpr std::uint32_t kTwelve = 0xE03030;  // a mark at each dial's 12 o'clock
constexpr double kDialRadius = 0.4;
constexpr int kCircleSteps = 24;

int HourOf(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c == 'a' || c == 'b') return c - 'a' + 10;
  return -1;
}

std::vector<NetPoint> Circle(NetPoint centre, double radius) {
  std::vector<NetPoint> points;
  points.reserve(kCircleSteps);
  for (int i = 0; i < kCircleSteps; ++i) points.push_back(Polar(centre, radius, 360.0 * i / kCircleSteps));
  return points;
}

bool AddFace(NetDrawing& net, double left, std::string_view dials, bool front) {
  net.shapes.push_back(Quad(left, 0, 3, 3, front ? kFrontFace : kBackFace));
  for (int d = 0; d < kDials; ++d) {
    const int hour = HourOf(dials[static_cast<std::size_t>(d)]);
    if (hour < 0) return false;
    const int row = d / 3, column = d % 3;
    const NetPoint centre{left + 0.5 + column, 0.5 + row};
    net.shapes.push_back(NetShape{Circle(centre, kDialRadius), front ? kFrontDial : kBackDial});
    net.shapes.push_back(NetShape{Circle(Polar(centre, kDialRadius * 0.85, -90), 0.04), kTwelve, false});
    // The hand: a long thin triangle from a hub on the dial's centre to its hour (12
    // straight up), so that it reads as pointing away from the centre.
    const double degrees = -90 + 30.0 * hour;
    const std::uint32_t hand = front ? kFrontHand : kBackHand;
    net.shapes.push_back(NetShape{{Polar(centre, 0.035, degrees - 90), Polar(centre, kDialRadius * 0.85, degrees),
                                   Polar(centre, 0.035, degrees + 90)},
                                  hand, false});
    net.shapes.push_back(NetShape{Circle(centre, 0.06), hand, false});
  }
  return true;
}

}  // namespace

NetDrawing ClockNet(std::string_view state) {
  if (state.size() != 2 * static_cast<std::size_t>(kDials)) return {};
  NetDrawing net;
  net.width = 3 + 0.4 + 3;
  net.height = 3;
  if (!AddFace(net, 0, state.substr(0, kDials), true) || !AddFace(net, 3.4, state.substr(kDials), false)) return {};
  return net;
}

}  // namespace tw::picture::parts
