// run() as a careless or hostile host drives it: samples that are not numbers, block sizes
// from 1 to beyond the slice, sample rates from 22.05 to 192 kHz, control values outside
// their ranges, time messages inside a block, and no URID map at all.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "lv2/display_notifier.h"
#include "lv2/port_index.h"
#include "tests/lv2/instance_rig.h"

namespace velmora::lv2::testing {
namespace {

StereoSignal Bursts(double rate, double seconds) {
  const auto frames = static_cast<size_t>(rate * seconds);
  StereoSignal signal{std::vector<float>(frames), std::vector<float>(frames)};
  const auto period = static_cast<size_t>(rate * 0.25);
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i % period) / rate;
    const auto value = static_cast<float>(std::exp(-t * 60.0) * std::sin(2000.0 * t));
    signal.left[i] = value;
    signal.right[i] = -0.5f * value;
  }
  return signal;
}

bool AllFinite(const StereoSignal& signal) {
  for (size_t i = 0; i < signal.left.size(); ++i) {
    if (!std::isfinite(signal.left[i]) || !std::isfinite(signal.right[i])) {
      return false;
    }
  }
  return true;
}

bool SameBits(const StereoSignal& a, const StereoSignal& b) {
  return a.left.size() == b.left.size() &&
         std::memcmp(a.left.data(), b.left.data(), a.left.size() * sizeof(float)) == 0 &&
         std::memcmp(a.right.data(), b.right.data(), a.right.size() * sizeof(float)) == 0;
}

double Energy(const std::vector<float>& samples, size_t from) {
  double sum = 0.0;
  for (size_t i = from; i < samples.size(); ++i) {
    sum += static_cast<double>(samples[i]) * samples[i];
  }
  return sum;
}

StereoSignal RenderAtTempo(double rate, const StereoSignal& input, uint32_t block,
                           float tempo = 120.0f) {
  InstanceRig rig(rate);
  rig.QueueTime(tempo, 0, 1.0f);
  return RenderBlocks(rig, input, block);
}

TEST(Lv2Run, SamplesThatAreNotNumbersEnterAsSilence) {
  const StereoSignal clean = Bursts(48000.0, 2.0);
  StereoSignal poisoned = clean;
  StereoSignal zeroed = clean;
  const float bad[] = {std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity(),
                       -std::numeric_limits<float>::infinity()};
  for (size_t k = 0; k < 30; ++k) {
    const size_t at = 1000 + k * 2731;
    poisoned.left[at] = bad[k % 3];
    poisoned.right[at + 7] = bad[(k + 1) % 3];
    zeroed.left[at] = 0.0f;
    zeroed.right[at + 7] = 0.0f;
  }
  const StereoSignal fromPoisoned = RenderAtTempo(48000.0, poisoned, 512);
  EXPECT_TRUE(AllFinite(fromPoisoned));
  EXPECT_TRUE(SameBits(fromPoisoned, RenderAtTempo(48000.0, zeroed, 512)));
}

TEST(Lv2Run, EveryBlockSizeAndSampleRateGivesFiniteEchoes) {
  for (double rate : {22050.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0}) {
    // A single burst, then silence in which only echoes can sound.
    StereoSignal input = Bursts(rate, 1.0);
    const auto burstEnd = static_cast<size_t>(rate * 0.1);
    for (size_t i = burstEnd; i < input.left.size(); ++i) {
      input.left[i] = input.right[i] = 0.0f;
    }
    for (uint32_t block : {1u, 7u, 64u, 511u, 1024u, 4096u, 8192u, 10000u}) {
      SCOPED_TRACE(::testing::Message() << rate << " Hz, block " << block);
      const StereoSignal output = RenderAtTempo(rate, input, block);
      ASSERT_TRUE(AllFinite(output));
      EXPECT_GT(Energy(output.left, burstEnd) + Energy(output.right, burstEnd), 1e-3);
    }
  }
}

