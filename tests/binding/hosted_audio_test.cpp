// The hosted plug-in against the same plug-in under a plain VST 2 host: the same input,
// settings, tempo and blocks must give the same samples, bit for bit, and an event inside a
// block must sound as the VST 2 host's block split at that frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "binding/hosted_effect.h"
#include "engine/parameter_index.h"
#include "tests/frame/fake_host.h"

namespace velmora::binding {
namespace {

using testing::PluginInstance;

constexpr double kRate = 44100.0;
constexpr uint32_t kBlock = 512;
constexpr int kBlocks = 60;

struct Setting {
  int index;
  double plain;
};
const Setting kSettings[] = {{kFeedback, 70},
                             {kFreqLeft, 1200},
                             {kLeftSweepLink, 1},
                             {kFilterRightType, 2},
                             {kRightSweepRate, 9}};

// A decaying chirp burst every 0.3 s on the left, a quieter one on the right.
std::vector<float> Signal(size_t frames, int channel) {
  std::vector<float> samples(frames);
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i % 13230) / kRate;
    const double amplitude = (channel == 0 ? 0.8 : 0.4) * std::exp(-t * 30.0);
    samples[i] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * (300.0 + 900.0 * t) * t));
  }
  return samples;
}

// The VST 2 side: an instance through the exported entry point, set up as a host does.
class Vst2Side {
 public:
  explicit Vst2Side(bool tempoValid, double tempo = 120.0) {
    instance_.host().timeInfo.tempo = tempo;
    instance_.host().timeInfo.sampleRate = kRate;
    instance_.host().timeInfo.flags = tempoValid ? vst::kVstTempoValid : 0;
    instance_.Dispatch(vst::effOpen);
    instance_.Dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
    instance_.Dispatch(vst::effSetBlockSize, 0, kBlock);
    instance_.Dispatch(vst::effMainsChanged, 0, 1);
  }
  void Set(int index, double plain) {
    const double n = instance_.plugin().Param(index)->ToNormalised(plain);
    instance_.effect()->setParameter(instance_.effect(), index, static_cast<float>(n));
  }
  void Process(float** in, float** out, uint32_t frames) {
    instance_.effect()->processReplacing(instance_.effect(), in, out, static_cast<int>(frames));
    instance_.host().timeInfo.samplePos += frames;
  }
  void ProcessDouble(double** in, double** out, uint32_t frames) {
    instance_.effect()->processDoubleReplacing(instance_.effect(), in, out,
                                               static_cast<int>(frames));
    instance_.host().timeInfo.samplePos += frames;
  }
  PluginInstance& Instance() { return instance_; }

 private:
  PluginInstance instance_;
};

std::unique_ptr<HostedEffect> MakeHosted() {
  auto hosted = HostedEffect::Create(HostIdentity{}, nullptr);
  EXPECT_TRUE(hosted && hosted->Activate(kRate, kBlock));
  return hosted;
}

Transport Playing(double position, double tempo = 120.0) {
  Transport transport;
  transport.tempoValid = tempo > 0.0;
  transport.tempo = tempo;
  transport.samplePosition = position;
  transport.playing = true;
  return transport;
}

struct Buffers {
  Buffers() : inL(Signal(kBlock * kBlocks, 0)), inR(Signal(kBlock * kBlocks, 1)) {
    for (auto* out : {&outA, &outB}) {
      out->assign(2, std::vector<float>(kBlock * kBlocks, 0.0f));
    }
  }
  std::vector<float> inL, inR;
  std::vector<std::vector<float>> outA, outB;
};

bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// Renders kBlocks blocks through the hosted effect; eventsAt(block) lists each block's events.
template <typename Events>
void RenderHosted(HostedEffect& hosted, Buffers& b, double tempo, Events eventsAt) {
  for (int k = 0; k < kBlocks; ++k) {
    const size_t at = static_cast<size_t>(k) * kBlock;
    const float* in[2] = {b.inL.data() + at, b.inR.data() + at};
    float* out[2] = {b.outA[0].data() + at, b.outA[1].data() + at};
    AudioBlock block;
    block.frames = kBlock;
    block.inputChannels = block.outputChannels = 2;
    block.in32 = in;
    block.out32 = out;
    const std::vector<BlockEvent> events = eventsAt(k);
    ASSERT_TRUE(hosted.Process(block, Playing(static_cast<double>(at), tempo), events.data(),
                               static_cast<uint32_t>(events.size())));
  }
}

