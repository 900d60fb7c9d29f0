// Parameter values as hosts and the editor change them, and edit gestures.
#include <cmath>

#include "frame/effect_base.h"

namespace velmora {
namespace {

// A host may send anything as a normalised value. Values that are not finite carry no
// position at all and are dropped; the rest are cut to 0..1 so that no parameter (an
// enumeration in particular) ever holds a value outside its declared range.
bool SanitiseNormalised(double value, double* normalised) {
  if (!std::isfinite(value)) {
    return false;
  }
  *normalised = value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
  return true;
}

}  // namespace

void IEffectBase::SetParamFromHost(int index, double value) {
  LockGuard guard(lock_);
  double normalised = 0.0;
  if (!IsValidParam(index) || !SanitiseNormalised(value, &normalised)) {
    return;
  }
  if (editor_) {
    editor_->ShowParamValue(index, normalised, true);
  }
  params_[index].SetFromNormalised(normalised);
  ApplyParameter(index);
}

double IEffectBase::ParamForHost(int index) {
  LockGuard guard(lock_);
  return IsValidParam(index) ? params_[index].NormalisedValue() : 0.0;
}

void IEffectBase::SetParamFromEditor(int index, double value) {
  LockGuard guard(lock_);
  double normalised = 0.0;
  if (!IsValidParam(index) || !SanitiseNormalised(value, &normalised)) {
    return;
  }
  params_[index].SetFromNormalised(normalised);
  AutomateParam(index, normalised);
  ApplyParameter(index);
}

void IEffectBase::ScheduleEndParamEdit(int index) {
  LockGuard guard(lock_);
  if (!editor_) {
    EndParamEdit(index);
    return;
  }
  pendingParam_ = index;
  // About half a second of editor timer ticks, at least one.
  const int ticks = editor_->FrameRate() / 2;
  editor_->SetEndEditCountdown(ticks > 1 ? ticks : 1);
}

void IEffectBase::FlushPendingParamEdit() {
  LockGuard guard(lock_);
  if (editor_) {
    editor_->ClearEndEditCountdown();
  }
  if (pendingParam_ >= 0) {
    const int pending = pendingParam_;
    pendingParam_ = -1;
    EndParamEdit(pending);
  }
}

void IEffectBase::RefreshEditorControls() {
  LockGuard guard(lock_);
  if (!editor_) {
    return;
  }
  for (int i = 0; i < NumParams(); ++i) {
    editor_->ShowParamValue(i, params_[i].Value(), false);
  }
}

}  // namespace velmora
