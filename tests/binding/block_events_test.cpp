#include <gtest/gtest.h>

#include "binding/block_events.h"

#include <vector>

namespace velmora::binding {
namespace {

TEST(BlockEvents, SortKeepsTheHostsOrderAmongEqualOffsets) {
  BlockEvent events[5];
  const uint32_t offsets[5] = {40, 10, 40, 0, 10};
  for (int i = 0; i < 5; ++i) {
    events[i].offset = offsets[i];
    events[i].index = i;
  }
  SortByOffset(events, 5);
  const int expected[5] = {3, 1, 4, 0, 2};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(events[i].index, expected[i]) << i;
  }
  SortByOffset(nullptr, 3);
  SortByOffset(events, 0);
}

// Eight queues of dense automation laid end to end, as a host's parameter changes arrive:
// each run in order, the runs interleaving, many offsets shared between queues.
TEST(BlockEvents, InterleavedQueuesComeOutInOrderWithEqualOffsetsInArrivalOrder) {
  constexpr uint32_t kQueues = 8;
  constexpr uint32_t kPoints = 512;
  std::vector<BlockEvent> events(kQueues * kPoints);
  for (uint32_t q = 0; q < kQueues; ++q) {
    for (uint32_t p = 0; p < kPoints; ++p) {
      BlockEvent& event = events[q * kPoints + p];
      event.offset = p * 2 + q % 3;
      event.index = static_cast<int>(q * kPoints + p);
    }
  }
  SortByOffset(events.data(), static_cast<uint32_t>(events.size()));
  for (size_t i = 1; i < events.size(); ++i) {
    ASSERT_LE(events[i - 1].offset, events[i].offset) << i;
    if (events[i - 1].offset == events[i].offset) {
      ASSERT_LT(events[i - 1].index, events[i].index) << i;
    }
  }
}

TEST(BlockEvents, EffectiveOffsetNeverGoesBackNorBeyondTheBlock) {
  EXPECT_EQ(EffectiveOffset(10, 0, 64), 10u);
  EXPECT_EQ(EffectiveOffset(10, 20, 64), 20u);   // out of order: takes effect now
  EXPECT_EQ(EffectiveOffset(500, 20, 64), 64u);  // beyond the block: at its end
  EXPECT_EQ(EffectiveOffset(0, 70, 64), 64u);
  EXPECT_EQ(EffectiveOffset(0, 0, 0), 0u);
}

}  // namespace
}  // namespace velmora::binding
