// velmora-clap-check MODULE.clap [--plugin ID] [--strict] [--editor]: loads a CLAP module and
// checks its plug-in as a host would; exit status 0 only when every check passed (2: bad command
// line).
#include <cstdio>
#include <cstring>

#include "tools/claphost/clap_checks.h"

int main(int argc, char** argv) {
  velmora::claphost::CheckOptions options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--strict") == 0) {
      options.strict = true;
    } else if (std::strcmp(argv[i], "--editor") == 0) {
      options.editor = true;
    } else if (std::strcmp(argv[i], "--plugin") == 0 && i + 1 < argc) {
      options.pluginId = argv[++i];
    } else if (argv[i][0] != '-' && options.path.empty()) {
      options.path = argv[i];
    } else {
      options.path.clear();
      break;
    }
  }
  if (options.path.empty()) {
    std::fprintf(stderr,
                 "usage: velmora-clap-check MODULE.clap [--plugin ID] [--strict] [--editor]\n");
    return 2;
  }
  return velmora::claphost::RunClapChecks(options) == 0 ? 0 : 1;
}
