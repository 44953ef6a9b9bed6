#pragma once
// Reads a competition timer's data port from the samples of a line-in: 1200 baud,
// 8 data bits, no parity, one stop bit, least significant bit first, the line resting
// at 0 V. After a sound card the signal may arrive either way up, at any level from a
// whisper to full scale, with noise, mains hum and the droop of a coupling capacitor.
//
// The decoder does not look at levels but at steps: a step up or down of a size near
// the line's recent largest marks an edge, and the line's state between edges is the
// direction of the last step. So hum and a drifting rest level, which move slowly, do
// not move the edges, and the threshold follows the signal's strength. Two receivers,
// one for each way up, time their bits from each byte's start edge and re-time them at
// every edge inside the byte, so a timer's clock a few per cent off is read as well.
// A packet counts only when its checksum holds and the packet before it agrees (the
// same state and time, or, while running, a time that moved on as far as the samples
// between them did): a packet damaged in a way the checksum misses is never shown.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "stackmat/packet.h"

namespace tw::stackmat {

enum class LineState {
  kNoSignal,    // flat: the timer off or the cable out
  kUnreadable,  // something on the line for half a second, but no packet reads: too weak, too noisy, processed
  kReading,     // packets read within the last half second
};

class Decoder {
 public:
  explicit Decoder(int sampleRate);

  // Mono samples in [-1, 1], in order; any count at a time.
  void Feed(const float* samples, std::size_t count);
  // The packets read and confirmed since the last call, oldest first.
  std::vector<Packet> TakePackets();
  // What the line said over the last half second up to the last sample fed.
  LineState State() const;

 private:
  class Receiver {
   public:
    Receiver(int restLevel, double bitSamples) : rest_(restLevel), bit_(bitSamples) {}
    // Reads the bits whose middles lie before `time` at the current level.
    void RunUntil(double time, int level, Decoder& decoder);
    void OnEdge(double time, int from, int to);
    double NextSampleTime() const;

   private:
    void EndByte(double time, Decoder& decoder);

    int rest_;
    double bit_;
    bool inByte_ = false;
    double origin_ = 0;  // where the start bit began, moved by each edge inside the byte
    int nextBit_ = 0;    // 0 start, 1..8 data, 9 stop
    unsigned byte_ = 0;
    std::string bytes_;  // the last bytes read, up to a long packet's length
  };

  void Step(float sample);
  void OnEdge(double time, int level);
  void OnPacketBytes(const std::string& tail, double time);

  int rate_;
  int window_;  // samples in each half of the step detector
  double bitSamples_;
  std::int64_t fed_ = 0;

  // Step detector: the mean of the last `window_` samples minus the mean of the
  // `window_` before them, over a ring of 2 * window_ samples.
  std::vector<float> ring_;
  std::size_t ringAt_ = 0;
  double newSum_ = 0;
  double oldSum_ = 0;
  double envelope_ = 0;  // the largest step lately, decaying
  double decay_;
  bool inStep_ = false;
  int stepSign_ = 0;
  double stepPeak_ = 0;
  double stepThreshold_ = 0;
  std::int64_t stepAt_ = 0;
  std::int64_t stepBegan_ = 0;
  int level_ = 0;  // +1 or -1 after the first edge

  Receiver receivers_[2];
  double horizonLag_;

  struct Heard {
    Packet packet;
    double time;
  };
  std::optional<Heard> last_;
  std::vector<Packet> confirmed_;
  std::int64_t lastValid_;
  std::int64_t lastActive_;
  std::int64_t activeSince_;  // the first step after the line was last flat
  std::int64_t hold_;
};

}  // namespace tw::stackmat
