// velmora-validate PLUGIN: checks a VST 2 plug-in the way a demanding host would.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/validate/validate_options.h"
#include "tools/validate/validator.h"

int main(int argc, char** argv) {
  using namespace velmora::validate;
  auto options = ParseValidateOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!options) {
    std::fprintf(stderr, "velmora-validate: %s\n", options.Error().c_str());
    return 2;
  }
  if (options.Value().help) {
    std::fputs(kValidateUsage, stdout);
    return 0;
  }
  if (options.Value().listChecks) {
    for (const Check& check : AllChecks()) {
      std::printf("%s\n", check.name);
    }
    return 0;
  }
  return RunValidation(options.Value(), stdout);
}
