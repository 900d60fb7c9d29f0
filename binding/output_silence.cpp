#include "binding/output_silence.h"

namespace velmora::binding {
namespace {

template <typename Sample>
bool AllZero(const Sample* samples, uint32_t frames) {
  for (uint32_t i = 0; i < frames; ++i) {
    if (samples[i] != Sample(0)) {
      return false;
    }
  }
  return true;
}

}  // namespace

uint64_t SilentOutputs(const AudioBlock& block) {
  uint64_t flags = 0;
  for (int c = 0; c < block.outputChannels && c < 64; ++c) {
    bool silent = false;
    if (block.out64 != nullptr && block.out64[c] != nullptr) {
      silent = AllZero(block.out64[c], block.frames);
    } else if (block.out64 == nullptr && block.out32 != nullptr && block.out32[c] != nullptr) {
      silent = AllZero(block.out32[c], block.frames);
    }
    flags |= silent ? uint64_t{1} << c : 0;
  }
  return flags;
}

bool OutputsSilent(const AudioBlock& block) {
  const int channels = block.outputChannels < 64 ? block.outputChannels : 64;
  const uint64_t all = channels == 64 ? ~uint64_t{0} : (uint64_t{1} << channels) - 1;
  return SilentOutputs(block) == all;
}

}  // namespace velmora::binding