std::vector<BlockEvent> NoEvents(int) {
  return {};
}

TEST(HostedAudio, FloatBlocksMatchTheVst2HostBitForBit) {
  for (double tempo : {120.0, 93.0}) {
    Buffers b;
    Vst2Side vst2(true, tempo);
    auto hosted = MakeHosted();
    for (const Setting& s : kSettings) {
      vst2.Set(s.index, s.plain);
      ASSERT_TRUE(hosted->SetPlain(s.index, s.plain));
    }
    RenderHosted(*hosted, b, tempo, NoEvents);
    for (int k = 0; k < kBlocks; ++k) {
      const size_t at = static_cast<size_t>(k) * kBlock;
      float* in[2] = {b.inL.data() + at, b.inR.data() + at};
      float* out[2] = {b.outB[0].data() + at, b.outB[1].data() + at};
      vst2.Process(in, out, kBlock);
    }
    EXPECT_TRUE(SameBits(b.outA[0], b.outB[0]) && SameBits(b.outA[1], b.outB[1])) << tempo;
    EXPECT_FALSE(SameBits(b.outA[0], b.inL));  // the echoes are there
  }
}

TEST(HostedAudio, DoubleBlocksMatchTheVst2HostBitForBit) {
  Vst2Side vst2(true);
  auto hosted = MakeHosted();
  const std::vector<float> source = Signal(kBlock * kBlocks, 0);
  std::vector<double> in(source.begin(), source.end());
  std::vector<double> outA(in.size()), outB(in.size()), outA2(in.size()), outB2(in.size());
  for (int k = 0; k < kBlocks; ++k) {
    const size_t at = static_cast<size_t>(k) * kBlock;
    const double* hin[2] = {in.data() + at, in.data() + at};
    double* hout[2] = {outA.data() + at, outA2.data() + at};
    AudioBlock block;
    block.frames = kBlock;
    block.inputChannels = block.outputChannels = 2;
    block.in64 = hin;
    block.out64 = hout;
    ASSERT_TRUE(hosted->Process(block, Playing(static_cast<double>(at)), nullptr, 0));
    double* vin[2] = {in.data() + at, in.data() + at};
    double* vout[2] = {outB.data() + at, outB2.data() + at};
    vst2.ProcessDouble(vin, vout, kBlock);
  }
  EXPECT_EQ(std::memcmp(outA.data(), outB.data(), outA.size() * sizeof(double)), 0);
  EXPECT_EQ(std::memcmp(outA2.data(), outB2.data(), outA2.size() * sizeof(double)), 0);
}

// Feedback drops to 20 at frame 200 of block 7 and the filter type changes at frame 0 of
// block 9; the VST 2 host splits block 7 there and sets the values between the parts.
TEST(HostedAudio, AValueEventTakesEffectAtItsFrame) {
  Buffers b;
  Vst2Side vst2(true);
  auto hosted = MakeHosted();
  auto events = [](int k) {
    std::vector<BlockEvent> list;
    BlockEvent e;
    if (k == 7) {
      e.offset = 200;
      e.index = kFeedback;
      e.value = 20;
      list.push_back(e);
    } else if (k == 9) {
      e.offset = 0;
      e.index = kFilterLeftType;
      e.kind = BlockEvent::kParamNormalised;
      e.value = 1.0;
      list.push_back(e);
    }
    return list;
  };
  vst2.Set(kFeedback, 80);
  hosted->SetPlain(kFeedback, 80);
  RenderHosted(*hosted, b, 120.0, events);
  for (int k = 0; k < kBlocks; ++k) {
    const size_t at = static_cast<size_t>(k) * kBlock;
    float* in[2] = {b.inL.data() + at, b.inR.data() + at};
    float* out[2] = {b.outB[0].data() + at, b.outB[1].data() + at};
    if (k == 9) {
      vst2.Instance().effect()->setParameter(vst2.Instance().effect(), kFilterLeftType, 1.0f);
    }
    if (k == 7) {
      vst2.Process(in, out, 200);
      vst2.Set(kFeedback, 20);
      float* in2[2] = {in[0] + 200, in[1] + 200};
      float* out2[2] = {out[0] + 200, out[1] + 200};
      vst2.Process(in2, out2, kBlock - 200);
    } else {
      vst2.Process(in, out, kBlock);
    }
  }
  EXPECT_TRUE(SameBits(b.outA[0], b.outB[0]) && SameBits(b.outA[1], b.outB[1]));
}