TEST(Lv2Run, ControlValuesLandOnWholeStepsInsideTheRange) {
  const StereoSignal input = Bursts(44100.0, 1.5);
  auto render = [&input](float feedback, float freq) {
    InstanceRig rig(44100.0);
    rig.SetControl(kFeedback, feedback);
    rig.SetControl(kFreqLeft, freq);
    rig.QueueTime(120.0f, 0, 1.0f);
    return RenderBlocks(rig, input, 256);
  };
  const StereoSignal reference = render(100.0f, 20000.0f);
  EXPECT_TRUE(SameBits(render(1000.0f, 1e9f), reference));
  EXPECT_TRUE(SameBits(render(99.6f, 19999.5f), reference));
  EXPECT_FALSE(SameBits(render(99.4f, 20000.0f), reference));

  // A value that is not a number leaves the last good one in force.
  InstanceRig rig(44100.0);
  rig.SetControl(kFeedback, 100.0f);
  rig.SetControl(kFreqLeft, 20000.0f);
  rig.QueueTime(120.0f, 0, 1.0f);
  StereoSignal output{std::vector<float>(input.left.size()), std::vector<float>(input.left.size())};
  rig.Run(input.left.data(), input.right.data(), output.left.data(), output.right.data(), 256);
  rig.SetControl(kFeedback, std::numeric_limits<float>::quiet_NaN());
  for (size_t done = 256; done < input.left.size(); done += 256) {
    const auto frames = static_cast<uint32_t>(std::min<size_t>(256, input.left.size() - done));
    rig.Run(&input.left[done], &input.right[done], &output.left[done], &output.right[done], frames);
  }
  EXPECT_TRUE(SameBits(output, reference));
}

// A message inside a block takes effect at its frame: the same as a block split there.
TEST(Lv2Run, TimeMessagesTakeEffectAtTheirFrame) {
  const StereoSignal input = Bursts(44100.0, 0.5);
  const uint32_t frames = static_cast<uint32_t>(input.left.size());
  StereoSignal whole{std::vector<float>(frames), std::vector<float>(frames)};
  StereoSignal split = whole;
  InstanceRig one(44100.0);
  one.QueueTime(120.0f, 0, 1.0f);
  one.QueueTime(97.0f, 3000, 1.0f, 3000);
  one.Run(input.left.data(), input.right.data(), whole.left.data(), whole.right.data(), frames);
  InstanceRig two(44100.0);
  two.QueueTime(120.0f, 0, 1.0f);
  two.Run(input.left.data(), input.right.data(), split.left.data(), split.right.data(), 3000);
  two.QueueTime(97.0f, 3000, 1.0f);
  two.Run(&input.left[3000], &input.right[3000], &split.left[3000], &split.right[3000],
          frames - 3000);
  EXPECT_TRUE(SameBits(whole, split));
  EXPECT_EQ(one.Instance().Engine().SamplesPerWhole(), 4.0 * 44100.0 * 60.0 / 97.0);
}

TEST(Lv2Run, TheUiHearsTheLampAndStripsAboutTwentyFiveTimesASecond) {
  InstanceRig rig(48000.0);
  rig.SetControl(kLeftSweepLink, 1.0f);  // "Pan Width": the left strip follows the sweep
  rig.QueueTime(120.0f, 0, 1.0f);
  DisplayUrids urids;
  ASSERT_TRUE(urids.Map(rig.Urids().MapFeature()));
  const StereoSignal input = Bursts(48000.0, 1.0);
  std::vector<float> left(480), right(480);
  int messages = 0;
  DisplayValues last;
  for (size_t done = 0; done + 480 <= input.left.size(); done += 480) {
    rig.Run(&input.left[done], &input.right[done], left.data(), right.data(), 480);
    LV2_ATOM_SEQUENCE_FOREACH(rig.Notify(), event) {
      ASSERT_LT(event->time.frames, 480);
      ASSERT_TRUE(ReadDisplayMessage(urids, &event->body, last));
      ++messages;
    }
  }
  EXPECT_GE(messages, 24);
  EXPECT_LE(messages, 27);
  EXPECT_TRUE(last.lamp);
  EXPECT_GE(last.left.current, 0.0f);
}

// No time from the host: the effect plays at 120 BPM.
TEST(Lv2Run, WithoutAMapOrATimePortItPlaysAt120Bpm) {
  InstanceRig rig(44100.0, false);
  ASSERT_TRUE(rig.Valid());
  rig.Instance().ConnectPort(kPortTime, nullptr);
  rig.Instance().ConnectPort(kPortNotify, nullptr);
  const StereoSignal input = Bursts(44100.0, 0.2);
  const StereoSignal output = RenderBlocks(rig, input, 64);
  EXPECT_TRUE(AllFinite(output));
  EXPECT_EQ(rig.Instance().Engine().SamplesPerWhole(), 4.0 * 44100.0 * 60.0 / 120.0);
  EXPECT_FALSE(DelayInstance::Create(0.0, nullptr));
  EXPECT_FALSE(DelayInstance::Create(std::numeric_limits<double>::quiet_NaN(), nullptr));
}

}  // namespace
}  // namespace velmora::lv2::testing
