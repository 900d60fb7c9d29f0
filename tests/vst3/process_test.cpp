// process() and the state calls with good and bad input: changes at their offsets, every
// rate and block size, longer blocks than announced, null buffers, no frames, silence flags,
// non-finite input, and state streams that are empty, short, long or foreign.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "engine/parameter_index.h"
#include "tests/vst3/bundle_rig.h"

namespace velmora::vst3host::testing {
namespace {

constexpr double kRate = 44100.0;

void FillInput(HostBuffers& buffers, int start) {
  for (int c = 0; c < buffers.channels; ++c) {
    for (int i = 0; i < buffers.frames; ++i) {
      const double x = 0.4 * std::sin(0.013 * (start + i) * (c + 1));
      if (buffers.wide) {
        buffers.in64[c][i] = x;
      } else {
        buffers.in32[c][i] = static_cast<float>(x);
      }
    }
  }
}

std::vector<float> Output(const HostBuffers& buffers, int frames) {
  std::vector<float> out;
  for (int i = 0; i < frames; ++i) {
    for (int c = 0; c < buffers.channels; ++c) {
      out.push_back(buffers.wide ? static_cast<float>(buffers.out64[c][i]) : buffers.out32[c][i]);
    }
  }
  return out;
}

// Renders total frames in blocks of the given sizes (cycled), with a wet-mix change at the
// absolute frame changeAt (the wet mix acts on the very next output sample).
std::vector<float> Render(const std::vector<int>& blocks, int total, int changeAt) {
  BundleRig rig;
  EXPECT_TRUE(rig.Valid());
  Vst3Plugin& plugin = rig.Plugin();
  EXPECT_TRUE(plugin.Start(kRate, 1024, false).Ok());
  const double wet = rig.Normalised(kWetMix, 10.0);
  std::vector<float> out;
  int done = 0;
  for (size_t b = 0; done < total; ++b) {
    const int frames = std::min(blocks[b % blocks.size()], total - done);
    HostBuffers buffers(2, frames, false);
    FillInput(buffers, done);
    ParamChanges changes;
    if (changeAt >= done && changeAt < done + frames) {
      changes.Add(kWetMix, changeAt - done, wet);
    }
    ProcessContext context = PlayingContext(kRate, 128.0, done);
    EXPECT_EQ(plugin.Process(buffers, frames, &changes, &context), kResultOk);
    const std::vector<float> block = Output(buffers, frames);
    out.insert(out.end(), block.begin(), block.end());
    done += frames;
  }
  return out;
}

// A change at offset 300 of a 512-frame block sounds as the same change at the start of a
// block that begins at that frame: the block is split there.
TEST(Vst3Process, ChangesTakeEffectAtTheirOffsets) {
  const int total = 44100;
  const int changeAt = 512 * 20 + 300;
  const std::vector<float> split = Render({512}, total, changeAt);
  // The same frames cut so that the change falls on a block start.
  std::vector<int> cut;
  for (int i = 0; i < 20; ++i) {
    cut.push_back(512);
  }
  cut.push_back(300);
  cut.push_back(212);
  for (int i = 0; i < 100; ++i) {
    cut.push_back(512);
  }
  const std::vector<float> aligned = Render(cut, total, changeAt);
  ASSERT_EQ(split.size(), aligned.size());
  EXPECT_EQ(split, aligned);
  // And the change matters: without it, or one frame later, the output is another.
  EXPECT_NE(split, Render({512}, total, -1));
  EXPECT_NE(split, Render({512}, total, changeAt + 1));
}

TEST(Vst3Process, UnorderedAndStrayPointsAreTakenSafely) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  ASSERT_TRUE(rig.Plugin().Start(kRate, 512, false).Ok());
  HostBuffers buffers(2, 256, false);
  FillInput(buffers, 0);
  ParamChanges changes;
  changes.Add(kWetMix, 200, 0.2);
  changes.Add(kWetMix, 10, 0.9);
  changes.Add(kDryMix, -5, 0.5);
  changes.Add(kDryMix, 100000, 0.3);
  changes.Add(77, 3, 0.5);
  changes.Add(kFeedback, 20, std::nan(""));
  changes.Add(kFeedback, 30, 7.0);
  ProcessContext context = PlayingContext(kRate, 120.0, 0);
  EXPECT_EQ(rig.Plugin().Process(buffers, 256, &changes, &context), kResultOk);
  // Points are taken in time order: the last one in time wins, whatever the host's order.
  EXPECT_DOUBLE_EQ(rig.Controller().getParamNormalized(kWetMix), 0.2);
  EXPECT_DOUBLE_EQ(rig.Controller().getParamNormalized(kDryMix), 0.3);
  EXPECT_DOUBLE_EQ(rig.Controller().getParamNormalized(kFeedback), 1.0);
  for (float sample : Output(buffers, 256)) {
    ASSERT_TRUE(std::isfinite(sample));
  }
}

TEST(Vst3Process, EveryRateAndBlockSizeInFloatAndDouble) {
  for (double rate : {22050.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0}) {
    for (bool wide : {false, true}) {
      BundleRig rig;
      ASSERT_TRUE(rig.Valid());
      ASSERT_TRUE(rig.Plugin().Start(rate, 8192, wide).Ok());
      int64_t position = 0;
      for (int frames : {1, 2, 64, 511, 512, 1024, 4096, 8192}) {
        HostBuffers buffers(2, frames, wide);
        FillInput(buffers, static_cast<int>(position));
        ProcessContext context = PlayingContext(rate, 140.0, position);
        ASSERT_EQ(rig.Plugin().Process(buffers, frames, nullptr, &context), kResultOk);
        for (float sample : Output(buffers, frames)) {
          ASSERT_TRUE(std::isfinite(sample)) << rate << " " << frames;
        }
        position += frames;
      }
    }
  }
}

// A block longer than announced is processed whole, in announced-size slices: it sounds as
// the same frames given in announced-size blocks.
TEST(Vst3Process, BlocksLongerThanAnnouncedAreProcessedWhole) {
  std::vector<std::vector<float>> outputs;
  for (int block : {1000, 100}) {
    BundleRig rig;
    ASSERT_TRUE(rig.Valid());
    ASSERT_TRUE(rig.Plugin().Start(kRate, 100, false).Ok());
    std::vector<float> out;
    for (int start = 0; start < 3000; start += block) {
      HostBuffers buffers(2, block, false);
      FillInput(buffers, start);
      ParamChanges changes;
      if (start <= 1234 && 1234 < start + block) {
        changes.Add(kWetMix, 1234 - start, 0.3);
      }
      ProcessContext context = PlayingContext(kRate, 120.0, start);
      ASSERT_EQ(rig.Plugin().Process(buffers, block, &changes, &context), kResultOk);
      const std::vector<float> part = Output(buffers, block);
      out.insert(out.end(), part.begin(), part.end());
    }
    outputs.push_back(out);
  }
  EXPECT_EQ(outputs[0], outputs[1]);
}

TEST(Vst3Process, NoFramesNullBuffersAndBadCallsAreRefusedOrHarmless) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  ProcessData data{};
  data.numSamples = 64;
  // Not active yet.
  EXPECT_NE(rig.Processor().process(data), kResultOk);
  ASSERT_TRUE(rig.Plugin().Start(kRate, 512, false).Ok());
  // No buses at all, and a change that still counts.
  ParamChanges changes;
  changes.Add(kWetMix, 0, 0.25);
  data.inputParameterChanges = &changes;
  EXPECT_EQ(rig.Processor().process(data), kResultOk);
  EXPECT_DOUBLE_EQ(rig.Controller().getParamNormalized(kWetMix), 0.25);
  // Buses whose buffer arrays are null, and buses with null channels.
  AudioBusBuffers in{}, out{};
  in.numChannels = 2;
  out.numChannels = 2;
  data.inputs = &in;
  data.outputs = &out;
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputParameterChanges = nullptr;
  EXPECT_EQ(rig.Processor().process(data), kResultOk);
  float* nulls[2] = {nullptr, nullptr};
  in.channelBuffers32 = nulls;
  out.channelBuffers32 = nulls;
  EXPECT_EQ(rig.Processor().process(data), kResultOk);
  // Zero frames, negative frames, an unknown sample size.
  HostBuffers buffers(2, 16, false);
  EXPECT_EQ(rig.Plugin().Process(buffers, 0, nullptr, nullptr), kResultOk);
  EXPECT_NE(rig.Plugin().Process(buffers, -1, nullptr, nullptr), kResultOk);
  data.symbolicSampleSize = 9;
  EXPECT_NE(rig.Processor().process(data), kResultOk);
  // Set-up with a rate that is not a number, or no block size, is refused.
  rig.Plugin().Stop();
  ProcessSetup bad{kRealtime, kSample32, 512, std::nan("")};
  EXPECT_NE(rig.Processor().setupProcessing(bad), kResultOk);
  bad = {kRealtime, kSample32, 0, kRate};
  EXPECT_NE(rig.Processor().setupProcessing(bad), kResultOk);
}

