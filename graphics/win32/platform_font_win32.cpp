#include "graphics/platform_font.h"
#include "graphics/win32/gdi_font.h"

namespace velmora {

std::unique_ptr<PlatformFont> CreatePlatformFont(const FontRequest& request) {
  return GdiFont::Create(request);
}

}  // namespace velmora
