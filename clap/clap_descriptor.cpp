#include "clap/clap_descriptor.h"

#include <cstdio>

#include "plugin/velmora_plugin.h"

namespace velmora::clap {
namespace {

const char* const kFeatures[] = {"audio-effect", "delay", "stereo", nullptr};

// The frame's version (major << 16 | minor << 8 | patch level) as "major.minor.patch".
const char* VersionText() {
  static char text[32] = {};
  static const bool written = [] {
    const int32_t version = VelmoraSetup().version;
    std::snprintf(text, sizeof(text), "%d.%d.%d", (version >> 16) & 0xffff, (version >> 8) & 0xff,
                  version & 0xff);
    return true;
  }();
  (void)written;
  return text;
}

}  // namespace

const PluginDescriptor& VelmoraDescriptor() {
  static const PluginDescriptor descriptor = {
      kVersion,
      kPluginId,
      "Velmora",
      "Tolvane",
      "",
      "",
      "",
      VersionText(),
      "Tempo-synchronised stereo ping-pong delay with swept resonant filters",
      kFeatures};
  return descriptor;
}

}  // namespace velmora::clap
