// Runs a piece of test code in a child process with a time limit, so that a foreign plug-in
// that crashes or hangs fails its own test instead of taking the whole suite with it.
#pragma once

#include <functional>
#include <string>

namespace velmora::host::testing {

struct IsolatedOutcome {
  bool passed = false;
  std::string message;  // what the child reported, or how it died
};

// body runs in the child and returns an empty string on success or the failure text.
IsolatedOutcome RunIsolated(const std::function<std::string()>& body, unsigned timeoutSeconds);

}  // namespace velmora::host::testing
