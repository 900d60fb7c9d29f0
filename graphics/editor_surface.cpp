#include "graphics/editor_surface.h"

namespace velmora {

EditorSurface::EditorSurface(int32_t width, int32_t height, std::unique_ptr<PixelMemory> memory)
    : PixelImage(std::move(memory)) {
  Resize(width, height);
}

}  // namespace velmora
