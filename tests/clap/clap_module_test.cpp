// Velmora.clap as a host finds it: the entry and factories, the descriptor, the extensions,
// ports and configurations, parameters with the VST 2 texts, state and presets, and every
// kind of bad input a host might hand over.
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "clap/clap_preset_abi.h"
#include "engine/parameter_index.h"
#include "tests/clap/clap_rig.h"
#include "tests/frame/fake_host.h"

namespace velmora::claphost::testing {
namespace {

TEST(ClapModule, DescribesOnePluginWithTheVst2Identity) {
  auto module = LoadVelmora();
  ASSERT_TRUE(module);
  const auto descriptors = module->Descriptors();
  ASSERT_EQ(descriptors.size(), 1u);
  const clap::PluginDescriptor& d = *descriptors[0];
  EXPECT_STREQ(d.id, "com.tolvane.velmora");
  EXPECT_STREQ(d.name, "Velmora");
  EXPECT_STREQ(d.vendor, "Tolvane");
  EXPECT_STREQ(d.version, "1.0.0");
  std::vector<std::string> features;
  for (const char* const* f = d.features; *f != nullptr; ++f) {
    features.push_back(*f);
  }
  EXPECT_EQ(features, (std::vector<std::string>{"audio-effect", "delay", "stereo"}));
  const clap::PluginFactory* factory = module->Factory();
  EXPECT_EQ(factory->getPluginDescriptor(factory, 1), nullptr);
  EXPECT_EQ(module->Entry().getFactory(nullptr), nullptr);
  EXPECT_EQ(module->Entry().getFactory("clap.unknown-factory"), nullptr);
}

TEST(ClapModule, RefusesNullHostsUnknownIdsAndForeignRecords) {
  auto module = LoadVelmora();
  ASSERT_TRUE(module);
  const clap::PluginFactory* factory = module->Factory();
  ClapHost host;
  EXPECT_EQ(factory->createPlugin(factory, nullptr, "com.tolvane.velmora"), nullptr);
  EXPECT_EQ(factory->createPlugin(factory, host.Record(), nullptr), nullptr);
  EXPECT_EQ(factory->createPlugin(factory, host.Record(), "com.tolvane.other"), nullptr);
  clap::Host old = *host.Record();
  old.clapVersion = {0, 9, 0};
  EXPECT_EQ(factory->createPlugin(factory, &old, "com.tolvane.velmora"), nullptr);

  auto instance = MakeInstance(*module, host);
  ASSERT_TRUE(instance);
  const clap::Plugin* plugin = instance->Plugin();
  EXPECT_EQ(plugin->getExtension(plugin, nullptr), nullptr);
  EXPECT_EQ(plugin->getExtension(plugin, "clap.unknown"), nullptr);
  EXPECT_EQ(plugin->getExtension(nullptr, "clap.params"), nullptr);
  EXPECT_FALSE(plugin->activate(nullptr, 44100, 1, 512));
  EXPECT_EQ(plugin->process(nullptr, nullptr), clap::kProcessError);
  EXPECT_EQ(plugin->process(plugin, nullptr), clap::kProcessError);
  plugin->deactivate(nullptr);
  plugin->destroy(nullptr);
  clap::Plugin foreign = *plugin;
  foreign.init = nullptr;  // a record that only looks like ours
  EXPECT_EQ(plugin->getExtension(&foreign, "clap.params"), nullptr);
  const auto* params = instance->Get<clap::PluginParams>(clap::kExtParams);
  double value = 0.0;
  EXPECT_FALSE(params->getValue(nullptr, 0, &value));
  EXPECT_FALSE(params->getValue(plugin, 22, &value));
  EXPECT_FALSE(params->getValue(plugin, 0, nullptr));
  EXPECT_FALSE(params->getInfo(plugin, 22, nullptr));
  EXPECT_FALSE(plugin->activate(plugin, 0.0, 1, 512));
  EXPECT_FALSE(plugin->activate(plugin, std::nan(""), 1, 512));
  EXPECT_FALSE(plugin->startProcessing(plugin));  // not active
}

TEST(ClapModule, PortsConfigurationsLatencyAndTail) {
  auto module = LoadVelmora();
  ClapHost host;
  auto instance = MakeInstance(*module, host);
  ASSERT_TRUE(instance);
  EXPECT_EQ(instance->PortChannels(true), 2u);
  EXPECT_EQ(instance->PortChannels(false), 2u);
  EXPECT_TRUE(instance->PortSupports64Bits());
  const auto* configs = instance->Get<clap::PluginAudioPortsConfig>(clap::kExtAudioPortsConfig);
  ASSERT_NE(configs, nullptr);
  ASSERT_EQ(configs->count(instance->Plugin()), 2u);
  clap::AudioPortsConfig config{};
  ASSERT_TRUE(configs->get(instance->Plugin(), 1, &config));
  EXPECT_EQ(config.mainInputChannelCount, 1u);
  EXPECT_STREQ(config.mainOutputPortType, "mono");
  EXPECT_FALSE(configs->get(instance->Plugin(), 2, &config));
  EXPECT_FALSE(configs->select(instance->Plugin(), 7));
  ASSERT_TRUE(configs->select(instance->Plugin(), 1));
  EXPECT_EQ(instance->PortChannels(true), 1u);
  ASSERT_TRUE(instance->Activate(48000, 256));
  EXPECT_FALSE(configs->select(instance->Plugin(), 0));  // only while inactive
  const auto* latency = instance->Get<clap::PluginLatency>(clap::kExtLatency);
  EXPECT_EQ(latency->get(instance->Plugin()), 0u);
  const auto* tail = instance->Get<clap::PluginTail>(clap::kExtTail);
  InputEventList full;
  full.AddValue(0, kFeedback, 100);
  instance->Flush(&full, nullptr);
  EXPECT_EQ(tail->get(instance->Plugin()), static_cast<uint32_t>(INT32_MAX));
  instance->Deactivate();
  ASSERT_TRUE(configs->select(instance->Plugin(), 0));
  EXPECT_EQ(instance->PortChannels(false), 2u);
}

TEST(ClapModule, ParametersCarryTheVst2ShapesAndTexts) {
  auto module = LoadVelmora();
  ClapHost host;
  auto instance = MakeInstance(*module, host);
  velmora::testing::PluginInstance vst2;
  ASSERT_TRUE(instance);
  ASSERT_EQ(instance->ParamCount(), 22u);
  for (uint32_t i = 0; i < 22; ++i) {
    clap::ParamInfo info{};
    ASSERT_TRUE(instance->ParamInfoAt(i, info));
    const IEffectParam& param = *vst2.plugin().Param(static_cast<int>(i));
    EXPECT_EQ(info.id, i);
    EXPECT_STREQ(info.name, param.Name());
    EXPECT_EQ(info.minValue, param.Minimum());
    EXPECT_EQ(info.maxValue, param.Maximum());
    EXPECT_EQ(info.defaultValue, param.Value());
    EXPECT_TRUE(info.flags & clap::kParamIsAutomatable);
    EXPECT_TRUE(info.flags & clap::kParamIsStepped);
    EXPECT_EQ((info.flags & clap::kParamIsEnum) != 0, param.DisplayTextCount() > 0) << i;
    vst2.effect()->setParameter(vst2.effect(), static_cast<int>(i),
                                static_cast<float>(param.ToNormalised(param.Maximum())));
    std::string expected = vst2.ParamText(vst::effGetParamDisplay, static_cast<int>(i));
    const std::string label = vst2.ParamText(vst::effGetParamLabel, static_cast<int>(i));
    if (!label.empty() && param.DisplayTextCount() == 0) {
      expected += " " + label;
    }
    EXPECT_EQ(instance->Text(i, param.Maximum()), expected) << i;
  }
  const auto* params = instance->Get<clap::PluginParams>(clap::kExtParams);
  double value = 0.0;
  EXPECT_TRUE(params->textToValue(instance->Plugin(), kDelayRate, "1/8", &value));
  EXPECT_EQ(instance->Text(kDelayRate, value), "1/8");
  EXPECT_TRUE(params->textToValue(instance->Plugin(), kFreqLeft, "2500.4 Hz", &value));
  EXPECT_EQ(value, 2500.0);
  EXPECT_TRUE(params->textToValue(instance->Plugin(), kFeedback, "250", &value));
  EXPECT_EQ(value, 100.0);  // held to the range
  EXPECT_FALSE(params->textToValue(instance->Plugin(), kFeedback, "much", &value));
  EXPECT_FALSE(params->textToValue(instance->Plugin(), 99, "1", &value));
  char small[3];
  EXPECT_FALSE(params->valueToText(instance->Plugin(), kFreqLeft, 20000, small, sizeof(small)));
  EXPECT_FALSE(params->valueToText(instance->Plugin(), kFreqLeft, std::nan(""), small, 3));
}

// The 180-byte chunk, through streams that hand out a few bytes per call; a second instance
// takes it; damaged, short, long and random streams are refused and change nothing.
TEST(ClapModule, StateRoundTripsAndBadStreamsChangeNothing) {
  auto module = LoadVelmora();
  ClapHost host;
  auto a = MakeInstance(*module, host);
  auto b = MakeInstance(*module, host);
  ASSERT_TRUE(a && b);
  InputEventList changes;
  changes.AddValue(0, kFeedback, 42);
  changes.AddValue(0, kFreqRight, 1234);
  changes.AddValue(0, kRightSweepLink, 3);
  a->Flush(&changes, nullptr);
  auto saved = a->SaveState();
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved.Value().size(), 180u);
  const int rescans = host.Counters().rescan;
  ASSERT_TRUE(b->LoadState(saved.Value(), 5));
  EXPECT_EQ(host.Counters().rescan, rescans + 1);
  auto values = [](const ClapInstance& instance) {
    std::vector<double> list;
    for (clap::Id i = 0; i < 22; ++i) {
      double v = 0.0;
      instance.Value(i, v);
      list.push_back(v);
    }
    return list;
  };
  EXPECT_EQ(values(*a), values(*b));

