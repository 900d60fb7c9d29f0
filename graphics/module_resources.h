#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

// The raw bytes of a resource compiled into the plug-in module.
struct ResourceBytes {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

// Finds the image resource (type "PNG") with this numeric id in the module that contains
// this code. Returns empty bytes when there is none. Each platform supplies this in its own
// source file: Windows reads the module's resource section, Linux the images linked into
// the plug-in at build time.
ResourceBytes FindImageResource(int32_t id);

// Every editor picture (ids 100..199) is also stored drawn at twice its size, for
// high-density screens, under its id plus this offset.
constexpr int32_t kDoubleSizeIdOffset = 100;
inline int32_t DoubleSizeResourceId(int32_t id) {
  return id >= 100 && id < 200 ? id + kDoubleSizeIdOffset : -1;
}

}  // namespace velmora
