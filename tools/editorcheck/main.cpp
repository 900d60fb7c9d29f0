// velmora-editorcheck: the Velmora editor on Windows, end to end. Loads the plug-in DLL
// with the host library, opens its editor in a real top-level window, drives it with
// posted mouse, wheel and key messages, checks the host calls each gesture makes, compares
// the window's pixels with the same editor painted headless in this process, cycles the
// window a hundred times counting GDI and USER objects, and checks the GDI text code.
// Prints one line per check; exits 0 only when every check passed. Runs under Wine (as
// CTest does) or on Windows.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tools/editorcheck/checks.h"

namespace velmora::editorcheck {
namespace {

// The picture's folder is made when missing (out/ in a fresh checkout).
void MakeParentFolder(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  if (slash != std::string::npos && slash > 0) {
    CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  }
}

int Run(const std::string& path, const std::string& pngPath) {
  if (!pngPath.empty()) {
    MakeParentFolder(pngPath);
  }
  auto loaded = host::PluginHost::Load(path);
  if (!loaded) {
    std::printf("velmora-editorcheck: %s\n", loaded.Error().c_str());
    return 1;
  }
  host::PluginHost& plugin = *loaded.Value();
  plugin.Start();
  CheckLog log;
  {
    EditorHarness harness(plugin);
    // The picture first, while every parameter is at its default as in the reference.
    CheckPicture(harness, log, pngPath);
    CheckWindow(harness, log);
    CheckFocusAndSharedClass(harness, path, log);
    if (harness.Open()) {
      harness.Pump(2);
      CheckGestures(harness, log);
      CheckEntryPopups(harness, log);
      CheckBalancedGestures(harness, log);
      CheckFocusReturn(harness, log);
      harness.Close();
    }
    CheckOpenCloseCycles(harness, log);
    CheckOpenDuringAudio(harness, log);
  }
  CheckTextEntry(log);
  CheckTextAndPlatform(log);
  std::printf("velmora-editorcheck: %d check(s) failed\n", log.Failures());
  return log.Failures() == 0 ? 0 : 1;
}

// The high-density check alone: declaring the process DPI aware changes what every other
// check would see.
int RunScaled(const std::string& path, const std::string& pngPath) {
  if (!pngPath.empty()) {
    MakeParentFolder(pngPath);
  }
  auto loaded = host::PluginHost::Load(path);
  if (!loaded) {
    std::printf("velmora-editorcheck: %s\n", loaded.Error().c_str());
    return 1;
  }
  host::PluginHost& plugin = *loaded.Value();
  plugin.Start();
  CheckLog log;
  CheckScaledPicture(plugin, log, pngPath);
  std::printf("velmora-editorcheck: %d check(s) failed\n", log.Failures());
  return log.Failures() == 0 ? 0 : 1;
}

}  // namespace
}  // namespace velmora::editorcheck

int main(int argc, char** argv) {
  std::string png;
  bool scaled = false;
  int next = 2;
  if (argc > next && std::strcmp(argv[next], "--scaled") == 0) {
    scaled = true;
    ++next;
  }
  if (argc == next + 2 && std::strcmp(argv[next], "--png") == 0) {
    png = argv[next + 1];
  } else if (argc != next) {
    std::printf("usage: velmora-editorcheck PLUGIN.dll [--scaled] [--png PICTURE.png]\n");
    return 2;
  }
  return scaled ? velmora::editorcheck::RunScaled(argv[1], png)
                : velmora::editorcheck::Run(argv[1], png);
}
