// velmora-lv2-ttl FOLDER [--with-ui]: writes manifest.ttl, velmora.ttl and presets.ttl of
// the LV2 bundle into FOLDER. The build runs it, so the bundle always describes the
// parameters and programs the plug-in class declares.
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/lv2ttl/ttl_writer.h"

namespace {

// Writes next to the destination and renames, so a failed run leaves no half file.
bool WriteFile(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) {
      std::fprintf(stderr, "velmora-lv2-ttl: cannot write %s\n", temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "velmora-lv2-ttl: cannot rename %s to %s\n", temporary.c_str(),
                 path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || (argc == 3 && std::string(argv[2]) != "--with-ui")) {
    std::fprintf(stderr, "usage: velmora-lv2-ttl FOLDER [--with-ui]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const bool withUi = argc == 3;
  std::string error;
  const velmora::lv2ttl::PluginDescription plugin = velmora::lv2ttl::DescribeVelmora(error);
  if (!error.empty()) {
    std::fprintf(stderr, "velmora-lv2-ttl: %s\n", error.c_str());
    return 1;
  }
  using velmora::lv2ttl::ManifestTtl;
  using velmora::lv2ttl::PluginTtl;
  using velmora::lv2ttl::PresetsTtl;
  const bool written = WriteFile(folder + "/manifest.ttl", ManifestTtl(plugin, withUi)) &&
                       WriteFile(folder + "/velmora.ttl", PluginTtl(plugin, withUi)) &&
                       WriteFile(folder + "/presets.ttl", PresetsTtl(plugin));
  return written ? 0 : 1;
}
