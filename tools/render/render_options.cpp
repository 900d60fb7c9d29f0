#include "tools/render/render_options.h"

#include <cmath>
#include <functional>
#include <map>

#include "tools/render/parameter_values.h"

namespace velmora::render {

const char* const kRenderUsage =
    "usage: velmora-render [options] [INPUT.wav|INPUT.flac]\n"
    "Renders an audio file (or, without one, a built-in demo) through a VST 2 plug-in.\n"
    "  --plugin PATH         plug-in to use (default: the Velmora installed with this tool,\n"
    "                        or the one built with it)\n"
    "  --output PATH         .wav or .flac to write (default: out/demo.wav for the demo,\n"
    "                        out/<input name>-rendered.<extension> for a file)\n"
    "  --rate HZ             sample rate (default: the input's; 44100 for the demo)\n"
    "  --tempo BPM           host tempo (default 120)\n"
    "  --no-tempo            the host reports no valid tempo (Velmora then plays at\n"
    "                        120 BPM, exactly as with --tempo 120)\n"
    "  --block FRAMES        block size (default 512)\n"
    "  --tail SECONDS|auto   keep rendering after the input ends; auto (the default) stops\n"
    "                        once the output stayed below -96 dBFS for a second (60 s at most)\n"
    "  --set NAME=VALUE      set a parameter by name or index, in its displayed units\n"
    "  --program N|NAME      select a program before the settings\n"
    "  --load-state FILE     load a .fxp program or .fxb bank before the settings\n"
    "  --save-state FILE     save a .fxp program or .fxb bank after the settings\n"
    "  --list-params         print index, name, value and label of every parameter\n"
    "  --list-programs       print the number and name of every program\n"
    "  --quiet               no progress bar\n"
    "  --help                this text\n";

namespace {

using OptionsResult = host::Result<RenderOptions>;

bool ParseBounded(const std::string& text, double low, double high, double& number) {
  return ParseNumber(text, number) && number >= low && number <= high;
}

// Options that take a value, with what they do with it; an empty string means success.
using ValueHandler = std::function<std::string(RenderOptions&, const std::string&)>;

std::map<std::string, ValueHandler> ValueOptions() {
  return {
      {"--plugin", [](RenderOptions& o, const std::string& v) { return o.pluginPath = v, ""; }},
      {"--output", [](RenderOptions& o, const std::string& v) { return o.outputPath = v, ""; }},
      {"--set", [](RenderOptions& o, const std::string& v) { return o.settings.push_back(v), ""; }},
      {"--program", [](RenderOptions& o, const std::string& v) { return o.program = v, ""; }},
      {"--load-state", [](RenderOptions& o, const std::string& v) { return o.loadState = v, ""; }},
      {"--save-state", [](RenderOptions& o, const std::string& v) { return o.saveState = v, ""; }},
      {"--rate",
       [](RenderOptions& o, const std::string& v) -> std::string {
         double rate = 0.0;
         if (!ParseBounded(v, 8000.0, 384000.0, rate) || rate != std::floor(rate)) {
           return "--rate expects a whole number of Hz from 8000 to 384000, got \"" + v + "\"";
         }
         o.sampleRate = rate;
         return "";
       }},
      {"--tempo",
       [](RenderOptions& o, const std::string& v) -> std::string {
         if (!ParseBounded(v, 1.0, 999.0, o.tempo)) {
           return "--tempo expects beats per minute from 1 to 999, got \"" + v + "\"";
         }
         return "";
       }},
      {"--block",
       [](RenderOptions& o, const std::string& v) -> std::string {
         double block = 0.0;
         if (!ParseBounded(v, 1.0, 65536.0, block) || block != std::floor(block)) {
           return "--block expects a whole number of frames from 1 to 65536, got \"" + v + "\"";
         }
         o.blockSize = static_cast<int>(block);
         return "";
       }},
      {"--tail",
       [](RenderOptions& o, const std::string& v) -> std::string {
         o.tailGiven = true;
         o.tailAuto = v == "auto";
         if (!o.tailAuto && !ParseBounded(v, 0.0, 3600.0, o.tailSeconds)) {
           return "--tail expects seconds from 0 to 3600 or auto, got \"" + v + "\"";
         }
         return "";
       }},
  };
}

std::string ParseFlag(RenderOptions& options, const std::string& flag) {
  if (flag == "--no-tempo") {
    options.noTempo = true;
  } else if (flag == "--list-params") {
    options.listParams = true;
  } else if (flag == "--list-programs") {
    options.listPrograms = true;
  } else if (flag == "--quiet") {
    options.quiet = true;
  } else if (flag == "--help" || flag == "-h") {
    options.help = true;
  } else {
    return "unknown option " + flag + " (--help lists them)";
  }
  return "";
}

}  // namespace

OptionsResult ParseRenderOptions(const std::vector<std::string>& arguments) {
  RenderOptions options;
  const auto valueOptions = ValueOptions();
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() < 2 || argument.compare(0, 1, "-") != 0) {
      if (!options.inputPath.empty()) {
        return OptionsResult::Failure("only one input file, got \"" + options.inputPath +
                                      "\" and \"" + argument + "\"");
      }
      options.inputPath = argument;
      continue;
    }
    size_t equals = argument.find('=');
    std::string name = argument.substr(0, equals);
    auto handler = valueOptions.find(name);
    if (handler == valueOptions.end()) {
      std::string error = ParseFlag(options, argument);
      if (!error.empty()) {
        return OptionsResult::Failure(error);
      }
      continue;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      return OptionsResult::Failure(name + " needs a value");
    }
    std::string error = handler->second(options, value);
    if (!error.empty()) {
      return OptionsResult::Failure(error);
    }
  }
  return OptionsResult::Success(options);
}

std::string DefaultOutputPath(const std::string& inputPath) {
  if (inputPath.empty()) {
    return "out/demo.wav";
  }
  size_t slash = inputPath.find_last_of('/');
  std::string name = slash == std::string::npos ? inputPath : inputPath.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  std::string extension = dot == std::string::npos || dot == 0 ? ".wav" : name.substr(dot);
  return "out/" + stem + "-rendered" + extension;
}

}  // namespace velmora::render
