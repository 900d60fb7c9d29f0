// Hosts that send no tempo, absurd tempos or sample rates, and parameter changes at awkward
// moments: the engine stays inside its line, never divides by zero and loses no change.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "engine_test_rig.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

StereoBuffer Noise(size_t frames) {
  StereoBuffer in(frames);
  for (size_t i = 0; i < frames; ++i) {
    in.left[i] = 0.5 * std::sin(0.37 * static_cast<double>(i));
    in.right[i] = 0.4 * std::cos(0.11 * static_cast<double>(i));
  }
  return in;
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void ExpectFinite(const StereoBuffer& out) {
  for (size_t i = 0; i < out.left.size(); ++i) {
    ASSERT_TRUE(std::isfinite(out.left[i]) && std::isfinite(out.right[i])) << i;
  }
}

// Renders the same input, parameter changes and song position through a rig whose host
// reports samplesPerBeat and through one at 120 BPM, and expects identical bits.
void ExpectSoundsAsAt120Bpm(double samplesPerBeat, double sampleRate) {
  EngineRig without;
  EngineRig at120;
  without.host.samplesPerBeat = samplesPerBeat;
  without.host.sampleRate = sampleRate;
  at120.host.samplesPerBeat = sampleRate * 60.0 / 120.0;
  at120.host.sampleRate = sampleRate;
  for (EngineRig* rig : {&without, &at120}) {
    rig->host.songPosition = 12345;
    rig->Open();
    rig->Set(kFeedback, 80);
    rig->Set(kFilterLeftType, 1);
    rig->Set(kFilterRightType, 2);
  }
  const StereoBuffer in = Noise(40000);
  StereoBuffer outWithout(in.left.size());
  StereoBuffer outAt120(in.left.size());
  const size_t blocks[] = {1, 64, 333, 4096};
  size_t first = 0;
  for (int round = 0; first < in.left.size(); ++round) {
    const size_t count = std::min(blocks[round % 4], in.left.size() - first);
    if (round == 7) {  // a rate change mid-stream crossfades the taps in both
      without.Set(kDelayRate, 12);
      at120.Set(kDelayRate, 12);
    }
    without.Block(in, outWithout, first, count);
    at120.Block(in, outAt120, first, count);
    first += count;
  }
  EXPECT_EQ(without.engine.SamplesPerWhole(), at120.engine.SamplesPerWhole());
  EXPECT_EQ(without.engine.Line().Length(), at120.engine.Line().Length());
  EXPECT_EQ(without.engine.LeftSide().lfoPeriod, at120.engine.LeftSide().lfoPeriod);
  for (size_t i = 0; i < in.left.size(); ++i) {
    ASSERT_TRUE(SameBits(outWithout.left[i], outAt120.left[i])) << i;
    ASSERT_TRUE(SameBits(outWithout.right[i], outAt120.right[i])) << i;
  }
}

// A host without a usable tempo gets the effect as a host at 120 BPM does: the same line,
// taps, sweeps and re-lock, to the last bit.
TEST(NoTempo, PlaysExactlyAsAHostAt120Bpm) {
  ExpectSoundsAsAt120Bpm(0.0, 44100.0);
  ExpectSoundsAsAt120Bpm(0.0, 48000.0);
  ExpectSoundsAsAt120Bpm(-22050.0, 44100.0);
  ExpectSoundsAsAt120Bpm(std::numeric_limits<double>::quiet_NaN(), 44100.0);
  ExpectSoundsAsAt120Bpm(std::numeric_limits<double>::infinity(), 96000.0);
}

TEST(NoTempo, LengthsAreThoseOf120Bpm) {
  EngineRig rig;
  rig.host.samplesPerBeat = 0.0;
  rig.Open();
  rig.Render(Noise(1000));
  EXPECT_EQ(rig.engine.SamplesPerWhole(), 88200.0);
  EXPECT_EQ(rig.engine.Line().Length(), 1764000);
  EXPECT_EQ(rig.engine.Delay().rightTap, 11025);
  EXPECT_EQ(rig.engine.Delay().leftTap, 22050);
  EXPECT_GT(rig.engine.LeftSide().lfoPeriod, 0u);
}

// A tempo so fast that every length rounds to 0: a one-sample line whose single element
// each tap reads just before it is overwritten, so the wet signal is the previous frame's
// line value.
TEST(TinyLengths, OneSampleLineEchoesThePreviousFrame) {
  EngineRig rig;
  rig.host.samplesPerBeat = 0.001;
  rig.Open();
  rig.Set(kFilterLeftType, 0);
  rig.Set(kFilterRightType, 0);
  rig.Set(kFeedback, 0);
  rig.Set(kDryMix, 0);
  rig.Set(kWetMix, 100);
  const StereoBuffer in = Noise(3000);
  const StereoBuffer out = rig.Render(in, 100);
  EXPECT_EQ(rig.engine.Line().Length(), 0);
  EXPECT_EQ(rig.engine.Line().WriteIndex(), 0);
  for (size_t i = 1; i < in.left.size(); ++i) {
    const double previous = (in.right[i - 1] + in.left[i - 1]) * 0.5;
    ASSERT_EQ(out.left[i], previous) << i;
    ASSERT_EQ(out.right[i], previous) << i;
  }
}

// Both oscillator periods are 0: the re-lock holds the phases at 0 and the sweep sits at
// its bottom instead of producing not-a-number (which the clamp would turn into -1).
TEST(TinyLengths, ZeroPeriodSweepStaysAtBottom) {
  EngineRig rig;
  rig.host.samplesPerBeat = 0.001;
  rig.host.songPosition = 99999;
  rig.Open();
  const StereoBuffer out = rig.Render(Noise(2000), 64);
  ExpectFinite(out);
  EXPECT_EQ(rig.engine.LeftSide().lfoPeriod, 0u);
  EXPECT_EQ(rig.engine.LeftSide().lfoPhase, 0u);
  EXPECT_EQ(rig.engine.RightSide().lfoPhase, 0u);
  const SweepSide& left = rig.engine.LeftSide();
  EXPECT_FLOAT_EQ(rig.engine.LeftGraph().current.load(),
                  static_cast<float>(left.sweepOffset * left.baseCoeff));
  EXPECT_GT(std::fabs(left.filterOut), 0.0);
  EXPECT_LT(std::fabs(left.filterOut), 1.0);
}

TEST(LineLengthCap, HoldsEightyBeatsAtTwentyBpmAnd192kHz) {
  static_assert(kMaxDelayLineLength >= 46080000 && kMaxDelayLineLength <= (int64_t{1} << 26));
  EXPECT_EQ(DelayLineLengthFor(4.0 * 192000.0 * 60.0 / 20.0), 46080000);
  EXPECT_EQ(DelayLineLengthFor(kMaxDelayLineLength / 20.0), kMaxDelayLineLength);
  EXPECT_EQ(DelayLineLengthFor(kMaxDelayLineLength / 20.0 + 0.1), -1);
  EXPECT_EQ(DelayLineLengthFor(std::numeric_limits<double>::infinity()), -1);
  EXPECT_EQ(DelayLineLengthFor(std::numeric_limits<double>::quiet_NaN()), -1);
  EXPECT_EQ(DelayLineLengthFor(-1.0), -1);
  EXPECT_EQ(DelayLineLengthFor(0.0), 0);
}

// A tempo beyond the cap behaves like no tempo (120 BPM), and a later sane tempo is
// followed again.
TEST(LineLengthCap, TooLongALineMeansNoTempo) {
  EngineRig rig;
  rig.host.samplesPerBeat = 1e9;
  rig.Open();
  ExpectFinite(rig.Render(Noise(1000)));
  EXPECT_EQ(rig.engine.SamplesPerWhole(), 88200.0);
  EXPECT_EQ(rig.engine.Line().Length(), 1764000);
  EXPECT_EQ(rig.engine.Delay().rightTap, 11025);

  rig.host.samplesPerBeat = std::numeric_limits<double>::infinity();
  ExpectFinite(rig.Render(Noise(100)));
  EXPECT_EQ(rig.engine.Line().Length(), 1764000);

  rig.host.samplesPerBeat = 11025.0;
  ExpectFinite(rig.Render(Noise(100)));
  EXPECT_EQ(rig.engine.Line().Length(), 882000);
  EXPECT_EQ(rig.engine.Delay().rightTap, 5513);
}

// A sample rate that is not a positive finite number leaves the engine's rate as it was.
TEST(SampleRate, UnusableRatesAreIgnored) {
  EngineRig rig;
  rig.Open();
  rig.Render(Noise(100));
  const double base = rig.engine.LeftSide().baseCoeff;
  for (double rate : {0.0, -44100.0, std::numeric_limits<double>::quiet_NaN(),
                      std::numeric_limits<double>::infinity()}) {
    rig.host.sampleRate = rate;
    rig.engine.SetActive(true);
    EXPECT_EQ(rig.engine.EngineSampleRate(), 44100.0);
    EXPECT_EQ(rig.engine.LeftSide().baseCoeff, base);
  }
  rig.Set(kDelayRate, 10);
  ExpectFinite(rig.Render(Noise(6000)));

  rig.host.sampleRate = 48000.0;
  rig.engine.ResetEngine();
  EXPECT_EQ(rig.engine.EngineSampleRate(), 48000.0);
  EXPECT_NEAR(rig.engine.LeftSide().baseCoeff, 1.0 - std::exp(-2.0 * M_PI * 3000.0 / 48000.0),
              1e-15);
  EXPECT_NEAR(rig.engine.RightSide().damping, 1.0 - 0.25 * rig.engine.RightSide().baseCoeff, 1e-15);
}

// Even a host whose very first rate is unusable gets finite output: the crossfade is at
// least one sample long.
TEST(SampleRate, UnusableRateAtFirstBlock) {
  EngineRig rig;
  rig.host.sampleRate = std::numeric_limits<double>::quiet_NaN();
  rig.Open();
  ExpectFinite(rig.Render(Noise(500)));
  EXPECT_GE(rig.engine.Delay().crossfadeLength, 1u);
}

// A tempo change during a crossfade ends it, so the taps are recomputed for the new,
// shorter line instead of keeping the old tempo's lengths.
TEST(TempoChangeDuringCrossfade, TapsFitTheNewLine) {
  EngineRig rig;
  rig.host.samplesPerBeat = 88200.0;  // 30 BPM
  rig.Open();
  rig.Set(kDelayRate, 24);  // "4/1"
  rig.Render(Noise(5000), 500);
  ASSERT_FALSE(rig.engine.Delay().crossfadeActive);
  rig.Set(kDelayRate, 23);  // "2/1D": a crossfade from 4/1 starts
  rig.Render(Noise(100));
  ASSERT_TRUE(rig.engine.Delay().crossfadeActive);
  rig.host.samplesPerBeat = 22050.0;
  StereoBuffer none(0);
  rig.Block(none, none, 0, 0);  // the block start alone must already fit the new line
  const DelayState& delay = rig.engine.Delay();
  EXPECT_EQ(delay.rightTap, 264600);
  const int length = rig.engine.Line().Length();
  EXPECT_LE(2 * delay.rightTap, length);
  EXPECT_LE(2 * delay.oldRightTap, length);
  EXPECT_LE(delay.leftTap, length);
  EXPECT_LE(delay.oldLeftTap, length);
  ExpectFinite(rig.Render(Noise(6000), 500));
}

// "Delay Rate" and "Ping Pong" changes during a crossfade are carried over to the first
// block that finds no crossfade running.
TEST(PendingTapChange, CarriedOverWhenCrossfadeEnds) {
  EngineRig rig;
  rig.Open();
  const StereoBuffer in = Noise(20000);
  StereoBuffer out(in.left.size());
  rig.Block(in, out, 0, 1000);  // the first block's crossfade runs 4410 samples
  rig.Set(kDelayRate, 12);
  rig.Set(kPingPong, 4);
  EXPECT_EQ(rig.engine.Delay().rightTap, 11025);
  EXPECT_EQ(rig.engine.Delay().leftTap, 22050);
  for (size_t first = 1000; first < 5000; first += 1000) {
    rig.Block(in, out, first, 1000);
  }
  EXPECT_FALSE(rig.engine.Delay().crossfadeActive);  // ended at frame 4409
  rig.Block(in, out, 5000, 1000);
  EXPECT_EQ(rig.engine.Delay().rightTap, 22050);
  EXPECT_EQ(rig.engine.Delay().leftTap, 55125);
}

// A "Ping Pong" change that starts a crossfade in between does not swallow a pending
// "Delay Rate" change.
TEST(PendingTapChange, SurvivesAnInterveningCrossfade) {
  EngineRig rig;
  rig.Open();
  const StereoBuffer in = Noise(20000);
  StereoBuffer out(in.left.size());
  rig.Block(in, out, 0, 1000);
  rig.Set(kDelayRate, 12);
  for (size_t first = 1000; first < 5000; first += 1000) {
    rig.Block(in, out, first, 1000);
  }
  ASSERT_FALSE(rig.engine.Delay().crossfadeActive);
  rig.Set(kPingPong, 0);  // starts a crossfade with the old right tap
  EXPECT_EQ(rig.engine.Delay().leftTap, 14700);
  rig.Block(in, out, 5000, 1000);
  EXPECT_EQ(rig.engine.Delay().rightTap, 11025);
  for (size_t first = 6000; first < 11000; first += 1000) {
    rig.Block(in, out, first, 1000);
  }
  EXPECT_EQ(rig.engine.Delay().rightTap, 22050);
  EXPECT_EQ(rig.engine.Delay().leftTap, 29400);
}

}  // namespace
}  // namespace velmora::dsp
