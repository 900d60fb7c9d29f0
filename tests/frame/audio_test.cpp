// The audio callbacks: float/double conversion, accumulation, slicing of long host blocks,
// scratch buffers, connections and the host time queries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include "tests/frame/probe_plugin.h"

namespace velmora::testing {
namespace {

struct StereoFloat {
  explicit StereoFloat(int frames, float value = 0.0f)
      : left(frames, value), right(frames, value), pointers{left.data(), right.data()} {}
  std::vector<float> left, right;
  float* pointers[2];
};

// The frame's own copying engine (the probe) shows the conversion and the accumulation.
TEST(Audio, ReplacingCopiesAndProcessAccumulates) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  vst::AEffect* effect = probe->Effect();
  StereoFloat in(64, 0.5f);
  StereoFloat out(64, 9.0f);
  effect->processReplacing(effect, in.pointers, out.pointers, 64);
  for (int i = 0; i < 64; ++i) {
    ASSERT_EQ(out.left[i], 0.5f);
    ASSERT_EQ(out.right[i], 0.5f);
  }
  StereoFloat sum(61, 0.25f);  // not a multiple of four: the remainder loop runs too
  effect->process(effect, in.pointers, sum.pointers, 61);
  for (int i = 0; i < 61; ++i) {
    ASSERT_EQ(sum.left[i], 0.75f);
    ASSERT_EQ(sum.right[i], 0.75f);
  }
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
}

TEST(Audio, DoubleReplacingHandsOverTheHostBuffers) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  vst::AEffect* effect = probe->Effect();
  std::vector<double> inL(100, 0.125), inR(100, -0.25), outL(100), outR(100);
  double* ins[2] = {inL.data(), inR.data()};
  double* outs[2] = {outL.data(), outR.data()};
  effect->processDoubleReplacing(effect, ins, outs, 100);
  ASSERT_EQ(probe->blocks.size(), 1u);
  EXPECT_EQ(probe->blocks[0].inputs[0], inL.data());
  EXPECT_EQ(probe->blocks[0].inputs[1], inR.data());
  EXPECT_EQ(probe->blocks[0].outputs[0], outL.data());
  EXPECT_EQ(probe->blocks[0].outputs[1], outR.data());
  EXPECT_EQ(outL[99], 0.125);
  EXPECT_EQ(outR[0], -0.25);
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
}

TEST(Audio, FloatConversionRoundsToNearest) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  vst::AEffect* effect = probe->Effect();
  StereoFloat in(5, 0.1f);
  StereoFloat out(5);
  effect->processReplacing(effect, in.pointers, out.pointers, 5);
  EXPECT_EQ(probe->InputScratch(0)[4], static_cast<double>(0.1f));
  EXPECT_EQ(out.left[4], 0.1f);
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
}

// Float outputs below the smallest normal float are written as 0, in both callbacks; the
// double path hands back what the engine wrote.
TEST(Audio, FloatOutputsAreWrittenWithoutSubnormals) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  vst::AEffect* effect = probe->Effect();
  const float values[6] = {FLT_MIN / 4.0f, -FLT_MIN / 1024.0f, FLT_MIN, -FLT_MIN, 1e-30f, 0.5f};
  const float expected[6] = {0.0f, 0.0f, FLT_MIN, -FLT_MIN, 1e-30f, 0.5f};
  StereoFloat in(6);
  std::copy(values, values + 6, in.left.begin());
  std::copy(values, values + 6, in.right.begin());
  StereoFloat out(6, 7.0f);
  effect->processReplacing(effect, in.pointers, out.pointers, 6);
  StereoFloat sum(6, 0.0f);
  sum.right[0] = FLT_MIN;  // FLT_MIN + FLT_MIN / 4 stays normal
  effect->process(effect, in.pointers, sum.pointers, 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(out.left[i], expected[i]) << i;
    EXPECT_EQ(out.right[i], expected[i]) << i;
    EXPECT_EQ(sum.left[i], expected[i]) << i;
  }
  EXPECT_EQ(sum.right[0], FLT_MIN);
  std::vector<double> inD(values, values + 6), outL(6), outR(6);
  double* ins[2] = {inD.data(), inD.data()};
  double* outs[2] = {outL.data(), outR.data()};
  effect->processDoubleReplacing(effect, ins, outs, 6);
  EXPECT_EQ(outL[0], static_cast<double>(FLT_MIN / 4.0f));
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
}

