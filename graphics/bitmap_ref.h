#pragma once

#include <cstdint>

namespace velmora {

class PixelImage;

// A cached image as a control sees it: the picture (owned by the bitmap cache), the size
// of the whole strip and how many equal frames it holds.
struct BitmapRef {
  const PixelImage* image = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t frames = 1;
};

}  // namespace velmora
