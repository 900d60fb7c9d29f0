#include "tools/render/default_plugin.h"

#include <filesystem>
#include <system_error>

#ifndef VELMORA_DEFAULT_PLUGIN
#define VELMORA_DEFAULT_PLUGIN ""
#endif

namespace velmora::render {

std::string ChooseDefaultPlugin(const std::string& executablePath, const std::string& builtPlugin) {
  namespace fs = std::filesystem;
  if (!executablePath.empty()) {
    const fs::path prefix = fs::path(executablePath).parent_path().parent_path();
    const fs::path installed = prefix / "lib" / "vst" / "velmora.so";
    std::error_code error;
    if (fs::is_regular_file(installed, error)) {
      return installed.lexically_normal().string();
    }
  }
  return builtPlugin;
}

std::string DefaultPlugin() {
  std::error_code error;
  // Linux names the running executable here; where it cannot be read, the built plug-in
  // is the default.
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return ChooseDefaultPlugin(error ? std::string() : self.string(), VELMORA_DEFAULT_PLUGIN);
}

}  // namespace velmora::render
