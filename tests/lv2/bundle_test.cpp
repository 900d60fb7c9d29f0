// The bundle as hosts read it: lv2info and lilv see 22 control inputs with the VST 2
// plug-in's names, ranges, defaults, kinds, units and value texts, and 32 presets holding
// the factory programs under their names.
#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/presets/presets.h>
#include <lv2/ui/ui.h>
#include <lv2/units/units.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "lv2/bundle_names.h"
#include "lv2/port_index.h"
#include "plugin/factory_presets.h"
#include "plugin/velmora_plugin.h"
#include "tests/lv2/lilv_host.h"

namespace velmora::lv2::testing {
namespace {

intptr_t SilentHost(vst::AEffect*, int32_t, int32_t, intptr_t, void*, float) {
  return 0;
}

std::unique_ptr<IEffectVST> Vst2Plugin() {
  return std::unique_ptr<IEffectVST>(CreateVelmoraPlugin(&SilentHost));
}

std::string TextOf(const IEffectParam& param, double value) {
  char text[IEffectParam::kTextSize] = {};
  param.FormatValue(value, false, text);
  return text;
}

std::string RunLv2info() {
  const std::string command = "LV2_PATH='" +
                              std::filesystem::path(VELMORA_LV2_BUNDLE).parent_path().string() +
                              "' '" + LV2INFO_TOOL + "' " + kPluginUri + " 2>&1";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t read = 0;
    while ((read = fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
      output.append(buffer, read);
    }
    pclose(pipe);
  }
  return output;
}

// One control port as lv2info prints it.
struct ListedPort {
  std::string symbol;
  std::string name;
  double minimum = 0.0;
  double maximum = 0.0;
  double defaultValue = 0.0;
  std::map<int, std::string> scalePoints;
};

// The text after "Key:" on a line of the block, trimmed; empty when there is none.
std::string FieldOf(const std::string& block, const std::string& key) {
  const size_t at = block.find("\t" + key + ":");
  if (at == std::string::npos) {
    return "";
  }
  const size_t begin = block.find_first_not_of(" \t", at + key.size() + 2);
  const size_t end = block.find('\n', begin);
  return block.substr(begin, end - begin);
}

// Scale point lines read `VALUE = "LABEL"`.
void ReadScalePoint(const std::string& line, std::map<int, std::string>& points) {
  const size_t equals = line.find(" = \"");
  if (equals == std::string::npos || line.back() != '"') {
    return;
  }
  const std::string label = line.substr(equals + 4, line.size() - equals - 5);
  points[std::stoi(line.substr(0, equals))] = label;
}

ListedPort ReadPort(const std::string& block) {
  ListedPort port;
  port.symbol = FieldOf(block, "Symbol");
  port.name = FieldOf(block, "Name");
  port.minimum = std::stod(FieldOf(block, "Minimum"));
  port.maximum = std::stod(FieldOf(block, "Maximum"));
  port.defaultValue = std::stod(FieldOf(block, "Default"));
  std::istringstream lines(block);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t begin = line.find_first_not_of(" \t");
    if (begin != std::string::npos && line.find(" = \"", begin) != std::string::npos) {
      ReadScalePoint(line.substr(begin), port.scalePoints);
    }
  }
  return port;
}

std::vector<ListedPort> ControlInputsOf(const std::string& listing) {
  std::vector<ListedPort> ports;
  std::istringstream lines(listing);
  std::string line;
  std::string block;
  auto finish = [&ports](const std::string& text) {
    if (text.find("#ControlPort") != std::string::npos &&
        text.find("#InputPort") != std::string::npos) {
      ports.push_back(ReadPort(text));
    }
  };
  while (std::getline(lines, line)) {
    if (line.find("\tPort ") == 0) {
      finish(block);
      block.clear();
    }
    block += line + "\n";
  }
  finish(block);
  return ports;
}

TEST(Lv2Bundle, Lv2infoListsTheParametersAsTheVst2PluginDeclaresThem) {
  const std::string listing = RunLv2info();
  ASSERT_NE(listing.find("Name:              Velmora"), std::string::npos) << listing;
  EXPECT_NE(listing.find("Has latency:       no"), std::string::npos);
  const std::vector<ListedPort> ports = ControlInputsOf(listing);
  ASSERT_EQ(ports.size(), static_cast<size_t>(kVelmoraParamCount)) << listing;
  auto plugin = Vst2Plugin();
  for (int i = 0; i < kVelmoraParamCount; ++i) {
    const IEffectParam& param = *plugin->Param(i);
    const ListedPort& port = ports[i];
    SCOPED_TRACE(param.Name());
    EXPECT_EQ(port.name, param.Name());
    EXPECT_EQ(port.minimum, param.Minimum());
    EXPECT_EQ(port.maximum, param.Maximum());
    EXPECT_EQ(port.defaultValue, param.Value());
    if (param.ParamType() != IEffectParam::kTypeEnum) {
      EXPECT_TRUE(port.scalePoints.empty());
      continue;
    }
    ASSERT_EQ(port.scalePoints.size(), static_cast<size_t>(param.Maximum() + 1));
    for (const auto& [value, label] : port.scalePoints) {
      EXPECT_EQ(label, TextOf(param, value)) << value;
    }
  }
  EXPECT_EQ(ports[kDelayRate].scalePoints.at(9), "1/8");
  EXPECT_EQ(ports[kLeftSweepRate].scalePoints.at(12), "1/2");
  EXPECT_EQ(ports[kPingPong].scalePoints.at(0), "Triplet");
  EXPECT_EQ(ports[kFilterLeftType].scalePoints.at(2), "Highpass");
  EXPECT_EQ(ports[kBypassCeil].minimum, -100.0);
  EXPECT_EQ(ports[kBypassCeil].maximum, -50.0);
}

TEST(Lv2Bundle, PortKindsAndUnitsFollowTheParameterKinds) {
  Lv2World world;
  ASSERT_NE(world.Plugin(), nullptr);
  const LilvPlugin* plugin = world.Plugin();
  LilvNode* integer = world.NewUri(LV2_CORE__integer);
  LilvNode* enumeration = world.NewUri(LV2_CORE__enumeration);
  LilvNode* toggled = world.NewUri(LV2_CORE__toggled);
  LilvNode* unit = world.NewUri(LV2_UNITS__unit);
  auto vst2 = Vst2Plugin();
  const std::map<std::string, std::string> units = {
      {"%", LV2_UNITS__pc}, {"Hz", LV2_UNITS__hz}, {"dB", LV2_UNITS__db}};
  for (int i = 0; i < kVelmoraParamCount; ++i) {
    const IEffectParam& param = *vst2->Param(i);
    SCOPED_TRACE(param.Name());
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin, ParamPort(i));
    const bool isEnum = param.ParamType() == IEffectParam::kTypeEnum;
    const bool isToggle = isEnum && param.Maximum() == 1.0;
    EXPECT_TRUE(lilv_port_has_property(plugin, port, integer));
    EXPECT_EQ(lilv_port_has_property(plugin, port, enumeration), isEnum && !isToggle);
    EXPECT_EQ(lilv_port_has_property(plugin, port, toggled), isToggle);
    LilvNodes* unitNodes = lilv_port_get_value(plugin, port, unit);
    const std::string label = param.Label();
    if (label.empty()) {
      EXPECT_EQ(unitNodes, nullptr);
    } else {
      ASSERT_NE(unitNodes, nullptr);
      EXPECT_EQ(lilv_node_as_uri(lilv_nodes_get_first(unitNodes)), units.at(label));
    }
    lilv_nodes_free(unitNodes);
  }
  EXPECT_EQ(lilv_plugin_get_num_ports(plugin), static_cast<uint32_t>(kPortCount));
  for (LilvNode* node : {integer, enumeration, toggled, unit}) {
    lilv_node_free(node);
  }
}

