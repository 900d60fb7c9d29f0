#include "graphics/platform_font.h"

namespace velmora {

// Windows text goes through GDI, which the Windows window layer provides; until it is
// linked in, no platform font can be made and styled text reports failure.
std::unique_ptr<PlatformFont> CreatePlatformFont(const FontRequest&) {
  return nullptr;
}

}  // namespace velmora
