// The module through its factory: what it offers, how it answers bad requests, and its
// parameters, texts and programs next to the VST 2 plug-in's.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "frame/vst2.h"
#include "plugin/velmora_plugin.h"
#include "tests/vst3/bundle_rig.h"
#include "vst3/class_ids.h"

namespace velmora::vst3host::testing {
namespace {

intptr_t NoHost(vst::AEffect*, int32_t, int32_t, intptr_t, void*, float) {
  return 0;
}

TEST(Vst3Factory, DescribesOneDelayEffectFromTolvane) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  PFactoryInfo factory{};
  ASSERT_EQ(rig.Module().Factory()->getFactoryInfo(&factory), kResultOk);
  EXPECT_STREQ(factory.vendor, "Tolvane");
  EXPECT_EQ(rig.Module().Factory()->countClasses(), 1);
  PClassInfo2 info{};
  ASSERT_NE(rig.Module().Factory2(), nullptr);
  ASSERT_EQ(rig.Module().Factory2()->getClassInfo2(0, &info), kResultOk);
  EXPECT_STREQ(info.name, "Velmora");
  EXPECT_STREQ(info.category, "Audio Module Class");
  EXPECT_STREQ(info.subCategories, "Fx|Delay");
  EXPECT_STREQ(info.vendor, "Tolvane");
  EXPECT_EQ(std::memcmp(info.cid, vst3::kEffectClassId.bytes, 16), 0);
  PClassInfoW wide{};
  ASSERT_NE(rig.Module().Factory3(), nullptr);
  ASSERT_EQ(rig.Module().Factory3()->getClassInfoUnicode(0, &wide), kResultOk);
  EXPECT_EQ(Utf8Of(wide.name, 64), "Velmora");
  EXPECT_EQ(rig.Module().Factory()->getClassInfo(1, nullptr), kInvalidArgument);
  PClassInfo none{};
  EXPECT_NE(rig.Module().Factory()->getClassInfo(1, &none), kResultOk);
  EXPECT_TRUE(rig.Plugin().SingleObject());
}

TEST(Vst3Factory, RefusesUnknownClassesInterfacesAndNullPointers) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  IPluginFactory* factory = rig.Module().Factory();
  const Iid stranger = MakeIid({1, 2, 3, 4});
  void* object = &object;
  EXPECT_NE(factory->createInstance(stranger.bytes, IComponent::kIid.bytes, &object), kResultOk);
  EXPECT_EQ(object, nullptr);
  object = &object;
  EXPECT_NE(factory->createInstance(vst3::kEffectClassId.bytes, stranger.bytes, &object),
            kResultOk);
  EXPECT_EQ(object, nullptr);
  EXPECT_NE(factory->createInstance(nullptr, IComponent::kIid.bytes, &object), kResultOk);
  EXPECT_NE(factory->createInstance(vst3::kEffectClassId.bytes, IComponent::kIid.bytes, nullptr),
            kResultOk);
  object = &object;
  EXPECT_EQ(rig.Component().queryInterface(stranger.bytes, &object), kNoInterface);
  EXPECT_EQ(object, nullptr);
  EXPECT_NE(rig.Component().queryInterface(nullptr, &object), kResultOk);
  EXPECT_NE(rig.Component().queryInterface(IComponent::kIid.bytes, nullptr), kResultOk);
  // Every interface of the one object leads back to the same object.
  void* unit = nullptr;
  ASSERT_EQ(rig.Controller().queryInterface(IUnitInfo::kIid.bytes, &unit), kResultOk);
  void* component = nullptr;
  ASSERT_EQ(static_cast<IUnitInfo*>(unit)->queryInterface(IComponent::kIid.bytes, &component),
            kResultOk);
  EXPECT_EQ(component, &rig.Component());
  static_cast<IUnitInfo*>(unit)->release();
  static_cast<IComponent*>(component)->release();
  char controllerId[16] = {};
  EXPECT_NE(rig.Component().getControllerClassId(controllerId), kResultOk);
}

