#pragma once
// The frames a sound card delivers, made into the mono samples the decoder reads.
#include <cstddef>
#include <vector>

namespace tw::stackmat {

enum class SampleFormat { kInt16, kInt24, kInt32, kFloat32 };

struct FrameLayout {
  SampleFormat format = SampleFormat::kInt16;
  int channels = 1;
};

std::size_t BytesPerFrame(const FrameLayout& layout);

// Appends one sample per frame to `mono`: the mean of the channels, so a timer's
// plug in either channel, or in both, is heard.
void AppendMono(const FrameLayout& layout, const void* frames, std::size_t frameCount, std::vector<float>& mono);

}  // namespace tw::stackmat
