// The audio path allocates nothing after the first block, and a delay line that cannot be
// allocated leaves the engine working as if the host had no tempo. The executable counts
// its allocations and can refuse large requests (tests/support/counting_allocator.h).
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

#include "engine_test_rig.h"
#include "tests/support/counting_allocator.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;
using velmora::testing::AllocationCount;
using velmora::testing::RefuseAllocationsAbove;

TEST(Allocation, NoneAfterTheFirstBlock) {
  EngineRig rig;
  rig.Open();
  rig.Set(kLeftSweepLink, kLinkPanWidth);
  rig.Set(kRightSweepLink, kLinkFeedback);
  StereoBuffer in(256, 0.25);
  StereoBuffer out(256);
  rig.Block(in, out, 0, 256);

  const long before = AllocationCount();
  for (int block = 0; block < 400; ++block) {
    in.left[0] = block % 50 < 25 ? 0.5 : 0.0;
    rig.Block(in, out, 0, 256);
    if (block % 40 == 0) {
      rig.Set(kDelayRate, 6 + block % 7);
      rig.Set(kLeftSweepRate, block % 11);
      rig.Set(kLeftSweepLink, block % 5);
      rig.engine.ResetEngine();
    }
  }
  EXPECT_EQ(AllocationCount(), before);
}

// The line's memory is found at set-up (the reset every sample-rate announcement brings),
// for the rate and 120 BPM with room down to 80 BPM. Blocks then allocate only when the
// tempo falls below what the line holds, and then again with room to fall further.
TEST(Allocation, TempoRampGrowsTheLineOnlyBeyondWhatItHolds) {
  EngineRig rig;
  rig.host.sampleRate = 48000.0;
  rig.host.samplesPerBeat = 24000.0;
  rig.Open();
  const long beforeSetUp = AllocationCount();
  rig.engine.ResetEngine();
  EXPECT_EQ(AllocationCount(), beforeSetUp + 1);
  EXPECT_EQ(rig.engine.Line().Capacity(), 2880000);  // 80 beats at 80 BPM

  StereoBuffer in(256, 0.25);
  StereoBuffer out(256);
  auto ramp = [&](double from, double to, int blocks) {
    const long before = AllocationCount();
    for (int block = 0; block < blocks; ++block) {
      const double tempo = from + (to - from) * block / (blocks - 1);
      rig.host.samplesPerBeat = 48000.0 * 60.0 / tempo;
      rig.Block(in, out, 0, 256);
      EXPECT_EQ(rig.engine.Line().Length(), std::lround(80.0 * rig.host.samplesPerBeat));
    }
    return AllocationCount() - before;
  };
  EXPECT_EQ(ramp(120.0, 120.0, 2), 0);
  EXPECT_EQ(ramp(120.0, 240.0, 500), 0);
  EXPECT_EQ(ramp(240.0, 81.0, 1000), 0);
  // Below 80 BPM the line grows once, with room down to two thirds of that tempo.
  EXPECT_EQ(ramp(81.0, 60.0, 1000), 1);
  EXPECT_GE(rig.engine.Line().Capacity(), 80 * 48000 * 60 / 54);
  EXPECT_EQ(ramp(60.0, 300.0, 1000), 0);
  EXPECT_EQ(ramp(300.0, 54.0, 1000), 0);
}

TEST(Allocation, RefusedLineMeansNoTempo) {
  EngineRig rig;
  rig.Open();
  RefuseAllocationsAbove(size_t{1} << 20);  // the line needs 14 MB
  StereoBuffer in(512, 0.3);
  StereoBuffer out(512);
  rig.Block(in, out, 0, 512);
  const long afterFirst = AllocationCount();
  rig.Block(in, out, 0, 512);  // the failed tempo is not retried every block
  RefuseAllocationsAbove(0);
  EXPECT_EQ(AllocationCount(), afterFirst);
  EXPECT_EQ(rig.engine.Line().Length(), 0);
  EXPECT_EQ(rig.engine.SamplesPerWhole(), 0.0);
  EXPECT_EQ(rig.engine.Delay().rightTap, 0);
  for (size_t i = 0; i < out.left.size(); ++i) {
    ASSERT_TRUE(std::isfinite(out.left[i]) && std::isfinite(out.right[i]));
  }

  // A new tempo tries again and succeeds.
  rig.host.samplesPerBeat = 24000.0;
  rig.Block(in, out, 0, 512);
  EXPECT_EQ(rig.engine.Line().Length(), 1920000);
}

}  // namespace
}  // namespace velmora::dsp
