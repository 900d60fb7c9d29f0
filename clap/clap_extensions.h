// The plug-in's extension tables, one per file, and the lookup get_extension uses.
#pragma once

#include "clap/clap_ext_abi.h"

namespace velmora::clap {

extern const PluginParams kParamsExtension;
extern const PluginState kStateExtension;
extern const PluginAudioPorts kAudioPortsExtension;
extern const PluginAudioPortsConfig kAudioPortsConfigExtension;
extern const PluginLatency kLatencyExtension;
extern const PluginTail kTailExtension;
extern const PluginGui kGuiExtension;
extern const PluginPresetLoad kPresetLoadExtension;

// The table for an extension id, or null for one the plug-in does not offer.
const void* FindExtension(const char* id);

}  // namespace velmora::clap