// Events out of order wait for nothing, events beyond the block take effect at its end, and
// events for undeclared parameters or with values that are not numbers change nothing.
TEST(HostedAudio, StrayEventsAreHandledWithoutHarm) {
  Buffers b;
  Vst2Side vst2(true);
  auto hosted = MakeHosted();
  auto events = [](int k) {
    std::vector<BlockEvent> list;
    if (k != 4) {
      return list;
    }
    BlockEvent e;
    e.index = kFeedback;
    e.offset = 300;
    e.value = 60;
    list.push_back(e);
    e.offset = 100;  // earlier than the one before: takes effect at 300 too
    e.value = 90;
    list.push_back(e);
    e.offset = 100000;
    e.index = kWetMix;
    e.value = 30;
    list.push_back(e);
    e.index = 99;
    e.offset = 10;
    list.push_back(e);
    e.index = -1;
    list.push_back(e);
    e.index = kDryMix;
    e.value = std::numeric_limits<double>::quiet_NaN();
    list.push_back(e);
    e.value = std::numeric_limits<double>::infinity();
    list.push_back(e);
    return list;
  };
  RenderHosted(*hosted, b, 120.0, events);
  for (int k = 0; k < kBlocks; ++k) {
    const size_t at = static_cast<size_t>(k) * kBlock;
    float* in[2] = {b.inL.data() + at, b.inR.data() + at};
    float* out[2] = {b.outB[0].data() + at, b.outB[1].data() + at};
    if (k == 4) {
      vst2.Process(in, out, 300);
      vst2.Set(kFeedback, 60);
      vst2.Set(kFeedback, 90);
      float* in2[2] = {in[0] + 300, in[1] + 300};
      float* out2[2] = {out[0] + 300, out[1] + 300};
      vst2.Process(in2, out2, kBlock - 300);
      vst2.Set(kWetMix, 30);
    } else {
      vst2.Process(in, out, kBlock);
    }
  }
  EXPECT_TRUE(SameBits(b.outA[0], b.outB[0]) && SameBits(b.outA[1], b.outB[1]));
  EXPECT_EQ(hosted->PlainValue(kWetMix), 30.0);
  EXPECT_EQ(hosted->PlainValue(kDryMix), vst2.Instance().plugin().Param(kDryMix)->Value());
}

TEST(HostedAudio, WithoutATempoItPlaysAsAVst2HostWithoutOne) {
  Buffers b;
  Vst2Side vst2(false);
  auto hosted = MakeHosted();
  RenderHosted(*hosted, b, 0.0, NoEvents);
  for (int k = 0; k < kBlocks; ++k) {
    const size_t at = static_cast<size_t>(k) * kBlock;
    float* in[2] = {b.inL.data() + at, b.inR.data() + at};
    float* out[2] = {b.outB[0].data() + at, b.outB[1].data() + at};
    vst2.Process(in, out, kBlock);
  }
  EXPECT_TRUE(SameBits(b.outA[0], b.outB[0]) && SameBits(b.outA[1], b.outB[1]));
}

TEST(HostedAudio, MonoLayoutOnlyWhileInactiveAndOnlyAsTheLegalPairs) {
  auto hosted = HostedEffect::Create(HostIdentity{}, nullptr);
  ASSERT_TRUE(hosted);
  EXPECT_FALSE(hosted->SetChannelLayout(2, 1));
  EXPECT_FALSE(hosted->SetChannelLayout(3, 3));
  EXPECT_FALSE(hosted->SetChannelLayout(0, 0));
  ASSERT_TRUE(hosted->SetChannelLayout(1, 1));
  ASSERT_TRUE(hosted->Activate(kRate, kBlock));
  EXPECT_FALSE(hosted->SetChannelLayout(2, 2));
  EXPECT_EQ(hosted->InputChannels(), 1);
  // One channel in, one out, as a VST 2 host that announced mono arrangements gets it.
  Vst2Side vst2(true);
  vst::VstSpeakerArrangement mono{};
  mono.numChannels = 1;
  vst2.Instance().Dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono),
                           &mono);
  std::vector<float> in = Signal(kBlock, 0);
  std::vector<float> out(kBlock, 7.0f), expected(kBlock, 7.0f);
  const float* ins[1] = {in.data()};
  float* outs[1] = {out.data()};
  AudioBlock block;
  block.frames = kBlock;
  block.inputChannels = block.outputChannels = 1;
  block.in32 = ins;
  block.out32 = outs;
  for (int k = 0; k < 8; ++k) {
    ASSERT_TRUE(hosted->Process(block, Playing(k * kBlock), nullptr, 0));
    float* vin[1] = {in.data()};
    float* vout[1] = {expected.data()};
    vst2.Process(vin, vout, kBlock);
    ASSERT_TRUE(SameBits(out, expected)) << k;
  }
  EXPECT_NE(out[0], 7.0f);
}

