#pragma once

#include <cstdint>

#include "graphics/blend.h"

namespace velmora {

class PixelImage;

// Draws the whole source image turned by angle radians (positive = clockwise on screen)
// about (centreX, centreY), bilinearly resampled in 16.16 fixed point, clipped to the
// destination only. The sampling grid starts at (sourceOffsetX, sourceOffsetY) in the
// source; positions that fall outside the source are not drawn.
void BlitRotated(PixelImage& destination, const PixelImage& source, int32_t centreX,
                 int32_t centreY, double angle, const PixelBlend& blend, float sourceOffsetX,
                 float sourceOffsetY);

}  // namespace velmora
