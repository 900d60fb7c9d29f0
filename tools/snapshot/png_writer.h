// Writes an image to a PNG file as the screen shows it: red, green and blue only (the
// window copy ignores alpha).
#pragma once

#include <string>

namespace velmora {
class PixelImage;
}

namespace velmora::snapshot {

// Writes through a temporary file next to path and renames it, so a failed run never
// leaves half a picture behind. Returns an empty text, or what went wrong.
std::string WriteRgbPng(const PixelImage& image, const std::string& path);

}  // namespace velmora::snapshot