TEST(HostedAudio, BlocksItCannotTakeComeBackSilent) {
  auto hosted = HostedEffect::Create(HostIdentity{}, nullptr);
  ASSERT_TRUE(hosted);
  std::vector<float> in(2 * kBlock, 0.5f), out(2 * kBlock, 7.0f);
  const float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {out.data(), out.data()};
  AudioBlock block;
  block.frames = kBlock;
  block.inputChannels = block.outputChannels = 2;
  block.in32 = ins;
  block.out32 = outs;
  EXPECT_FALSE(hosted->Process(block, Playing(0), nullptr, 0));  // not active
  EXPECT_EQ(out[0], 0.0f);
  EXPECT_FALSE(hosted->Activate(0.0, kBlock));
  EXPECT_FALSE(hosted->Activate(std::nan(""), kBlock));
  EXPECT_FALSE(hosted->Activate(kRate, 0));
  ASSERT_TRUE(hosted->Activate(kRate, kBlock));
  block.frames = kBlock + 1;
  std::fill(out.begin(), out.end(), 7.0f);
  EXPECT_FALSE(hosted->Process(block, Playing(0), nullptr, 0));
  EXPECT_EQ(out[kBlock], 0.0f);
  // Null buffers and a block of no frames do no harm.
  block.frames = 0;
  EXPECT_TRUE(hosted->Process(block, Playing(0), nullptr, 0));
  AudioBlock empty;
  empty.frames = 64;
  empty.inputChannels = empty.outputChannels = 2;
  EXPECT_TRUE(hosted->Process(empty, Playing(0), nullptr, 0));
}

TEST(HostedAudio, TailFollowsFeedbackAndIsEndlessAtFull) {
  auto hosted = MakeHosted();
  hosted->SetPlain(kFeedback, 100);
  EXPECT_EQ(hosted->TailSamples(), UINT32_MAX);
  hosted->SetPlain(kFeedback, 0);
  AudioBlock block;
  block.frames = 16;
  ASSERT_TRUE(hosted->Process(block, Playing(0, 120.0), nullptr, 0));
  const uint32_t none = hosted->TailSamples();
  hosted->SetPlain(kFeedback, 50);
  const uint32_t some = hosted->TailSamples();
  EXPECT_GT(some, none);
  EXPECT_LT(some, 60u * 44100u);
  hosted->SetPlain(kLeftSweepLink, 2);  // the sweep moves the feedback
  EXPECT_EQ(hosted->TailSamples(), UINT32_MAX);
  EXPECT_EQ(hosted->Latency(), 0);
}

TEST(HostedAudio, WithoutATempoTheTailIsThatOf120Bpm) {
  auto withTempo = MakeHosted();
  auto withoutTempo = MakeHosted();
  AudioBlock block;
  block.frames = 16;
  for (auto* hosted : {withTempo.get(), withoutTempo.get()}) {
    hosted->SetPlain(kFeedback, 50);
  }
  ASSERT_TRUE(withTempo->Process(block, Playing(0, 120.0), nullptr, 0));
  Transport none;
  none.tempoValid = false;
  ASSERT_TRUE(withoutTempo->Process(block, none, nullptr, 0));
  EXPECT_GT(withoutTempo->TailSamples(), 0u);
  EXPECT_EQ(withoutTempo->TailSamples(), withTempo->TailSamples());
}

}  // namespace
}  // namespace velmora::binding
