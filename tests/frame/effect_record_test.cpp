// The effect record and the parameter set as a host sees them through the entry point.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/parameter_index.h"
#include "tests/frame/fake_host.h"

namespace velmora::testing {
namespace {

TEST(EffectRecord, IsFilledAsTheHostExpectsIt) {
  PluginInstance instance;
  const vst::AEffect* effect = instance.effect();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->magic, 0x56737450);
  EXPECT_EQ(effect->numParams, 22);
  EXPECT_EQ(effect->numPrograms, 60);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  // Replacing, double replacing and mono-capable (through the pair "1-1"); no editor yet.
  EXPECT_EQ(effect->flags, 0x1019);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_EQ(effect->version, 10000);
  EXPECT_EQ(effect->uniqueID, ('Q' << 24) | ('x' << 16) | ('v' << 8) | 'b');
  EXPECT_EQ(effect->ioRatio, 1.0f);
  EXPECT_EQ(effect->realQualities, 0);
  EXPECT_EQ(effect->offQualities, 0);
  EXPECT_EQ(effect->resvd1, 0);
  EXPECT_NE(effect->dispatcher, nullptr);
  EXPECT_NE(effect->process, nullptr);
  EXPECT_NE(effect->processReplacing, nullptr);
  EXPECT_NE(effect->processDoubleReplacing, nullptr);
  EXPECT_NE(effect->setParameter, nullptr);
  EXPECT_NE(effect->getParameter, nullptr);
  for (char c : effect->future) {
    EXPECT_EQ(c, 0);
  }
}

TEST(EffectRecord, IdentityVersionAndNames) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  EXPECT_STREQ(plugin.EffectName(), "Velmora");
  EXPECT_STREQ(plugin.ProductName(), "");
  EXPECT_STREQ(plugin.VendorName(), "Tolvane");
  EXPECT_EQ(plugin.ManufacturerCode(), vst::FourCC('T', 'v', 'N', 'N'));
  EXPECT_EQ(plugin.VersionNumber(false), 0x10000);
  EXPECT_EQ(plugin.VersionNumber(true), 10000);
  char text[16];
  plugin.VersionText(text, sizeof(text));
  EXPECT_STREQ(text, "v1.00");
  EXPECT_TRUE(instance.host().calls.empty());  // the entry point asks the host nothing
  EXPECT_EQ(plugin.BlockLength(), 1024);
  EXPECT_EQ(plugin.SampleRate(), 44100.0);
  EXPECT_EQ(plugin.CurrentProgram(), 0);
  EXPECT_EQ(plugin.PendingParamEdit(), -1);
  EXPECT_NE(plugin.Editor(), nullptr);  // the constructor builds and attaches the editor
}

TEST(EffectRecord, ProgramRecordsAreCreatedAndNumbered) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  ASSERT_EQ(plugin.NumPrograms(), 60);
  EXPECT_STREQ(plugin.Program(59)->name, "- 60 -");
  EXPECT_EQ(plugin.Program(60), nullptr);
}

struct ExpectedParam {
  const char* name;
  const char* label;
  const char* display;
  double normalised;
};

// Names, labels, default display texts and normalised defaults of all 22 parameters.
const ExpectedParam kExpected[22] = {
    {"Delay Rate", "", "1/8", 9.0 / 24.0},
    {"Ping Pong", "", "Normal", 0.5},
    {"Pan Width", "%", "100", 1.0},
    {"Feedback", "%", "60", 0.6},
    {"Freq Left", "Hz", "3000", 0.3861983},
    {"Reso Left", "%", "40", 0.4},
    {"Filter Left Type", "", "Lowpass", 0.5},
    {"Left Depth", "%", "50", 0.5},
    {"Left Sweep Rate", "", "1/2", 0.4},
    {"Left Sweep Link", "", "Off", 0.0},
    {"Left Depth Link", "%", "50", 0.75},
    {"Freq Right", "Hz", "3000", 0.3861983},
    {"Reso Right", "%", "40", 0.4},
    {"Filter Right Type", "", "Lowpass", 0.5},
    {"Right Depth", "%", "50", 0.5},
    {"Right Sweep Rate", "", "1/2", 0.4},
    {"Right Sweep Link", "", "Off", 0.0},
    {"Right Depth Link", "%", "50", 0.75},
    {"Filter Mirror", "", "Yes", 1.0},
    {"Dry Mix", "%", "100", 1.0},
    {"Wet Mix", "%", "60", 0.6},
    {"Bypass Ceil", "dB", "-60", 0.8},
};

