#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace velmora {

class PixelImage;

// Decodes a PNG held in memory into a new 32-bit image (A << 24 | R << 16 | G << 8 | B).
// Every colour type and bit depth is accepted: palettes become RGB, grey becomes RGB, a
// transparency chunk becomes alpha, 16-bit samples are reduced to 8, and images without
// alpha get alpha 255. Returns null for anything that is not a complete, decodable PNG.
std::unique_ptr<PixelImage> DecodePng(const uint8_t* data, size_t size);

}  // namespace velmora
