// Velmora's identity as CLAP hosts see it: one plug-in, its id, names, features and version.
#pragma once

#include "clap/clap_abi.h"

namespace velmora::clap {

constexpr char kPluginId[] = "com.tolvane.velmora";

// The descriptor of the one plug-in; its version is the VST 2 plug-in's ("1.0.0").
const PluginDescriptor& VelmoraDescriptor();

}  // namespace velmora::clap
