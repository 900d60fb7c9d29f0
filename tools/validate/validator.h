// Runs the chosen checks against one plug-in, one line per check on out, and answers the
// process exit status: 0 when nothing failed, 1 otherwise. A plug-in that hangs or crashes
// still leaves a FAIL line naming the check it was in.
#pragma once

#include <cstdio>
#include <vector>

#include "tools/validate/check.h"
#include "tools/validate/validate_options.h"

namespace velmora::validate {

// Every check, in the order they run.
const std::vector<Check>& AllChecks();

int RunValidation(const ValidateOptions& options, std::FILE* out);

}  // namespace velmora::validate
