#include "tools/snapshot/snapshot_options.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace velmora::snapshot {
namespace {

// A whole decimal number within [minimum, maximum]; false for anything else.
bool ReadNumber(const char* text, double minimum, double maximum, double* value) {
  char* end = nullptr;
  const double number = std::strtod(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(number) || number < minimum ||
      number > maximum) {
    return false;
  }
  *value = number;
  return true;
}

}  // namespace

const char* SnapshotUsage() {
  return "usage: velmora-snapshot [--output FILE.png] [--program NUMBER|NAME]\n"
         "                        [--audio-seconds N] [--sample-rate HZ] [--tempo BPM]\n"
         "                        [--scale S]\n"
         "Writes the Velmora editor, as it appears on screen, to a PNG file.\n"
         "  --output         where to write the picture (default editor.png)\n"
         "  --program        select a program first, by 0-based number or by name\n"
         "  --audio-seconds  run the built-in demo audio through the effect first, so the\n"
         "                   bypass lamp and the modulation strips show live values (0..600)\n"
         "  --sample-rate    for the audio run (8000..384000, default 44100)\n"
         "  --tempo          host tempo for the audio run (20..999, default 120)\n"
         "  --scale          draw the editor for a high-density screen, asked for as a host\n"
         "                   asks for it (1..3, default 1; 2 gives 998 x 972 pixels)\n";
}

std::string ParseSnapshotOptions(int argc, char** argv, SnapshotOptions* options) {
  for (int i = 1; i < argc; ++i) {
    const char* name = argv[i];
    if (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0) {
      options->help = true;
      continue;
    }
    if (i + 1 >= argc) {
      return std::string("unknown option or missing value: ") + name;
    }
    const char* value = argv[++i];
    if (std::strcmp(name, "--output") == 0) {
      options->output = value;
    } else if (std::strcmp(name, "--program") == 0) {
      options->program = value;
    } else if (std::strcmp(name, "--audio-seconds") == 0) {
      if (!ReadNumber(value, 0.0, 600.0, &options->audioSeconds)) {
        return std::string("--audio-seconds needs a number of seconds from 0 to 600, not ") + value;
      }
    } else if (std::strcmp(name, "--sample-rate") == 0) {
      if (!ReadNumber(value, 8000.0, 384000.0, &options->sampleRate)) {
        return std::string("--sample-rate needs 8000 to 384000 Hz, not ") + value;
      }
    } else if (std::strcmp(name, "--tempo") == 0) {
      if (!ReadNumber(value, 20.0, 999.0, &options->tempo)) {
        return std::string("--tempo needs 20 to 999 beats per minute, not ") + value;
      }
    } else if (std::strcmp(name, "--scale") == 0) {
      if (!ReadNumber(value, 1.0, 3.0, &options->scale)) {
        return std::string("--scale needs a factor from 1 to 3, not ") + value;
      }
    } else {
      return std::string("unknown option: ") + name;
    }
  }
  if (options->output.empty()) {
    return "--output needs a file name";
  }
  return std::string();
}

}  // namespace velmora::snapshot
