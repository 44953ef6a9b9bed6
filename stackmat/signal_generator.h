#pragma once
// The sound a competition timer's data port makes at a line-in, made from packets:
// for the decoder's tests, its benchmarks and the capture test that plays it into a
// real audio device. The line rests at 0 V; a start bit and every 0 data bit sit at
// the active level; a timer sends one packet in each of its slots, about nine a second.
#include <cstdint>
#include <string_view>
#include <vector>

#include "stackmat/packet.h"

namespace tw::stackmat {

inline constexpr double kPacketsPerSecond = 9;

struct LineShape {
  int sampleRate = 48000;
  double amplitude = 0.5;  // the active level, of full scale
  bool inverted = false;   // the active level below 0 V, as after an inverting input
  double clock = 1.0;      // the timer's clock against its nominal rate: baud and slots follow it
};

class SignalGenerator {
 public:
  explicit SignalGenerator(const LineShape& shape);

  // One slot: the packet's bytes at its start, the line at rest for the rest of it.
  void AddPacket(const Packet& packet);
  // One slot holding these bytes, such as a packet with a wrong checksum.
  void AddBytes(std::string_view bytes);
  // The line at rest: a timer that skipped a slot, a cable out, a timer off.
  void AddRest(double seconds);
  // A slot at rest.
  void AddRestSlot();

  double Seconds() const { return time_; }
  const std::vector<float>& Samples() const { return samples_; }
  // The samples so far; the generator goes on after them at silence.
  std::vector<float> Take();

 private:
  void AddLevel(double seconds, bool active);
  void EndSlot(double slotStart);

  LineShape shape_;
  double time_ = 0;  // seconds from the first sample
  std::vector<float> samples_;
};

// A solve as a timer tells it: reset, both hands down, ready, running from 0 up to
// `ms` (a packet for each slot, its time when the slot began), stopped at `ms`.
// `settle` packets of each resting state, `packetsPerSecond` slots a second.
std::vector<Packet> SolveSession(std::int64_t ms, bool thousandths, int settle = 4,
                                 double packetsPerSecond = kPacketsPerSecond);

// What a line-in adds. Each is deterministic for its arguments.
void AddWhiteNoise(std::vector<float>& samples, double rms, std::uint32_t seed);
void AddHum(std::vector<float>& samples, int sampleRate, double hertz, double amplitude);
// The coupling capacitor of a line-in: a first-order high-pass.
void HighPass(std::vector<float>& samples, int sampleRate, double cornerHertz);

}  // namespace tw::stackmat
