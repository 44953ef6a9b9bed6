#include "stackmat/signal_generator.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace tw::stackmat {
namespace {

constexpr int kDataBits = 8;

}  // namespace

SignalGenerator::SignalGenerator(const LineShape& shape) : shape_(shape) {}

// Each sample holds the level averaged over its own span, so an edge between two
// samples lands between them in proportion, as it would through an ideal converter.
void SignalGenerator::AddLevel(double seconds, bool active) {
  const double from = time_ * shape_.sampleRate;
  time_ += seconds;
  const double to = time_ * shape_.sampleRate;
  const auto end = static_cast<std::size_t>(std::ceil(to));
  if (samples_.size() < end) samples_.resize(end, 0.0F);
  if (!active) return;
  const double level = shape_.inverted ? -shape_.amplitude : shape_.amplitude;
  for (auto n = static_cast<std::size_t>(std::floor(from)); n < end; ++n) {
    const double overlap = std::min(to, static_cast<double>(n + 1)) - std::max(from, static_cast<double>(n));
    samples_[n] += static_cast<float>(level * overlap);
  }
}

void SignalGenerator::AddBytes(std::string_view bytes) {
  const double slotStart = time_;
  const double bit = 1.0 / (kBaud * shape_.clock);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    AddLevel(bit, true);  // start bit
    for (int i = 0; i < kDataBits; ++i) AddLevel(bit, ((byte >> i) & 1U) == 0);
    AddLevel(bit, false);  // stop bit
  }
  EndSlot(slotStart);
}

void SignalGenerator::AddPacket(const Packet& packet) { AddBytes(FormatPacket(packet)); }

void SignalGenerator::AddRest(double seconds) { AddLevel(seconds, false); }

void SignalGenerator::AddRestSlot() { EndSlot(time_); }

void SignalGenerator::EndSlot(double slotStart) {
  const double slot = 1.0 / (kPacketsPerSecond * shape_.clock);
  const double left = slotStart + slot - time_;
  if (left > 0) AddLevel(left, false);
}

std::vector<float> SignalGenerator::Take() {
  // The sample the next level starts in may already hold part of it.
  const double consumed = std::floor(time_ * shape_.sampleRate);
  std::vector<float> taken(samples_.begin(), samples_.begin() + static_cast<std::ptrdiff_t>(consumed));
  samples_.erase(samples_.begin(), samples_.begin() + static_cast<std::ptrdiff_t>(consumed));
  time_ -= consumed / shape_.sampleRate;
  return taken;
}

std::vector<Packet> SolveSession(std::int64_t ms, bool thousandths, int settle, double packetsPerSecond) {
  std::vector<Packet> packets;
  for (const Status resting : {Status::kIdle, Status::kNotReady, Status::kReady}) {
    for (int i = 0; i < settle; ++i) packets.push_back({resting, 0, thousandths});
  }
  for (int slot = 0;; ++slot) {
    const auto shown = static_cast<std::int64_t>(slot * 1000.0 / packetsPerSecond);
    if (shown >= ms) break;
    // A five-digit timer shows hundredths: its packet holds the time cut to them.
    packets.push_back({Status::kRunning, thousandths ? shown : shown / 10 * 10, thousandths});
  }
  for (int i = 0; i < settle; ++i) packets.push_back({Status::kStopped, thousandths ? ms : ms / 10 * 10, thousandths});
  return packets;
}

void AddWhiteNoise(std::vector<float>& samples, double rms, std::uint32_t seed) {
  std::mt19937 generator(seed);
  std::normal_distribution<double> noise(0.0, rms);
  for (float& sample : samples) sample += static_cast<float>(noise(generator));
}

void AddHum(std::vector<float>& samples, int sampleRate, double hertz, double amplitude) {
  const double step = 2 * std::numbers::pi * hertz / sampleRate;
  for (std::size_t n = 0; n < samples.size(); ++n) {
    samples[n] += static_cast<float>(amplitude * std::sin(step * static_cast<double>(n)));
  }
}

void HighPass(std::vector<float>& samples, int sampleRate, double cornerHertz) {
  const double rc = 1.0 / (2 * std::numbers::pi * cornerHertz);
  const double alpha = rc / (rc + 1.0 / sampleRate);
  double previousIn = 0;
  double previousOut = 0;
  for (float& sample : samples) {
    const double out = alpha * (previousOut + sample - previousIn);
    previousIn = sample;
    previousOut = out;
    sample = static_cast<float>(out);
  }
}

}  // namespace tw::stackmat
