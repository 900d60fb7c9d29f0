// process() allocates nothing after activate(): not in the first block, not for value events
// on every parameter at every frame offset, transports with a rising tempo inside blocks,
// blocks of every length up to the announced one, float or double, nor flush or reset while
// active.
// The executable counts its allocations (tests/support/counting_allocator.h); the module's
// allocations reach the executable's replaced functions, which the first test makes sure of.
#include <vector>

#include "engine/parameter_index.h"
#include "tests/clap/clap_rig.h"
#include "tests/support/counting_allocator.h"

namespace velmora::claphost::testing {
namespace {

using velmora::testing::AllocationCount;

TEST(ClapAllocation, TheModulesAllocationsAreCounted) {
  auto module = LoadVelmora();
  ASSERT_TRUE(module);
  ClapHost host;
  const long before = AllocationCount();
  auto plugin = MakeInstance(*module, host);
  ASSERT_TRUE(plugin);
  EXPECT_GT(AllocationCount() - before, 10);
}

TEST(ClapAllocation, ProcessAllocatesNothingAfterActivate) {
  auto module = LoadVelmora();
  ClapHost host;
  auto plugin = MakeInstance(*module, host);
  ASSERT_TRUE(plugin);
  constexpr uint32_t kMax = 2048;
  ASSERT_TRUE(plugin->Activate(48000, kMax));
  ASSERT_TRUE(plugin->StartProcessing());
  StereoBuffers<float> f(kMax);
  StereoBuffers<double> d(kMax);
  for (uint32_t i = 0; i < kMax; ++i) {
    f.in[0][i] = f.in[1][i] = 0.3f * static_cast<float>((i * 37) % 101) / 101.0f;
    d.in[0][i] = d.in[1][i] = f.in[0][i];
  }
  // Every list is built before counting starts: the host's side allocates, not the plug-in.
  constexpr int kBlocks = 300;
  std::vector<InputEventList> events(kBlocks);
  std::vector<clap::EventTransport> transports(kBlocks);
  std::vector<uint32_t> lengths(kBlocks);
  double position = 0.0;
  for (int b = 0; b < kBlocks; ++b) {
    lengths[b] = b % 50 == 0 ? kMax : 1 + static_cast<uint32_t>(b * 37) % 1024;
    TransportState state;
    state.sampleRate = 48000;
    state.tempo = 120.0 + b * 0.25;
    state.positionSamples = position;
    transports[b] = MakeTransport(state);
    for (int i = 0; i < kVelmoraParamCount; ++i) {
      const ParamRange& range = kParamRanges[i];
      events[b].AddValue(static_cast<uint32_t>(i * 13) % lengths[b], static_cast<clap::Id>(i),
                         range.minimum + (b * 7 + i) % (range.maximum - range.minimum + 1));
    }
    state.positionSamples += lengths[b] / 2;
    events[b].AddTransport(lengths[b] / 2, state);
    position += lengths[b];
  }
  InputEventList flushValues;
  flushValues.AddValue(0, kFeedback, 50);
  OutputEventList out;
  out.Events().reserve(4096);
  AudioIo fio = f.Io();
  AudioIo dio = d.Io();
  plugin->Process(fio, 512, nullptr, &out, &transports[0]);

  const long before = AllocationCount();
  for (int b = 0; b < kBlocks; ++b) {
    plugin->Process(b % 2 == 0 ? fio : dio, lengths[b], &events[b], &out, &transports[b]);
    if (b % 25 == 0) {
      plugin->Flush(&flushValues, &out);
    }
    if (b % 60 == 59) {
      ClapHost::AudioScope audio;
      plugin->Plugin()->reset(plugin->Plugin());
    }
  }
  EXPECT_EQ(AllocationCount() - before, 0);
}

}  // namespace
}  // namespace velmora::claphost::testing

namespace velmora::claphost::testing {
namespace {

// The one allocation the engine allows itself: a tempo below what the line was sized for
// (two thirds of the last tempo seen at activation, 120 BPM before any) grows the line once,
// in the first block at that tempo; the blocks after it allocate nothing.
TEST(ClapAllocation, AFallingTempoGrowsTheLineOnceAndOnlyOnce) {
  auto module = LoadVelmora();
  ClapHost host;
  auto plugin = MakeInstance(*module, host);
  ASSERT_TRUE(plugin);
  ASSERT_TRUE(plugin->Activate(48000, 512));
  ASSERT_TRUE(plugin->StartProcessing());
  StereoBuffers<float> f(512);
  AudioIo io = f.Io();
  std::vector<clap::EventTransport> transports;
  for (int b = 0; b < 40; ++b) {
    TransportState state;
    state.sampleRate = 48000;
    state.tempo = b < 10 ? 120.0 : 60.0;
    state.positionSamples = b * 512.0;
    transports.push_back(MakeTransport(state));
  }
  plugin->Process(io, 512, nullptr, nullptr, &transports[0]);
  long counts[40] = {};
  for (int b = 1; b < 40; ++b) {
    const long before = AllocationCount();
    plugin->Process(io, 512, nullptr, nullptr, &transports[b]);
    counts[b] = AllocationCount() - before;
  }
  for (int b = 1; b < 40; ++b) {
    EXPECT_EQ(counts[b] > 0, b == 10) << "block " << b << ": " << counts[b];
  }
}

}  // namespace
}  // namespace velmora::claphost::testing
