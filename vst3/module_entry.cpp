// What the module exports: the factory, and the entry and exit calls hosts make when they
// load and unload it (ModuleEntry/ModuleExit on Linux, InitDll/ExitDll on Windows). The
// module needs no set-up of its own: the process-wide caches live until it is unloaded.
#include <atomic>

#include "vst3/plugin_factory.h"

namespace {

std::atomic<int> entries{0};

bool Enter() {
  entries.fetch_add(1);
  return true;
}

// An exit without a matching entry is refused rather than counted below zero.
bool Leave() {
  int current = entries.load();
  while (current > 0) {
    if (entries.compare_exchange_weak(current, current - 1)) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" {

velmora::vst3::IPluginFactory* VELMORA_VST3_CALL GetPluginFactory() {
  return &velmora::vst3::PluginFactory::Instance();
}

#if defined(_WIN32)
bool InitDll() {
  return Enter();
}

bool ExitDll() {
  return Leave();
}
#else
bool ModuleEntry(void*) {
  return Enter();
}

bool ModuleExit() {
  return Leave();
}
#endif

}  // extern "C"
