// The host side of the VST 3 interfaces, as a small test host provides it: the application
// context, a memory stream, parameter-change lists, a component handler that records the
// calls it gets, and a plug-in frame with a run loop whose timers the host's thread runs.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "vst3/abi/vst3_controller.h"
#include "vst3/abi/vst3_processing.h"
#include "vst3/abi/vst3_view.h"

namespace velmora::vst3host {

using namespace velmora::vst3;

// Objects owned by the host: reference counts are kept but never free them.
template <typename Interface>
class HostObject : public Interface {
 public:
  uint32_t VELMORA_VST3_CALL addRef() override { return ++references_; }
  uint32_t VELMORA_VST3_CALL release() override { return --references_; }
  uint32_t References() const { return references_; }

 protected:
  // Answers FUnknown and Interface itself.
  tresult Offer(const char* iid, void** object) {
    if (object == nullptr) {
      return kInvalidArgument;
    }
    *object = nullptr;
    if (SameIid(iid, FUnknown::kIid) || SameIid(iid, Interface::kIid)) {
      *object = static_cast<Interface*>(this);
      addRef();
      return kResultOk;
    }
    return kNoInterface;
  }

 private:
  std::atomic<uint32_t> references_{1};
};

class HostApplication final : public HostObject<IHostApplication> {
 public:
  explicit HostApplication(std::string name) : name_(std::move(name)) {}
  tresult VELMORA_VST3_CALL queryInterface(const char* iid, void** object) override {
    return Offer(iid, object);
  }
  tresult VELMORA_VST3_CALL getName(String128 name) override;
  tresult VELMORA_VST3_CALL createInstance(char*, char*, void** object) override {
    if (object != nullptr) {
      *object = nullptr;
    }
    return kResultFalse;
  }

 private:
  std::string name_;
};

// A growable byte stream, as hosts hand to getState and setState.
class MemoryStream final : public HostObject<IBStream> {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
  tresult VELMORA_VST3_CALL queryInterface(const char* iid, void** object) override {
    return Offer(iid, object);
  }
  tresult VELMORA_VST3_CALL read(void* buffer, int32_t bytes, int32_t* bytesRead) override;
  tresult VELMORA_VST3_CALL write(void* buffer, int32_t bytes, int32_t* bytesWritten) override;
  tresult VELMORA_VST3_CALL seek(int64_t position, int32_t mode, int64_t* result) override;
  tresult VELMORA_VST3_CALL tell(int64_t* position) override;

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  void Rewind() { position_ = 0; }

 private:
  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
};

// One parameter's points in a block.
class ParamQueue final : public HostObject<IParamValueQueue> {
 public:
  tresult VELMORA_VST3_CALL queryInterface(const char* iid, void** object) override {
    return Offer(iid, object);
  }
  ParamID VELMORA_VST3_CALL getParameterId() override { return id_; }
  int32_t VELMORA_VST3_CALL getPointCount() override { return static_cast<int32_t>(count_); }
  tresult VELMORA_VST3_CALL getPoint(int32_t index, int32_t& offset, ParamValue& value) override;
  tresult VELMORA_VST3_CALL addPoint(int32_t offset, ParamValue value, int32_t& index) override;

  void Reset(ParamID id) {
    id_ = id;
    count_ = 0;
  }

 private:
  static constexpr size_t kCapacity = 64;
  ParamID id_ = 0;
  size_t count_ = 0;
  int32_t offsets_[kCapacity] = {};
  double values_[kCapacity] = {};
};

// The changes of one block. Points may be added in any order (tests send them unordered).
class ParamChanges final : public HostObject<IParameterChanges> {
 public:
  tresult VELMORA_VST3_CALL queryInterface(const char* iid, void** object) override {
    return Offer(iid, object);
  }
  int32_t VELMORA_VST3_CALL getParameterCount() override { return static_cast<int32_t>(used_); }
  IParamValueQueue* VELMORA_VST3_CALL getParameterData(int32_t index) override;
  IParamValueQueue* VELMORA_VST3_CALL addParameterData(const ParamID& id, int32_t& index) override;

  void Add(ParamID id, int32_t offset, double value);
  void Clear() { used_ = 0; }

 private:
  static constexpr size_t kCapacity = 64;
  ParamQueue queues_[kCapacity];
  size_t used_ = 0;
};

// What the plug-in told the component handler, with the thread it came from.
struct HandlerCall {
  enum Kind { kBegin, kPerform, kEnd, kRestart } kind;
  ParamID id;
  double value;
  std::thread::id thread;
};

class ComponentHandler final : public HostObject<IComponentHandler> {
 public:
  tresult VELMORA_VST3_CALL queryInterface(const char* iid, void** object) override {
    return Offer(iid, object);
  }
  tresult VELMORA_VST3_CALL beginEdit(ParamID id) override;
  tresult VELMORA_VST3_CALL performEdit(ParamID id, ParamValue value) override;
  tresult VELMORA_VST3_CALL endEdit(ParamID id) override;
  tresult VELMORA_VST3_CALL restartComponent(int32_t flags) override;

  std::vector<HandlerCall> Calls();
  void Clear();

 private:
  void Record(HandlerCall::Kind kind, ParamID id, double value);
  std::mutex lock_;
  std::vector<HandlerCall> calls_;
};

// The frame's run loop: timers fire when the host's thread calls RunTimers.
class RunLoop final : public HostObject<IRunLoop> {
 public:
  tresult VELMORA_VST3_CALL queryInterface(const char* iid, void** object) override {
    return Offer(iid, object);
  }
  tresult VELMORA_VST3_CALL registerEventHandler(IEventHandler*, int) override { return kResultOk; }
  tresult VELMORA_VST3_CALL unregisterEventHandler(IEventHandler*) override { return kResultOk; }
  tresult VELMORA_VST3_CALL registerTimer(ITimerHandler* handler, uint64_t) override;
  tresult VELMORA_VST3_CALL unregisterTimer(ITimerHandler* handler) override;
  void RunTimers();
  size_t TimerCount() const { return timers_.size(); }

 private:
  std::vector<ITimerHandler*> timers_;
};

// A frame that grants every resize request as a host does (the view hears onSize with the
// new size) and keeps the sizes asked for, in order.
class PlugFrame final : public HostObject<IPlugFrame> {
 public:
  // offerRunLoop false: a frame without a run loop, as some hosts give.
  explicit PlugFrame(bool offerRunLoop = true) : offerRunLoop_(offerRunLoop) {}
  tresult VELMORA_VST3_CALL queryInterface(const char* iid, void** object) override;
  tresult VELMORA_VST3_CALL resizeView(IPlugView* view, ViewRect* size) override;
  RunLoop& Loop() { return loop_; }
  std::vector<ViewRect> Resizes();

 private:
  bool offerRunLoop_;
  RunLoop loop_;
  std::mutex lock_;
  std::vector<ViewRect> resizes_;
};

}  // namespace velmora::vst3host
