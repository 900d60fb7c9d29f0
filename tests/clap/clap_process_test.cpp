// Velmora.clap's audio against the same plug-in under a plain VST 2 host, in-process: the
// same input, settings, transport and blocks give the same samples bit for bit; a value or
// transport event inside a block sounds as the VST 2 block split at its frame; stray events
// do no harm; the process status follows the automatic bypass.
#include <cmath>
#include <cstring>
#include <limits>

#include "engine/parameter_index.h"
#include "tests/clap/clap_rig.h"
#include "tests/frame/fake_host.h"

namespace velmora::claphost::testing {
namespace {

constexpr double kRate = 44100.0;

std::vector<float> Signal(size_t frames, int channel) {
  std::vector<float> samples(frames);
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i % 17640) / kRate;
    const double amplitude = (channel == 0 ? 0.7 : 0.35) * std::exp(-t * 25.0);
    samples[i] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * (220.0 + 700.0 * t) * t));
  }
  return samples;
}

struct Setting {
  int index;
  double plain;
};
const Setting kSettings[] = {{kFeedback, 65},      {kFreqLeft, 900},      {kLeftSweepLink, 1},
                             {kFilterLeftType, 1}, {kFilterRightType, 2}, {kRightSweepRate, 9},
                             {kPingPong, 1}};

// The plug-in under a plain VST 2 host, set up as velmora-render sets it up.
class Vst2Reference {
 public:
  Vst2Reference(double tempo, uint32_t block) {
    auto& time = instance_.host().timeInfo;
    time.sampleRate = kRate;
    SetTempo(tempo);
    instance_.Dispatch(vst::effOpen);
    instance_.Dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
    instance_.Dispatch(vst::effSetBlockSize, 0, block);
    instance_.Dispatch(vst::effMainsChanged, 0, 1);
  }
  void SetTempo(double tempo) {
    instance_.host().timeInfo.tempo = tempo;
    instance_.host().timeInfo.flags = tempo > 0.0 ? vst::kVstTempoValid : 0;
  }
  void Set(int index, double plain) {
    const double n = instance_.plugin().Param(index)->ToNormalised(plain);
    instance_.effect()->setParameter(instance_.effect(), index, static_cast<float>(n));
  }
  template <typename Sample>
  void Process(StereoBuffers<Sample>& b, size_t offset, uint32_t frames) {
    Sample* in[2] = {b.in[0].data() + offset, b.in[1].data() + offset};
    Sample* out[2] = {b.out[0].data() + offset, b.out[1].data() + offset};
    instance_.host().timeInfo.samplePos = static_cast<double>(offset);
    if constexpr (sizeof(Sample) == 4) {
      instance_.effect()->processReplacing(instance_.effect(), in, out, static_cast<int>(frames));
    } else {
      instance_.effect()->processDoubleReplacing(instance_.effect(), in, out,
                                                 static_cast<int>(frames));
    }
  }

 private:
  velmora::testing::PluginInstance instance_;
};

template <typename Sample>
bool SameBits(const StereoBuffers<Sample>& a, const StereoBuffers<Sample>& b) {
  for (size_t c = 0; c < 2; ++c) {
    if (std::memcmp(a.out[c].data(), b.out[c].data(), a.out[c].size() * sizeof(Sample)) != 0) {
      return false;
    }
  }
  return true;
}

template <typename Sample>
StereoBuffers<Sample> Input(size_t frames) {
  StereoBuffers<Sample> b(frames);
  for (int c = 0; c < 2; ++c) {
    const std::vector<float> s = Signal(frames, c);
    std::copy(s.begin(), s.end(), b.in[c].begin());
  }
  return b;
}

class ClapProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadVelmora();
    ASSERT_TRUE(module_);
    plugin_ = MakeInstance(*module_, host_);
    ASSERT_TRUE(plugin_);
  }
  void Start(uint32_t block) {
    ASSERT_TRUE(plugin_->Activate(kRate, block));
    ASSERT_TRUE(plugin_->StartProcessing());
  }
  void ApplySettings(Vst2Reference& vst2) {
    InputEventList settings;
    for (const Setting& s : kSettings) {
      settings.AddValue(0, static_cast<clap::Id>(s.index), s.plain);
      vst2.Set(s.index, s.plain);
    }
    plugin_->Flush(&settings, nullptr);
  }
  template <typename Sample>
  int32_t Block(StereoBuffers<Sample>& b, size_t offset, uint32_t frames, double tempo,
                const InputEventList* events = nullptr, OutputEventList* out = nullptr) {
    AudioIo io = b.Io(offset);
    TransportState state;
    state.hasTempo = tempo > 0.0;
    state.tempo = tempo;
    state.positionSamples = static_cast<double>(offset);
    const clap::EventTransport transport = MakeTransport(state);
    return plugin_->Process(io, frames, events, out, tempo >= 0.0 ? &transport : nullptr);
  }

  std::unique_ptr<ClapModule> module_;
  ClapHost host_;
  std::unique_ptr<ClapInstance> plugin_;
};