TEST(Vst3Process, SilenceFlagsOnlyForSilentOutput) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  ASSERT_TRUE(rig.Plugin().Start(kRate, 512, false).Ok());
  HostBuffers buffers(2, 512, false);
  FillInput(buffers, 0);
  ProcessContext context = PlayingContext(kRate, 120.0, 0);
  ASSERT_EQ(rig.Plugin().Process(buffers, 512, nullptr, &context), kResultOk);
  EXPECT_EQ(buffers.output.silenceFlags, 0u);
  // Silence in, after the echoes have died away with no feedback: silence out, flagged.
  ParamChanges changes;
  changes.Add(kFeedback, 0, 0.0);
  changes.Add(kWetMix, 0, 0.0);
  for (int block = 0; block < 4; ++block) {
    for (auto& channel : buffers.in32) {
      std::fill(channel.begin(), channel.end(), 0.0f);
    }
    buffers.output.silenceFlags = 0;
    ASSERT_EQ(rig.Plugin().Process(buffers, 512, &changes, &context), kResultOk);
    changes.Clear();
  }
  EXPECT_EQ(buffers.output.silenceFlags, 3u);
}

TEST(Vst3Process, NonFiniteInputLeavesLaterOutputFinite) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  ASSERT_TRUE(rig.Plugin().Start(kRate, 512, true).Ok());
  for (double bad : {std::nan(""), double{INFINITY}, -double{INFINITY}}) {
    HostBuffers buffers(2, 512, true);
    FillInput(buffers, 0);
    buffers.in64[0][100] = bad;
    ProcessContext context = PlayingContext(kRate, 120.0, 0);
    ASSERT_EQ(rig.Plugin().Process(buffers, 512, nullptr, &context), kResultOk);
    for (int block = 0; block < 90; ++block) {
      FillInput(buffers, block * 512);
      ASSERT_EQ(rig.Plugin().Process(buffers, 512, nullptr, &context), kResultOk);
      for (float sample : Output(buffers, 512)) {
        ASSERT_TRUE(std::isfinite(sample)) << bad << " block " << block;
      }
    }
  }
}

