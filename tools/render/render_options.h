// The command line of velmora-render.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/host/result.h"

namespace velmora::render {

struct RenderOptions {
  std::string pluginPath;  // empty: the built Velmora
  std::string inputPath;   // empty: the built-in demo
  std::string outputPath;  // empty: out/demo.wav, or out/<input name>-rendered.<extension>
  std::optional<double> sampleRate;
  double tempo = 120.0;
  bool noTempo = false;  // report no valid tempo, as a host without a transport does
  int blockSize = 512;
  // After the input: a fixed number of seconds, or (tailAuto) until the output has stayed
  // below kQuietLevel for a second, at most kLongestAutoTail seconds.
  bool tailAuto = true;
  double tailSeconds = 0.0;
  bool tailGiven = false;             // --tail appeared on the command line
  std::vector<std::string> settings;  // NAME=VALUE, applied in order
  std::string program;                // number or name; empty: leave the plug-in's choice
  std::string loadState;              // .fxp or .fxb to load before rendering
  std::string saveState;              // .fxp or .fxb to write after the settings
  bool listParams = false;
  bool listPrograms = false;
  bool quiet = false;
  bool help = false;
};

// What --tail auto waits for: -96 dBFS, held for one second, and how long it waits at most.
constexpr double kQuietLevel = 1.5848931924611134e-05;
constexpr double kQuietSeconds = 1.0;
constexpr double kLongestAutoTail = 60.0;

host::Result<RenderOptions> ParseRenderOptions(const std::vector<std::string>& arguments);

// The output path used when none is given.
std::string DefaultOutputPath(const std::string& inputPath);

extern const char* const kRenderUsage;

}  // namespace velmora::render
