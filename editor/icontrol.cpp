#include "editor/icontrol.h"

#include "editor/editor_graphics.h"
#include "frame/effect_base.h"

namespace velmora {
namespace {

// Wheel steps: a coarse notch and a fine one with shift or control held.
constexpr double kWheelStep = 0.01;
constexpr double kFineWheelStep = 0.001;
// A grayed control is painted at a quarter of its weight.
constexpr float kGrayedWeight = 0.25f;

}  // namespace

IControl::IControl(IEffectBase* owner, const Rect& rect, int paramIndex, const Blend& blend)
    : owner_(owner), rect_(rect), targetRect_(rect), paramIndex_(paramIndex), blend_(blend) {}

void IControl::HandleMouseDown(int, int, const MouseModifiers& modifiers) {
  if (modifiers.right) {
    PromptForValue();
  }
}

void IControl::HandleMouseUp(int, int, const MouseModifiers&) {}

void IControl::HandleFileDrop(int, int, const char*) {}

void IControl::HandleMouseDrag(int, int, int, int, const MouseModifiers&) {}

void IControl::HandleDoubleClick(int, int, const MouseModifiers&) {
  const double defaultValue = DefaultValue();
  if (defaultValue >= 0.0) {
    SetValue(defaultValue);
    MarkDirty(true);
  }
}

void IControl::HandleWheel(int, int, const MouseModifiers& modifiers, int notches) {
  const double step = (modifiers.shift || modifiers.control) ? kFineWheelStep : kWheelStep;
  SetValue(Value() + notches * step);
  MarkDirty(true);
}

void IControl::HandleKeyDown(int, int, int) {}

void IControl::HandleMouseOver(int, int, const MouseModifiers&) {}

void IControl::HandleMouseOut() {}

void IControl::ApplyHostValue(double value) {
  if (DefaultValue() < 0.0) {
    // The first value shown after attaching is the parameter's default.
    defaultValue_.store(value, std::memory_order_relaxed);
  } else if (value == Value()) {
    return;
  }
  SetValue(value);
  RequestRepaint();
}

void IControl::ApplyUserValue(double value) {
  if (value != Value()) {
    SetValue(value);
  }
  SetEntryPending(false);
  MarkDirty(true);
  SetRedrawPending();
}

void IControl::SetHidden(bool hidden) {
  hidden_ = hidden;
  RequestRepaint();
}

void IControl::SetGrayed(bool grayed) {
  grayed_ = grayed;
  blend_.weight = grayed ? kGrayedWeight : 1.0f;
  MarkDirty(false);
}

bool IControl::HitTest(int x, int y) const {
  return x >= targetRect_.left && x <= targetRect_.right && y >= targetRect_.top &&
         y <= targetRect_.bottom;
}

void IControl::MarkDirty(bool push) {
  double value = Value();
  if (value < lowerClamp_) {
    value = lowerClamp_;
  } else if (value > upperClamp_) {
    value = upperClamp_;
  }
  SetValue(value);
  dirty_.store(true, std::memory_order_relaxed);
  if (push && owner_ != nullptr && paramIndex_ >= 0) {
    owner_->SetParamFromEditor(paramIndex_, value);
  }
}

void IControl::MarkClean() {
  dirty_.store(redrawPending_.exchange(false, std::memory_order_relaxed),
               std::memory_order_relaxed);
}

void IControl::PromptForValue() {
  if (paramIndex_ < 0 || promptDisabled_ || graphics_ == nullptr) {
    return;
  }
  graphics_->PromptParamEntry(this, Param());
  SetRedrawPending();
}

void IControl::EntryClosed() {
  SetEntryPending(false);
  MarkDirty(true);
  SetRedrawPending();
}

IEffectParam* IControl::Param() const {
  return owner_ != nullptr ? owner_->Param(paramIndex_) : nullptr;
}

void IControl::SetClamp(double lower, double upper) {
  lowerClamp_ = lower;
  upperClamp_ = upper;
}

}  // namespace velmora