// Port values of a preset as lilv hands them to a host.
struct RestoredValues {
  std::map<std::string, float> bySymbol;
  int wrongType = 0;
  UridMap* urids = nullptr;
};

void CollectValue(const char* symbol, void* data, const void* value, uint32_t size, uint32_t type) {
  auto* restored = static_cast<RestoredValues*>(data);
  if (type != restored->urids->Map(LV2_ATOM__Float) || size != sizeof(float)) {
    ++restored->wrongType;
    return;
  }
  restored->bySymbol[symbol] = *static_cast<const float*>(value);
}

TEST(Lv2Bundle, EveryPresetLoadsWithTheFactoryProgramsNameAndValues) {
  Lv2World world;
  ASSERT_NE(world.Plugin(), nullptr);
  auto vst2 = Vst2Plugin();
  LilvNode* presetClass = world.NewUri(LV2_PRESETS__Preset);
  LilvNodes* presets = lilv_plugin_get_related(world.Plugin(), presetClass);
  EXPECT_EQ(lilv_nodes_size(presets), static_cast<unsigned>(kFactoryProgramCount));
  lilv_nodes_free(presets);
  lilv_node_free(presetClass);
  for (int number = 1; number <= kFactoryProgramCount; ++number) {
    char uri[64];
    std::snprintf(uri, sizeof(uri), "%s%02d", kPresetUriPrefix, number);
    SCOPED_TRACE(uri);
    LilvNode* preset = world.NewUri(uri);
    EXPECT_GE(lilv_world_load_resource(world.World(), preset), 0);
    LilvState* state = lilv_state_new_from_world(world.World(), world.Urids().MapFeature(), preset);
    lilv_node_free(preset);
    ASSERT_NE(state, nullptr);
    const IEffectPreset& program = *vst2->Program(number);
    EXPECT_STREQ(lilv_state_get_label(state), program.name);
    RestoredValues restored;
    restored.urids = &world.Urids();
    lilv_state_emit_port_values(state, CollectValue, &restored);
    lilv_state_free(state);
    EXPECT_EQ(restored.wrongType, 0);
    ASSERT_EQ(restored.bySymbol.size(), static_cast<size_t>(kVelmoraParamCount));
    for (int i = 0; i < kVelmoraParamCount; ++i) {
      const LilvPort* port = lilv_plugin_get_port_by_index(world.Plugin(), ParamPort(i));
      const std::string symbol = lilv_node_as_string(lilv_port_get_symbol(world.Plugin(), port));
      double expected = 0.0;
      ASSERT_TRUE(program.state.ReadDouble(i * 8, &expected));
      EXPECT_EQ(restored.bySymbol[symbol], expected) << symbol;
    }
  }
}

