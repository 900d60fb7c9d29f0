#include "clap/clap_descriptor.h"

#include <cstdio>

#include "plugin/velmora_plugin.h"

namespace velmora::clap {
namespace {

const char* const kFeatures[] = {"audio-effect", "delay", "stereo", nullptr};

// The frame's version (major << 16 | minor << 8 | patch level) as "major.minor.patch",
// written once.
const char* VersionText() {
  static const struct Text {
    Text() {
      const int32_t version = VelmoraSetup().version;
      std::snprintf(chars, sizeof(chars), "%d.%d.%d", (version >> 16) & 0xffff,
                    (version >> 8) & 0xff, version & 0xff);
    }
    char chars[32] = {};
  } text;
  return text.chars;
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
