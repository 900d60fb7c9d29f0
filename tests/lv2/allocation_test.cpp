// run() allocates nothing after activate(): not in the first block, not for parameter
// changes on every port, time messages with a rising tempo, long blocks cut into slices, or
// display messages. The executable counts its allocations
// (tests/support/counting_allocator.h).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "tests/lv2/instance_rig.h"
#include "tests/support/counting_allocator.h"

namespace velmora::lv2::testing {
namespace {

TEST(Lv2Allocation, RunAllocatesNothingAfterActivation) {
  InstanceRig rig(48000.0);
  ASSERT_TRUE(rig.Valid());
  const uint32_t longest = 3 * DelayInstance::kSliceFrames + 5;
  std::vector<float> in(longest, 0.25f), outLeft(longest), outRight(longest);
  // The engine found its line's memory when activate() switched it on.
  const long before = velmora::testing::AllocationCount();
  rig.QueueTime(120.0f, 0, 1.0f);
  rig.Run(in.data(), in.data(), outLeft.data(), outRight.data(), 512);
  int64_t frame = 512;
  for (int block = 0; block < 300; ++block) {
    // Every port moves within its range.
    for (int i = 0; i < kVelmoraParamCount; ++i) {
      const ParamRange& range = kParamRanges[i];
      rig.SetControl(i, static_cast<float>(range.minimum +
                                           (block * 7 + i) % (range.maximum - range.minimum + 1)));
    }
    // The tempo only rises (an accelerando), which never needs a longer line.
    const float tempo = 120.0f + static_cast<float>(block) * 0.25f;
    const uint32_t frames =
        block % 50 == 0 ? longest : 1 + static_cast<uint32_t>(block * 37) % 1024;
    rig.QueueTime(tempo, frame, 1.0f);
    rig.QueueTime(tempo, frame + frames / 2, 1.0f, frames / 2);
    rig.Run(in.data(), in.data(), outLeft.data(), outRight.data(), frames);
    frame += frames;
  }
  EXPECT_EQ(velmora::testing::AllocationCount() - before, 0);
}

}  // namespace
}  // namespace velmora::lv2::testing
