#pragma once

#include "graphics/blend.h"
#include "graphics/color.h"
#include "graphics/rect.h"

namespace velmora {

class PixelImage;

// Fills r, clipped to the image, with the colour. In every mode but copy the colour's alpha
// scales the blend's weight (alpha 128 at weight 1.0 draws at weight 128 / 255).
void FillRectangle(PixelImage& image, const Color& colour, const Rect& r, const PixelBlend& blend);

// Fills the disc of the given radius around (centreX, centreY) with the colour, under the
// weight rule of FillRectangle. With antiAlias, edge pixels are covered in proportion to
// their overlap with the disc. A negative radius draws nothing.
void FillCircle(PixelImage& image, const Color& colour, float centreX, float centreY, float radius,
                const PixelBlend& blend, bool antiAlias);

}  // namespace velmora