TEST(ParameterSet, EveryParameterReadsAsDeclared) {
  PluginInstance instance;
  vst::AEffect* effect = instance.effect();
  for (int i = 0; i < 22; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(instance.ParamText(vst::effGetParamName, i), kExpected[i].name);
    EXPECT_EQ(instance.ParamText(vst::effGetParamLabel, i), kExpected[i].label);
    EXPECT_EQ(instance.ParamText(vst::effGetParamDisplay, i), kExpected[i].display);
    EXPECT_NEAR(effect->getParameter(effect, i), kExpected[i].normalised, 1e-6);
  }
  // The shaped frequency sits at the square root of its linear position, not at 0.149.
  EXPECT_NEAR(effect->getParameter(effect, 4), std::sqrt(2980.0 / 19980.0), 1e-7);
}

TEST(ParameterSet, RangesTextsAndShapes) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  const IEffectParam& delayRate = *plugin.Param(0);
  EXPECT_EQ(delayRate.ParamType(), IEffectParam::kTypeEnum);
  EXPECT_EQ(delayRate.Maximum(), 24.0);
  EXPECT_EQ(delayRate.DisplayTextCount(), 25);
  EXPECT_STREQ(delayRate.DisplayTextFor(0), "1/64");
  EXPECT_STREQ(delayRate.DisplayTextFor(24), "4/1");
  const IEffectParam& sweepRate = *plugin.Param(15);
  EXPECT_EQ(sweepRate.DisplayTextCount(), 31);
  EXPECT_STREQ(sweepRate.DisplayTextFor(12), "1/2");
  EXPECT_STREQ(sweepRate.DisplayTextFor(30), "32/1");
  EXPECT_STREQ(plugin.Param(1)->DisplayTextFor(3), "Triplet 2");
  EXPECT_STREQ(plugin.Param(16)->DisplayTextFor(4), "Wet Mix");
  EXPECT_EQ(plugin.Param(21)->Minimum(), -100.0);
  EXPECT_EQ(plugin.Param(21)->Maximum(), -50.0);
  for (int i = 0; i < 22; ++i) {
    const IEffectParam& param = *plugin.Param(i);
    EXPECT_EQ(param.Shape(), (i == 4 || i == 11) ? 2.0 : 1.0) << i;
    EXPECT_EQ(param.Step(), 1.0) << i;
    // The engine clamps applied values to the same ranges the host sees.
    EXPECT_EQ(param.Minimum(), kParamRanges[i].minimum) << i;
    EXPECT_EQ(param.Maximum(), kParamRanges[i].maximum) << i;
    EXPECT_EQ(param.DisplayPrecision(), 0) << i;
    EXPECT_EQ(param.Value(), std::floor(param.Value())) << i;
    const bool negativeMinimum = param.Minimum() < 0.0;
    EXPECT_EQ(negativeMinimum, i == 2 || i == 10 || i == 17 || i == 21) << i;
  }
}

TEST(ParameterSet, InvalidIndexesWriteNothing) {
  PluginInstance instance;
  vst::AEffect* effect = instance.effect();
  char text[8] = "keep";
  EXPECT_EQ(instance.Dispatch(vst::effGetParamName, 22, 0, text), 0);
  EXPECT_EQ(instance.Dispatch(vst::effGetParamDisplay, -1, 0, text), 0);
  EXPECT_STREQ(text, "keep");
  EXPECT_EQ(instance.Dispatch(vst::effGetParamLabel, 0, 0, nullptr), 0);
  EXPECT_EQ(effect->getParameter(effect, 22), 0.0f);
  EXPECT_EQ(effect->getParameter(effect, -1), 0.0f);
  effect->setParameter(effect, 99, 0.5f);  // ignored
}

TEST(EffectRecord, NullObjectAnswersZero) {
  vst::AEffect orphan{};
  PluginInstance instance;
  orphan = *instance.effect();
  orphan.object = nullptr;
  EXPECT_EQ(orphan.dispatcher(&orphan, vst::effGetParamName, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(orphan.getParameter(&orphan, 0), 0.0f);
  orphan.setParameter(&orphan, 0, 0.5f);
  orphan.processReplacing(&orphan, nullptr, nullptr, 16);
}

}  // namespace
}  // namespace velmora::testing
