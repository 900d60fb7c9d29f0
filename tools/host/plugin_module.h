// A loaded plug-in binary: a shared object on Linux, a DLL on Windows. Each platform
// supplies this interface in its own source file (plugin_module_posix.cpp,
// plugin_module_win32.cpp); portable code sees only an opaque handle.
#pragma once

#include <memory>
#include <string>

#include "tools/host/result.h"

namespace velmora::host {

class PluginModule {
 public:
  // Loads the binary at path (UTF-8). Fails with the loader's own reason.
  static Result<std::unique_ptr<PluginModule>> Open(const std::string& path);

  // Unloads the binary; every pointer obtained from it becomes invalid.
  ~PluginModule();

  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  // Address of an exported function, or null when the binary does not export it.
  void* FindSymbol(const char* name) const;

 private:
  explicit PluginModule(void* handle) : handle_(handle) {}
  void* handle_;
};

}  // namespace velmora::host
