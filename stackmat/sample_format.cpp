#include "stackmat/sample_format.h"

#include <cstdint>
#include <cstring>

namespace tw::stackmat {
namespace {

constexpr double kInt16Scale = 1.0 / 32768.0;
constexpr double kInt24Scale = 1.0 / 8388608.0;
constexpr double kInt32Scale = 1.0 / 2147483648.0;

std::size_t BytesPerSample(SampleFormat format) {
  switch (format) {
    case SampleFormat::kInt16: return 2;
    case SampleFormat::kInt24: return 3;
    case SampleFormat::kInt32:
    case SampleFormat::kFloat32: return 4;
  }
  return 2;
}

// Little-endian, as every sound card's buffer is; read byte by byte so no alignment is assumed.
double Sample(SampleFormat format, const unsigned char* at) {
  switch (format) {
    case SampleFormat::kInt16: {
      const auto value = static_cast<std::int16_t>(at[0] | (at[1] << 8));
      return value * kInt16Scale;
    }
    case SampleFormat::kInt24: {
      const auto raw = static_cast<std::uint32_t>(at[0] | (at[1] << 8) | (at[2] << 16));
      const auto value = static_cast<std::int32_t>(raw << 8) >> 8;
      return value * kInt24Scale;
    }
    case SampleFormat::kInt32: {
      std::int32_t value;
      std::memcpy(&value, at, sizeof value);
      return value * kInt32Scale;
    }
    case SampleFormat::kFloat32: {
      float value;
      std::memcpy(&value, at, sizeof value);
      return value;
    }
  }
  return 0;
}

}  // namespace

std::size_t BytesPerFrame(const FrameLayout& layout) {
  return BytesPerSample(layout.format) * static_cast<std::size_t>(layout.channels);
}

void AppendMono(const FrameLayout& layout, const void* frames, std::size_t frameCount, std::vector<float>& mono) {
  if (layout.channels <= 0) return;
  const auto* bytes = static_cast<const unsigned char*>(frames);
  const std::size_t sampleBytes = BytesPerSample(layout.format);
  const double share = 1.0 / layout.channels;
  mono.reserve(mono.size() + frameCount);
  for (std::size_t frame = 0; frame < frameCount; ++frame) {
    double sum = 0;
    for (int channel = 0; channel < layout.channels; ++channel) {
      sum += Sample(layout.format, bytes);
      bytes += sampleBytes;
    }
    mono.push_back(static_cast<float>(sum * share));
  }
}

}  // namespace tw::stackmat