TEST_F(ClapProcess, FloatBlocksMatchTheVst2HostBitForBit) {
  const uint32_t block = 100;
  const size_t frames = 200 * block;
  Vst2Reference vst2(93.0, block);
  ApplySettings(vst2);
  Start(block);
  auto clap = Input<float>(frames);
  auto reference = Input<float>(frames);
  for (size_t at = 0; at < frames; at += block) {
    EXPECT_NE(Block(clap, at, block, 93.0), clap::kProcessError);
    vst2.Process(reference, at, block);
  }
  EXPECT_TRUE(SameBits(clap, reference));
  EXPECT_NE(std::memcmp(clap.out[0].data(), clap.in[0].data(), frames * sizeof(float)), 0);
}

TEST_F(ClapProcess, DoubleBlocksMatchTheVst2HostBitForBit) {
  const uint32_t block = 512;
  const size_t frames = 40 * block;
  Vst2Reference vst2(120.0, block);
  ApplySettings(vst2);
  Start(block);
  auto clap = Input<double>(frames);
  auto reference = Input<double>(frames);
  for (size_t at = 0; at < frames; at += block) {
    Block(clap, at, block, 120.0);
    vst2.Process(reference, at, block);
  }
  EXPECT_TRUE(SameBits(clap, reference));
}

// Feedback changes at frame 300 of block 6 and the tempo from 120 to 90 BPM at frame 128 of
// block 11: the VST 2 host splits those blocks at those frames.
TEST_F(ClapProcess, ValueAndTransportEventsTakeEffectAtTheirFrames) {
  const uint32_t block = 512;
  const size_t frames = 30 * block;
  Vst2Reference vst2(120.0, block);
  ApplySettings(vst2);
  Start(block);
  auto clap = Input<float>(frames);
  auto reference = Input<float>(frames);
  double tempo = 120.0;
  for (size_t k = 0; k < frames / block; ++k) {
    const size_t at = k * block;
    InputEventList events;
    if (k == 6) {
      events.AddValue(300, kFeedback, 25);
      vst2.Process(reference, at, 300);
      vst2.Set(kFeedback, 25);
      vst2.Process(reference, at + 300, block - 300);
    } else if (k == 11) {
      TransportState change;
      change.tempo = 90.0;
      change.positionSamples = static_cast<double>(at + 128);
      events.AddTransport(128, change);
      vst2.Process(reference, at, 128);
      vst2.SetTempo(90.0);
      vst2.Process(reference, at + 128, block - 128);
    } else {
      vst2.Process(reference, at, block);
    }
    Block(clap, at, block, tempo, &events);
    tempo = k >= 11 ? 90.0 : 120.0;
  }
  EXPECT_TRUE(SameBits(clap, reference));
}

TEST_F(ClapProcess, WithoutATransportItPlaysAsAVst2HostWithoutTempo) {
  const uint32_t block = 256;
  const size_t frames = 60 * block;
  Vst2Reference vst2(0.0, block);
  ApplySettings(vst2);
  Start(block);
  auto clap = Input<float>(frames);
  auto reference = Input<float>(frames);
  for (size_t at = 0; at < frames; at += block) {
    Block(clap, at, block, -1.0);  // no transport at all
    vst2.Process(reference, at, block);
  }
  EXPECT_TRUE(SameBits(clap, reference));
}

// Unsorted events, events beyond the block, unknown types and spaces, short sizes, undeclared
// ids and values that are not numbers: the output is that of the valid events alone, in time
// order.
TEST_F(ClapProcess, StrayEventsSoundAsTheValidOnesAlone) {
  const uint32_t block = 512;
  const size_t frames = 8 * block;
  ClapHost otherHost;
  auto clean = MakeInstance(*module_, otherHost);
  ASSERT_TRUE(clean);
  Start(block);
  ASSERT_TRUE(clean->Activate(kRate, block) && clean->StartProcessing());
  auto messy = Input<float>(frames);
  auto tidy = Input<float>(frames);
  for (size_t k = 0; k < frames / block; ++k) {
    InputEventList bad, good;
    bad.AddValue(400, kFeedback, 80);
    bad.AddValue(100, kWetMix, 40);  // earlier than the event before it
    bad.AddValue(100000, kDryMix, 70);
    bad.AddValue(10, 22, 1.0);
    bad.AddValue(10, clap::kInvalidId, 1.0);
    bad.AddValue(20, kFreqLeft, std::numeric_limits<double>::quiet_NaN());
    bad.AddValue(20, kFreqLeft, -std::numeric_limits<double>::infinity());
    clap::EventHeader odd = {sizeof(clap::EventHeader) + 8, 5, 0, 12345, 0};
    const uint64_t body = 0;
    bad.AddRaw(odd, &body, sizeof(body));
    clap::EventHeader foreignSpace = {sizeof(clap::EventParamValue), 5, 7, clap::kEventParamValue,
                                      0};
    clap::EventParamValue payload{};
    bad.AddRaw(foreignSpace, reinterpret_cast<uint8_t*>(&payload) + 16, sizeof(payload) - 16);
    clap::EventHeader tooShort = {sizeof(clap::EventHeader), 5, 0, clap::kEventParamValue, 0};
    bad.AddRaw(tooShort, nullptr, 0);
    good.AddValue(100, kWetMix, 40);
    good.AddValue(400, kFeedback, 80);
    good.AddValue(block, kDryMix, 70);
    const size_t at = k * block;
    AudioIo io = messy.Io(at);
    AudioIo io2 = tidy.Io(at);
    TransportState state;
    state.positionSamples = static_cast<double>(at);
    const clap::EventTransport t = MakeTransport(state);
    EXPECT_NE(plugin_->Process(io, block, &bad, nullptr, &t), clap::kProcessError);
    clean->Process(io2, block, &good, nullptr, &t);
  }
  EXPECT_TRUE(SameBits(messy, tidy));
}

