// Loading plug-ins with the POSIX dynamic loader.
#include <dlfcn.h>

#include "tools/host/plugin_module.h"

namespace velmora::host {

Result<std::unique_ptr<PluginModule>> PluginModule::Open(const std::string& path) {
  // RTLD_LOCAL keeps one plug-in's symbols from resolving another's; RTLD_NOW reports
  // missing dependencies here rather than as a crash in the middle of processing.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    return Result<std::unique_ptr<PluginModule>>::Failure(
        "cannot load plug-in " + path + ": " + (reason != nullptr ? reason : "unknown reason"));
  }
  return Result<std::unique_ptr<PluginModule>>::Success(
      std::unique_ptr<PluginModule>(new PluginModule(handle)));
}

PluginModule::~PluginModule() {
  if (handle_ != nullptr) {
    dlclose(handle_);
  }
}

void* PluginModule::FindSymbol(const char* name) const {
  return dlsym(handle_, name);
}

}  // namespace velmora::host
