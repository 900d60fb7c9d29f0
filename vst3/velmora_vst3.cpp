// The object's identity, life cycle, buses and component state.
#include "vst3/velmora_vst3.h"

#include <new>

#include "binding/state_chunk.h"
#include "vst3/state_stream.h"
#include "vst3/utf16_text.h"

namespace velmora::vst3 {
namespace {

// The host's name, for the plug-in's host identification (some hosts get special care).
binding::HostIdentity IdentityOf(FUnknown* context) {
  binding::HostIdentity identity;
  void* found = nullptr;
  if (context == nullptr ||
      context->queryInterface(IHostApplication::kIid.bytes, &found) != kResultOk ||
      found == nullptr) {
    return identity;
  }
  auto* host = static_cast<IHostApplication*>(found);
  String128 name = {};
  if (host->getName(name) == kResultOk) {
    char text[256];
    CopyToUtf8(name, 128, text, sizeof text);
    identity.product = text;
  }
  host->release();
  return identity;
}

template <typename Interface>
bool Offer(const char* iid, void** object, Interface* self) {
  if (!SameIid(iid, Interface::kIid)) {
    return false;
  }
  self->addRef();
  *object = self;
  return true;
}

}  // namespace

VelmoraVst3* VelmoraVst3::Create() {
  return new (std::nothrow) VelmoraVst3();
}

VelmoraVst3::~VelmoraVst3() {
  terminate();
}

tresult VelmoraVst3::queryInterface(const char* iid, void** object) {
  if (object == nullptr) {
    return kInvalidArgument;
  }
  *object = nullptr;
  if (iid == nullptr) {
    return kInvalidArgument;
  }
  if (SameIid(iid, FUnknown::kIid) || SameIid(iid, IPluginBase::kIid)) {
    addRef();
    *object = static_cast<IComponent*>(this);
    return kResultOk;
  }
  const bool found =
      Offer<IComponent>(iid, object, this) || Offer<IAudioProcessor>(iid, object, this) ||
      Offer<IEditController>(iid, object, this) || Offer<IUnitInfo>(iid, object, this) ||
      Offer<IProcessContextRequirements>(iid, object, this);
  return found ? kResultOk : kNoInterface;
}

uint32_t VelmoraVst3::addRef() {
  return references_.fetch_add(1) + 1;
}

uint32_t VelmoraVst3::release() {
  const uint32_t left = references_.fetch_sub(1) - 1;
  if (left == 0) {
    delete this;
  }
  return left;
}

tresult VelmoraVst3::initialize(FUnknown* context) {
  if (effect_) {
    return kResultOk;
  }
  effect_ = binding::HostedEffect::Create(IdentityOf(context), &gestures_);
  return effect_ ? kResultOk : kOutOfMemory;
}

tresult VelmoraVst3::terminate() {
  gestures_.SetHandler(nullptr);
  if (effect_) {
    effect_->CloseEditor();
    effect_.reset();
  }
  active_ = false;
  return kResultOk;
}

tresult VelmoraVst3::getControllerClassId(char*) {
  return kResultFalse;
}

tresult VelmoraVst3::setIoMode(int32_t) {
  return kResultOk;
}

int32_t VelmoraVst3::getBusCount(int32_t type, int32_t direction) {
  return type == kAudio && (direction == kInput || direction == kOutput) ? 1 : 0;
}

int VelmoraVst3::ChannelsOf(int32_t) const {
  return arrangement_ == kArrangementMono ? 1 : 2;
}

tresult VelmoraVst3::getBusInfo(int32_t type, int32_t direction, int32_t index, BusInfo& bus) {
  if (type != kAudio || (direction != kInput && direction != kOutput) || index != 0) {
    return kInvalidArgument;
  }
  bus = BusInfo{};
  bus.mediaType = kAudio;
  bus.direction = direction;
  bus.channelCount = ChannelsOf(direction);
  CopyToUtf16(direction == kInput ? "Input" : "Output", bus.name, 128);
  bus.busType = kMain;
  bus.flags = BusInfo::kDefaultActive;
  return kResultOk;
}

tresult VelmoraVst3::getRoutingInfo(RoutingInfo&, RoutingInfo&) {
  return kNotImplemented;
}

// The main buses are always active: switching them off would leave nothing to process.
tresult VelmoraVst3::activateBus(int32_t type, int32_t direction, int32_t index, TBool) {
  return type == kAudio && (direction == kInput || direction == kOutput) && index == 0
             ? kResultOk
             : kInvalidArgument;
}

tresult VelmoraVst3::setActive(TBool state) {
  if (!effect_) {
    return kNotInitialized;
  }
  if (state != 0) {
    if (!active_) {
      if (!effect_->Activate(sampleRate_, static_cast<uint32_t>(maxBlock_))) {
        return kResultFalse;
      }
      active_ = true;
    }
  } else if (active_) {
    effect_->Deactivate();
    active_ = false;
  }
  return kResultOk;
}

// Only the plug-in's own 180-byte layout is taken; anything else (empty, cut short, longer,
// another plug-in's) is refused and changes nothing.
tresult VelmoraVst3::SetComponentState(IBStream* state) {
  if (!effect_) {
    return kNotInitialized;
  }
  uint8_t bytes[binding::kStateSize];
  const int64_t size = ReadStream(state, bytes, sizeof bytes);
  if (size != static_cast<int64_t>(binding::kStateSize)) {
    return kResultFalse;
  }
  return effect_->LoadState(bytes, binding::kStateSize) ? kResultOk : kResultFalse;
}

tresult VelmoraVst3::GetComponentState(IBStream* state) {
  if (!effect_) {
    return kNotInitialized;
  }
  if (state == nullptr) {
    return kInvalidArgument;
  }
  uint8_t bytes[binding::kStateSize];
  const size_t size = effect_->SaveState(bytes, sizeof bytes);
  return size == binding::kStateSize && WriteStream(state, bytes, size) ? kResultOk : kResultFalse;
}

// The controller holds nothing the component state does not: its own state is empty.
tresult VelmoraVst3::SetControllerState(IBStream*) {
  return kResultOk;
}

tresult VelmoraVst3::GetControllerState(IBStream*) {
  return kResultOk;
}

uint32_t VelmoraVst3::getProcessContextRequirements() {
  return IProcessContextRequirements::kNeedProjectTimeMusic |
         IProcessContextRequirements::kNeedTempo | IProcessContextRequirements::kNeedTransportState;
}

}  // namespace velmora::vst3
