// Creating a plug-in instance for a host: the work behind the exported entry point.
#pragma once

#include "frame/effect_vst.h"

namespace velmora {

// Builds one plug-in object; returns null (or throws) when it cannot.
using EffectFactory = IEffectVST* (*)(vst::HostCallback host);

// Creates an instance under the process-wide creation lock, so that hosts creating instances
// on several threads at once get them built one after the other. Returns the instance's
// effect record, or null when it could not be built. Asks the host nothing.
vst::AEffect* CreateEffectInstance(vst::HostCallback host, EffectFactory factory);

}  // namespace velmora
