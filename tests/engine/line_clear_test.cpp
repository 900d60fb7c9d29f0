// The line is cleared in constant time, by reading silence beyond what was written since
// the clear. Every clear must still silence every echo, whether writing had gone round the
// line before it or not, and however the line is read afterwards: an engine that heard
// loud noise before a clear sounds, from the clear on, exactly like one that heard only
// a faint signal.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "engine_test_rig.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

// 2400 BPM at 44.1 kHz: a line of 22050 samples, so writing goes round it quickly.
constexpr double kFastBeat = 1102.5;

StereoBuffer Noise(size_t frames, double level) {
  StereoBuffer in(frames);
  unsigned seed = 7;
  for (size_t i = 0; i < frames; ++i) {
    seed = seed * 1664525u + 1013904223u;
    in.left[i] = level * (static_cast<double>(seed >> 8) / 16777216.0 - 0.5);
    in.right[i] = level * std::sin(0.02 * static_cast<double>(i));
  }
  return in;
}

// A reset keeps the filter states (the other clears zero them), so for a reset both sides
// pass their taps straight through.
void Prepare(EngineRig& rig, bool filters, bool steadyPath) {
  rig.host.samplesPerBeat = kFastBeat;
  rig.engine.SetSteadyPathEnabled(steadyPath);
  rig.Open();
  rig.Set(kFeedback, 100);
  rig.Set(kPingPong, 4);  // "Dotted 2": the longest left tap
  rig.Set(kDelayRate, 14);
  if (!filters) {
    rig.Set(kFilterLeftType, 0);
    rig.Set(kFilterRightType, 0);
  }
}

bool SameBits(const StereoBuffer& a, const StereoBuffer& b) {
  const size_t bytes = a.left.size() * sizeof(double);
  return std::memcmp(a.left.data(), b.left.data(), bytes) == 0 &&
         std::memcmp(a.right.data(), b.right.data(), bytes) == 0;
}

struct Clear {
  const char* name;
  std::function<void(EngineRig&)> apply;
  bool filters = true;
};

TEST(LineClear, EveryClearSilencesEveryEcho) {
  const Clear clears[] = {
      {"reset", [](EngineRig& rig) { rig.engine.ResetEngine(); }, false},
      {"left sweep rate", [](EngineRig& rig) { rig.Set(kLeftSweepRate, 3); }},
      {"right sweep rate", [](EngineRig& rig) { rig.Set(kRightSweepRate, 20); }},
      {"mirror", [](EngineRig& rig) { rig.Set(kFilterMirror, 0); }},
      {"tempo rise", [](EngineRig& rig) { rig.host.samplesPerBeat = 900.0; }},
      {"tempo fall within the held line", [](EngineRig& rig) { rig.host.samplesPerBeat = 1300.0; }},
      {"tempo fall beyond it", [](EngineRig& rig) { rig.host.samplesPerBeat = 4000.0; }},
  };
  // Before the clear: long enough for writing to go round the line several times, or not
  // even once; loud noise for one engine, a faint constant just above the bypass
  // threshold for the other, so both process every frame. After it: quiet noise, long
  // enough to go round the line again, in blocks that cross the line's end at odd places.
  const StereoBuffer after = Noise(70000, 0.01);
  for (const Clear& clear : clears) {
    for (size_t before : {size_t{90000}, size_t{3000}}) {
      for (size_t blockSize : {size_t{256}, size_t{173}}) {
        const bool steadyPath = blockSize == 256;
        EngineRig heard;
        EngineRig quiet;
        Prepare(heard, clear.filters, steadyPath);
        Prepare(quiet, clear.filters, steadyPath);
        heard.Render(Noise(before, 1.6), blockSize);
        quiet.Render(StereoBuffer(before, 0.002), blockSize);
        clear.apply(heard);
        clear.apply(quiet);
        ASSERT_TRUE(SameBits(heard.Render(after, blockSize), quiet.Render(after, blockSize)))
            << clear.name << " after " << before << " frames, blocks of " << blockSize
            << (steadyPath ? "" : ", general loop");
      }
    }
  }
}

// A tempo change fades between equal tap lengths, which the steady path does without the
// fade's work; it must give the per-sample loop's bits, negative zeros included. Negative
// input written over a negative feedback tap at feedback 0 leaves negative zeros in the
// line, and with unfiltered sides, full pan width and no dry signal they reach the output.
TEST(LineClear, FadeAfterTempoChangeMatchesTheGeneralLoop) {
  StereoBuffer in(30000);
  for (size_t i = 0; i < in.left.size(); ++i) {
    in.left[i] = (i / 50) % 2 == 0 ? -0.3 : -0.0;
    in.right[i] = (i / 70) % 2 == 0 ? -0.2 : -0.0;
  }
  EngineRig steady;
  EngineRig general;
  general.engine.SetSteadyPathEnabled(false);
  for (EngineRig* rig : {&steady, &general}) {
    rig->Open();
    rig->Set(kDelayRate, 0);  // "1/64": the feedback tap comes round within the fade
    rig->Set(kFilterLeftType, 0);
    rig->Set(kFilterRightType, 0);
    rig->Set(kFeedback, 0);
    rig->Set(kPanWidth, 100);
    rig->Set(kDryMix, 0);
  }
  StereoBuffer outSteady(in.left.size());
  StereoBuffer outGeneral(in.left.size());
  for (size_t first = 0; first < in.left.size(); first += 256) {
    const double beat = first % 7168 == 0 ? 22050.0 + static_cast<double>(first) : 0.0;
    for (EngineRig* rig : {&steady, &general}) {
      if (beat > 0.0) {
        rig->host.samplesPerBeat = beat;
      }
    }
    const size_t count = std::min<size_t>(256, in.left.size() - first);
    steady.Block(in, outSteady, first, count);
    general.Block(in, outGeneral, first, count);
  }
  EXPECT_TRUE(SameBits(outSteady, outGeneral));
  size_t negativeZeros = 0;
  for (double sample : outGeneral.left) {
    negativeZeros += sample == 0.0 && std::signbit(sample);
  }
  EXPECT_GT(negativeZeros, 100u);
  EXPECT_EQ(steady.engine.Delay().crossfadeActive, general.engine.Delay().crossfadeActive);
  EXPECT_EQ(steady.engine.Delay().crossfadeCount, general.engine.Delay().crossfadeCount);
}

}  // namespace
}  // namespace velmora::dsp