TEST_F(ClapProcess, ProcessingOnlyBetweenStartAndStop) {
  auto b = Input<float>(512);
  EXPECT_EQ(Block(b, 0, 512, 120.0), clap::kProcessError);  // not active
  ASSERT_TRUE(plugin_->Activate(kRate, 512));
  EXPECT_EQ(Block(b, 0, 512, 120.0), clap::kProcessError);  // not started
  ASSERT_TRUE(plugin_->StartProcessing());
  EXPECT_NE(Block(b, 0, 512, 120.0), clap::kProcessError);
  EXPECT_NE(Block(b, 0, 0, 120.0), clap::kProcessError);  // no frames
  plugin_->StopProcessing();
  EXPECT_EQ(Block(b, 0, 512, 120.0), clap::kProcessError);
  plugin_->Deactivate();
  ASSERT_TRUE(plugin_->Activate(96000, 64));  // again, at another rate
}

// Signal keeps it processing; a long silence engages the automatic bypass, and then the
// silent output lets the host put it to sleep.
TEST_F(ClapProcess, StatusFollowsTheAutomaticBypass) {
  const uint32_t block = 512;
  Start(block);
  auto loud = Input<float>(block);
  EXPECT_EQ(Block(loud, 0, block, 120.0), clap::kProcessContinue);
  StereoBuffers<float> quiet(block);
  int32_t status = clap::kProcessContinue;
  int continued = 0;
  for (int k = 0; k < 2000 && status != clap::kProcessSleep; ++k) {
    status = Block(quiet, 0, block, 120.0);
    continued += status == clap::kProcessContinue ? 1 : 0;
    ASSERT_NE(status, clap::kProcessError);
  }
  EXPECT_EQ(status, clap::kProcessSleep);
  EXPECT_GT(continued, 0);  // the echoes die away first
  // Signal ends the bypass at once.
  EXPECT_EQ(Block(loud, 0, block, 120.0), clap::kProcessContinue);
}

TEST_F(ClapProcess, MonoConfigurationMatchesTheVst2MonoArrangement) {
  const auto* configs = plugin_->Get<clap::PluginAudioPortsConfig>(clap::kExtAudioPortsConfig);
  ASSERT_TRUE(configs->select(plugin_->Plugin(), 1));
  const uint32_t block = 256;
  Start(block);
  velmora::testing::PluginInstance vst2;
  vst2.host().timeInfo.tempo = 120.0;
  vst2.host().timeInfo.flags = vst::kVstTempoValid;
  vst2.Dispatch(vst::effOpen);
  vst2.Dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
  vst2.Dispatch(vst::effSetBlockSize, 0, block);
  vst2.Dispatch(vst::effMainsChanged, 0, 1);
  vst::VstSpeakerArrangement mono{};
  mono.numChannels = 1;
  vst2.Dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono), &mono);
  StereoBuffers<float> clap(block * 20, 1), reference(block * 20, 1);
  clap.in[0] = reference.in[0] = Signal(block * 20, 0);
  for (size_t at = 0; at < block * 20; at += block) {
    AudioIo io = clap.Io(at);
    TransportState state;
    state.positionSamples = static_cast<double>(at);
    const clap::EventTransport t = MakeTransport(state);
    plugin_->Process(io, block, nullptr, nullptr, &t);
    float* in[1] = {reference.in[0].data() + at};
    float* out[1] = {reference.out[0].data() + at};
    vst2.host().timeInfo.samplePos = static_cast<double>(at);
    vst2.effect()->processReplacing(vst2.effect(), in, out, static_cast<int>(block));
  }
  EXPECT_EQ(std::memcmp(clap.out[0].data(), reference.out[0].data(), block * 20 * sizeof(float)),
            0);
}

}  // namespace
}  // namespace velmora::claphost::testing
