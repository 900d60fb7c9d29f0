// Hosts often pass the same buffers for input and output. Processing in place must give
// exactly what separate buffers give, and the block size must not change the sound.
#include <gtest/gtest.h>

#include <cmath>

#include "engine_test_rig.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

StereoBuffer Signal(size_t frames) {
  StereoBuffer in(frames);
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i);
    in.left[i] = (i % 3000 < 1500) ? 0.6 * std::sin(0.05 * t) : 0.0;
    in.right[i] = (i % 5000 < 700) ? -0.3 * std::cos(0.021 * t) : 0.0;
  }
  return in;
}

void Configure(EngineRig& rig) {
  rig.Open();
  rig.Set(kLeftSweepRate, 3);
  rig.Set(kRightSweepRate, 5);
  rig.Set(kLeftSweepLink, kLinkPanWidth);
  rig.Set(kRightSweepLink, kLinkFeedback);
  rig.Set(kFilterRightType, 2);
  rig.Set(kPingPong, 4);
  rig.Set(kFeedback, 90);
}

TEST(InPlace, SameBuffersGiveTheSameOutput) {
  const size_t frames = 60000;
  const StereoBuffer in = Signal(frames);

  EngineRig separate;
  Configure(separate);
  const StereoBuffer expected = separate.Render(in, 256);

  EngineRig inPlace;
  Configure(inPlace);
  StereoBuffer buffer = in;
  for (size_t first = 0; first < frames; first += 256) {
    double* channels[2] = {buffer.left.data() + first, buffer.right.data() + first};
    inPlace.engine.ProcessBlock(channels, channels,
                                static_cast<int>(std::min<size_t>(256, frames - first)));
  }
  EXPECT_EQ(buffer.left, expected.left);
  EXPECT_EQ(buffer.right, expected.right);
}

TEST(InPlace, BlockSizeDoesNotChangeTheSound) {
  const StereoBuffer in = Signal(30000);
  EngineRig large;
  Configure(large);
  EngineRig small;
  Configure(small);
  const StereoBuffer a = large.Render(in, 1024);
  const StereoBuffer b = small.Render(in, 13);
  EXPECT_EQ(a.left, b.left);
  EXPECT_EQ(a.right, b.right);
}

}  // namespace
}  // namespace velmora::dsp