// A host that passes more frames than the block length it announced must not overrun the
// scratch buffers: the block is served in slices, and the audio still comes through whole.
TEST(Audio, LongHostBlocksAreProcessedInSlices) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  vst::AEffect* effect = probe->Effect();
  effect->dispatcher(effect, vst::effSetBlockSize, 0, 256, nullptr, 0.0f);
  const int frames = 700;
  StereoFloat in(frames);
  for (int i = 0; i < frames; ++i) {
    in.left[i] = static_cast<float>(i);
    in.right[i] = static_cast<float>(-i);
  }
  StereoFloat out(frames, 1.0f);
  effect->process(effect, in.pointers, out.pointers, frames);
  ASSERT_EQ(probe->blocks.size(), 3u);
  EXPECT_EQ(probe->blocks[0].frames, 256);
  EXPECT_EQ(probe->blocks[1].frames, 256);
  EXPECT_EQ(probe->blocks[2].frames, 188);
  for (int i = 0; i < frames; ++i) {
    ASSERT_EQ(out.left[i], i + 1.0f) << i;
    ASSERT_EQ(out.right[i], 1.0f - i) << i;
  }

  probe->blocks.clear();
  std::vector<double> dIn(frames, 0.5), dOut(frames, 0.0);
  double* ins[2] = {dIn.data(), dIn.data()};
  double* outs[2] = {dOut.data(), dOut.data()};
  effect->processDoubleReplacing(effect, ins, outs, frames);
  ASSERT_EQ(probe->blocks.size(), 3u);
  EXPECT_EQ(probe->blocks[1].inputs[0], dIn.data() + 256);  // still the host's memory
  EXPECT_EQ(probe->blocks[2].outputs[0], dOut.data() + 512);
  EXPECT_EQ(dOut[frames - 1], 0.5);
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
}

TEST(Audio, EmptyBlocksStillReachTheEngine) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  vst::AEffect* effect = probe->Effect();
  StereoFloat buffers(4, 3.0f);
  effect->processReplacing(effect, buffers.pointers, buffers.pointers, 0);
  effect->processReplacing(effect, buffers.pointers, buffers.pointers, -5);
  ASSERT_EQ(probe->blocks.size(), 2u);
  EXPECT_EQ(probe->blocks[0].frames, 0);
  EXPECT_EQ(probe->blocks[1].frames, -5);
  EXPECT_EQ(buffers.left[0], 3.0f);
  // Null buffer arrays from a broken host read as silence and are not written.
  effect->processReplacing(effect, nullptr, nullptr, 16);
  EXPECT_EQ(probe->InputScratch(0)[15], 0.0);
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
}

TEST(Audio, BlockLengthResizesAndClearsScratch) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  vst::AEffect* effect = probe->Effect();
  StereoFloat in(8, 0.5f), out(8);
  effect->processReplacing(effect, in.pointers, out.pointers, 8);
  probe->SetBlockLength(1024);  // unchanged length: contents stay
  EXPECT_EQ(probe->InputScratch(0)[7], 0.5);
  EXPECT_EQ(probe->OutputScratch(1)[7], 0.5);
  probe->SetBlockLength(512);
  EXPECT_EQ(probe->BlockLength(), 512);
  EXPECT_EQ(probe->InputScratch(0)[7], 0.0);
  EXPECT_EQ(probe->OutputScratch(1)[7], 0.0);
  // Lengths below one are refused; the buffers keep their size.
  effect->dispatcher(effect, vst::effSetBlockSize, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, vst::effSetBlockSize, 0, -64, nullptr, 0.0f);
  EXPECT_EQ(probe->BlockLength(), 512);
  // However long a block the host announces, the buffers hold at most 8,192 frames.
  effect->dispatcher(effect, vst::effSetBlockSize, 0, INT32_MAX, nullptr, 0.0f);
  EXPECT_EQ(probe->BlockLength(), 8192);
  EXPECT_EQ(probe->InputScratchSize(0), 8192u);
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
}

