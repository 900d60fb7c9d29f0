// What the LV2 bundle's description says about the effect, read from the plug-in class
// itself: its parameter declarations and its factory programs. Reading them from a built
// instance (rather than restating them) keeps the bundle in step with the VST 2 plug-in.
#pragma once

#include <string>
#include <vector>

namespace velmora::lv2ttl {

struct ScalePoint {
  int value;
  std::string label;
};

struct ParamDescription {
  std::string name;
  std::string symbol;  // the name in lower case, other characters as '_'
  std::string label;   // unit label as the VST 2 plug-in shows it
  int minimum = 0;
  int maximum = 0;
  int defaultValue = 0;
  bool enumeration = false;
  std::vector<ScalePoint> scalePoints;
};

struct PresetDescription {
  std::string name;
  std::vector<double> values;  // one real value per parameter
};

struct PluginDescription {
  std::string name;
  std::string vendor;
  std::vector<ParamDescription> params;
  std::vector<PresetDescription> presets;
};

// The effect as its class declares it; an empty error when all went well.
PluginDescription DescribeVelmora(std::string& error);

// "Delay Rate" -> "delay_rate".
std::string SymbolFor(const std::string& name);

}  // namespace velmora::lv2ttl
