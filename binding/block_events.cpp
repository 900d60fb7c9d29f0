#include "binding/block_events.h"

#include <algorithm>

namespace velmora::binding {

void SortByOffset(BlockEvent* events, uint32_t count) {
  if (events == nullptr) {
    return;
  }
  for (uint32_t i = 1; i < count; ++i) {
    if (events[i - 1].offset <= events[i].offset) {
      continue;
    }
    const BlockEvent moving = events[i];
    uint32_t j = i;
    while (j > 0 && events[j - 1].offset > moving.offset) {
      events[j] = events[j - 1];
      --j;
    }
    events[j] = moving;
  }
}

uint32_t EffectiveOffset(uint32_t offset, uint32_t done, uint32_t frames) {
  return std::clamp(offset, std::min(done, frames), frames);
}

}  // namespace velmora::binding
