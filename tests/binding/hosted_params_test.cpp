// Parameters, texts, programs and the editor's gestures of the hosted plug-in.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "binding/hosted_effect.h"
#include "engine/parameter_index.h"
#include "plugin/velmora_plugin.h"
#include "tests/frame/fake_host.h"

namespace velmora::binding {
namespace {

class RecordingSink : public GestureSink {
 public:
  void GestureBegin(int index) override { log.push_back("begin " + std::to_string(index)); }
  void GestureValue(int index, double plain, double normalised) override {
    log.push_back("value " + std::to_string(index) + " " + std::to_string(plain) + " " +
                  std::to_string(normalised));
  }
  void GestureEnd(int index) override { log.push_back("end " + std::to_string(index)); }
  std::vector<std::string> log;
};

std::string Text(const HostedEffect& hosted, int index, double plain) {
  char text[64];
  return hosted.FormatPlain(index, plain, text, sizeof(text)) ? text : "<none>";
}

TEST(HostedParams, InfoMirrorsTheDeclarations) {
  auto hosted = HostedEffect::Create(HostIdentity{}, nullptr);
  ASSERT_TRUE(hosted);
  ASSERT_EQ(hosted->ParamCount(), 22);
  ParamInfo info;
  ASSERT_TRUE(hosted->Info(kFreqLeft, info));
  EXPECT_STREQ(info.name, "Freq Left");
  EXPECT_EQ(info.minimum, 20.0);
  EXPECT_EQ(info.maximum, 20000.0);
  EXPECT_TRUE(info.stepped);
  EXPECT_FALSE(info.enumerated);
  ASSERT_TRUE(hosted->Info(kLeftSweepLink, info));
  EXPECT_TRUE(info.enumerated);
  EXPECT_EQ(info.maximum, 4.0);
  for (int i = 0; i < 22; ++i) {
    ASSERT_TRUE(hosted->Info(i, info));
    EXPECT_EQ(info.defaultValue, hosted->PlainValue(i)) << i;
  }
  EXPECT_FALSE(hosted->Info(22, info));
  EXPECT_FALSE(hosted->Info(-1, info));
}

// The texts are the VST 2 plug-in's display texts with its unit label, and read back.
TEST(HostedParams, TextsAreTheVst2TextsAndReadBack) {
  auto hosted = HostedEffect::Create(HostIdentity{}, nullptr);
  testing::PluginInstance vst2;
  ASSERT_TRUE(hosted);
  for (int i = 0; i < 22; ++i) {
    const IEffectParam& param = *vst2.plugin().Param(i);
    for (double plain : {param.Minimum(), param.Maximum(),
                         std::round(0.5 * (param.Minimum() + param.Maximum()))}) {
      vst2.effect()->setParameter(vst2.effect(), i, static_cast<float>(param.ToNormalised(plain)));
      const std::string display = vst2.ParamText(vst::effGetParamDisplay, i);
      const std::string label = vst2.ParamText(vst::effGetParamLabel, i);
      const std::string text = Text(*hosted, i, plain);
      EXPECT_EQ(text.rfind(display, 0), 0u) << i << " " << text << " vs " << display;
      double back = 0.0;
      ASSERT_TRUE(hosted->ParsePlain(i, text.c_str(), back)) << text;
      EXPECT_EQ(back, plain) << i << " " << text;
    }
  }
  EXPECT_EQ(Text(*hosted, kFeedback, 30), "30 %");
  EXPECT_EQ(Text(*hosted, kLeftSweepLink, 2), "Feedback");
  double value = 0.0;
  EXPECT_TRUE(hosted->ParsePlain(kFreqLeft, "250 Hz", value));
  EXPECT_EQ(value, 250.0);
  EXPECT_FALSE(hosted->ParsePlain(kFreqLeft, "loud", value));
  EXPECT_FALSE(hosted->ParsePlain(kFreqLeft, nullptr, value));
  EXPECT_FALSE(hosted->ParsePlain(40, "1", value));
  char tiny[2];
  EXPECT_FALSE(hosted->FormatPlain(kFreqLeft, 1200, tiny, sizeof(tiny)));
  EXPECT_FALSE(hosted->FormatPlain(kFreqLeft, std::nan(""), tiny, sizeof(tiny)));
}

TEST(HostedParams, HostValuesAreRoundedClampedAndRefusedWhenNotNumbers) {
  auto hosted = HostedEffect::Create(HostIdentity{}, nullptr);
  ASSERT_TRUE(hosted);
  EXPECT_TRUE(hosted->SetPlain(kFeedback, 33.4));
  EXPECT_EQ(hosted->PlainValue(kFeedback), 33.0);
  EXPECT_TRUE(hosted->SetPlain(kFeedback, 250.0));
  EXPECT_EQ(hosted->PlainValue(kFeedback), 100.0);
  EXPECT_FALSE(hosted->SetPlain(kFeedback, std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(hosted->SetPlain(kFeedback, -std::numeric_limits<double>::infinity()));
  EXPECT_EQ(hosted->PlainValue(kFeedback), 100.0);
  EXPECT_FALSE(hosted->SetPlain(22, 1.0));
  EXPECT_TRUE(hosted->SetNormalised(kFreqLeft, 0.5));
  EXPECT_EQ(hosted->PlainValue(kFreqLeft), 5015.0);
  EXPECT_EQ(hosted->ToPlain(kFreqLeft, 0.5), 5015.0);
  EXPECT_NEAR(hosted->ToNormalised(kFreqLeft, 3000.0), 0.3862, 1e-4);
  EXPECT_FALSE(hosted->SetNormalised(kFreqLeft, std::nan("")));
}

// The binding's mapping without the store is the store's own, for every parameter.
TEST(HostedParams, ToPlainIsTheStoresMapping) {
  auto hosted = HostedEffect::Create(HostIdentity{}, nullptr);
  testing::PluginInstance vst2;
  ASSERT_TRUE(hosted);
  for (int i = 0; i < 22; ++i) {
    for (int step = 0; step <= 64; ++step) {
      const double n = step / 64.0;
      IEffectParam& param = *vst2.plugin().Param(i);
      param.SetFromNormalised(n);
      EXPECT_EQ(hosted->ToPlain(i, n), param.Value()) << i << " at " << n;
    }
  }
  EXPECT_EQ(hosted->ToPlain(kFeedback, 7.0), 100.0);
  EXPECT_EQ(hosted->ToPlain(kFeedback, -1.0), 0.0);
  EXPECT_EQ(hosted->ToPlain(kFeedback, std::nan("")), 0.0);
  EXPECT_EQ(hosted->ToPlain(99, 0.5), 0.0);
}

TEST(HostedParams, EditorGesturesReachTheSinkInOrderWithThePlainValue) {
  RecordingSink sink;
  auto hosted = HostedEffect::Create(HostIdentity{}, &sink);
  ASSERT_TRUE(hosted);
  VSTCLASS& plugin = hosted->Plugin();
  plugin.BeginParamEdit(kFeedback);
  plugin.SetParamFromEditor(kFeedback, 0.5);
  plugin.SetParamFromEditor(kFeedback, 0.25);
  plugin.EndParamEdit(kFeedback);
  const std::vector<std::string> expected = {"begin 3", "value 3 50.000000 0.500000",
                                             "value 3 25.000000 0.250000", "end 3"};
  EXPECT_EQ(sink.log, expected);
}

TEST(HostedParams, ThirtyTwoFactoryProgramsLoadTheirOwnValues) {
  auto hosted = HostedEffect::Create(HostIdentity{}, nullptr);
  testing::PluginInstance vst2;
  ASSERT_TRUE(hosted);
  ASSERT_EQ(hosted->FactoryProgramCount(), 32);
  EXPECT_EQ(hosted->ProgramName(0), vst2.plugin().ProgramName(1));
  EXPECT_EQ(hosted->ProgramName(32), "");
  EXPECT_EQ(hosted->ProgramName(-1), "");
  for (int p : {0, 7, 31}) {
    hosted->SetPlain(kFeedback, 1);  // edits do not stick to the program
    ASSERT_TRUE(hosted->LoadProgram(p));
    vst2.Dispatch(vst::effSetProgram, 0, p + 1);
    for (int i = 0; i < 22; ++i) {
      EXPECT_EQ(hosted->PlainValue(i), vst2.plugin().Param(i)->Value()) << p << " " << i;
    }
  }
  EXPECT_FALSE(hosted->LoadProgram(32));
  EXPECT_FALSE(hosted->LoadProgram(-1));
}

}  // namespace
}  // namespace velmora::binding