  InputEventList other;
  other.AddValue(0, kWetMix, 11);
  b->Flush(&other, nullptr);
  const std::vector<double> before = values(*b);
  std::vector<uint8_t> bytes = saved.Value();
  EXPECT_FALSE(b->LoadState({}));
  EXPECT_FALSE(b->LoadState(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 179)));
  std::vector<uint8_t> longer = bytes;
  longer.push_back(0);
  EXPECT_FALSE(b->LoadState(longer));
  std::vector<uint8_t> foreign = bytes;
  foreign[1] ^= 0x40;
  EXPECT_FALSE(b->LoadState(foreign));
  std::mt19937 random(19);
  for (int round = 0; round < 500; ++round) {
    std::vector<uint8_t> junk(random() % 400);
    for (uint8_t& byte : junk) {
      byte = static_cast<uint8_t>(random());
    }
    if (junk.size() == 180) {
      junk[0] = 0xff;  // a random chunk with our exact size still names another version
    }
    EXPECT_FALSE(b->LoadState(junk, 1 + random() % 64));
  }
  EXPECT_EQ(values(*b), before);
  const auto* state = b->Get<clap::PluginState>(clap::kExtState);
  EXPECT_FALSE(state->load(b->Plugin(), nullptr));
  EXPECT_FALSE(state->save(b->Plugin(), nullptr));
}

