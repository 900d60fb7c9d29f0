#include "tools/vst3host/host_objects.h"

#include <algorithm>
#include <cstring>

namespace velmora::vst3host {

tresult HostApplication::getName(String128 name) {
  size_t i = 0;
  for (; i < name_.size() && i < 127; ++i) {
    name[i] = static_cast<char16>(static_cast<unsigned char>(name_[i]));
  }
  name[i] = 0;
  return kResultOk;
}

tresult MemoryStream::read(void* buffer, int32_t bytes, int32_t* bytesRead) {
  if (buffer == nullptr || bytes < 0) {
    return kInvalidArgument;
  }
  const size_t count = std::min(static_cast<size_t>(bytes), bytes_.size() - position_);
  if (count > 0) {
    std::memcpy(buffer, bytes_.data() + position_, count);
  }
  position_ += count;
  if (bytesRead != nullptr) {
    *bytesRead = static_cast<int32_t>(count);
  }
  return count > 0 || bytes == 0 ? kResultOk : kResultFalse;
}

tresult MemoryStream::write(void* buffer, int32_t bytes, int32_t* bytesWritten) {
  if (buffer == nullptr || bytes < 0) {
    return kInvalidArgument;
  }
  const auto* from = static_cast<const uint8_t*>(buffer);
  if (position_ + bytes > bytes_.size()) {
    bytes_.resize(position_ + bytes);
  }
  std::memcpy(bytes_.data() + position_, from, static_cast<size_t>(bytes));
  position_ += static_cast<size_t>(bytes);
  if (bytesWritten != nullptr) {
    *bytesWritten = bytes;
  }
  return kResultOk;
}

tresult MemoryStream::seek(int64_t position, int32_t mode, int64_t* result) {
  int64_t base = 0;
  if (mode == IBStream::kSeekCur) {
    base = static_cast<int64_t>(position_);
  } else if (mode == IBStream::kSeekEnd) {
    base = static_cast<int64_t>(bytes_.size());
  } else if (mode != IBStream::kSeekSet) {
    return kInvalidArgument;
  }
  const int64_t target = base + position;
  if (target < 0 || target > static_cast<int64_t>(bytes_.size())) {
    return kResultFalse;
  }
  position_ = static_cast<size_t>(target);
  if (result != nullptr) {
    *result = target;
  }
  return kResultOk;
}

tresult MemoryStream::tell(int64_t* position) {
  if (position == nullptr) {
    return kInvalidArgument;
  }
  *position = static_cast<int64_t>(position_);
  return kResultOk;
}

tresult ParamQueue::getPoint(int32_t index, int32_t& offset, ParamValue& value) {
  if (index < 0 || static_cast<size_t>(index) >= count_) {
    return kResultFalse;
  }
  offset = offsets_[index];
  value = values_[index];
  return kResultOk;
}

tresult ParamQueue::addPoint(int32_t offset, ParamValue value, int32_t& index) {
  if (count_ >= kCapacity) {
    return kResultFalse;
  }
  offsets_[count_] = offset;
  values_[count_] = value;
  index = static_cast<int32_t>(count_++);
  return kResultOk;
}

IParamValueQueue* ParamChanges::getParameterData(int32_t index) {
  return index >= 0 && static_cast<size_t>(index) < used_ ? &queues_[index] : nullptr;
}

IParamValueQueue* ParamChanges::addParameterData(const ParamID& id, int32_t& index) {
  for (size_t i = 0; i < used_; ++i) {
    if (queues_[i].getParameterId() == id) {
      index = static_cast<int32_t>(i);
      return &queues_[i];
    }
  }
  if (used_ >= kCapacity) {
    return nullptr;
  }
  queues_[used_].Reset(id);
  index = static_cast<int32_t>(used_);
  return &queues_[used_++];
}

void ParamChanges::Add(ParamID id, int32_t offset, double value) {
  int32_t index = 0;
  if (IParamValueQueue* queue = addParameterData(id, index)) {
    queue->addPoint(offset, value, index);
  }
}

void ComponentHandler::Record(HandlerCall::Kind kind, ParamID id, double value) {
  std::lock_guard<std::mutex> guard(lock_);
  calls_.push_back({kind, id, value, std::this_thread::get_id()});
}

tresult ComponentHandler::beginEdit(ParamID id) {
  Record(HandlerCall::kBegin, id, 0.0);
  return kResultOk;
}

tresult ComponentHandler::performEdit(ParamID id, ParamValue value) {
  Record(HandlerCall::kPerform, id, value);
  return kResultOk;
}

tresult ComponentHandler::endEdit(ParamID id) {
  Record(HandlerCall::kEnd, id, 0.0);
  return kResultOk;
}

tresult ComponentHandler::restartComponent(int32_t flags) {
  Record(HandlerCall::kRestart, 0, flags);
  return kResultOk;
}

std::vector<HandlerCall> ComponentHandler::Calls() {
  std::lock_guard<std::mutex> guard(lock_);
  return calls_;
}

void ComponentHandler::Clear() {
  std::lock_guard<std::mutex> guard(lock_);
  calls_.clear();
}

tresult RunLoop::registerTimer(ITimerHandler* handler, uint64_t) {
  if (handler == nullptr) {
    return kInvalidArgument;
  }
  timers_.push_back(handler);
  return kResultOk;
}

tresult RunLoop::unregisterTimer(ITimerHandler* handler) {
  const auto found = std::find(timers_.begin(), timers_.end(), handler);
  if (found == timers_.end()) {
    return kResultFalse;
  }
  timers_.erase(found);
  return kResultOk;
}

void RunLoop::RunTimers() {
  const std::vector<ITimerHandler*> now = timers_;
  for (ITimerHandler* timer : now) {
    timer->onTimer();
  }
}

tresult PlugFrame::queryInterface(const char* iid, void** object) {
  if (offerRunLoop_ && object != nullptr && SameIid(iid, IRunLoop::kIid)) {
    loop_.addRef();
    *object = static_cast<IRunLoop*>(&loop_);
    return kResultOk;
  }
  return Offer(iid, object);
}

tresult PlugFrame::resizeView(IPlugView* view, ViewRect* size) {
  if (view == nullptr || size == nullptr) {
    return kInvalidArgument;
  }
  {
    std::lock_guard<std::mutex> guard(lock_);
    resizes_.push_back(*size);
  }
  view->onSize(size);
  return kResultOk;
}

std::vector<ViewRect> PlugFrame::Resizes() {
  std::lock_guard<std::mutex> guard(lock_);
  return resizes_;
}

}  // namespace velmora::vst3host
