#include "tools/host/host_callback.h"

#include <map>
#include <mutex>

#include "tools/host/plugin_host.h"

namespace velmora::host {
namespace {

thread_local PluginHost* hostBeingCreated = nullptr;

std::mutex& RegistryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::map<const vst::AEffect*, PluginHost*>& Registry() {
  static std::map<const vst::AEffect*, PluginHost*> registry;
  return registry;
}

PluginHost* FindHost(const vst::AEffect* effect) {
  if (effect != nullptr) {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    auto found = Registry().find(effect);
    if (found != Registry().end()) {
      return found->second;
    }
  }
  return hostBeingCreated;
}

}  // namespace

intptr_t HostCallback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                      void* ptr, float opt) {
  // Nothing may escape into the plug-in: an exception here would unwind through foreign
  // frames compiled without any promise to survive it.
  try {
    PluginHost* host = FindHost(effect);
    if (host != nullptr) {
      return host->AnswerCallback(opcode, index, value, ptr, opt);
    }
    // A call from an instance this process no longer (or never) knew: only the version
    // question has an answer that needs no host.
    return opcode == vst::audioMasterVersion ? 2400 : 0;
  } catch (...) {
    return 0;
  }
}

CreationScope::CreationScope(PluginHost* host) : previous_(hostBeingCreated) {
  hostBeingCreated = host;
}

CreationScope::~CreationScope() {
  hostBeingCreated = previous_;
}

void RegisterEffect(vst::AEffect* effect, PluginHost* host) {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  Registry()[effect] = host;
}

void UnregisterEffect(vst::AEffect* effect) {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  Registry().erase(effect);
}

}  // namespace velmora::host
