#include "stackmat/packet.h"

#include <algorithm>
#include <array>

namespace tw::stackmat {
namespace {

constexpr char kChecksumBase = 64;
constexpr std::int64_t kLongestMs = 9 * 60000 + 59999;

struct StatusLetter {
  Status status;
  char letter;
};
constexpr std::array<StatusLetter, 7> kLetters{{
    {Status::kIdle, 'I'},
    {Status::kReady, 'A'},
    {Status::kLeft, 'L'},
    {Status::kRight, 'R'},
    {Status::kNotReady, 'C'},
    {Status::kRunning, ' '},
    {Status::kStopped, 'S'},
}};

// Place values of the digits after the state: minutes, tens of seconds, seconds,
// tenths, hundredths, thousandths.
constexpr std::array<std::int64_t, 6> kDigitMs{60000, 10000, 1000, 100, 10, 1};
constexpr std::size_t kTensOfSeconds = 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

char StatusChar(Status status) {
  for (const auto& entry : kLetters) {
    if (entry.status == status) return entry.letter;
  }
  return 'I';
}

std::optional<Status> StatusFromChar(char c) {
  for (const auto& entry : kLetters) {
    if (entry.letter == c) return entry.status;
  }
  return std::nullopt;
}

std::optional<Packet> ParsePacket(std::string_view bytes) {
  if (bytes.size() != kShortPacketBytes && bytes.size() != kLongPacketBytes) return std::nullopt;
  const std::size_t digits = bytes.size() - 4;  // state, checksum, LF, CR
  if (bytes[bytes.size() - 2] != '\n' || bytes.back() != '\r') return std::nullopt;
  const auto status = StatusFromChar(bytes[0]);
  if (!status) return std::nullopt;
  Packet packet{*status, 0, digits == kDigitMs.size()};
  int sum = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const char c = bytes[1 + i];
    if (!IsDigit(c)) return std::nullopt;
    const int value = c - '0';
    if (i == kTensOfSeconds && value > 5) return std::nullopt;
    sum += value;
    packet.ms += value * kDigitMs[i];
  }
  if (bytes[1 + digits] != kChecksumBase + sum) return std::nullopt;
  return packet;
}

std::string FormatPacket(const Packet& packet) {
  const std::int64_t ms = std::clamp<std::int64_t>(packet.ms, 0, kLongestMs);
  const std::size_t digits = packet.thousandths ? kDigitMs.size() : kDigitMs.size() - 1;
  std::string bytes(1, StatusChar(packet.status));
  int sum = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const auto value = static_cast<int>(ms / kDigitMs[i] % (i == kTensOfSeconds ? 6 : 10));
    bytes += static_cast<char>('0' + value);
    sum += value;
  }
  bytes += static_cast<char>(kChecksumBase + sum);
  bytes += "\n\r";
  return bytes;
}

}  // namespace tw::stackmat
