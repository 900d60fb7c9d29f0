// Link modulation: the oscillator swings the linked quantity over a range that stays in
// 0..1, a negative depth runs in opposite phase, the left side wins when both sides link
// the same target, and moving a link away restores the old target's base value.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine_test_rig.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

struct Swing {
  float lowest = 10.0f;
  float highest = -10.0f;
  float first = 0.0f;
};

// Renders one full sweep of the left oscillator (a "1/32" period, 2756 samples) in
// single-frame blocks and records the linked quantity after each.
Swing RecordSwing(EngineRig& rig, int slot) {
  Swing swing;
  StereoBuffer in(1, 0.5);
  StereoBuffer out(1);
  for (int i = 0; i < 2757; ++i) {
    rig.Block(in, out, 0, 1);
    const float value = rig.engine.Gains().current[slot];
    if (i == 0) {
      swing.first = value;
    }
    swing.lowest = std::min(swing.lowest, value);
    swing.highest = std::max(swing.highest, value);
  }
  return swing;
}

TEST(LinkModulation, FullDepthSwingsPanOverWholeRange) {
  for (int panWidth : {0, 100}) {
    for (int depth : {100, -100}) {
      EngineRig rig;
      rig.Open();
      rig.Set(kPanWidth, panWidth);
      rig.Set(kLeftSweepRate, 0);
      rig.Set(kLeftSweepLink, kLinkPanWidth);
      rig.Set(kLeftDepthLink, depth);
      const Swing swing = RecordSwing(rig, kLinkPanWidth);
      EXPECT_NEAR(swing.lowest, 0.0f, 1e-3) << panWidth << " " << depth;
      EXPECT_NEAR(swing.highest, 1.0f, 1e-3) << panWidth << " " << depth;
      EXPECT_GE(swing.lowest, 0.0f);
      EXPECT_LE(swing.highest, 1.0f);
      // Song position 0 starts the oscillator at its bottom: a positive depth starts low,
      // a negative one high.
      EXPECT_NEAR(swing.first, depth > 0 ? 0.0f : 1.0f, 1e-3);
    }
  }
}

TEST(LinkModulation, HalfDepthIsCentredOnBase) {
  EngineRig rig;
  rig.Open();
  rig.Set(kWetMix, 50);
  rig.Set(kFilterLeftType, 0);
  rig.Set(kLeftSweepRate, 0);
  rig.Set(kLeftSweepLink, kLinkWetMix);  // default depth 50 %: a swing of 0.5
  const Swing swing = RecordSwing(rig, kLinkWetMix);
  EXPECT_NEAR(swing.lowest, 0.25f, 1e-3);
  EXPECT_NEAR(swing.highest, 0.75f, 1e-3);
  EXPECT_EQ(rig.engine.LeftGraph().lower.load(), 0.0f);
  EXPECT_EQ(rig.engine.LeftGraph().upper.load(), 1.0f);
}

TEST(LinkModulation, LeftWinsAndMovingAwayRestoresBase) {
  EngineRig rig;
  rig.Open();
  rig.Set(kLeftSweepRate, 0);
  rig.Set(kFilterRightType, 0);
  rig.Set(kLeftSweepLink, kLinkFeedback);
  rig.Set(kRightSweepLink, kLinkFeedback);
  rig.Set(kRightDepthLink, -100);
  EXPECT_EQ(rig.engine.RightGraph().lower.load(), -1.0f);  // the disabled look
  EXPECT_EQ(rig.engine.RightGraph().upper.load(), -1.0f);
  // Only the left depth (+50 %) moves feedback: centre base - 0.25, swing 0.5.
  const float base = rig.engine.Gains().base[kLinkFeedback];
  const Swing swing = RecordSwing(rig, kLinkFeedback);
  EXPECT_NEAR(swing.lowest, base - 0.25f, 1e-3);
  EXPECT_NEAR(swing.highest, base + 0.25f, 1e-3);

  rig.Set(kLeftSweepLink, kLinkWetMix);
  EXPECT_EQ(rig.engine.Gains().current[kLinkFeedback], base);
  rig.Set(kPanWidth, -1);
  rig.Set(kLeftSweepLink, kLinkPanWidth);
  RecordSwing(rig, kLinkPanWidth);
  rig.Set(kLeftSweepLink, 0);
  EXPECT_EQ(rig.engine.Gains().current[kLinkPanWidth], rig.engine.Gains().base[kLinkPanWidth]);
}

}  // namespace
}  // namespace velmora::dsp
