#pragma once
// What a competition timer says in one packet on its data port: its state and the time
// on its display. A packet is the state's character, the digits (minutes, tens of
// seconds, seconds, tenths, hundredths and, on newer timers, thousandths), a checksum
// (64 plus the sum of the digits), LF and CR: 9 or 10 bytes of ASCII.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tw::stackmat {

enum class Status {
  kIdle,      // 'I': reset, nothing on the pads
  kReady,     // 'A': both hands held long enough, a lift starts the timer
  kLeft,      // 'L': the left hand alone
  kRight,     // 'R': the right hand alone
  kNotReady,  // 'C': both hands, not yet held long enough
  kRunning,   // ' '
  kStopped,   // 'S'
};

struct Packet {
  Status status = Status::kIdle;
  std::int64_t ms = 0;       // as displayed; a five-digit timer's last digit is 0
  bool thousandths = false;  // the timer sent the sixth digit

  friend bool operator==(const Packet&, const Packet&) = default;
};

// The data port's bits per second.
inline constexpr double kBaud = 1200;

inline constexpr std::size_t kShortPacketBytes = 9;
inline constexpr std::size_t kLongPacketBytes = 10;

// The packet `bytes` hold, exactly (state, digits, checksum, LF, CR), or nothing when
// they are not one: an unknown state, a non-digit, a seconds digit past 5 or a wrong checksum.
std::optional<Packet> ParsePacket(std::string_view bytes);

// The bytes a timer sends for `packet`: ten with thousandths, nine without (the time
// is then cut to hundredths). Times past 9:59.999 are cut to that.
std::string FormatPacket(const Packet& packet);

char StatusChar(Status status);
std::optional<Status> StatusFromChar(char c);

}  // namespace tw::stackmat
