// A sample that is not a finite number is processed exactly as 0.0 would be: the whole
// output stream equals, bit for bit, that of the same stream with the sample set to 0,
// wherever it falls (in a steady chunk, during a crossfade, during the automatic bypass)
// and whichever path the chunk takes. And finite input of any size never leaves a line or
// filter state that is not finite.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "engine_test_rig.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Loud noise, then from frame 40000 silence long enough for the echoes to fade and the
// bypass to engage (a second of quiet at 44.1 kHz), then loud again from 150000.
StereoBuffer Session() {
  StereoBuffer in(160000);
  unsigned seed = 99;
  for (size_t i = 0; i < in.left.size(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    const double noise = static_cast<double>(seed >> 8) / 16777216.0 - 0.5;
    const bool loud = i < 40000 || i >= 150000;
    in.left[i] = loud ? 0.8 * noise + 0.2 * std::sin(0.01 * static_cast<double>(i)) : 0.0;
    in.right[i] = loud ? -0.6 * noise : 0.0;
  }
  return in;
}

struct Variant {
  bool steadyPath;
  size_t blockSize;
  bool linked;
};

constexpr size_t kBypassedFrame = 140000;

// Renders in with the variant's settings at 1200 BPM, so echoes come and fade quickly; at
// frame 20480 "Delay Rate" changes, so the frames after it run in a crossfade. Tells
// whether the effect was bypassed after the block holding kBypassedFrame.
StereoBuffer Render(const StereoBuffer& in, const Variant& variant, bool* bypassed = nullptr) {
  EngineRig rig;
  rig.host.samplesPerBeat = 2205.0;
  rig.engine.SetSteadyPathEnabled(variant.steadyPath);
  rig.Open();
  rig.Set(kFeedback, 50);
  rig.Set(kResoLeft, 100);
  rig.Set(kFilterRightType, 2);  // high-pass
  if (variant.linked) {
    rig.Set(kLeftSweepLink, 2);   // "Feedback"
    rig.Set(kRightSweepLink, 4);  // "Wet Mix"
  }
  StereoBuffer out(in.left.size());
  for (size_t first = 0; first < in.left.size(); first += variant.blockSize) {
    if (first <= 20480 && first + variant.blockSize > 20480) {
      rig.Set(kDelayRate, 7);
    }
    rig.Block(in, out, first, std::min(variant.blockSize, in.left.size() - first));
    if (bypassed != nullptr && first <= kBypassedFrame &&
        first + variant.blockSize > kBypassedFrame) {
      *bypassed = rig.engine.Bypassed();
    }
  }
  return out;
}

bool SameBits(const StereoBuffer& a, const StereoBuffer& b) {
  const size_t bytes = a.left.size() * sizeof(double);
  return std::memcmp(a.left.data(), b.left.data(), bytes) == 0 &&
         std::memcmp(a.right.data(), b.right.data(), bytes) == 0;
}

TEST(NonFiniteInput, ProcessedExactlyAsSilence) {
  const StereoBuffer clean = Session();
  // In a steady chunk, in the crossfade after the tap change, while bypassed, on the
  // first frame of the loud stretch after it, and at a chunk's last frame.
  const size_t positions[] = {10007, 20500, kBypassedFrame, 150000, 30719};
  const Variant variants[] = {
      {true, 256, false}, {false, 256, false}, {true, 1000, true}, {true, 37, false}};
  for (const Variant& variant : variants) {
    bool bypassed = false;
    Render(clean, variant, &bypassed);
    ASSERT_TRUE(bypassed);
    for (double bad : {kNaN, kInf, -kInf}) {
      for (size_t position : positions) {
        for (int channel = 0; channel < 2; ++channel) {
          StereoBuffer zeroed = clean;
          StereoBuffer poisoned = clean;
          (channel == 0 ? zeroed.left : zeroed.right)[position] = 0.0;
          (channel == 0 ? poisoned.left : poisoned.right)[position] = bad;
          const StereoBuffer expected = Render(zeroed, variant);
          const StereoBuffer actual = Render(poisoned, variant);
          ASSERT_TRUE(SameBits(expected, actual))
              << bad << " at " << position << " channel " << channel << ", block "
              << variant.blockSize << (variant.steadyPath ? "" : ", general loop");
        }
      }
    }
  }
}

// Processing in place, the output written over a non-finite input is what silence gives.
TEST(NonFiniteInput, InPlaceOutputOverwritesTheSample) {
  EngineRig rig;
  rig.Open();
  StereoBuffer buffer(512, 0.25);
  buffer.left[3] = kNaN;
  buffer.right[300] = -kInf;
  double* io[2] = {buffer.left.data(), buffer.right.data()};
  rig.engine.ProcessBlock(io, io, 512);
  for (size_t i = 0; i < 512; ++i) {
    ASSERT_TRUE(std::isfinite(buffer.left[i]) && std::isfinite(buffer.right[i])) << i;
  }
}

bool StatesFinite(const DelayEngine& engine) {
  for (const SweepSide* side : {&engine.LeftSide(), &engine.RightSide()}) {
    if (!std::isfinite(side->filterOut) || !std::isfinite(side->filterVelocity)) {
      return false;
    }
  }
  return true;
}

// Huge finite input, fed back at 100 % through resonant filters of both kinds: every
// state stays finite, the echoes it leaves are finite once the input is quiet again, and
// up to 1e300 the outputs are finite throughout.
TEST(NonFiniteInput, HugeFiniteInputKeepsEveryStateFinite) {
  for (double level : {1e38, 1e300, DBL_MAX}) {
    for (int filterType : {1, 2}) {
      EngineRig rig;
      rig.host.samplesPerBeat = 300.0;  // a short line, so the feedback builds up quickly
      rig.Open();
      rig.Set(kFeedback, 100);
      rig.Set(kResoLeft, 100);
      rig.Set(kResoRight, 100);
      rig.Set(kFilterLeftType, filterType);
      rig.Set(kRightSweepLink, 2);  // "Feedback"
      rig.Set(kDryMix, 100);
      rig.Set(kWetMix, 100);
      StereoBuffer loud(60000);
      for (size_t i = 0; i < loud.left.size(); ++i) {
        loud.left[i] = i % 3 == 0 ? -level : level;
        loud.right[i] = level;
      }
      const StereoBuffer out = rig.Render(loud);
      ASSERT_TRUE(StatesFinite(rig.engine)) << level << " type " << filterType;
      if (level <= 1e300) {
        for (size_t i = 0; i < out.left.size(); ++i) {
          ASSERT_TRUE(std::isfinite(out.left[i]) && std::isfinite(out.right[i]))
              << level << " frame " << i;
        }
      }
      const StereoBuffer echoes = rig.Render(StereoBuffer(20000, 0.5));
      ASSERT_TRUE(StatesFinite(rig.engine));
      for (size_t i = 0; i < echoes.left.size(); ++i) {
        ASSERT_TRUE(std::isfinite(echoes.left[i]) && std::isfinite(echoes.right[i]))
            << level << " frame " << i;
      }
    }
  }
}

}  // namespace
}  // namespace velmora::dsp
