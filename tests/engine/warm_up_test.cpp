// The warm-up gate: no frame is processed until 22 distinct parameters have been applied,
// and the block-start and block-end steps still run on a closed gate.
#include <gtest/gtest.h>

#include "engine_test_rig.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

constexpr double kUntouched = 12345.0;

bool OutputsUntouched(EngineRig& rig) {
  StereoBuffer in(64, 0.5);
  StereoBuffer out(64, kUntouched);
  rig.Block(in, out, 0, 64);
  for (size_t i = 0; i < 64; ++i) {
    if (out.left[i] != kUntouched || out.right[i] != kUntouched) {
      return false;
    }
  }
  return true;
}

TEST(WarmUpGate, OpensOnlyAfterEveryParameterWasApplied) {
  EngineRig rig;
  for (int i = 0; i < 22; ++i) {
    rig.engine.ApplyParameter(kFeedback);
    rig.engine.InvalidateAppliedValue(kFeedback);
  }
  EXPECT_FALSE(rig.engine.ProcessingEnabled());
  EXPECT_TRUE(OutputsUntouched(rig));
  EXPECT_EQ(rig.host.tempoQueries, 1);  // the block start ran all the same
  EXPECT_TRUE(rig.engine.Line().Allocated());

  for (int i = 0; i < kParamCount - 1; ++i) {
    rig.engine.ApplyParameter(i);
  }
  EXPECT_FALSE(rig.engine.ProcessingEnabled());
  EXPECT_TRUE(OutputsUntouched(rig));

  rig.engine.ApplyParameter(kBypassCeil);
  EXPECT_TRUE(rig.engine.ProcessingEnabled());
  EXPECT_FALSE(OutputsUntouched(rig));
}

TEST(WarmUpGate, ZeroFramesAndOutOfRangeIndicesAreHarmless) {
  EngineRig rig;
  rig.engine.ApplyParameter(-1);
  rig.engine.ApplyParameter(22);
  rig.Open();
  rig.engine.ProcessBlock(nullptr, nullptr, 0);
  rig.engine.ProcessBlock(nullptr, nullptr, -5);
  EXPECT_EQ(rig.host.tempoQueries, 2);
  EXPECT_EQ(rig.engine.Delay().rightTap, 11025);
}

// Applying an unchanged value does nothing: no crossfade, no clearing, no re-lock.
TEST(WarmUpGate, UnchangedValueIsIgnored) {
  EngineRig rig;
  rig.Open();
  StereoBuffer in(3000, 0.5);
  rig.Render(in);
  const int writeIndex = rig.engine.Line().WriteIndex();
  const bool crossfade = rig.engine.Delay().crossfadeActive;
  const int positionQueries = rig.host.positionQueries;
  for (int i = 0; i < kParamCount; ++i) {
    rig.engine.ApplyParameter(i);
  }
  rig.Render(StereoBuffer(1, 0.5));
  EXPECT_EQ(rig.engine.Line().WriteIndex(), writeIndex + 1);
  EXPECT_EQ(rig.engine.Delay().crossfadeActive, crossfade);
  EXPECT_EQ(rig.host.positionQueries, positionQueries);
}

}  // namespace
}  // namespace velmora::dsp
