#include "binding/gesture_queue.h"

namespace velmora::binding {

void GestureQueue::SetNotifier(Notifier notifier, void* context) {
  std::lock_guard<std::mutex> guard(producers_);
  notifier_ = notifier;
  notifierContext_ = context;
}

bool GestureQueue::Push(const GestureMessage& message, uint32_t reserve) {
  Notifier notifier = nullptr;
  void* context = nullptr;
  {
    std::lock_guard<std::mutex> guard(producers_);
    const uint32_t head = head_.load(std::memory_order_relaxed);
    const uint32_t used = head - tail_.load(std::memory_order_acquire);
    if (used + reserve >= kCapacity) {
      dropped_.fetch_add(1, std::memory_order_relaxed);
      return false;
    }
    ring_[head % kCapacity] = message;
    head_.store(head + 1, std::memory_order_release);
    notifier = notifier_;
    context = notifierContext_;
  }
  if (notifier != nullptr) {
    notifier(context);
  }
  return true;
}

void GestureQueue::GestureBegin(int index) {
  GestureMessage message;
  message.kind = GestureMessage::kBegin;
  message.index = index;
  Push(message, kReservedForEnds / 2);
}

void GestureQueue::GestureValue(int index, double plain, double normalised) {
  GestureMessage message;
  message.kind = GestureMessage::kValue;
  message.index = index;
  message.plain = plain;
  message.normalised = normalised;
  Push(message, kReservedForEnds);
}

void GestureQueue::GestureEnd(int index) {
  GestureMessage message;
  message.kind = GestureMessage::kEnd;
  message.index = index;
  Push(message, 0);
}

bool GestureQueue::Pop(GestureMessage& message) {
  const uint32_t tail = tail_.load(std::memory_order_relaxed);
  if (tail == head_.load(std::memory_order_acquire)) {
    return false;
  }
  message = ring_[tail % kCapacity];
  tail_.store(tail + 1, std::memory_order_release);
  return true;
}

bool GestureQueue::Empty() const {
  return tail_.load(std::memory_order_acquire) == head_.load(std::memory_order_acquire);
}

}  // namespace velmora::binding
