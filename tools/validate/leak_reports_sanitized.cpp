#include <dlfcn.h>

#include "tools/validate/leak_reports.h"

// fontconfig keeps its process-wide configuration for the life of the process, and a
// plug-in's editor fonts start it: that memory is never freed by design.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace velmora::validate {

void KeepPluginMappedForLeakReports(const std::string& path) {
  // A load of our own that is never undone; a failure shows up when the checks load it.
  dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
}

}  // namespace velmora::validate
