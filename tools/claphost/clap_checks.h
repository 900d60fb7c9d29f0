// The checks velmora-clap-check runs on a CLAP module: each prints one PASS or FAIL line.
#pragma once

#include <string>

namespace velmora::claphost {

struct CheckOptions {
  std::string path;
  std::string pluginId;  // empty: the module's first plug-in
  // Also feed non-finite samples and expect finite output, and expect bad state refused.
  bool strict = false;
  // Also open and close the editor in a window of the host's own (skipped without a display).
  bool editor = false;
};

// Runs every check; returns the number that failed (a module that does not load is one).
int RunClapChecks(const CheckOptions& options);

}  // namespace velmora::claphost
