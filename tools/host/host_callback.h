// The host callback every plug-in instance receives, and the registry it uses to find the
// PluginHost behind an effect record. The callback is a plain C function, so the host object
// cannot travel with it: known instances are looked up by their record; calls made while
// the entry point is still building the instance (before the host has seen the record) go
// to the host that is creating an instance on the calling thread.
#pragma once

#include <cstdint>

#include "frame/vst2.h"

namespace velmora::host {

class PluginHost;

// The audioMaster function handed to every entry point.
intptr_t HostCallback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                      void* ptr, float opt);

// Marks host as the one creating an instance on this thread for the lifetime of the guard.
class CreationScope {
 public:
  explicit CreationScope(PluginHost* host);
  ~CreationScope();
  CreationScope(const CreationScope&) = delete;
  CreationScope& operator=(const CreationScope&) = delete;

 private:
  PluginHost* previous_;
};

// Any thread. Connects an effect record to its host until Unregister.
void RegisterEffect(vst::AEffect* effect, PluginHost* host);
void UnregisterEffect(vst::AEffect* effect);

}  // namespace velmora::host