// The plug-in's whole state is its 22 control ports: a host's saved state (here lilv's, as
// Turtle text) brings every value back exactly, whole steps and extremes included.
TEST(Lv2Bundle, TheControlPortsAloneSaveAndRestoreTheState) {
  Lv2World world;
  ASSERT_NE(world.Plugin(), nullptr);
  Lv2Instance instance(world, 48000.0);
  ASSERT_TRUE(instance.Valid());
  std::map<std::string, float> saved;
  std::vector<std::string> symbols;
  for (int i = 0; i < kVelmoraParamCount; ++i) {
    const LilvPort* port = lilv_plugin_get_port_by_index(world.Plugin(), ParamPort(i));
    symbols.push_back(lilv_node_as_string(lilv_port_get_symbol(world.Plugin(), port)));
    saved[symbols.back()] =
        static_cast<float>(i % 2 == 0 ? kParamRanges[i].minimum : kParamRanges[i].maximum);
  }
  saved["freq_left"] = 4321.0f;
  const LV2_URID floatType = world.Urids().Map(LV2_ATOM__Float);
  struct Source {
    std::map<std::string, float>* values;
    LV2_URID type;
  } source{&saved, floatType};
  LilvState* state = lilv_state_new_from_instance(
      world.Plugin(), instance.Lilv(), world.Urids().MapFeature(), nullptr, nullptr, nullptr,
      nullptr,
      [](const char* symbol, void* data, uint32_t* size, uint32_t* type) -> const void* {
        auto* from = static_cast<Source*>(data);
        auto found = from->values->find(symbol);
        if (found == from->values->end()) {
          return nullptr;
        }
        *size = sizeof(float);
        *type = from->type;
        return &found->second;
      },
      &source, 0, nullptr);
  ASSERT_NE(state, nullptr);
  char* text =
      lilv_state_to_string(world.World(), world.Urids().MapFeature(), world.Urids().UnmapFeature(),
                           state, "urn:velmora:test:state", nullptr);
  lilv_state_free(state);
  ASSERT_NE(text, nullptr);
  LilvState* loaded = lilv_state_new_from_string(world.World(), world.Urids().MapFeature(), text);
  lilv_free(text);
  ASSERT_NE(loaded, nullptr);
  RestoredValues restored;
  restored.urids = &world.Urids();
  lilv_state_emit_port_values(loaded, CollectValue, &restored);
  lilv_state_free(loaded);
  EXPECT_EQ(restored.wrongType, 0);
  EXPECT_EQ(restored.bySymbol, saved);
}

TEST(Lv2Bundle, TheUiIsAnX11UiInItsOwnModule) {
  Lv2World world;
  ASSERT_NE(world.Plugin(), nullptr);
  LilvUIs* uis = lilv_plugin_get_uis(world.Plugin());
  ASSERT_EQ(lilv_uis_size(uis), 1u);
  const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
  EXPECT_STREQ(lilv_node_as_uri(lilv_ui_get_uri(ui)), kUiUri);
  LilvNode* x11 = world.NewUri(LV2_UI__X11UI);
  EXPECT_TRUE(lilv_ui_is_a(ui, x11));
  lilv_node_free(x11);
  const std::string binary = lilv_node_as_uri(lilv_ui_get_binary_uri(ui));
  EXPECT_EQ(binary.substr(binary.rfind('/') + 1), kUiBinary);
  EXPECT_NE(
      std::string(lilv_node_as_uri(lilv_plugin_get_library_uri(world.Plugin()))).find(kDspBinary),
      std::string::npos);
  lilv_uis_free(uis);
}

}  // namespace
}  // namespace velmora::lv2::testing
