// Setting a plug-in parameter the way a user reads it: by name (or index) and by the text
// the plug-in displays ("1/8", "Lowpass", "-60", "250 Hz"), not by the host's 0..1 value.
// The plug-in is the only authority on its display, so the normalised value is found by
// asking it: a scan for enumerated texts, a bisection for numbers.
#pragma once

#include <cstdint>
#include <string>

#include "tools/host/plugin_host.h"

namespace velmora::render {

// A parameter by its name (case-insensitive) or by its index.
host::Result<int32_t> FindParameter(const host::PluginHost& host, const std::string& nameOrIndex);

// The normalised value whose display text is value. Probes the plug-in with setParameter;
// on failure the parameter's previous value is put back.
host::Result<float> NormalisedForDisplay(host::PluginHost& host, int32_t index,
                                         const std::string& value);

// "NAME=VALUE" resolved and applied to the plug-in.
host::Status ApplySetting(host::PluginHost& host, const std::string& setting);

// Parses a whole text as a number in the C locale's notation; false if anything is left.
bool ParseNumber(const std::string& text, double& number);

}  // namespace velmora::render
