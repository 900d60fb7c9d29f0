#include <gtest/gtest.h>

#include "binding/block_events.h"

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

TEST(BlockEvents, EffectiveOffsetNeverGoesBackNorBeyondTheBlock) {
  EXPECT_EQ(EffectiveOffset(10, 0, 64), 10u);
  EXPECT_EQ(EffectiveOffset(10, 20, 64), 20u);   // out of order: takes effect now
  EXPECT_EQ(EffectiveOffset(500, 20, 64), 64u);  // beyond the block: at its end
  EXPECT_EQ(EffectiveOffset(0, 70, 64), 64u);
  EXPECT_EQ(EffectiveOffset(0, 0, 0), 0u);
}

}  // namespace
}  // namespace velmora::binding
