// The command line of velmora-snapshot.
#pragma once

#include <string>

namespace velmora::snapshot {

struct SnapshotOptions {
  std::string output = "editor.png";
  std::string program;        // a program number (0-based) or name; empty = the defaults
  double audioSeconds = 0.0;  // demo audio run through the effect before the picture
  double sampleRate = 44100.0;
  double tempo = 120.0;
  double scale = 1.0;  // the display scale a host asks the editor for (1 = 100 %)
  bool help = false;
};

// Fills options from argv; returns an empty text or the reason the command line is wrong.
std::string ParseSnapshotOptions(int argc, char** argv, SnapshotOptions* options);

const char* SnapshotUsage();

}  // namespace velmora::snapshot
