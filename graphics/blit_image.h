#pragma once

#include <cstdint>

#include "graphics/blend.h"

namespace velmora {

class PixelImage;

// Copies a width x height block of source, starting at (sourceX, sourceY), onto destination
// at (destX, destY), compositing each pixel with the blend's mode and weight. The block is
// clipped against both images; a negative position on either side shifts both. A weight
// of 0 draws nothing.
void BlitImage(PixelImage& destination, const PixelImage& source, int32_t destX, int32_t destY,
               int32_t sourceX, int32_t sourceY, int32_t width, int32_t height,
               const PixelBlend& blend);

}  // namespace velmora
