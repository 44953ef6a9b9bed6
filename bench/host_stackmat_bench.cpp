// The processor time the timer's decoder takes for each second of sound, as a share of
// one core: a noisy solve of a minute at both sample rates, with the conversion of
// 16-bit stereo frames to the decoder's mono samples counted in.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "bench/bench_util.h"
#include "stackmat/decoder.h"
#include "stackmat/sample_format.h"
#include "stackmat/signal_generator.h"

namespace {

constexpr std::int64_t kSolveMs = 60000;
constexpr std::size_t kFramesPerBlock = 480;  // 10 ms, a shared-mode device's period
constexpr double kTargetShare = 2.0;         // per cent of a core, capture included
constexpr int kRuns = 5;

std::vector<float> Render(int rate) {
  tw::stackmat::SignalGenerator generator({rate, 0.2});
  for (const auto& packet : tw::stackmat::SolveSession(kSolveMs, true)) generator.AddPacket(packet);
  return generator.Take();
}

}  // namespace

int main() {
  using namespace tw::stackmat;
  int failed = 0;
  for (const int rate : {44100, 48000}) {
    std::vector<float> samples = Render(rate);
    AddWhiteNoise(samples, 0.01, 1);
    AddHum(samples, rate, 50, 0.05);
    std::vector<std::int16_t> frames;
    frames.reserve(samples.size() * 2);
    for (const float sample : samples) {
      const auto value = static_cast<std::int16_t>(std::clamp(sample, -1.0F, 1.0F) * 32767);
      frames.push_back(value);
      frames.push_back(value);
    }
    std::size_t heard = 0;
    std::vector<float> mono;
    const double ms = tw::bench::MedianMs(
        [&] {
          Decoder decoder(rate);
          heard = 0;
          for (std::size_t at = 0; at < samples.size(); at += kFramesPerBlock) {
            const std::size_t count = std::min(kFramesPerBlock, samples.size() - at);
            mono.clear();
            AppendMono({SampleFormat::kInt16, 2}, frames.data() + 2 * at, count, mono);
            decoder.Feed(mono.data(), mono.size());
            heard += decoder.TakePackets().size();
          }
        },
        kRuns);
    const double soundSeconds = static_cast<double>(samples.size()) / rate;
    const double share = ms / 1000.0 / soundSeconds * 100.0;
    std::printf("stackmat decoding at %d Hz, 16-bit stereo: %.3f %% of a core (%.2f ms per second of sound) "
                "(target <= %.0f %% with capture)\n",
                rate, share, ms / soundSeconds, kTargetShare);
    if (heard < 500) {
      std::printf("stackmat FAILED: only %zu packets read from a minute's solve\n", heard);
      failed = 1;
    }
  }
  return failed;
}
