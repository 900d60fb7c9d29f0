// Hands the editor's gestures to the host's thread in the order they were made. Producers
// (the editor's thread, a host thread) serialise on a mutex of their own; the one consumer
// (the thread that talks to the host, possibly the audio thread) never waits: the ring is a
// single-producer single-consumer buffer behind that producer mutex.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "binding/gesture_sink.h"

namespace velmora::binding {

struct GestureMessage {
  enum Kind : uint8_t { kBegin, kValue, kEnd };
  Kind kind = kValue;
  int index = 0;
  double plain = 0.0;
  double normalised = 0.0;
};

class GestureQueue final : public GestureSink {
 public:
  static constexpr uint32_t kCapacity = 1024;
  // Value messages stop being queued this close to full, so the gesture ends that close the
  // values already queued always find room.
  static constexpr uint32_t kReservedForEnds = 64;

  using Notifier = void (*)(void* context);
  // Called after each queued message, on the producer's thread (e.g. to ask the host for a
  // flush). Set it before the editor can produce anything.
  void SetNotifier(Notifier notifier, void* context);

  void GestureBegin(int index) override;
  void GestureValue(int index, double plain, double normalised) override;
  void GestureEnd(int index) override;

  // Takes the oldest message; false when there is none. Consumer side only.
  bool Pop(GestureMessage& message);
  bool Empty() const;
  // Messages refused because the ring was full (the host fell behind for a long time).
  uint32_t Dropped() const { return dropped_.load(std::memory_order_relaxed); }

 private:
  bool Push(const GestureMessage& message, uint32_t reserve);

  std::mutex producers_;
  GestureMessage ring_[kCapacity];
  std::atomic<uint32_t> head_{0};  // next to write, producers
  std::atomic<uint32_t> tail_{0};  // next to read, consumer
  std::atomic<uint32_t> dropped_{0};
  Notifier notifier_ = nullptr;
  void* notifierContext_ = nullptr;
};

}  // namespace velmora::binding
