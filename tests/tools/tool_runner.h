// Running velmora-render as a separate process inside a temporary folder, and reading the
// audio it wrote.
#pragma once

#include <sndfile.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/temp_folder.h"

namespace velmora::host::testing {

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string ReadText(const std::string& path) {
  std::ifstream stream(path);
  std::stringstream text;
  text << stream.rdbuf();
  return text.str();
}

// Runs the tool inside folder with the given arguments (already quoted where needed).
inline ToolRun RunTool(const TempFolder& folder, const std::string& arguments) {
  std::string command = "cd '" + folder.Root().string() + "' && '" + VELMORA_RENDER_TOOL + "' " +
                        arguments + " >stdout.txt 2>stderr.txt";
  int status = std::system(command.c_str());
  ToolRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadText(folder.Path("stdout.txt"));
  run.err = ReadText(folder.Path("stderr.txt"));
  std::remove(folder.Path("stdout.txt").c_str());
  std::remove(folder.Path("stderr.txt").c_str());
  return run;
}

inline std::vector<float> ReadAudio(const std::string& path, SF_INFO& info) {
  info = SF_INFO{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    return {};
  }
  std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
  sf_readf_float(file, samples.data(), info.frames);
  sf_close(file);
  return samples;
}

}  // namespace velmora::host::testing
