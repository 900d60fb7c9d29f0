// The reference model on its own, against the engine's worked numbers, so that agreement
// between model and engine means both are right rather than both wrong the same way.
#include <gtest/gtest.h>

#include <vector>

#include "engine_test_rig.h"
#include "reference_model.h"

namespace velmora::dsp::testing {
namespace {

struct ModelRig {
  ModelRig() {
    for (int i = 0; i < kParamCount; ++i) {
      model.ApplyParameter(i);
    }
  }
  void Set(int index, double value) {
    host.values[index] = value;
    model.ApplyParameter(index);
  }
  void Run(std::vector<double>& left, std::vector<double>& right) {
    double* in[2] = {left.data(), right.data()};
    model.ProcessBlock(in, in, static_cast<int>(left.size()));
  }
  FakeEngineHost host;
  ReferenceModel model{host};
};

TEST(ReferenceModelNumbers, TapsGainsAndThreshold) {
  ModelRig rig;
  std::vector<double> left(1), right(1);
  rig.Run(left, right);
  EXPECT_EQ(rig.model.rightTap, 11025);
  EXPECT_EQ(rig.model.leftTap, 22050);
  EXPECT_EQ(rig.model.delayLineLength, 1764000);
  EXPECT_EQ(rig.model.crossfadeLength, 4410u);
  EXPECT_EQ(rig.model.silenceLimit, 44100);
  rig.Set(kPingPong, 0);
  // A quiet sample is bypassed, which ends the crossfade; the change made during it moves
  // the taps at the next block.
  rig.Run(left, right);
  EXPECT_EQ(rig.model.leftTap, 14700);
  rig.Set(kPingPong, 4);
  EXPECT_EQ(rig.model.leftTap, 27563);
  rig.Set(kFeedback, 100);
  EXPECT_EQ(rig.model.feedbackBase, 100.0f * 0.00990099f);
  EXPECT_EQ(rig.model.bypassThreshold, 0.001f);
  rig.Set(kPanWidth, -100);
  EXPECT_EQ(rig.model.panBase, 0.0f);
}

// A still filter (Depth 0) settles a constant input at t / (1 + resoFactor^2): 16/17 of it
// at Reso 40; the high-pass side gives the remainder.
TEST(ReferenceModelNumbers, StillFilterSettles) {
  ModelRig rig;
  rig.Set(kLeftDepth, 0);
  rig.Set(kRightDepth, 0);
  rig.Set(kFilterRightType, 2);
  rig.Set(kFeedback, 0);
  rig.Set(kDryMix, 0);
  rig.Set(kWetMix, 100);
  std::vector<double> left(44100 * 3, 0.5), right(44100 * 3, 0.5);
  rig.Run(left, right);
  EXPECT_NEAR(rig.model.left.filterOut, 0.5 * 16.0 / 17.0, 1e-9);
  EXPECT_NEAR(rig.model.right.filterOut, 0.5 * 16.0 / 17.0, 1e-9);
  // Pan Width 100: the left output is the left side alone, the right output the right.
  EXPECT_NEAR(left.back(), 0.5 * 16.0 / 17.0, 1e-9);
  EXPECT_NEAR(right.back(), 0.5 - 0.5 * 16.0 / 17.0, 1e-9);
}

// An impulse with both filters off: right echo at the Delay Rate time, left at twice it,
// then alternating, each feedback pass scaled by the feedback gain.
TEST(ReferenceModelNumbers, ImpulseEchoes) {
  ModelRig rig;
  rig.Set(kFilterLeftType, 0);
  rig.Set(kFilterRightType, 0);
  rig.Set(kDryMix, 0);
  rig.Set(kWetMix, 100);
  std::vector<double> left(60000), right(60000);
  left[0] = right[0] = 1.0;
  rig.Run(left, right);
  const double feedback = static_cast<double>(60.0f * 0.00990099f);
  EXPECT_EQ(right[11025], 1.0);
  EXPECT_EQ(left[11025], 0.0);
  EXPECT_EQ(left[22050], 1.0);
  EXPECT_EQ(right[33075], feedback);
  EXPECT_EQ(left[44100], feedback);
  EXPECT_EQ(right[55125], feedback * feedback);
}

}  // namespace
}  // namespace velmora::dsp::testing
