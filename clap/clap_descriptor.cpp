#include "clap/clap_descriptor.h"

#include "plugin/velmora_version.h"

namespace velmora::clap {
namespace {

const char* const kFeatures[] = {"audio-effect", "delay", "stereo", nullptr};

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
      VelmoraVersionText(),
      "Tempo-synchronised stereo ping-pong delay with swept resonant filters",
      kFeatures};
  return descriptor;
}

}  // namespace velmora::clap
