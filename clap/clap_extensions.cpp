#include "clap/clap_extensions.h"

#include <cstring>

namespace velmora::clap {

const void* FindExtension(const char* id) {
  struct Entry {
    const char* id;
    const void* table;
  };
  static const Entry kEntries[] = {
      {kExtParams, &kParamsExtension},
      {kExtState, &kStateExtension},
      {kExtAudioPorts, &kAudioPortsExtension},
      {kExtAudioPortsConfig, &kAudioPortsConfigExtension},
      {kExtLatency, &kLatencyExtension},
      {kExtTail, &kTailExtension},
      {kExtGui, &kGuiExtension},
      {kExtPresetLoad, &kPresetLoadExtension},
      {kExtPresetLoadCompat, &kPresetLoadExtension},
  };
  for (const Entry& entry : kEntries) {
    if (std::strcmp(entry.id, id) == 0) {
      return entry.table;
    }
  }
  return nullptr;
}

}  // namespace velmora::clap
