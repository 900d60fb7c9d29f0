// The steady path runs two filtering sides side by side and computes their coefficients
// in its own loop. Whatever the filter types, resonance and links, it must give the
// general per-sample loop's output bit for bit, including clamped and not-a-number
// samples, and leave the same filter states and graph values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "engine_test_rig.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof(double)) == 0;
}

StereoBuffer LoudSignal(size_t frames, bool withNotANumber) {
  StereoBuffer in(frames);
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i);
    in.left[i] = 0.95 * std::sin(0.031 * t) + 0.2 * std::sin(0.0007 * t * t * 0.001);
    in.right[i] = (i % 4000 < 3000) ? -0.9 * std::cos(0.017 * t) : 0.0;
  }
  if (withNotANumber) {
    in.left[30001] = std::numeric_limits<double>::quiet_NaN();
  }
  return in;
}

struct Setting {
  int index;
  double value;
};

void Compare(std::initializer_list<Setting> settings, bool withNotANumber, size_t blockSize) {
  const StereoBuffer in = LoudSignal(70000, withNotANumber);
  EngineRig steady;
  EngineRig general;
  general.engine.SetSteadyPathEnabled(false);
  for (EngineRig* rig : {&steady, &general}) {
    rig->Open();
    for (const Setting& setting : settings) {
      rig->Set(setting.index, setting.value);
    }
  }
  StereoBuffer outSteady(in.left.size());
  StereoBuffer outGeneral(in.left.size());
  for (size_t first = 0; first < in.left.size(); first += blockSize) {
    const size_t count = std::min(blockSize, in.left.size() - first);
    steady.Block(in, outSteady, first, count);
    general.Block(in, outGeneral, first, count);
    ASSERT_EQ(steady.engine.LeftGraph().current.load(), general.engine.LeftGraph().current.load())
        << first;
    ASSERT_EQ(steady.engine.RightGraph().current.load(), general.engine.RightGraph().current.load())
        << first;
  }
  EXPECT_TRUE(SameBits(outSteady.left, outGeneral.left));
  EXPECT_TRUE(SameBits(outSteady.right, outGeneral.right));
  for (const auto& [a, b] : {std::pair{&steady.engine.LeftSide(), &general.engine.LeftSide()},
                             std::pair{&steady.engine.RightSide(), &general.engine.RightSide()}}) {
    EXPECT_TRUE(SameBits(a->filterOut, b->filterOut));
    EXPECT_TRUE(SameBits(a->filterVelocity, b->filterVelocity));
    EXPECT_EQ(a->lfoPhase, b->lfoPhase);
  }
  EXPECT_EQ(steady.engine.Delay().silenceCount, general.engine.Delay().silenceCount);
  EXPECT_EQ(steady.engine.Line().WriteIndex(), general.engine.Line().WriteIndex());
  EXPECT_EQ(steady.engine.Gains().current[kLinkPanWidth],
            general.engine.Gains().current[kLinkPanWidth]);
  EXPECT_EQ(steady.engine.Gains().current[kLinkFeedback],
            general.engine.Gains().current[kLinkFeedback]);
}

TEST(SteadyPath, BothLowPassSweepsMatchTheGeneralLoop) {
  Compare({}, false, 256);
  Compare({{kLeftDepth, 100}, {kRightDepth, 37}, {kLeftSweepRate, 2}}, false, 100);
}

TEST(SteadyPath, HighPassSidesMatchTheGeneralLoop) {
  Compare({{kFilterLeftType, 2}}, false, 256);
  Compare({{kFilterRightType, 2}, {kFilterMirror, 1}}, false, 77);
  Compare({{kFilterLeftType, 2}, {kFilterRightType, 2}}, false, 256);
}

TEST(SteadyPath, ClampedResonanceAndNotANumberMatchTheGeneralLoop) {
  // Reso 100 with a loud input drives both filters into the -1..1 limits.
  Compare({{kResoLeft, 100}, {kResoRight, 90}, {kFeedback, 100}, {kFreqLeft, 300}}, false, 256);
  Compare({{kResoLeft, 100}, {kFilterRightType, 2}, {kFeedback, 95}}, true, 256);
}

TEST(SteadyPath, LinkedSidesMatchTheGeneralLoop) {
  Compare({{kLeftSweepLink, kLinkPanWidth},
           {kRightSweepLink, kLinkFeedback},
           {kPingPong, 4},
           {kFeedback, 90}},
          false, 256);
  Compare({{kLeftSweepLink, kLinkWetMix},
           {kRightSweepLink, kLinkDryMix},
           {kLeftDepthLink, -60},
           {kFilterLeftType, 2}},
          false, 190);
  Compare({{kLeftSweepLink, kLinkFeedback}, {kRightSweepLink, kLinkFeedback}}, false, 256);
}

}  // namespace
}  // namespace velmora::dsp
