// velmora-render: renders audio through a VST 2 plug-in from the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/render/audio_output.h"
#include "tools/render/render_app.h"

int main(int argc, char** argv) {
  velmora::render::RemovePartialOutputOnSignals();
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return velmora::render::RunRender(arguments, stdout, stderr);
}
