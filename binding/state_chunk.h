// The plug-in's saved state as every format stores it: the VST 2 program chunk, a 32-bit
// version (10000) followed by the 22 parameter values as little-endian doubles, 180 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/parameter_index.h"

namespace velmora::binding {

constexpr size_t kStateVersionBytes = 4;
constexpr size_t kStateSize = kStateVersionBytes + dsp::kParamCount * 8;
constexpr int32_t kStateVersion = 10000;

// True for a chunk this plug-in wrote: exactly kStateSize bytes, the expected version, and
// values that are all finite numbers. Anything else is foreign or damaged and must not be
// loaded (a partial load would leave a mixture of two states).
bool IsOwnState(const uint8_t* bytes, size_t size);

// The value of parameter index stored in a chunk IsOwnState accepted.
double StoredValue(const uint8_t* bytes, int index);

}  // namespace velmora::binding
