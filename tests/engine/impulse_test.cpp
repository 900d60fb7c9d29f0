// An impulse through the delay with both side filters off: the echoes come back at whole
// multiples of the "Delay Rate" time, alternating right and left, each with the exact
// feedback and wet gains, and nothing else reaches the output.
#include <gtest/gtest.h>

#include <cmath>

#include "engine_test_rig.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

constexpr size_t kImpulseAt = 1000;
constexpr int kTap = 11025;  // "1/8" at 120 BPM, 44.1 kHz

// Expected output of a unit impulse on the left input at kImpulseAt: the dry impulse, then
// echo k (k = 1, 2, ...) at k taps, on the right for odd k and on the left for even k.
// The line holds half the input sum; every second tap the feedback scales it once more.
StereoBuffer ExpectedEchoes(size_t frames, float panFullRight) {
  StereoBuffer expected(frames);
  expected.left[kImpulseAt] = 1.0;
  const double feedback = 60.0f * 0.00990099f;
  const double wet = 60.0f * 0.01f;
  double lineValue = 0.5;
  for (int k = 1; kImpulseAt + static_cast<size_t>(k) * kTap < frames; ++k) {
    const size_t at = kImpulseAt + static_cast<size_t>(k) * kTap;
    const bool rightSide = k % 2 == 1;
    const double side = lineValue * wet;
    (rightSide == (panFullRight > 0.5f) ? expected.right : expected.left)[at] += side;
    if (!rightSide) {
      lineValue = feedback * lineValue;
    }
  }
  return expected;
}

void ExpectEqualBuffers(const StereoBuffer& actual, const StereoBuffer& expected) {
  int mismatches = 0;
  for (size_t i = 0; i < expected.left.size() && mismatches < 5; ++i) {
    if (actual.left[i] != expected.left[i] || actual.right[i] != expected.right[i]) {
      ADD_FAILURE() << "frame " << i << ": got " << actual.left[i] << ", " << actual.right[i]
                    << " expected " << expected.left[i] << ", " << expected.right[i];
      ++mismatches;
    }
  }
}

TEST(ImpulseResponse, EchoesAlternateAtWholeTapsWithExactGains) {
  EngineRig rig;
  rig.Open();
  rig.Set(kFilterLeftType, 0);
  rig.Set(kFilterRightType, 0);
  const size_t frames = kImpulseAt + 6 * kTap + 100;
  StereoBuffer in(frames);
  in.left[kImpulseAt] = 1.0;
  const StereoBuffer out = rig.Render(in, 512);
  ExpectEqualBuffers(out, ExpectedEchoes(frames, 1.0f));
}

// Pan Width -100 swaps the sides: right echoes appear in the left output and vice versa.
TEST(ImpulseResponse, NegativePanWidthSwapsSides) {
  EngineRig rig;
  rig.Open();
  rig.Set(kFilterLeftType, 0);
  rig.Set(kFilterRightType, 0);
  rig.Set(kPanWidth, -100);
  const size_t frames = kImpulseAt + 3 * kTap + 100;
  StereoBuffer in(frames);
  in.left[kImpulseAt] = 1.0;
  ExpectEqualBuffers(rig.Render(in, 300), ExpectedEchoes(frames, 0.0f));
}

// Pan Width 0 puts half of each side in both outputs; Wet 0 with Dry 100 passes the input
// exactly while processing.
TEST(ImpulseResponse, CentredPanAndDryOnly) {
  EngineRig rig;
  rig.Open();
  rig.Set(kFilterLeftType, 0);
  rig.Set(kFilterRightType, 0);
  rig.Set(kPanWidth, 0);
  const size_t frames = kImpulseAt + kTap + 1;
  StereoBuffer in(frames);
  in.left[kImpulseAt] = 1.0;
  const StereoBuffer out = rig.Render(in);
  const double half = 0.5 * 0.5 * static_cast<double>(60.0f * 0.01f);
  EXPECT_EQ(out.left[kImpulseAt + kTap], half);
  EXPECT_EQ(out.right[kImpulseAt + kTap], half);

  EngineRig dryRig;
  dryRig.Open();
  dryRig.Set(kWetMix, 0);
  StereoBuffer noise(20000);
  for (size_t i = 0; i < noise.left.size(); ++i) {
    noise.left[i] = 0.3 * std::sin(0.01 * static_cast<double>(i)) + 0.01;
    noise.right[i] = -0.2 * std::cos(0.003 * static_cast<double>(i)) - 0.01;
  }
  const StereoBuffer dryOut = dryRig.Render(noise);
  EXPECT_EQ(dryOut.left, noise.left);
  EXPECT_EQ(dryOut.right, noise.right);
}

}  // namespace
}  // namespace velmora::dsp
