// The engine inside the plug-in, driven through the exported entry point as a host does:
// open, set the rate and block size, switch on, then render an impulse with the default
// program and find the ping-pong echoes on the right sides at the right times.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "frame/vst2.h"
#include "plugin/velmora_plugin.h"

extern "C" velmora::vst::AEffect* VSTPluginMain(velmora::vst::HostCallback host);

namespace velmora {
namespace {

vst::VstTimeInfo timeInfo{};

intptr_t HostCallback(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  if (opcode == vst::audioMasterGetTime) {
    return reinterpret_cast<intptr_t>(&timeInfo);
  }
  return 0;
}

class PluginEchoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    timeInfo = vst::VstTimeInfo{};
    timeInfo.tempo = 120.0;
    timeInfo.flags = vst::kVstTempoValid;
    effect_ = VSTPluginMain(&HostCallback);
    ASSERT_NE(effect_, nullptr);
    Dispatch(vst::effOpen);
    Dispatch(vst::effSetSampleRate, 0, nullptr, 44100.0f);
    Dispatch(vst::effSetBlockSize, 512);
    Dispatch(vst::effMainsChanged, 1);
  }
  void TearDown() override {
    if (effect_ != nullptr) {
      Dispatch(vst::effClose);
    }
  }

  intptr_t Dispatch(int32_t opcode, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f) {
    return effect_->dispatcher(effect_, opcode, 0, value, ptr, opt);
  }

  VSTCLASS& Plugin() { return *static_cast<VSTCLASS*>(IEffectVST::FromEffect(effect_)); }

  vst::AEffect* effect_ = nullptr;
};

// Index of the first sample whose magnitude exceeds level, or -1.
int FirstAbove(const std::vector<float>& samples, float level) {
  for (size_t i = 0; i < samples.size(); ++i) {
    if (std::fabs(samples[i]) > level) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

TEST_F(PluginEchoTest, ImpulseComesBackRightThenLeft) {
  const int frames = 23 * 1024;
  std::vector<float> inLeft(frames), inRight(frames), outLeft(frames), outRight(frames);
  inLeft[0] = 1.0f;
  for (int first = 0; first < frames; first += 512) {
    float* inputs[2] = {inLeft.data() + first, inRight.data() + first};
    float* outputs[2] = {outLeft.data() + first, outRight.data() + first};
    effect_->processReplacing(effect_, inputs, outputs, 512);
  }
  EXPECT_EQ(outLeft[0], 1.0f);  // the dry impulse
  // Right: nothing before the "1/8" tap (11025 samples at 120 BPM), then the low-passed
  // first echo. Left: nothing before twice that, then the second echo.
  EXPECT_EQ(FirstAbove(outRight, 0.0f), 11025);
  EXPECT_EQ(FirstAbove({outLeft.begin() + 1, outLeft.end()}, 0.0f) + 1, 22050);
  float peakRight = 0.0f;
  for (int i = 11025; i < 11025 + 400; ++i) {
    peakRight = std::max(peakRight, std::fabs(outRight[i]));
  }
  EXPECT_GT(peakRight, 0.05f);
  EXPECT_TRUE(Plugin().Engine().Lamp().state.load());
}

// Bad rates from the host change nothing; a good one reaches the engine.
TEST_F(PluginEchoTest, UnusableSampleRatesAreIgnored) {
  for (float rate : {0.0f, -48000.0f, std::numeric_limits<float>::quiet_NaN(),
                     std::numeric_limits<float>::infinity()}) {
    Dispatch(vst::effSetSampleRate, 0, nullptr, rate);
    EXPECT_EQ(Plugin().CurrentSampleRate(), 44100.0);
    EXPECT_EQ(Plugin().Engine().EngineSampleRate(), 44100.0);
  }
  Dispatch(vst::effSetSampleRate, 0, nullptr, 48000.0f);
  EXPECT_EQ(Plugin().Engine().EngineSampleRate(), 48000.0);
}

// Host automation reaches the engine through the parameter store.
TEST_F(PluginEchoTest, SetParameterReachesTheEngine) {
  effect_->setParameter(effect_, kFeedback, 1.0f);
  EXPECT_FLOAT_EQ(Plugin().Engine().Gains().Feedback(), 100.0f / 101.0f);
  EXPECT_TRUE(Plugin().Engine().ProcessingEnabled());
}

}  // namespace
}  // namespace velmora
