// Opening the plug-in's view in a window of the host's own and dragging a knob in it with
// posted mouse messages (Windows). The gestures must reach the component handler as one
// beginEdit, performEdit..., endEdit on the window's thread.
#pragma once

#include <string>

#include "tools/vst3host/vst3_plugin.h"

namespace velmora::vst3host {

// True when the check passed; detail says what was seen (or why the check cannot run here).
bool CheckEditor(Vst3Plugin& plugin, std::string& detail);

}  // namespace velmora::vst3host
