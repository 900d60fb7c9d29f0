// Following the host tempo: any change of samples per whole note clears every echo and
// re-locks both oscillators to the song position, the left one at the bottom of its sweep
// at position 0 and, with "Filter Mirror", the right one half a period on.
#include <gtest/gtest.h>

#include <cmath>

#include "engine_test_rig.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

TEST(TempoChange, ClearsEchoesAndRelocksToSongPosition) {
  EngineRig rig;
  rig.Open();
  StereoBuffer in(5000);
  in.left[100] = 1.0;
  rig.Render(in);

  // 120 -> 119.99 BPM at 44.1 kHz: a small change still counts.
  rig.host.samplesPerBeat = 44100.0 * 60.0 / 119.99;
  rig.host.songPosition = 1234567;
  StereoBuffer none(0);
  rig.Block(none, none, 0, 0);
  const SweepSide& left = rig.engine.LeftSide();
  const SweepSide& right = rig.engine.RightSide();
  const uint32_t period = left.lfoPeriod;
  EXPECT_EQ(period, static_cast<uint32_t>(std::lround(2.0 * rig.host.samplesPerBeat)));
  EXPECT_EQ(left.lfoPhase, (period / 2 + 1234567 % period) % period);
  EXPECT_EQ(right.lfoPhase, (left.lfoPhase + period / 2) % period);  // mirrored
  EXPECT_EQ(rig.engine.Delay().rightTap, std::lround(rig.host.samplesPerBeat / 2.0));

  // The impulse's echoes (due at 11125, 22150, ...) never come back.
  StereoBuffer tail(60000);
  const StereoBuffer out = rig.Render(tail);
  for (size_t i = 0; i < tail.left.size(); ++i) {
    ASSERT_EQ(out.left[i], 0.0) << i;
    ASSERT_EQ(out.right[i], 0.0) << i;
  }
}

// The re-lock uses the whole 64-bit song position, so the oscillators stay in step with
// songs longer than 2^31 samples.
TEST(TempoChange, RelockUsesWholeSongPosition) {
  EngineRig rig;
  rig.Open();
  rig.Set(kFilterMirror, 0);
  rig.host.songPosition = (int64_t{1} << 33) + 777;
  rig.Render(StereoBuffer(1));
  const uint32_t period = rig.engine.LeftSide().lfoPeriod;  // 44100
  const uint64_t position = (uint64_t{1} << 33) + 777;
  const uint32_t expected = static_cast<uint32_t>((period / 2 + position % period) % period);
  // One bypassed frame has advanced both phases by one.
  EXPECT_EQ(rig.engine.LeftSide().lfoPhase, (expected + 1) % period);
  EXPECT_EQ(rig.engine.RightSide().lfoPhase, (expected + 1) % period);
}

// At song position 0 the left sweep starts at its bottom, (1 - Depth) x baseCoeff; half a
// period later it is at its top, (1 + Depth) x baseCoeff.
TEST(TempoChange, SweepStartsAtBottomOfSong) {
  const double base = 1.0 - std::exp(-2.0 * M_PI * 3000.0 / 44100.0);
  for (int64_t position : {int64_t{0}, int64_t{22050}}) {
    EngineRig rig;
    rig.Open();
    rig.host.songPosition = position;
    StereoBuffer in(1, 0.5);
    StereoBuffer out(1);
    rig.Block(in, out, 0, 1);
    const double expected = position == 0 ? 0.5 * base : 1.5 * base;
    EXPECT_NEAR(rig.engine.LeftGraph().current.load(), expected, 1e-6) << position;
    // Mirror on with equal periods: the right sweep is half a period away.
    const double mirrored = position == 0 ? 1.5 * base : 0.5 * base;
    EXPECT_NEAR(rig.engine.RightGraph().current.load(), mirrored, 1e-6) << position;
  }
}

}  // namespace
}  // namespace velmora::dsp
