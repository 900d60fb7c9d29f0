// The swept side filters: held still (Depth 0), a constant input settles where the
// filter's equations put it, t / (1 + resoFactor^2) on the low-pass side and the remainder
// on the high-pass side; with a sweep the coefficient stays between its bounds.
#include <gtest/gtest.h>

#include <cmath>

#include "engine_test_rig.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

TEST(SweepFilter, StillFilterSettlesAtResonanceShare) {
  for (int reso : {0, 40, 100}) {
    EngineRig rig;
    rig.Open();
    rig.Set(kFeedback, 0);
    rig.Set(kDryMix, 0);
    rig.Set(kWetMix, 100);
    rig.Set(kFilterRightType, 2);  // high-pass on the right, low-pass stays on the left
    rig.Set(kLeftDepth, 0);
    rig.Set(kRightDepth, 0);
    rig.Set(kResoLeft, reso);
    rig.Set(kResoRight, reso);
    const double t = 0.5;
    const StereoBuffer out = rig.Render(StereoBuffer(3 * 44100, t));
    const double r = std::pow(0.5, reso * 0.05);
    const double lowShare = t / (1.0 + r * r);
    EXPECT_NEAR(out.left.back(), lowShare, 1e-9) << "Reso " << reso;
    EXPECT_NEAR(out.right.back(), t - lowShare, 1e-9) << "Reso " << reso;
  }
  // Reso 40 keeps 16/17 of the input on the low-pass side.
  EXPECT_DOUBLE_EQ(1.0 / (1.0 + std::pow(0.25, 2.0)), 16.0 / 17.0);
}

// Depth 100 sweeps g between 0 and twice the base coefficient; the graph strip of a running
// filter shows the coefficient of each block's last frame within its drawn range.
TEST(SweepFilter, FullDepthSweepStaysWithinBounds) {
  EngineRig rig;
  rig.Open();
  rig.Set(kLeftDepth, 100);
  rig.Set(kLeftSweepRate, 0);  // "1/32": 2756 samples per sweep at 120 BPM
  const double base = 1.0 - std::exp(-2.0 * M_PI * 3000.0 / 44100.0);
  StereoBuffer in(64, 0.25);
  StereoBuffer out(64);
  float lowest = 10.0f;
  float highest = -10.0f;
  for (int block = 0; block < 400; ++block) {
    rig.Block(in, out, 0, 7);
    const float g = rig.engine.LeftGraph().current.load();
    lowest = std::min(lowest, g);
    highest = std::max(highest, g);
  }
  EXPECT_GE(lowest, 0.0f);
  EXPECT_LT(lowest, 0.01 * base);
  EXPECT_LE(highest, 2.0 * base + 1e-6);
  EXPECT_GT(highest, 1.99 * base);
  EXPECT_LE(highest, rig.engine.LeftGraph().upper.load());
  EXPECT_FLOAT_EQ(rig.engine.LeftGraph().lower.load(),
                  static_cast<float>(1.0 - std::exp(-2.0 * M_PI * 20.0 / 44100.0)));
  for (double sample : out.left) {
    EXPECT_TRUE(std::isfinite(sample));
  }
}

}  // namespace
}  // namespace velmora::dsp
