#pragma once

#include <cstdint>
#include <memory>

namespace velmora {

class PixelImage;

// A copy of source resized to width x height. Each destination pixel averages the source
// area it covers, weighted by how much of each source pixel lies inside it (a box filter),
// with colours weighted by their alpha so transparent pixels lend no colour to the edge.
// Used to make the editor's pictures for scales that have no artwork of their own. Null
// when either size is not positive or memory cannot be had.
std::unique_ptr<PixelImage> ResampleImage(const PixelImage& source, int32_t width, int32_t height);

}  // namespace velmora
