#include "lv2/ui_effect.h"

#include <cmath>

#include "engine/parameter_index.h"
#include "lv2/port_index.h"

namespace velmora::lv2 {
namespace {

// Enough for every gesture of a long drag between two idle calls without growing.
constexpr size_t kQueueReserve = 1024;

}  // namespace

UiEffect::UiEffect(const EffectSetup& setup, const UiHostLink& host, const LV2_URID_Map* map)
    : IEffectBase(setup), host_(host), mapped_(urids_.Map(map)) {
  queue_.reserve(kQueueReserve);
  delivering_.reserve(kQueueReserve);
}

bool UiEffect::RequestEditorSize(int width, int height) {
  const LV2UI_Resize* resize = host_.resize;
  return resize != nullptr && resize->ui_resize != nullptr &&
         resize->ui_resize(resize->handle, width, height) == 0;
}

void UiEffect::Queue(HostMessage::Kind kind, int index, float value) {
  if (!IsValidParam(index)) {
    return;
  }
  std::lock_guard<std::mutex> guard(queueMutex_);
  queue_.push_back(HostMessage{kind, ParamPort(index), value});
}

void UiEffect::BeginParamEdit(int index) {
  FlushPendingParamEdit();
  Queue(HostMessage::kTouchBegin, index, 0.0f);
}

void UiEffect::ContinueParamEdit(int index) {
  LockGuard guard(InstanceLock());
  if (index != PendingParamEdit()) {
    FlushPendingParamEdit();
    Queue(HostMessage::kTouchBegin, index, 0.0f);
  }
}

// The stored value has just been set from the editor's normalised value; the port takes it
// in its displayed units.
void UiEffect::AutomateParam(int index, double) {
  const IEffectParam* param = Param(index);
  if (param != nullptr) {
    Queue(HostMessage::kWrite, index, static_cast<float>(param->Value()));
  }
}

void UiEffect::EndParamEdit(int index) {
  Queue(HostMessage::kTouchEnd, index, 0.0f);
}

void UiEffect::DeliverToHost() {
  {
    std::lock_guard<std::mutex> guard(queueMutex_);
    delivering_.swap(queue_);
  }
  for (const HostMessage& message : delivering_) {
    if (message.kind == HostMessage::kWrite) {
      if (host_.write != nullptr) {
        host_.write(host_.controller, message.port, sizeof(float), 0, &message.value);
      }
    } else if (host_.touch != nullptr && host_.touch->touch != nullptr) {
      host_.touch->touch(host_.touch->handle, message.port,
                         message.kind == HostMessage::kTouchBegin);
    }
  }
  delivering_.clear();
}

void UiEffect::PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
  if (buffer == nullptr) {
    return;
  }
  const int index = ParamOfPort(port);
  if (format == 0 && index >= 0 && size == sizeof(float)) {
    ShowPortValue(index, *static_cast<const float*>(buffer));
    return;
  }
  DisplayValues values;
  if (port == kPortNotify && mapped_ && format == urids_.atomEventTransfer &&
      size >= sizeof(LV2_Atom) &&
      size - sizeof(LV2_Atom) >= static_cast<const LV2_Atom*>(buffer)->size &&
      ReadDisplayMessage(urids_, static_cast<const LV2_Atom*>(buffer), values)) {
    ShowDisplays(values);
  }
}

// As a VST 2 host's parameter change reaches the editor: stored on whole steps inside the
// range, then shown on every control bound to the parameter.
void UiEffect::ShowPortValue(int index, float value) {
  if (!std::isfinite(value)) {
    return;
  }
  LockGuard guard(InstanceLock());
  IEffectParam* param = Param(index);
  param->SetClampedValue(value);
  if (EditorLink* editor = Editor()) {
    editor->ShowParamValue(index, param->Value(), false);
  }
}

void UiEffect::ShowDisplays(const DisplayValues& values) {
  auto store = [](dsp::GraphDisplay& record, const StripValues& strip) {
    record.current.store(strip.current, std::memory_order_relaxed);
    record.lower.store(strip.lower, std::memory_order_relaxed);
    record.upper.store(strip.upper, std::memory_order_relaxed);
  };
  store(left_, values.left);
  store(right_, values.right);
  const bool switched = lamp_.state.exchange(values.lamp, std::memory_order_relaxed) != values.lamp;
  if (switched && lampListener_ != nullptr) {
    lampListener_->OnLampChanged(values.lamp);
  }
}

}  // namespace velmora::lv2
