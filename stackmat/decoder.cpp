#include "stackmat/decoder.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tw::stackmat {
namespace {

// A step counts as an edge above this share of the largest step lately...
constexpr double kStepShare = 0.4;
// ...and never below this (-48 dBFS): the quietest timer read is 2 % of full scale,
// a step of 0.02, and a quiet line's noise must not make edges.
constexpr double kStepFloor = 0.004;
// A line whose steps all stay below this (-54 dBFS) is flat: nothing is plugged in or on.
constexpr double kFlatFloor = 0.002;
// How fast the largest step is forgotten, so the threshold follows a line turned down.
constexpr double kEnvelopeHalfLifeSeconds = 1.0;
// A quarter bit on each side of the step detector: long enough to average noise, short
// enough that the steps of two neighbouring bits never overlap.
constexpr double kWindowBits = 0.25;
// An edge inside a byte re-times it only when it falls this near a bit boundary; one
// farther off is noise and would shift every later bit.
constexpr double kResyncBits = 0.35;
// Each state lasts this long after what set it: a line reads for half a second after
// its last packet, and is flat half a second after its last step.
constexpr double kHoldSeconds = 0.5;
// A running time agrees with the one before when it moved on as far as the samples
// between them, give or take this: a five-digit timer's hundredths, an edge's sample, a
// timer's clock a few per cent off. Digits damaged so that the checksum still holds
// move the time farther than that.
constexpr double kAgreeSlackMs = 30;
constexpr double kAgreeSlackShare = 0.03;
constexpr int kDataBits = 8;
constexpr int kStopBit = kDataBits + 1;

constexpr std::int64_t kLongAgo = std::numeric_limits<std::int64_t>::min() / 2;

}  // namespace

Decoder::Decoder(int sampleRate)
    : rate_(sampleRate),
      window_(std::max(2, static_cast<int>(std::lround(sampleRate / kBaud * kWindowBits)))),
      bitSamples_(sampleRate / kBaud),
      ring_(static_cast<std::size_t>(2 * window_), 0.0F),
      decay_(std::pow(0.5, 1.0 / (kEnvelopeHalfLifeSeconds * sampleRate))),
      receivers_{Receiver(+1, bitSamples_), Receiver(-1, bitSamples_)},
      // An edge is known at most three windows after it happened: bits are read only
      // that far behind the newest sample, so no edge arrives after its bits were read.
      horizonLag_(3.0 * window_ + 2),
      lastValid_(kLongAgo),
      lastActive_(kLongAgo),
      activeSince_(kLongAgo),
      hold_(static_cast<std::int64_t>(kHoldSeconds * sampleRate)) {}

void Decoder::Feed(const float* samples, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) Step(samples[i]);
}

std::vector<Packet> Decoder::TakePackets() {
  std::vector<Packet> taken;
  taken.swap(confirmed_);
  return taken;
}

LineState Decoder::State() const {
  if (fed_ - lastValid_ <= hold_) return LineState::kReading;
  // A timer plugged in reads within a packet: a line is unreadable only once it has
  // had half a second to read, so neither that nor a plug's click shows as unreadable.
  if (fed_ - lastActive_ <= hold_ && fed_ - activeSince_ > hold_) return LineState::kUnreadable;
  return LineState::kNoSignal;
}

