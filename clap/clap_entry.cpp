// The module's one export, clap_entry, and the factories it hands out: the plug-in factory
// with the one plug-in and the preset-discovery factory of its factory programs.
#include <cstring>

#include "clap/clap_descriptor.h"
#include "clap/clap_plugin.h"
#include "clap/clap_presets.h"

namespace velmora::clap {
namespace {

uint32_t PluginCount(const PluginFactory*) {
  return 1;
}

const PluginDescriptor* Descriptor(const PluginFactory*, uint32_t index) {
  return index == 0 ? &VelmoraDescriptor() : nullptr;
}

const Plugin* CreatePlugin(const PluginFactory*, const Host* host, const char* pluginId) {
  if (pluginId == nullptr || std::strcmp(pluginId, kPluginId) != 0) {
    return nullptr;
  }
  try {
    return ClapPlugin::Create(host);
  } catch (...) {
    return nullptr;
  }
}

const PluginFactory kPluginFactory = {&PluginCount, &Descriptor, &CreatePlugin};

bool Init(const char*) {
  return true;
}

void Deinit() {}

const void* GetFactory(const char* id) {
  if (id == nullptr) {
    return nullptr;
  }
  if (std::strcmp(id, kPluginFactoryId) == 0) {
    return &kPluginFactory;
  }
  if (std::strcmp(id, kPresetDiscoveryFactoryId) == 0 ||
      std::strcmp(id, kPresetDiscoveryFactoryIdCompat) == 0) {
    return &VelmoraPresetFactory();
  }
  return nullptr;
}

}  // namespace
}  // namespace velmora::clap

extern "C" {
#ifdef _WIN32
__declspec(dllexport)
#else
__attribute__((visibility("default")))
#endif
    extern const velmora::clap::PluginEntry clap_entry = {
        velmora::clap::kVersion, &velmora::clap::Init, &velmora::clap::Deinit,
        &velmora::clap::GetFactory};
}
