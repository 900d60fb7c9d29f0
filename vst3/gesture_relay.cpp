#include "vst3/gesture_relay.h"

namespace velmora::vst3 {

GestureRelay::~GestureRelay() {
  SetHandler(nullptr);
}

void GestureRelay::SetHandler(IComponentHandler* handler) {
  if (handler != nullptr) {
    handler->addRef();
  }
  IComponentHandler* old = nullptr;
  {
    std::lock_guard<std::mutex> guard(handlerLock_);
    old = handler_;
    handler_ = handler;
  }
  if (old != nullptr) {
    old->release();
  }
}

IComponentHandler* GestureRelay::Handler() {
  std::lock_guard<std::mutex> guard(handlerLock_);
  return handler_;
}

void GestureRelay::SetQueued(bool queued) {
  queued_.store(queued);
  if (!queued) {
    Drain();
  }
}

// One consumer at a time: the queue has a single reading end.
void GestureRelay::Drain() {
  std::unique_lock<std::mutex> guard(delivering_, std::try_to_lock);
  if (!guard.owns_lock()) {
    return;
  }
  binding::GestureMessage message;
  while (queue_.Pop(message)) {
    IComponentHandler* handler = Handler();
    if (handler == nullptr) {
      continue;
    }
    const auto id = static_cast<ParamID>(message.index);
    switch (message.kind) {
      case binding::GestureMessage::kBegin:
        handler->beginEdit(id);
        break;
      case binding::GestureMessage::kValue:
        handler->performEdit(id, message.normalised);
        break;
      case binding::GestureMessage::kEnd:
        handler->endEdit(id);
        break;
    }
  }
  if (valuesChanged_.exchange(false)) {
    if (IComponentHandler* handler = Handler()) {
      handler->restartComponent(kParamValuesChanged);
    }
  }
}

void GestureRelay::AfterPush() {
  if (!queued_.load()) {
    Drain();
  }
}

void GestureRelay::GestureBegin(int index) {
  queue_.GestureBegin(index);
  AfterPush();
}

void GestureRelay::GestureValue(int index, double plain, double normalised) {
  queue_.GestureValue(index, plain, normalised);
  AfterPush();
}

void GestureRelay::GestureEnd(int index) {
  queue_.GestureEnd(index);
  AfterPush();
}

}  // namespace velmora::vst3