TEST(Vst3Process, TailFollowsTheFeedback) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  ASSERT_TRUE(rig.Plugin().Start(kRate, 512, false).Ok());
  HostBuffers buffers(2, 64, false);
  ProcessContext context = PlayingContext(kRate, 120.0, 0);
  ASSERT_EQ(rig.Plugin().Process(buffers, 64, nullptr, &context), kResultOk);
  const uint32_t tail = rig.Processor().getTailSamples();
  EXPECT_GT(tail, 0u);
  EXPECT_LT(tail, kInfiniteTail);
  ASSERT_EQ(rig.Controller().setParamNormalized(kFeedback, 1.0), kResultOk);
  EXPECT_EQ(rig.Processor().getTailSamples(), kInfiniteTail);
}

TEST(Vst3State, RoundTripsThe180ByteChunk) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  ASSERT_EQ(rig.Controller().setParamNormalized(kFeedback, rig.Normalised(kFeedback, 33.0)),
            kResultOk);
  const std::vector<uint8_t> state = rig.Plugin().SaveState();
  ASSERT_EQ(state.size(), 180u);
  int32_t version = 0;
  std::memcpy(&version, state.data(), 4);
  EXPECT_EQ(version, 10000);
  double feedback = 0.0;
  std::memcpy(&feedback, state.data() + 4 + 8 * kFeedback, 8);
  EXPECT_EQ(feedback, 33.0);
  BundleRig other;
  ASSERT_TRUE(other.Valid());
  ASSERT_EQ(other.Plugin().LoadState(state), kResultOk);
  EXPECT_EQ(other.Plugin().SaveState(), state);
}

TEST(Vst3State, RefusesEmptyShortLongAndForeignStreamsAndChangesNothing) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  const std::vector<uint8_t> before = rig.Plugin().SaveState();
  std::vector<uint8_t> longer = before;
  longer.push_back(0);
  std::vector<uint8_t> foreign = before;
  foreign[0] ^= 0x5A;
  std::vector<uint8_t> notANumber = before;
  const double nan = std::nan("");
  std::memcpy(notANumber.data() + 4 + 8 * kWetMix, &nan, 8);
  const std::vector<uint8_t> cases[] = {
      {},     {1, 2, 3}, std::vector<uint8_t>(before.begin(), before.begin() + 100),
      longer, foreign,   notANumber};
  for (const std::vector<uint8_t>& bytes : cases) {
    EXPECT_NE(rig.Plugin().LoadState(bytes), kResultOk) << bytes.size();
    EXPECT_EQ(rig.Plugin().SaveState(), before) << bytes.size();
  }
  EXPECT_NE(rig.Component().setState(nullptr), kResultOk);
  EXPECT_NE(rig.Component().getState(nullptr), kResultOk);
  // Random bytes of every length around the real one, many times over.
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> bytes(random() % 200);
    for (uint8_t& byte : bytes) {
      byte = static_cast<uint8_t>(random());
    }
    if (bytes.size() >= 4) {
      std::memcpy(bytes.data(), before.data(), 4);
    }
    rig.Plugin().LoadState(bytes);
    for (int index = 0; index < 22; ++index) {
      const double value = rig.Controller().getParamNormalized(index);
      ASSERT_TRUE(value >= 0.0 && value <= 1.0) << round;
    }
  }
}

}  // namespace
}  // namespace velmora::vst3host::testing
