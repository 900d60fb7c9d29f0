#pragma once

#include <cstdint>

namespace velmora {

// A colour with straight (not premultiplied) alpha, each channel 0..255.
struct Color {
  int32_t alpha = 255;
  int32_t red = 0;
  int32_t green = 0;
  int32_t blue = 0;

  // The surface's pixel word: alpha << 24 | red << 16 | green << 8 | blue.
  uint32_t Packed() const {
    return static_cast<uint32_t>(alpha & 0xFF) << 24 | static_cast<uint32_t>(red & 0xFF) << 16 |
           static_cast<uint32_t>(green & 0xFF) << 8 | static_cast<uint32_t>(blue & 0xFF);
  }
};

}  // namespace velmora
