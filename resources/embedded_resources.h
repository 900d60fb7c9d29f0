#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::resources {

struct EmbeddedBytes {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

// The editor image with this resource id (100..108, or 200..208 for the double-size set), linked
// into the module at build time; empty for any other id.
EmbeddedBytes FindEmbeddedImage(int32_t id);

// A freely licensed TrueType face linked into the module, used for text when the system
// offers no usable font.
EmbeddedBytes EmbeddedFallbackFont();

}  // namespace velmora::resources