TEST(Vst3Buses, StereoOrMonoMainBusesOnly) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  EXPECT_EQ(rig.Component().getBusCount(kAudio, kInput), 1);
  EXPECT_EQ(rig.Component().getBusCount(kAudio, kOutput), 1);
  EXPECT_EQ(rig.Component().getBusCount(kEvent, kInput), 0);
  BusInfo bus{};
  ASSERT_EQ(rig.Component().getBusInfo(kAudio, kOutput, 0, bus), kResultOk);
  EXPECT_EQ(bus.channelCount, 2);
  EXPECT_EQ(bus.busType, kMain);
  EXPECT_EQ(rig.Component().getBusInfo(kAudio, kOutput, 1, bus), kInvalidArgument);
  SpeakerArrangement stereo = kArrangementStereo, mono = kArrangementMono;
  SpeakerArrangement surround = kArrangementStereo | (1u << 2);
  IAudioProcessor& processor = rig.Processor();
  EXPECT_NE(processor.setBusArrangements(&surround, 1, &surround, 1), kResultOk);
  EXPECT_NE(processor.setBusArrangements(&mono, 1, &stereo, 1), kResultOk);
  EXPECT_NE(processor.setBusArrangements(&stereo, 2, &stereo, 1), kResultOk);
  EXPECT_NE(processor.setBusArrangements(nullptr, 1, &stereo, 1), kResultOk);
  SpeakerArrangement current = 0;
  ASSERT_EQ(processor.getBusArrangement(kInput, 0, current), kResultOk);
  EXPECT_EQ(current, kArrangementStereo);
  ASSERT_EQ(processor.setBusArrangements(&mono, 1, &mono, 1), kResultOk);
  ASSERT_EQ(processor.getBusArrangement(kOutput, 0, current), kResultOk);
  EXPECT_EQ(current, kArrangementMono);
  ASSERT_EQ(rig.Component().getBusInfo(kAudio, kInput, 0, bus), kResultOk);
  EXPECT_EQ(bus.channelCount, 1);
  EXPECT_EQ(processor.getBusArrangement(kOutput, 1, current), kInvalidArgument);
  EXPECT_EQ(processor.canProcessSampleSize(kSample64), kResultOk);
  EXPECT_NE(processor.canProcessSampleSize(7), kResultOk);
  EXPECT_EQ(processor.getLatencySamples(), 0u);
}

// Names, units, defaults and every value's text are those of the VST 2 plug-in.
TEST(Vst3Parameters, MatchTheVst2PluginNamesUnitsDefaultsAndTexts) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  std::unique_ptr<VSTCLASS> vst2(new VSTCLASS(&NoHost));
  IEditController& controller = rig.Controller();
  ASSERT_EQ(controller.getParameterCount(), 24);
  for (int index = 0; index < 22; ++index) {
    ParameterInfo info{};
    ASSERT_EQ(controller.getParameterInfo(index, info), kResultOk);
    IEffectParam& param = *vst2->Param(index);
    EXPECT_EQ(info.id, static_cast<ParamID>(index));
    EXPECT_EQ(Utf8Of(info.title, 128), param.Name());
    EXPECT_EQ(Utf8Of(info.units, 128), param.Label());
    EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, param.NormalisedValue()) << param.Name();
    EXPECT_TRUE(info.flags & ParameterInfo::kCanAutomate);
    EXPECT_EQ((info.flags & ParameterInfo::kIsList) != 0, param.DisplayTextCount() > 0);
    const int steps = static_cast<int>(param.Maximum() - param.Minimum());
    EXPECT_EQ(info.stepCount, param.Shape() == 1.0 ? steps : 0) << param.Name();
    // Every whole value: the VST 2 display text, read back to the same value.
    for (int v = static_cast<int>(param.Minimum()); v <= static_cast<int>(param.Maximum());
         v += steps > 400 ? 97 : 1) {
      param.SetValue(v);
      char expected[64] = {};
      vst2->Dispatch({vst::effGetParamDisplay, index, 0, expected, 0.0f});
      const double normalised = param.ToNormalised(v);
      String128 text = {};
      ASSERT_EQ(controller.getParamStringByValue(index, normalised, text), kResultOk);
      EXPECT_EQ(Utf8Of(text, 128), expected) << param.Name() << " " << v;
      double back = -1.0;
      ASSERT_EQ(controller.getParamValueByString(index, text, back), kResultOk) << expected;
      EXPECT_EQ(controller.normalizedParamToPlain(index, back), v) << param.Name();
    }
  }
  String128 text = {};
  EXPECT_NE(controller.getParamStringByValue(99, 0.5, text), kResultOk);
  EXPECT_NE(controller.getParamStringByValue(0, 0.5, nullptr), kResultOk);
  double value = 0.0;
  EXPECT_NE(controller.getParamValueByString(0, nullptr, value), kResultOk);
  ParameterInfo info{};
  EXPECT_NE(controller.getParameterInfo(24, info), kResultOk);
  EXPECT_NE(controller.getParameterInfo(-1, info), kResultOk);
  EXPECT_NE(controller.setParamNormalized(0, std::nan("")), kResultOk);
}

