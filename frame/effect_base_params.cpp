// Parameter values as hosts and the editor change them, edit gestures, and the encoding of
// all values into state chunks.
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

bool IEffectBase::WriteParams(IEffectChunk& chunk) {
  LockGuard guard(lock_);
  bool written = true;
  for (const IEffectParam& param : params_) {
    written = chunk.AppendDouble(param.Value()) && !chunk.Empty() && written;
  }
  return written;
}

// Reads the values in index order from position on. When the chunk runs out, the parameter
// at which it ran out keeps its current value (nobody saved a value for it) and reading stops
// with -1; values that are not finite numbers are skipped the same way. Every parameter is
// re-applied afterwards, so the engine always matches the store.
int IEffectBase::ReadParams(const IEffectChunk& chunk, int position) {
  LockGuard guard(lock_);
  for (IEffectParam& param : params_) {
    if (position < 0) {
      break;
    }
    double value = 0.0;
    if (!chunk.ReadDouble(position, &value)) {
      position = -1;
      break;
    }
    position += 8;
    if (std::isfinite(value)) {
      param.SetClampedValue(value);
    }
  }
  ApplyAllParameters();
  return position;
}

}  // namespace velmora
