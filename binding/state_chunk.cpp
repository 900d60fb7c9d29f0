#include "binding/state_chunk.h"

#include <cmath>
#include <cstring>

namespace velmora::binding {
namespace {

uint64_t LittleEndian64(const uint8_t* bytes) {
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i) {
    value = (value << 8) | bytes[i];
  }
  return value;
}

}  // namespace

double StoredValue(const uint8_t* bytes, int index) {
  const uint64_t raw = LittleEndian64(bytes + kStateVersionBytes + 8 * static_cast<size_t>(index));
  double value = 0.0;
  std::memcpy(&value, &raw, sizeof(value));
  return value;
}

bool IsOwnState(const uint8_t* bytes, size_t size) {
  if (bytes == nullptr || size != kStateSize) {
    return false;
  }
  const uint32_t version = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                           static_cast<uint32_t>(bytes[2]) << 16 |
                           static_cast<uint32_t>(bytes[3]) << 24;
  if (version != static_cast<uint32_t>(kStateVersion)) {
    return false;
  }
  for (int i = 0; i < dsp::kParamCount; ++i) {
    if (!std::isfinite(StoredValue(bytes, i))) {
      return false;
    }
  }
  return true;
}

}  // namespace velmora::binding
