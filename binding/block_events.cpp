#include "binding/block_events.h"

#include <algorithm>

namespace velmora::binding {

void SortByOffset(BlockEvent* events, uint32_t count) {
  if (events == nullptr || std::is_sorted(events, events + count, [](const auto& a, const auto& b) {
        return a.offset < b.offset;
      })) {
    return;
  }
  for (uint32_t i = 0; i < count; ++i) {
    events[i].arrival = i;
  }
  std::sort(events, events + count, [](const BlockEvent& a, const BlockEvent& b) {
    return a.offset != b.offset ? a.offset < b.offset : a.arrival < b.arrival;
  });
}

uint32_t EffectiveOffset(uint32_t offset, uint32_t done, uint32_t frames) {
  return std::clamp(offset, std::min(done, frames), frames);
}

}  // namespace velmora::binding
