// The worked numbers of the delay: tap lengths at 120 BPM and 44.1 kHz, the gains and the
// bypass threshold each parameter value maps to, and the note-length table.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/note_length.h"
#include "engine_test_rig.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

TEST(NoteLength, NamesEachLengthExactly) {
  EXPECT_EQ(NoteLength(0, kDelayRateBase), 1.0f / 64.0f);
  EXPECT_EQ(NoteLength(1, kDelayRateBase), static_cast<float>(1.0 / 48.0));  // "1/32T"
  EXPECT_EQ(NoteLength(2, kDelayRateBase), 3.0f / 128.0f);                   // "1/64D"
  EXPECT_EQ(NoteLength(9, kDelayRateBase), 1.0f / 8.0f);                     // "1/8"
  EXPECT_EQ(NoteLength(24, kDelayRateBase), 4.0f);                           // "4/1"
  EXPECT_EQ(NoteLength(12, kSweepRateBase), 0.5f);                           // "1/2"
  EXPECT_EQ(NoteLength(30, kSweepRateBase), 32.0f);                          // "32/1"
  for (int i = 1; i < 31; ++i) {
    EXPECT_LT(NoteLength(i - 1, kSweepRateBase), NoteLength(i, kSweepRateBase)) << i;
  }
}

TEST(DelayTaps, FollowTempoAndMode) {
  EngineRig rig;
  rig.Open();
  StereoBuffer silence(1);
  rig.Render(silence);
  const DelayState& delay = rig.engine.Delay();
  EXPECT_EQ(rig.engine.SamplesPerWhole(), 88200.0);
  EXPECT_EQ(rig.engine.Line().Length(), 1764000);  // 80 beats
  EXPECT_EQ(delay.rightTap, 11025);
  EXPECT_EQ(delay.leftTap, 22050);  // "Normal"
  EXPECT_EQ(delay.crossfadeLength, 4410u);
  EXPECT_EQ(delay.silenceLimit, 44100);

  // A mode change starts a crossfade only when none runs; silent samples end it.
  const int expected[5] = {14700, 16538, 22050, 25725, 27563};
  for (int mode = 0; mode < 5; ++mode) {
    rig.Render(silence);
    rig.Set(kPingPong, mode);
    EXPECT_EQ(delay.leftTap, expected[mode]) << mode;
  }
  EXPECT_EQ(delay.silenceLimit, 55126);  // twice the "Dotted 2" tap beats one second
}

TEST(MixGains, MapParameterValues) {
  EngineRig rig;
  rig.Open();
  const MixGains& gains = rig.engine.Gains();
  EXPECT_FLOAT_EQ(gains.Feedback(), 60.0f / 101.0f);
  rig.Set(kFeedback, 100);
  EXPECT_FLOAT_EQ(gains.Feedback(), 100.0f / 101.0f);
  EXPECT_LT(gains.Feedback(), 1.0f);

  rig.Set(kPanWidth, -100);
  EXPECT_EQ(gains.Pan(), 0.0f);
  rig.Set(kPanWidth, 0);
  EXPECT_EQ(gains.Pan(), 0.5f);
  rig.Set(kPanWidth, 100);
  EXPECT_EQ(gains.Pan(), 1.0f);

  rig.Set(kDryMix, 100);
  rig.Set(kWetMix, 0);
  EXPECT_EQ(gains.Dry(), 1.0f);
  EXPECT_EQ(gains.Wet(), 0.0f);
  rig.Set(kWetMix, 60);
  EXPECT_FLOAT_EQ(gains.Wet(), 0.6f);

  EXPECT_FLOAT_EQ(rig.engine.Delay().bypassThreshold, 0.001f);
  rig.Set(kBypassCeil, -100);
  EXPECT_FLOAT_EQ(rig.engine.Delay().bypassThreshold, 1e-5f);
}

TEST(SweepSide, MapParameterValues) {
  EngineRig rig;
  rig.Open();
  rig.Render(StereoBuffer(1));
  const SweepSide& left = rig.engine.LeftSide();
  EXPECT_EQ(left.resoFactor, 0.25);  // Reso 40
  EXPECT_EQ(left.depthScaled, 9990);
  EXPECT_NEAR(left.baseCoeff, 1.0 - std::exp(-2.0 * M_PI * 3000.0 / 44100.0), 1e-15);
  EXPECT_NEAR(left.sweepScale, 2.0, 1e-6);
  EXPECT_NEAR(left.sweepOffset, 0.5, 1e-6);
  EXPECT_EQ(left.lfoPeriod, 44100u);  // a half note at 120 BPM
  EXPECT_EQ(left.lfoCentre, 22050u);

  rig.Set(kResoLeft, 100);
  EXPECT_EQ(left.resoFactor, 1.0 / 32.0);
  EXPECT_NEAR(left.damping, 1.0 - left.baseCoeff / 32.0, 1e-15);
  rig.Set(kResoLeft, 0);
  EXPECT_NEAR(left.damping, 1.0 - left.baseCoeff, 1e-15);
  rig.Set(kLeftDepth, 100);
  EXPECT_EQ(left.depthScaled, 19980);
  EXPECT_NEAR(left.sweepScale, 4.0, 1e-6);
  rig.Set(kLeftDepthLink, -100);
  EXPECT_EQ(left.linkDepth, -2.0f);
}

}  // namespace
}  // namespace velmora::dsp
