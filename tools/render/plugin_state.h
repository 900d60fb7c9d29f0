// Programs and preset files for a loaded plug-in: selecting a program by number or name,
// and loading or saving .fxp / .fxb files. A file that does not fit the plug-in changes
// nothing.
#pragma once

#include <string>

#include "tools/host/plugin_host.h"
#include "tools/render/fx_preset.h"

namespace velmora::render {

// A program by its number (0-based) or its name (case-insensitive).
host::Status SelectProgram(host::PluginHost& host, const std::string& numberOrName);

// The plug-in's current program (isBank false) or all its programs as a preset file. The
// current program, its values and every program's name stay as they were.
FxFile CaptureState(host::PluginHost& host, bool isBank);
// Applies a checked preset file: a program goes into the current program, a bank into all.
void ApplyState(host::PluginHost& host, const FxFile& file);

host::Status LoadStateFile(host::PluginHost& host, const std::string& path);
// The form follows the extension: .fxb writes the bank, anything else one program.
host::Status SaveStateFile(host::PluginHost& host, const std::string& path);

}  // namespace velmora::render
