// Hosts often pass the same buffers for input and output. Processing in place must give
// exactly what separate buffers give, and the block size must not change the sound.
#include <gtest/gtest.h>

#include <algorithm>
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

// The shorter path for chunks with signal present must give exactly what the general
// per-sample loop gives, for every kind of side and link, through silence and tap changes.
TEST(InPlace, SteadyPathMatchesTheGeneralLoop) {
  // A long quiet stretch lets the bypass engage (configuration 2 has no feedback) and a
  // loud sample release it.
  StereoBuffer in = Signal(180000);
  std::fill(in.left.begin() + 60000, in.left.begin() + 175000, 0.0);
  std::fill(in.right.begin() + 60000, in.right.begin() + 175000, 0.0);
  const auto configurations = {0, 1, 2, 3};
  for (int configuration : configurations) {
    EngineRig steady;
    EngineRig general;
    general.engine.SetSteadyPathEnabled(false);
    for (EngineRig* rig : {&steady, &general}) {
      Configure(*rig);
      if (configuration == 1) {
        rig->Set(kFilterLeftType, 0);
        rig->Set(kLeftSweepLink, kLinkWetMix);
        rig->Set(kRightSweepLink, kLinkDryMix);
      } else if (configuration == 2) {
        rig->Set(kFilterLeftType, 0);
        rig->Set(kFilterRightType, 0);
        rig->Set(kLeftSweepLink, 0);
        rig->Set(kRightSweepLink, 0);
        rig->Set(kFeedback, 0);
      } else if (configuration == 3) {
        rig->Set(kRightSweepLink, kLinkPanWidth);  // same target as the left: left wins
        rig->Set(kLeftDepthLink, -70);
      }
    }
    StereoBuffer outSteady(in.left.size());
    StereoBuffer outGeneral(in.left.size());
    bool sawBypass = false;
    for (size_t first = 0; first < in.left.size(); first += 200) {
      if (first == 40000) {
        steady.Set(kDelayRate, 8);
        general.Set(kDelayRate, 8);
      }
      steady.Block(in, outSteady, first, 200);
      general.Block(in, outGeneral, first, 200);
      ASSERT_EQ(steady.engine.LeftGraph().current.load(),
                general.engine.LeftGraph().current.load());
      ASSERT_EQ(steady.engine.RightGraph().current.load(),
                general.engine.RightGraph().current.load());
      ASSERT_EQ(steady.engine.Lamp().state.load(), general.engine.Lamp().state.load());
      sawBypass = sawBypass || (first > 50000 && steady.engine.Bypassed());
    }
    if (configuration == 2) {
      EXPECT_TRUE(sawBypass);
      EXPECT_FALSE(steady.engine.Bypassed());
    }
    EXPECT_EQ(outSteady.left, outGeneral.left) << configuration;
    EXPECT_EQ(outSteady.right, outGeneral.right) << configuration;
    EXPECT_EQ(steady.engine.Delay().silenceCount, general.engine.Delay().silenceCount);
    EXPECT_EQ(steady.engine.Line().WriteIndex(), general.engine.Line().WriteIndex());
  }
}

}  // namespace
}  // namespace velmora::dsp
