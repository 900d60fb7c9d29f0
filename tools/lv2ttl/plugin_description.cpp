#include "tools/lv2ttl/plugin_description.h"

#include <cctype>
#include <cmath>
#include <memory>
#include <set>

#include "plugin/factory_presets.h"
#include "plugin/velmora_plugin.h"

namespace velmora::lv2ttl {
namespace {

// The class asks nothing of a host while it is only constructed; any question gets "no".
intptr_t SilentHost(vst::AEffect*, int32_t, int32_t, intptr_t, void*, float) {
  return 0;
}

bool IsWhole(double value) {
  return std::isfinite(value) && value == std::floor(value);
}

bool Describe(const IEffectParam& param, ParamDescription& out, std::string& error) {
  out.name = param.Name();
  out.symbol = SymbolFor(out.name);
  out.label = param.Label();
  if (!IsWhole(param.Minimum()) || !IsWhole(param.Maximum()) || !IsWhole(param.Value())) {
    error = "parameter \"" + out.name + "\" is not whole-numbered";
    return false;
  }
  out.minimum = static_cast<int>(param.Minimum());
  out.maximum = static_cast<int>(param.Maximum());
  out.defaultValue = static_cast<int>(param.Value());
  out.enumeration = param.ParamType() == IEffectParam::kTypeEnum;
  for (int value = out.minimum; out.enumeration && value <= out.maximum; ++value) {
    const char* text = param.DisplayTextFor(value);
    if (text == nullptr) {
      error = "parameter \"" + out.name + "\" has no text for " + std::to_string(value);
      return false;
    }
    out.scalePoints.push_back({value, text});
  }
  return true;
}

bool DescribePreset(const IEffectPreset& program, int paramCount, PresetDescription& out,
                    std::string& error) {
  out.name = program.name;
  for (int i = 0; i < paramCount; ++i) {
    double value = 0.0;
    if (!program.state.ReadDouble(i * static_cast<int>(sizeof(double)), &value)) {
      error =
          "program \"" + out.name + "\" holds fewer than " + std::to_string(paramCount) + " values";
      return false;
    }
    out.values.push_back(value);
  }
  return true;
}

}  // namespace

std::string SymbolFor(const std::string& name) {
  std::string symbol;
  for (unsigned char c : name) {
    symbol += std::isalnum(c) ? static_cast<char>(std::tolower(c)) : '_';
  }
  if (symbol.empty() || std::isdigit(static_cast<unsigned char>(symbol[0]))) {
    symbol.insert(0, "p_");
  }
  return symbol;
}

PluginDescription DescribeVelmora(std::string& error) {
  PluginDescription description;
  std::unique_ptr<IEffectVST> plugin(CreateVelmoraPlugin(&SilentHost));
  description.name = plugin->EffectName();
  description.vendor = plugin->VendorName();
  std::set<std::string> symbols;
  for (int i = 0; i < plugin->NumParams(); ++i) {
    ParamDescription param;
    if (!Describe(*plugin->Param(i), param, error)) {
      return {};
    }
    if (!symbols.insert(param.symbol).second) {
      error = "two parameters share the port symbol " + param.symbol;
      return {};
    }
    description.params.push_back(param);
  }
  // Program 0 is the "current values" program; the factory programs follow it.
  for (int p = 1; p <= kFactoryProgramCount; ++p) {
    const IEffectPreset* program = plugin->Program(p);
    PresetDescription preset;
    if (program == nullptr || !program->initialised ||
        !DescribePreset(*program, plugin->NumParams(), preset, error)) {
      error = error.empty() ? "factory program " + std::to_string(p) + " is missing" : error;
      return {};
    }
    description.presets.push_back(preset);
  }
  return description;
}

}  // namespace velmora::lv2ttl
