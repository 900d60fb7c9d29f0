// Planar sample buffers in the form the VST 2 audio callbacks take: one array of channel
// pointers, each channel a run of frames samples. Allocated once, reused for every block.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::host {

template <typename Sample>
class AudioBuffers {
 public:
  AudioBuffers(int32_t channels, int32_t frames)
      : frames_(frames > 0 ? frames : 0),
        samples_(static_cast<size_t>(channels > 0 ? channels : 0),
                 std::vector<Sample>(static_cast<size_t>(frames_), Sample(0))),
        pointers_(samples_.size() + 1, nullptr) {
    // One spare null entry: a host array is never empty, even for a plug-in without inputs.
    for (size_t c = 0; c < samples_.size(); ++c) {
      pointers_[c] = samples_[c].data();
    }
  }

  int32_t Channels() const { return static_cast<int32_t>(samples_.size()); }
  int32_t Frames() const { return frames_; }
  Sample** Pointers() { return pointers_.data(); }
  Sample* Channel(int32_t channel) { return samples_[static_cast<size_t>(channel)].data(); }
  const Sample* Channel(int32_t channel) const {
    return samples_[static_cast<size_t>(channel)].data();
  }

  void Fill(Sample value) {
    for (auto& channel : samples_) {
      std::fill(channel.begin(), channel.end(), value);
    }
  }

 private:
  int32_t frames_;
  std::vector<std::vector<Sample>> samples_;
  std::vector<Sample*> pointers_;
};

}  // namespace velmora::host
