#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "binding/gesture_queue.h"

namespace velmora::binding {
namespace {

void CountCall(void* context) {
  ++*static_cast<int*>(context);
}

TEST(GestureQueue, HandsOverMessagesInOrderAndNotifiesEach) {
  GestureQueue queue;
  int notified = 0;
  queue.SetNotifier(&CountCall, &notified);
  queue.GestureBegin(3);
  queue.GestureValue(3, 42.0, 0.42);
  queue.GestureEnd(3);
  EXPECT_EQ(notified, 3);
  GestureMessage m;
  ASSERT_TRUE(queue.Pop(m));
  EXPECT_EQ(m.kind, GestureMessage::kBegin);
  EXPECT_EQ(m.index, 3);
  ASSERT_TRUE(queue.Pop(m));
  EXPECT_EQ(m.kind, GestureMessage::kValue);
  EXPECT_EQ(m.plain, 42.0);
  EXPECT_EQ(m.normalised, 0.42);
  ASSERT_TRUE(queue.Pop(m));
  EXPECT_EQ(m.kind, GestureMessage::kEnd);
  EXPECT_FALSE(queue.Pop(m));
  EXPECT_TRUE(queue.Empty());
}

TEST(GestureQueue, AFullQueueDropsValuesButStillTakesTheEnd) {
  GestureQueue queue;
  queue.GestureBegin(1);
  for (uint32_t i = 0; i < GestureQueue::kCapacity * 2; ++i) {
    queue.GestureValue(1, i, 0.0);
  }
  queue.GestureEnd(1);
  EXPECT_GT(queue.Dropped(), GestureQueue::kCapacity);
  GestureMessage m;
  GestureMessage last;
  uint32_t count = 0;
  while (queue.Pop(m)) {
    last = m;
    ++count;
  }
  EXPECT_EQ(last.kind, GestureMessage::kEnd);
  EXPECT_LT(count, GestureQueue::kCapacity);
}

// Two producer threads and one consumer: every message arrives once, and each producer's
// messages keep their order.
TEST(GestureQueue, ProducersOnTwoThreadsKeepTheirOwnOrder) {
  GestureQueue queue;
  constexpr int kPerThread = 20000;
  auto produce = [&queue](int index) {
    for (int i = 0; i < kPerThread; ++i) {
      queue.GestureValue(index, i, 0.0);
    }
  };
  std::vector<double> last = {-1.0, -1.0};
  int received = 0;
  bool ordered = true;
  std::thread a(produce, 0);
  std::thread b(produce, 1);
  auto drain = [&] {
    GestureMessage m;
    while (queue.Pop(m)) {
      ordered = ordered && m.plain > last[m.index];
      last[m.index] = m.plain;
      ++received;
    }
  };
  while (received + static_cast<int>(queue.Dropped()) < 2 * kPerThread) {
    drain();
    std::this_thread::yield();
  }
  a.join();
  b.join();
  drain();
  EXPECT_TRUE(ordered);
  EXPECT_EQ(received + static_cast<int>(queue.Dropped()), 2 * kPerThread);
}

}  // namespace
}  // namespace velmora::binding
