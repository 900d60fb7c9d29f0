// The 32 factory programs for the host's preset browser: a preset-discovery factory whose one
// provider names the plug-in itself as the container of its presets, and the preset-load
// extension that loads one by its key (the program's number, "1" to "32").
#pragma once

#include "clap/clap_preset_abi.h"

namespace velmora::clap {

const PresetDiscoveryFactory& VelmoraPresetFactory();

// The factory program a load key names (0-based), or -1 for a key that names none.
int ProgramOfLoadKey(const char* key, int programCount);

}  // namespace velmora::clap
