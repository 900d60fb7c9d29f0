#include "graphics/blit_image.h"

#include <algorithm>
#include <cstring>

#include "graphics/pixel_compositing.h"
#include "graphics/pixel_image.h"

namespace velmora {
namespace {

// Moves the start of one axis so that both sides lie inside their images; returns the
// remaining length (0 or less when nothing is left).
int32_t ClipAxis(int32_t& dest, int32_t& source, int32_t length, int32_t destSize,
                 int32_t sourceSize) {
  const int32_t shift = std::max({0, -dest, -source});
  dest += shift;
  source += shift;
  length -= shift;
  length = std::min({length, destSize - dest, sourceSize - source});
  return length;
}

}  // namespace

void BlitImage(PixelImage& destination, const PixelImage& source, int32_t destX, int32_t destY,
               int32_t sourceX, int32_t sourceY, int32_t width, int32_t height,
               const PixelBlend& blend) {
  const pixel::PixelOp op = pixel::MakePixelOp(blend);
  if (op.w <= 0) {
    return;
  }
  width = ClipAxis(destX, sourceX, width, destination.Width(), source.Width());
  height = ClipAxis(destY, sourceY, height, destination.Height(), source.Height());
  if (width <= 0 || height <= 0) {
    return;
  }
  const bool plainCopy = op.mode == PixelMode::kCopy && op.w >= 256;
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t* from = source.Row(sourceY + y) + sourceX;
    uint32_t* to = destination.Row(destY + y) + destX;
    if (plainCopy) {
      std::memmove(to, from, static_cast<size_t>(width) * sizeof(uint32_t));
      continue;
    }
    for (int32_t x = 0; x < width; ++x) {
      to[x] = pixel::Composite(op, from[x], to[x]);
    }
  }
}

}  // namespace velmora
