// The command line of velmora-validate.
#pragma once

#include <string>
#include <vector>

#include "tools/host/result.h"
#include "tools/validate/check.h"

namespace velmora::validate {

struct ValidateOptions {
  std::string pluginPath;
  Strictness strictness = Strictness::kNormal;
  std::vector<std::string> only;  // check names to run; empty: all of them
  uint32_t seed = 1;
  double timeLimitSeconds = 120.0;  // for the whole run
  bool listChecks = false;
  bool help = false;
};

host::Result<ValidateOptions> ParseValidateOptions(const std::vector<std::string>& arguments);

extern const char* const kValidateUsage;

}  // namespace velmora::validate