TEST(Vst3Programs, ProgramListHoldsTheSixtyProgramsAndSelectingOneSetsItsValues) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  std::unique_ptr<VSTCLASS> vst2(new VSTCLASS(&NoHost));
  void* found = nullptr;
  ASSERT_EQ(rig.Component().queryInterface(IUnitInfo::kIid.bytes, &found), kResultOk);
  auto* units = static_cast<IUnitInfo*>(found);
  UnitInfo unit{};
  ASSERT_EQ(units->getUnitInfo(0, unit), kResultOk);
  ProgramListInfo list{};
  ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
  EXPECT_EQ(list.id, unit.programListId);
  EXPECT_EQ(list.programCount, 60);
  for (int p = 0; p < 60; ++p) {
    String128 name = {};
    ASSERT_EQ(units->getProgramName(list.id, p, name), kResultOk);
    EXPECT_EQ(Utf8Of(name, 128), vst2->ProgramName(p)) << p;
  }
  String128 name = {};
  EXPECT_NE(units->getProgramName(list.id, 60, name), kResultOk);
  EXPECT_NE(units->getProgramName(list.id + 1, 0, name), kResultOk);
  ParameterInfo program{};
  ASSERT_EQ(rig.Controller().getParameterInfo(22, program), kResultOk);
  EXPECT_TRUE(program.flags & ParameterInfo::kIsProgramChange);
  EXPECT_EQ(program.stepCount, 59);
  // Program 5 through the selector: the values are the VST 2 program change's.
  ASSERT_EQ(rig.Controller().setParamNormalized(program.id, 5.0 / 59.0), kResultOk);
  vst2->Dispatch({vst::effSetProgram, 0, 5, nullptr, 0.0f});
  for (int index = 0; index < 22; ++index) {
    EXPECT_DOUBLE_EQ(rig.Controller().getParamNormalized(index),
                     vst2->Param(index)->NormalisedValue())
        << index;
  }
  EXPECT_DOUBLE_EQ(rig.Controller().getParamNormalized(program.id), 5.0 / 59.0);
  // The host was told to read every value again.
  bool restarted = false;
  for (const HandlerCall& call : rig.Plugin().Handler().Calls()) {
    restarted = restarted || (call.kind == HandlerCall::kRestart &&
                              (static_cast<int>(call.value) & kParamValuesChanged) != 0);
  }
  EXPECT_TRUE(restarted);
  units->release();
}

TEST(Vst3Parameters, BypassIsTheHostsSwitch) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  ParameterInfo bypass{};
  ASSERT_EQ(rig.Controller().getParameterInfo(23, bypass), kResultOk);
  EXPECT_TRUE(bypass.flags & ParameterInfo::kIsBypass);
  EXPECT_EQ(bypass.stepCount, 1);
  EXPECT_EQ(rig.Controller().setParamNormalized(bypass.id, 1.0), kResultOk);
  EXPECT_EQ(rig.Controller().getParamNormalized(bypass.id), 1.0);
}

// The view's size follows the host's content scale without any window: 499 x 486 times the
// scale, rounded half away from zero.
TEST(Vst3View, ContentScaleSetsTheSizeTheHostReads) {
  BundleRig rig;
  ASSERT_TRUE(rig.Valid());
  IPlugView* view = rig.Controller().createView("editor");
  ASSERT_NE(view, nullptr);
  void* found = nullptr;
  ASSERT_EQ(view->queryInterface(IPlugViewContentScaleSupport::kIid.bytes, &found), kResultOk);
  auto* scale = static_cast<IPlugViewContentScaleSupport*>(found);
  const struct {
    float factor;
    int32_t width, height;
  } kCases[] = {{1.5f, 749, 729}, {1.25f, 624, 608}, {2.0f, 998, 972}, {1.0f, 499, 486}};
  for (const auto& c : kCases) {
    EXPECT_EQ(scale->setContentScaleFactor(c.factor), kResultTrue) << c.factor;
    ViewRect size{};
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right - size.left, c.width) << c.factor;
    EXPECT_EQ(size.bottom - size.top, c.height) << c.factor;
  }
  scale->release();
  view->release();
}

}  // namespace
}  // namespace velmora::vst3host::testing
