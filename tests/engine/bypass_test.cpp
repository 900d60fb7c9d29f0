// The automatic bypass: it engages after exactly silenceLimit quiet processed samples,
// releases at the first sample strictly above the threshold, passes the input through
// unchanged while engaged, and switches the lamp (telling its listener) only on change.
#include <gtest/gtest.h>

#include <vector>

#include "engine_test_rig.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

class RecordingLampListener : public LampListener {
 public:
  void OnLampChanged(bool processing) override { changes.push_back(processing); }
  std::vector<bool> changes;
};

// Processes one frame per block so the lamp shows the state after every sample.
bool ProcessOneFrame(EngineRig& rig, double left, double right = 0.0) {
  StereoBuffer in(1);
  in.left[0] = left;
  in.right[0] = right;
  StereoBuffer out(1);
  rig.Block(in, out, 0, 1);
  EXPECT_EQ(rig.engine.Lamp().state.load(), !rig.engine.Bypassed());
  return rig.engine.Lamp().state.load();
}

TEST(AutomaticBypass, EngagesAfterSilenceLimitQuietSamples) {
  EngineRig rig;
  RecordingLampListener listener;
  rig.engine.SetLampListener(&listener);
  rig.Open();
  // Side filters off, so the echoes of a 0.0015 impulse (half of it, in the line) stay
  // below the -60 dB threshold and cannot hold the effect open.
  rig.Set(kFilterLeftType, 0);
  rig.Set(kFilterRightType, 0);
  EXPECT_FALSE(ProcessOneFrame(rig, 0.0));  // the first block leaves the effect bypassed
  EXPECT_TRUE(listener.changes.empty());

  EXPECT_TRUE(ProcessOneFrame(rig, 0.0015));
  const int limit = rig.engine.Delay().silenceLimit;
  ASSERT_EQ(limit, 44100);
  // The impulse and the next limit - 1 quiet frames are processed; the count then stands
  // at the limit, so the lamp goes off with the last of them and the next frame is bypassed.
  for (int quiet = 1; quiet < limit - 1; ++quiet) {
    ASSERT_TRUE(ProcessOneFrame(rig, 0.0005, -0.0005)) << quiet;
  }
  EXPECT_EQ(rig.engine.Delay().silenceCount, limit - 1);
  EXPECT_FALSE(ProcessOneFrame(rig, 0.0005, -0.0005));
  EXPECT_EQ(rig.engine.Delay().silenceCount, limit);
  EXPECT_FALSE(ProcessOneFrame(rig, 0.0005));
  EXPECT_EQ(rig.engine.Delay().silenceCount, limit);  // bypassed frames do not count
  EXPECT_EQ(listener.changes, (std::vector<bool>{true, false}));

  // Exactly the threshold does not count as signal; anything above it does.
  EXPECT_FALSE(ProcessOneFrame(rig, 0.001, -0.001));
  EXPECT_TRUE(ProcessOneFrame(rig, 0.0, -0.0010001));
  EXPECT_EQ(listener.changes, (std::vector<bool>{true, false, true}));
}

TEST(AutomaticBypass, BypassedSamplesPassUnchangedEvenWithoutDry) {
  EngineRig rig;
  rig.Open();
  rig.Set(kDryMix, 0);
  StereoBuffer in(2000);
  for (size_t i = 0; i < in.left.size(); ++i) {
    in.left[i] = (i % 7) * 0.0001;
    in.right[i] = -static_cast<double>(i % 5) * 0.0002;
  }
  const StereoBuffer out = rig.Render(in, 128);
  EXPECT_EQ(out.left, in.left);
  EXPECT_EQ(out.right, in.right);
}

// A tap change during silence keeps the effect bypassed; the first loud sample is then
// processed with the new taps and without a crossfade.
TEST(AutomaticBypass, TapChangeWhileSilentNeedsNoCrossfade) {
  EngineRig rig;
  rig.Open();
  StereoBuffer out(1);
  EXPECT_FALSE(ProcessOneFrame(rig, 0.0));
  rig.Set(kDelayRate, 12);  // "1/4"
  EXPECT_TRUE(rig.engine.Delay().crossfadeActive);
  EXPECT_FALSE(ProcessOneFrame(rig, 0.0));
  EXPECT_FALSE(rig.engine.Delay().crossfadeActive);
  EXPECT_TRUE(ProcessOneFrame(rig, 0.5));
  EXPECT_FALSE(rig.engine.Delay().crossfadeActive);
  EXPECT_EQ(rig.engine.Delay().rightTap, 22050);
  EXPECT_EQ(rig.engine.Delay().oldRightTap, 11025);  // never faded: old lengths stay
}

}  // namespace
}  // namespace velmora::dsp
