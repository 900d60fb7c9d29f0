#include "graphics/module_resources.h"
#include "resources/embedded_resources.h"

namespace velmora {

ResourceBytes FindImageResource(int32_t id) {
  const resources::EmbeddedBytes bytes = resources::FindEmbeddedImage(id);
  return ResourceBytes{bytes.data, bytes.size};
}

}  // namespace velmora
