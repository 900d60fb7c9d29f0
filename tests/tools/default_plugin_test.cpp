#include "tools/render/default_plugin.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/tools/temp_folder.h"

namespace velmora::render {
namespace {

namespace fs = std::filesystem;
using host::testing::TempFolder;

class DefaultPluginTest : public ::testing::Test {
 protected:
  // An installed layout under the temporary folder: PREFIX/bin/velmora-render.
  std::string Tool() const { return folder_.Path("usr/bin/velmora-render"); }
  fs::path InstalledPlugin() const { return folder_.Root() / "usr/lib/vst/velmora.so"; }
  void Install() {
    fs::create_directories(InstalledPlugin().parent_path());
    std::ofstream(InstalledPlugin()) << "module";
  }

  TempFolder folder_;
};

TEST_F(DefaultPluginTest, InstalledToolUsesThePluginUnderItsOwnPrefix) {
  Install();
  EXPECT_EQ(ChooseDefaultPlugin(Tool(), "/build/plugin/velmora.so"), InstalledPlugin().string());
}

TEST_F(DefaultPluginTest, ToolWithoutAnInstalledPluginUsesTheBuiltOne) {
  EXPECT_EQ(ChooseDefaultPlugin(Tool(), "/build/plugin/velmora.so"), "/build/plugin/velmora.so");
  EXPECT_EQ(ChooseDefaultPlugin(Tool(), ""), "");
}

TEST_F(DefaultPluginTest, UnknownExecutableUsesTheBuiltPlugin) {
  Install();
  EXPECT_EQ(ChooseDefaultPlugin("", "/build/plugin/velmora.so"), "/build/plugin/velmora.so");
}

TEST_F(DefaultPluginTest, FolderNamedLikeThePluginIsNoPlugin) {
  fs::create_directories(InstalledPlugin());
  EXPECT_EQ(ChooseDefaultPlugin(Tool(), "/build/plugin/velmora.so"), "/build/plugin/velmora.so");
}

}  // namespace
}  // namespace velmora::render
