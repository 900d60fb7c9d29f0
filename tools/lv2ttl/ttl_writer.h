// The Turtle files of the LV2 bundle, written from the effect's description: manifest.ttl
// (what the bundle holds), velmora.ttl (the plug-in, its ports and its UI) and presets.ttl
// (the factory programs as pset:Preset).
#pragma once

#include <string>

#include "tools/lv2ttl/plugin_description.h"

namespace velmora::lv2ttl {

std::string ManifestTtl(const PluginDescription& plugin, bool withUi);
std::string PluginTtl(const PluginDescription& plugin, bool withUi);
std::string PresetsTtl(const PluginDescription& plugin);

// Factory preset n (1-based) as its URI.
std::string PresetUri(int number);

}  // namespace velmora::lv2ttl
