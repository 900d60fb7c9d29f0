#include "frame/entry_point.h"

#include "frame/recursive_lock.h"

namespace velmora {
namespace {

// Made on the first call ever and destroyed when the library unloads.
RecursiveLock& CreationLock() {
  static RecursiveLock lock;
  return lock;
}

}  // namespace

vst::AEffect* CreateEffectInstance(vst::HostCallback host, EffectFactory factory) {
  LockGuard guard(CreationLock());
  IEffectVST* plugin = nullptr;
  try {
    plugin = factory != nullptr ? factory(host) : nullptr;
  } catch (...) {
    plugin = nullptr;
  }
  if (plugin == nullptr) {
    return nullptr;
  }
  plugin->EnsureOneProgram();
  vst::AEffect* effect = plugin->Effect();
  if (effect->numPrograms < 1) {
    effect->numPrograms = 1;
  }
  return effect;
}

}  // namespace velmora