TEST(Audio, DisconnectedInputReadsItsScratchBuffer) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  vst::AEffect* effect = probe->Effect();
  probe->SetInputConnections(1, 1, false);
  probe->SetOutputConnections(1, 1, false);
  EXPECT_TRUE(probe->InputConnected(0));
  EXPECT_FALSE(probe->InputConnected(1));
  float hostIn[16];
  float hostOut[16];
  for (float& s : hostIn) {
    s = 0.75f;
  }
  float* ins[1] = {hostIn};
  float* outs[1] = {hostOut};
  effect->processReplacing(effect, ins, outs, 16);
  ASSERT_EQ(probe->blocks.size(), 1u);
  EXPECT_EQ(probe->blocks[0].inputs[1], probe->InputScratch(1));
  EXPECT_EQ(probe->blocks[0].inputs[1][15], 0.0);
  EXPECT_EQ(probe->blocks[0].outputs[1], probe->OutputScratch(1));
  EXPECT_EQ(hostOut[15], 0.75f);
  // Ranges are clipped to the existing channels; negative or empty ranges do nothing.
  probe->SetInputConnections(-3, 100, true);
  EXPECT_TRUE(probe->InputConnected(1));
  probe->SetInputConnections(0, -1, false);
  probe->SetInputConnections(1, 0x7fffffff, false);
  EXPECT_TRUE(probe->InputConnected(0));
  EXPECT_FALSE(probe->InputConnected(1));
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
}

TEST(Audio, ChannelPairs) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  EXPECT_TRUE(probe->LegalChannels(1, 1));
  EXPECT_TRUE(probe->LegalChannels(2, -1));
  EXPECT_TRUE(probe->LegalChannels(-1, -1));
  EXPECT_FALSE(probe->LegalChannels(1, 2));
  EXPECT_FALSE(probe->LegalChannels(3, -1));
  const std::vector<ChannelPair> pairs = ParseChannelPairs("1-2 4-4 x");
  ASSERT_EQ(pairs.size(), 3u);
  EXPECT_EQ(pairs[0].outputs, 2);
  EXPECT_EQ(pairs[1].inputs, 4);
  EXPECT_EQ(pairs[2].inputs, 0);
  // Each count is read as a scanf %d reads it: white space and a plus sign may lead it, so a
  // doubled space repeats the next pair instead of adding a pair (0, 0).
  const std::vector<ChannelPair> spaced = ParseChannelPairs("1-1  2-2 +3-4");
  ASSERT_EQ(spaced.size(), 4u);
  for (size_t i = 1; i < 3; ++i) {
    EXPECT_EQ(spaced[i].inputs, 2) << i;
    EXPECT_EQ(spaced[i].outputs, 2) << i;
  }
  EXPECT_EQ(spaced[3].inputs, 3);
  EXPECT_EQ(spaced[3].outputs, 4);
  probe->Effect()->dispatcher(probe->Effect(), vst::effClose, 0, 0, nullptr, 0.0f);
}

TEST(TimeQueries, SamplesPerBeatFollowsTheValidTempo) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  FakeHost& host = instance.host();
  host.timeInfo.tempo = 120.0;
  host.timeInfo.flags = vst::kVstTempoValid;
  EXPECT_EQ(plugin.SamplesPerBeat(), 22050.0);
  EXPECT_EQ(host.CallsOf(vst::audioMasterGetTime).back().value, vst::kVstTempoValid);
  host.timeInfo.flags = 0;
  EXPECT_EQ(plugin.SamplesPerBeat(), 0.0);
  host.timeInfo.flags = vst::kVstTempoValid;
  host.timeInfo.tempo = -1.0;
  EXPECT_EQ(plugin.HostTempo(), 0.0);
  host.timeInfo.tempo = std::nan("");
  EXPECT_EQ(plugin.SamplesPerBeat(), 0.0);
  host.answersTime = false;
  EXPECT_EQ(plugin.SamplesPerBeat(), 0.0);
}

TEST(TimeQueries, SamplePositionIsRoundedAndKeeps64Bits) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  FakeHost& host = instance.host();
  host.timeInfo.samplePos = 1000.6;
  EXPECT_EQ(plugin.HostSamplePosition(), 1001);
  EXPECT_EQ(host.CallsOf(vst::audioMasterGetTime).back().value, 0);
  host.timeInfo.samplePos = 1000.4;
  EXPECT_EQ(plugin.HostSamplePosition(), 1000);
  host.timeInfo.samplePos = -5.0;
  EXPECT_EQ(plugin.HostSamplePosition(), 0);
  host.timeInfo.samplePos = 8589934592.4;  // 2^33 + 0.4: far beyond 32 bits
  EXPECT_EQ(plugin.HostSamplePosition(), int64_t{1} << 33);
  host.timeInfo.samplePos = std::nan("");
  EXPECT_EQ(plugin.HostSamplePosition(), 0);
  host.timeInfo.samplePos = INFINITY;
  EXPECT_EQ(plugin.HostSamplePosition(), 0);
  host.answersTime = false;
  EXPECT_EQ(plugin.HostSamplePosition(), 0);
}

}  // namespace
}  // namespace velmora::testing
