#pragma once

#include <cstdint>
#include <memory>

#include "graphics/pixel_image.h"

namespace velmora {

// The editor's off-screen drawing surface: one per graphics object, created at the editor's
// size and kept while the graphics object lives. The window layer decides where its pixels
// live by handing in the PixelMemory (a DIB section on Windows, the heap elsewhere).
class EditorSurface : public PixelImage {
 public:
  EditorSurface(int32_t width, int32_t height,
                std::unique_ptr<PixelMemory> memory = MakeHeapPixelMemory());

  // False when the pixel memory could not be obtained (the surface is then 0 x 0).
  bool IsValid() const { return Width() > 0 && Height() > 0; }
};

}  // namespace velmora
