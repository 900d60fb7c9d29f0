// Velmora.clap loaded into the project's CLAP test host, ready for a test: the module, a host
// and an instance, and stereo float or double buffers for blocks of it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/claphost/clap_instance.h"

namespace velmora::claphost::testing {

inline std::unique_ptr<ClapModule> LoadVelmora() {
  auto module = ClapModule::Load(VELMORA_CLAP_MODULE);
  EXPECT_TRUE(module) << module.Error();
  return module ? std::move(module.Value()) : nullptr;
}

inline std::unique_ptr<ClapInstance> MakeInstance(const ClapModule& module, ClapHost& host) {
  auto instance = ClapInstance::Create(module, host, "com.tolvane.velmora");
  EXPECT_TRUE(instance) << instance.Error();
  return instance ? std::move(instance.Value()) : nullptr;
}

// Channels of frames samples each, with the pointer lists the host hands over.
template <typename Sample>
struct StereoBuffers {
  StereoBuffers(size_t frames, uint32_t channels = 2)
      : in(channels, std::vector<Sample>(frames)), out(channels, std::vector<Sample>(frames)) {}
  // The pointers of one block starting at frame offset.
  AudioIo Io(size_t offset = 0) {
    AudioIo io;
    io.channels = static_cast<uint32_t>(in.size());
    for (size_t c = 0; c < in.size(); ++c) {
      if constexpr (sizeof(Sample) == 4) {
        io.in32.push_back(in[c].data() + offset);
        io.out32.push_back(out[c].data() + offset);
      } else {
        io.in64.push_back(in[c].data() + offset);
        io.out64.push_back(out[c].data() + offset);
      }
    }
    return io;
  }
  std::vector<std::vector<Sample>> in, out;
};

}  // namespace velmora::claphost::testing
