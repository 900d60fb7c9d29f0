#pragma once

#include <memory>

#include "graphics/pixel_memory.h"

namespace velmora {

// Pixel memory in a 32-bit top-down DIB section selected into its own memory device
// context, so a window can copy from it with BitBlt and GDI can draw into it. The section
// is span pixels wide and as many rows tall as the reserved pixels fill; rows beyond the
// image's height are never shown. Null when GDI cannot make the device context.
std::unique_ptr<PixelMemory> MakeDibPixelMemory();

}  // namespace velmora