TEST(ClapModule, FactoryPresetsAreDiscoveredAndLoadedByKey) {
  auto module = LoadVelmora();
  auto presets = DiscoverPresets(*module);
  ASSERT_TRUE(presets) << presets.Error();
  ASSERT_EQ(presets.Value().size(), 32u);
  velmora::testing::PluginInstance vst2;
  ClapHost host;
  auto instance = MakeInstance(*module, host);
  ASSERT_TRUE(instance);
  for (size_t p = 0; p < presets.Value().size(); ++p) {
    const DiscoveredPreset& preset = presets.Value()[p];
    EXPECT_EQ(preset.name, vst2.plugin().ProgramName(static_cast<int>(p) + 1));
    EXPECT_EQ(preset.locationKind, clap::kPresetLocationPlugin);
    EXPECT_FALSE(preset.hasLocation);
    EXPECT_EQ(preset.pluginIds, std::vector<std::string>{"clap:com.tolvane.velmora"});
    EXPECT_EQ(preset.flags, clap::kPresetIsFactoryContent);
  }
  const DiscoveredPreset& fifth = presets.Value()[4];
  ASSERT_TRUE(instance->LoadPreset(clap::kPresetLocationPlugin, nullptr, fifth.loadKey.c_str()));
  EXPECT_EQ(host.Counters().presetLoaded, 1);
  vst2.Dispatch(vst::effSetProgram, 0, 5);
  for (clap::Id i = 0; i < 22; ++i) {
    double v = 0.0;
    ASSERT_TRUE(instance->Value(i, v));
    EXPECT_EQ(v, vst2.plugin().Param(static_cast<int>(i))->Value()) << i;
  }
  for (const char* bad : {"0", "33", "-1", "5x", "", " 5", "99999999999999999999"}) {
    EXPECT_FALSE(instance->LoadPreset(clap::kPresetLocationPlugin, nullptr, bad)) << bad;
  }
  EXPECT_FALSE(instance->LoadPreset(clap::kPresetLocationPlugin, nullptr, nullptr));
  EXPECT_FALSE(instance->LoadPreset(clap::kPresetLocationFile, "/tmp/x.fxp", "1"));
  EXPECT_EQ(host.Counters().presetErrors, 9);
}

}  // namespace
}  // namespace velmora::claphost::testing