void Decoder::Step(float sample) {
  if (fed_ == 0) {
    // A line resting off 0 V is no step at the first sample.
    std::fill(ring_.begin(), ring_.end(), sample);
    newSum_ = oldSum_ = static_cast<double>(sample) * window_;
  }
  const std::size_t size = ring_.size();
  const auto window = static_cast<std::size_t>(window_);
  const float oldest = ring_[ringAt_];
  const float middle = ring_[ringAt_ < size - window ? ringAt_ + window : ringAt_ - (size - window)];
  ring_[ringAt_] = sample;
  if (++ringAt_ == size) ringAt_ = 0;
  newSum_ += static_cast<double>(sample) - middle;
  oldSum_ += static_cast<double>(middle) - oldest;

  const double step = (newSum_ - oldSum_) / window_;
  const double magnitude = std::fabs(step);
  const int sign = step >= 0 ? 1 : -1;
  if (magnitude > kFlatFloor) {
    if (fed_ - lastActive_ > hold_) activeSince_ = fed_;
    lastActive_ = fed_;
  }
  envelope_ = std::max(envelope_ * decay_, magnitude);

  // A step rises and falls over two windows; its peak is where the edge lies between them.
  if (inStep_) {
    if (sign == stepSign_ && magnitude > stepPeak_) {
      stepPeak_ = magnitude;
      stepAt_ = fed_;
    }
    if (sign != stepSign_ || magnitude < stepThreshold_ / 2 || fed_ - stepBegan_ >= 2 * static_cast<std::int64_t>(window_)) {
      inStep_ = false;
      OnEdge(static_cast<double>(stepAt_ - (window_ - 1)), stepSign_);
    }
  }
  const double threshold = std::max(kStepFloor, kStepShare * envelope_);
  if (!inStep_ && magnitude > threshold) {
    inStep_ = true;
    stepSign_ = sign;
    stepPeak_ = magnitude;
    stepThreshold_ = threshold;
    stepAt_ = stepBegan_ = fed_;
  }

  const double horizon = static_cast<double>(fed_) - horizonLag_;
  for (Receiver& receiver : receivers_) {
    if (receiver.NextSampleTime() < horizon) receiver.RunUntil(horizon, level_, *this);
  }
  ++fed_;
}

void Decoder::OnEdge(double time, int level) {
  for (Receiver& receiver : receivers_) {
    receiver.RunUntil(time, level_, *this);
    receiver.OnEdge(time, level_, level);
  }
  level_ = level;
}

void Decoder::OnPacketBytes(const std::string& tail, double time) {
  for (const std::size_t length : {kLongPacketBytes, kShortPacketBytes}) {
    if (tail.size() < length) continue;
    const auto packet = ParsePacket(std::string_view(tail).substr(tail.size() - length));
    if (!packet) continue;
    lastValid_ = fed_;
    if (last_ && last_->packet.status == packet->status && last_->packet.thousandths == packet->thousandths) {
      bool agrees = last_->packet.ms == packet->ms;
      if (packet->status == Status::kRunning) {
        const double elapsedMs = (time - last_->time) * 1000.0 / rate_;
        const auto moved = static_cast<double>(packet->ms - last_->packet.ms);
        agrees = std::fabs(moved - elapsedMs) <= kAgreeSlackMs + kAgreeSlackShare * elapsedMs;
      }
      if (agrees) confirmed_.push_back(*packet);
    }
    last_ = Heard{*packet, time};
    return;
  }
}

double Decoder::Receiver::NextSampleTime() const {
  return inByte_ ? origin_ + (nextBit_ + 0.5) * bit_ : std::numeric_limits<double>::infinity();
}

void Decoder::Receiver::RunUntil(double time, int level, Decoder& decoder) {
  while (inByte_) {
    const double at = origin_ + (nextBit_ + 0.5) * bit_;
    if (at >= time) return;
    const bool resting = level == rest_;
    if (nextBit_ == 0 && resting) {
      inByte_ = false;  // the line went back before the start bit's middle: noise
      return;
    }
    if (nextBit_ == kStopBit) {
      inByte_ = false;
      if (resting) {
        EndByte(at, decoder);
      } else {
        bytes_.clear();  // a framing error: the bytes before it belong to no packet
      }
      return;
    }
    if (nextBit_ > 0 && resting) byte_ |= 1U << (nextBit_ - 1);
    ++nextBit_;
  }
}

void Decoder::Receiver::OnEdge(double time, int from, int to) {
  if (from == to) return;
  if (!inByte_) {
    if (from == rest_) {
      inByte_ = true;
      origin_ = time;
      nextBit_ = 0;
      byte_ = 0;
    }
    return;
  }
  const double bits = (time - origin_) / bit_;
  const double boundary = std::round(bits);
  if (boundary < 1 || std::fabs(bits - boundary) > kResyncBits) return;
  origin_ = time - boundary * bit_;
}

void Decoder::Receiver::EndByte(double time, Decoder& decoder) {
  bytes_ += static_cast<char>(byte_);
  if (bytes_.size() > kLongPacketBytes) bytes_.erase(0, bytes_.size() - kLongPacketBytes);
  if (byte_ == '\r') decoder.OnPacketBytes(bytes_, time);
}

}  // namespace tw::stackmat
