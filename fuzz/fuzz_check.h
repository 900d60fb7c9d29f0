// How a fuzz target reports a broken promise: a message and an abort, so libFuzzer keeps the
// input that got there.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace velmora::fuzz {

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace velmora::fuzz
